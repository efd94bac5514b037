// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The help page: each input replaces html/index.html in the working
// directory, and the program's help window loads it as it does when shown
// (through its own resource reader) and lays it out. A page that makes the
// window hang is a finding too: scripts/fuzz.sh gives each input a time
// limit.

#include "help/helpwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextDocument>

#include <cstdlib>

namespace {

HelpWindow *window = nullptr;
QString pageFile;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    // A working directory of its own, with the page's picture beside it.
    static const QString directory = QDir::temp().filePath(
        QStringLiteral("lukimo-fuzz-help-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(directory + QStringLiteral("/html"));
    QFile::copy(QStringLiteral(LUKIMO_SOURCE_DIR "/html/numberwindow.png"),
                directory + QStringLiteral("/html/numberwindow.png"));
    if (!QDir::setCurrent(directory))
        std::abort();
    pageFile = directory + QStringLiteral("/html/index.html");
    // The window stays to the end: the toolkit is gone by the time exit
    // handlers run.
    std::atexit([] { QDir(directory).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QFile page(pageFile);
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        page.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    page.close();
    if (!window) {
        // The window finds its page when it is made and loads it when shown.
        window = new HelpWindow;
        window->show();
    } else {
        window->reload();
    }
    // All of it laid out, as scrolling to the end would.
    (void)window->document()->size();
    return 0;
}
