// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef BENCHCLOCK_H
#define BENCHCLOCK_H

// What the drivers measure inside their own process, reported on standard
// error as "key value" lines that bench/run.py reads. Every figure is taken
// before the process starts to quit, so shutdown never counts.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace bench {

// Ticks before the measured window opens: start-up and the first repaints
// settle by then.
constexpr int warmUpTicks = 20;

inline long long nanoseconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// CPU time of every thread of the process, the toolkit's X reader included.
inline long long processCpuNs()
{
    return nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
}

// The peak resident set so far, in KiB: VmHWM, or the kernel's maxrss if
// /proc is not there.
inline long long peakKib()
{
    if (std::FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        long long kib = -1;
        while (kib < 0 && std::fgets(line, sizeof line, status))
            if (std::strncmp(line, "VmHWM:", 6) == 0)
                kib = std::atoll(line + 6);
        std::fclose(status);
        if (kib >= 0)
            return kib;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

inline void report(const char *key, long long value)
{
    std::fprintf(stderr, "%s %lld\n", key, value);
}

// Never inlined: the callgrind runs dump their counts on entering it.
Q_NEVER_INLINE inline void quitSoon()
{
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

// Reports the first paint of the watched widget, then ends the event loop:
//   first-paint-ns   monotonic clock at the paint, to compare with the spawn
//   startup-cpu-ns   CPU the process had used by then, loader included
//   startup-peak-kib peak memory by then
class FirstPaintProbe : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            report("first-paint-ns", nanoseconds(CLOCK_MONOTONIC));
            report("startup-cpu-ns", processCpuNs());
            report("startup-peak-kib", peakKib());
            quitSoon();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen = false;
};

// Counts the roll's ticks and ends the run after the last one. With more than
// warmUpTicks ticks it reports the steady window between the two:
//   window-ticks     ticks in the window
//   window-cpu-ns    process CPU over the window
//   peak-kib         peak memory at the last tick
class TickCounter
{
public:
    explicit TickCounter(int ticks) : ticks(ticks) {}

    void tick()
    {
        ++ticked;
        if (ticked == warmUpTicks)
            windowStart = processCpuNs();
        if (ticked != ticks)
            return;
        if (ticks > warmUpTicks) {
            report("window-ticks", ticks - warmUpTicks);
            report("window-cpu-ns", processCpuNs() - windowStart);
        }
        report("peak-kib", peakKib());
        quitSoon();
    }

private:
    int ticks;
    int ticked = 0;
    long long windowStart = 0;
};

} // namespace bench

#endif
