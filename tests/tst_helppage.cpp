// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"

#include "support/helpopener.h"

#include <QDir>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

#include <algorithm>
#include <memory>

// The help page the program ships, as the help window shows it.
class tst_HelpPage : public QObject
{
    Q_OBJECT

private slots:
    void readableInEveryPalette_data();
    void readableInEveryPalette();
    void japaneseHasNoStraySpaces();
    void tellsWhatTheKeysDo();

private:
};

namespace {

// A palette as dark desktop themes set it (the colours of KDE's Breeze Dark).
QPalette darkPalette()
{
    const QColor window(0x31, 0x36, 0x3b), base(0x23, 0x26, 0x29), text(0xef, 0xf0, 0xf1);
    QPalette dark(window);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, window);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::Link, QColor(0x1d, 0x99, 0xf3));
    dark.setColor(QPalette::LinkVisited, QColor(0x9b, 0x59, 0xb6));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    dark.setColor(QPalette::HighlightedText, text);
    return dark;
}

// Relative luminance and contrast ratio as the Web Content Accessibility
// Guidelines define them.
double luminance(const QColor &colour)
{
    auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

// What a piece of text is painted on: its own background, its paragraph's,
// its table cell's, an enclosing frame's, else the window's base colour.
QColor backgroundOf(const QTextFragment &fragment, const QTextBlock &block, const QColor &base)
{
    if (fragment.charFormat().background().style() != Qt::NoBrush)
        return fragment.charFormat().background().color();
    if (block.blockFormat().background().style() != Qt::NoBrush)
        return block.blockFormat().background().color();
    QTextCursor cursor(block);
    cursor.setPosition(fragment.position());
    if (QTextTable *table = cursor.currentTable()) {
        const QBrush cell = table->cellAt(cursor).format().background();
        if (cell.style() != Qt::NoBrush)
            return cell.color();
    }
    for (QTextFrame *frame = cursor.currentFrame(); frame; frame = frame->parentFrame())
        if (frame->frameFormat().background().style() != Qt::NoBrush)
            return frame->frameFormat().background().color();
    return base;
}

} // namespace

void tst_HelpPage::readableInEveryPalette_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

// Every piece of text stands out from what it is painted on by at least the
// 4.5 : 1 the accessibility guidelines ask of body text.
void tst_HelpPage::readableInEveryPalette()
{
    QFETCH(bool, dark);

    const QPalette saved = QApplication::palette();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    const std::unique_ptr<HelpWindow> window = openHelpOnThePage();
    QApplication::setPalette(saved);
    QVERIFY(window);

    const QColor text = window->palette().color(QPalette::Text);
    const QColor base = window->palette().color(QPalette::Base);
    int pieces = 0;
    for (QTextBlock block = window->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat() || fragment.text().trimmed().isEmpty())
                continue;
            const QBrush ink = fragment.charFormat().foreground();
            const QColor foreground = ink.style() == Qt::NoBrush ? text : ink.color();
            const QColor background = backgroundOf(fragment, block, base);
            const double ratio = contrast(foreground, background);
            QVERIFY2(ratio >= 4.5,
                     qPrintable(QStringLiteral("\"%1\": %2 on %3 is only %4 : 1")
                                    .arg(fragment.text(), foreground.name(), background.name())
                                    .arg(ratio, 0, 'f', 1)));
            ++pieces;
        }
    }
    QVERIFY(pieces > 50);
}

// Line breaks in the page's source must not come out as spaces in Japanese
// text, which has none between words or after a full stop. (Qt leaves a space
// at the end of some paragraphs, where nobody sees it.)
void tst_HelpPage::japaneseHasNoStraySpaces()
{
    const std::unique_ptr<HelpWindow> window = openHelpOnThePage();
    QVERIFY(window);
    const QString text = window->toPlainText();
    const QString japanese = text.mid(text.indexOf(QStringLiteral("Lukimo の使い方")));
    QVERIFY(japanese.size() > 1000);

    const QRegularExpression stray(
        QStringLiteral("[。、）]\\h+\\S|[\\p{Han}\\p{Hiragana}\\p{Katakana}ー]\\h+[\\p{Han}\\p{"
                       "Hiragana}\\p{Katakana}ー（]"));
    QVERIFY(stray.isValid());
    const QRegularExpressionMatch found = stray.match(japanese);
    QVERIFY2(!found.hasMatch(),
             qPrintable(japanese.mid(std::max<qsizetype>(0, found.capturedStart() - 10), 30)));
}

void tst_HelpPage::tellsWhatTheKeysDo()
{
    const std::unique_ptr<HelpWindow> window = openHelpOnThePage();
    QVERIFY(window);
    const QString text = window->toPlainText();
    const qsizetype japanese = text.indexOf(QStringLiteral("Lukimo の使い方"));
    const QString english = text.left(japanese);
    for (const char *key :
         {"Space or Return", "Menu key or Shift+F10", "F1", "Ctrl+Q", "Escape", "Return runs Ok"})
        QVERIFY2(english.contains(QLatin1String(key)), key);
    const QString inJapanese = text.mid(japanese);
    for (const QString &key :
         {QStringLiteral("スペース、リターン"), QStringLiteral("メニューキー、Shift+F10"),
          QStringLiteral("F1"), QStringLiteral("Ctrl+Q"), QStringLiteral("Esc"),
          QStringLiteral("リターンキーで OK")})
        QVERIFY2(inJapanese.contains(key), qPrintable(key));
}

QTEST_MAIN(tst_HelpPage)
#include "tst_helppage.moc"
