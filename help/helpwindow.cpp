// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"

#include "common/workingdir.h"
#include "platform/platform.h"

#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextCursor>

namespace {

// The toolkit lays out every column a table cell spans: a replaced page of
// a hundred bytes with colspan="100000" froze the window for seconds. The
// help's own tables span a cell or two; a span is held to what a page can
// show. The bytes are read as Latin-1 so that any encoding comes back as it
// was.
QByteArray withBoundedSpans(const QByteArray &page)
{
    constexpr int widestSpan = 20;
    static const QRegularExpression span(QStringLiteral(R"(((?:col|row)span\s*=\s*["']?)(\d+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString text = QString::fromLatin1(page);
    qsizetype from = 0;
    for (QRegularExpressionMatch match = span.match(text); match.hasMatch();
         match = span.match(text, from)) {
        from = match.capturedEnd(2);
        if (match.capturedView(2).size() > 2 || match.capturedView(2).toInt() > widestSpan) {
            text.replace(match.capturedStart(2), match.capturedLength(2),
                         QString::number(widestSpan));
            from = match.capturedStart(2) + 2;
        }
    }
    return text.toLatin1();
}

} // namespace

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
    platform::scrollsByTouch(this);
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

void HelpWindow::fitInto(const QSize &room)
{
    if (width() > room.width()) {
        if (!ownWidth)
            ownWidth = width();
        resize(room.width(), height());
    } else if (ownWidth) {
        resize(qMin(*ownWidth, room.width()), height());
        if (width() == *ownWidth)
            ownWidth.reset();
    }
}

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
    if (type == QTextDocument::HtmlResource && data)
        return QVariant(withBoundedSpans(*data));
    return QVariant(data.value_or(QByteArray()));
}
