// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"

#include "common/workingdir.h"
#include "platform/platform.h"

#include <QKeyEvent>
#include <QLocale>
#include <QScrollBar>
#include <QTextCursor>

HelpWindow::HelpWindow() : QTextBrowser(nullptr)
{
    setReadOnly(true);
    // A caret the keyboard moves, so that the page can be read with a screen
    // reader line by line; the text stays read-only.
    setTextInteractionFlags(textInteractionFlags() | Qt::TextSelectableByKeyboard);
    // The window is its own only widget, which the toolkit does not focus by
    // itself when the window becomes active: the keys and a screen reader
    // would find nothing in focus.
    setFocus();
    setWindowTitle(tr("How to use"));
    resize(750, 400);
    // The page wraps to any width a window takes, but a slanted glyph at the
    // end of a line may stand a pixel past it: that alone brought a scroll
    // bar, a pixel's scroll sideways, to the narrow window of a phone.
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            [this](int minimum, int maximum) {
                if (maximum > minimum && maximum - minimum < fontMetrics().averageCharWidth())
                    horizontalScrollBar()->setRange(minimum, minimum);
            });
    const QString file = workingDirectoryFile(QStringLiteral("html/index.html"));
    if (!file.isEmpty())
        page = QUrl::fromLocalFile(file);
    // The page holds both languages; a Japanese reader starts at the second half.
    if (QLocale().language() == QLocale::Japanese)
        page.setFragment(QStringLiteral("ja"));
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::showEvent(QShowEvent *event)
{
    QTextBrowser::showEvent(event);
    if (!page.isEmpty()) {
        setSource(page);
        page.clear();
    }
}

// Escape puts the help away, as it does a dialog.
void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QTextBrowser::keyPressEvent(event);
}

// Tab selects the next link without the toolkit telling anyone that the
// cursor moved; a screen reader needs to know, to follow.
bool HelpWindow::focusNextPrevChild(bool next)
{
    const QTextCursor before = textCursor();
    const bool moved = QTextBrowser::focusNextPrevChild(next);
    if (moved && textCursor() != before)
        emit cursorPositionChanged();
    return moved;
}

QVariant HelpWindow::loadResource(int type, const QUrl &name)
{
    const QUrl url = source().resolved(name);
    if (!url.isLocalFile())
        return QTextBrowser::loadResource(type, name);
    // The page and its pictures are a few hundred kilobytes.
    constexpr qint64 maxResourceSize = 16 * 1024 * 1024;
    const std::optional<QByteArray> data =
        platform::readPlausibleFile(url.toLocalFile(), maxResourceSize);
    // An empty answer, not an invalid one: the document would otherwise try
    // the file itself.
    return QVariant(data.value_or(QByteArray()));
}
