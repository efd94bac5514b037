// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"

#include "common/workingdir.h"
#include "platform/platform.h"

#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>

namespace {

// The toolkit lays out every column a table cell spans: a replaced page of
// a hundred bytes with colspan="100000" froze the window for seconds. The
// help's own tables span a cell or two; a span is held to what a page can
// show. The page is decoded here as the browser decodes it (a byte order
// mark or a declared charset, else UTF-8), so that a span in UTF-16 is seen
// too, and handed on as text.
QString withBoundedSpans(const QByteArray &page)
{
    constexpr int widestSpan = 20;
    QStringDecoder decode = QStringDecoder::decoderForHtml(page);
    if (!decode.isValid())
        decode = QStringDecoder(QStringDecoder::Utf8);
    QString text = decode(page);
    // The name of a span, in any case; the browser also reads a letter
    // written as a character reference (co&#108;span) as that letter.
    auto name = [](const char *letters) {
        QString pattern;
        for (const char *letter = letters; *letter; ++letter)
            pattern += QStringLiteral("(?:%1|&#[xX]?\\+?0*[0-9a-fA-F]{1,3};)").arg(QChar(*letter));
        return pattern;
    };
    // A span's value follows, quoted or not, with any space the browser skips
    // around the "=".
    static const QRegularExpression span(
        QStringLiteral("(?:%1|%2)%3[\"']?[\\s\\x{85}\\p{Z}]*=[\\s\\x{85}\\p{Z}]*"
                       "(\"[^\"]*\"?|'[^']*'?|[^\\s\\x{85}\\p{Z}>]*)")
            .arg(name("col"), name("row"), name("span")),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    // The browser also takes a sign, spaces or references in the value: only
    // plain digits are kept, up to the widest span, and anything else becomes
    // a span of one cell, which is what the browser takes for a value it
    // cannot read.
    QString bounded;
    qsizetype copied = 0;
    for (QRegularExpressionMatchIterator spans = span.globalMatch(text); spans.hasNext();) {
        const QRegularExpressionMatch match = spans.next();
        const QStringView token = match.capturedView(1);
        const bool quoted = token.startsWith(u'"') || token.startsWith(u'\'');
        QStringView value = quoted ? token.mid(1) : token;
        if (quoted && value.endsWith(token.front()))
            value.chop(1);
        const bool plain = !value.isEmpty() && std::all_of(value.begin(), value.end(), [](QChar c) {
            return c >= u'0' && c <= u'9';
        });
        bounded += QStringView(text).mid(copied, match.capturedStart(1) - copied);
        if (quoted)
            bounded += token.front();
        if (!plain)
            bounded += u'1';
        else if (value.size() > 2 || value.toInt() > widestSpan)
            bounded += QString::number(widestSpan);
        else
            bounded += value;
        if (quoted)
            bounded += token.front();
        copied = match.capturedEnd(1);
    }
    bounded += QStringView(text).mid(copied);
    return bounded;
}

// A table inside a table costs the toolkit's layout about twice the time of
// the one it holds: a replaced page of 300 bytes nesting 18 tables held the
// window for seconds, 25 for minutes, and 32 kB of text in 8 for a second.
// The help's own tables hold no others.
constexpr int deepestNesting = 4;

// The page as the browser will read it, for its outline alone: nothing is
// laid out, and no style sheet or picture is read.
class Outline : public QTextDocument
{
protected:
    QVariant loadResource(int, const QUrl &) override { return QVariant(); }
};

bool nestsDeeper(const QTextFrame *frame, int depth)
{
    if (depth > deepestNesting)
        return true;
    const QList<QTextFrame *> inner = frame->childFrames();
    return std::any_of(inner.begin(), inner.end(),
                       [depth](const QTextFrame *child) { return nestsDeeper(child, depth + 1); });
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
    if (type == QTextDocument::HtmlResource && data) {
        const QString html = withBoundedSpans(*data);
        // Reading the page takes a fraction of the time of laying it out.
        Outline outline;
        outline.setHtml(html);
        if (nestsDeeper(outline.rootFrame(), 0))
            return QVariant(QString());
        return QVariant(html);
    }
    return QVariant(data.value_or(QByteArray()));
}
