// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The help page: each input replaces html/index.html in the working
// directory, and the program's help window reads it through its own
// resource reader, which decodes the page, bounds its table spans and reads
// its outline for tables nested too deep. One input in 1024 (every input
// when FUZZ_HELP_LAYOUT=all, as for the corpus) goes on through the whole
// window: shown, laid out whole, and checked to hold no span wider than the
// window allows. Laying out a page takes tens of milliseconds under the
// sanitizers, reading it about one; which inputs are laid out depends on the
// input alone, so a finding always replays. A page that makes the window
// hang is a finding too.

#include "harness.h"
#include "help/helpwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextDocument>

#include <ctime>

namespace {

// The window as the program makes it, with its reader in reach.
class Window : public HelpWindow
{
public:
    using HelpWindow::loadResource;
};

QString pageFile;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    // A working directory of its own, with the page's picture beside it; its
    // name is as long in every run, so that a run in CI repeats.
    static const QString directory =
        QDir::temp().filePath(QStringLiteral("lukimo-fuzz-help-%1")
                                  .arg(QCoreApplication::applicationPid(), 10, 10, QChar(u'0')));
    QDir().mkpath(directory + QStringLiteral("/html"));
    QFile::copy(QStringLiteral(LUKIMO_SOURCE_DIR "/html/numberwindow.png"),
                directory + QStringLiteral("/html/numberwindow.png"));
    require(QDir::setCurrent(directory), "a working directory");
    pageFile = directory + QStringLiteral("/html/index.html");
    // The window stays to the end: the toolkit is gone by the time exit
    // handlers run.
    std::atexit([] { QDir(directory).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::clock_t start = std::clock();
    QFile page(pageFile);
    require(page.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                page.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size),
            "the page written");
    page.close();
    // The window finds its page when it is made, and loads it when shown.
    static Window *window = new Window;
    (void)window->loadResource(QTextDocument::HtmlResource, QUrl::fromLocalFile(pageFile));
    // Which inputs are laid out: a hash of the same value on every machine.
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    static const bool layOutAll = qgetenv("FUZZ_HELP_LAYOUT") == "all";
    if (layOutAll || hash % 1024 == 0) {
        if (window->isVisible())
            window->reload();
        else
            window->show();
        // All of it laid out, as scrolling to the end would; a table cell
        // keeps its spans in its format.
        (void)window->document()->size();
        for (const QTextFormat &format : window->document()->allFormats()) {
            require(format.intProperty(QTextFormat::TableCellColumnSpan) <= 20 &&
                        format.intProperty(QTextFormat::TableCellRowSpan) <= 20,
                    "a cell spans no more than 20 columns or rows");
        }
    }
    // A page that holds the window is one that takes it 10 s of processor
    // time: the time on the clock depends on what else the machine runs.
    require(std::clock() - start < 10 * CLOCKS_PER_SEC, "a page read and laid out in under 10 s");
    return 0;
}
