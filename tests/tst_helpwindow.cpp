// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"
#include "pastdata/input_serch.h"
#include "settings/setup_config.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

#include <sys/stat.h>

#include <algorithm>

class tst_HelpWindow : public QObject
{
    Q_OBJECT

private slots:
    void withoutThePage();
    void withThePage();
    void implausibleFilesLeaveThePageEmpty_data();
    void implausibleFilesLeaveThePageEmpty();
    void oneWindowPerButton();
    void okLeavesTheWindowsOpen();
    void readableInEveryPalette_data();
    void readableInEveryPalette();
    void opensAtTheReadersLanguage_data();
    void opensAtTheReadersLanguage();
    void japaneseHasNoStraySpaces();
    void tellsWhatTheKeysDo();

private:
    // The help window on the real page, shown, as a reader first sees it.
    static std::unique_ptr<HelpWindow> openOnThePage();
    static QPushButton *button(Setup_config &dialog, const QString &text);
    template <typename Window> static QList<Window *> topLevel();
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

std::unique_ptr<HelpWindow> tst_HelpWindow::openOnThePage()
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR));
    auto window = std::make_unique<HelpWindow>();
    QDir::setCurrent(previous);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

QPushButton *tst_HelpWindow::button(Setup_config &dialog, const QString &text)
{
    for (QPushButton *candidate : dialog.findChildren<QPushButton *>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}

template <typename Window> QList<Window *> tst_HelpWindow::topLevel()
{
    QList<Window *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<Window *>(widget))
            windows << window;
    return windows;
}

void tst_HelpWindow::implausibleFilesLeaveThePageEmpty_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("textShown");

    QTest::newRow("page is a FIFO") << "fifo"
                                    << "" << false;
    QTest::newRow("page is a directory") << "directory"
                                         << "" << false;
    QTest::newRow("page is huge") << "huge"
                                  << "" << false;
    QTest::newRow("picture is a FIFO") << "page"
                                       << "fifo" << true;
    QTest::newRow("picture is huge") << "page"
                                     << "huge" << true;
}

// Anything but a regular file of a plausible size counts as missing: the
// window opens at once, and never waits on a file that does not end.
void tst_HelpWindow::implausibleFilesLeaveThePageEmpty()
{
    QFETCH(QString, page);
    QFETCH(QString, picture);
    QFETCH(bool, textShown);

    QTemporaryDir work;
    QDir dir(work.path());
    QVERIFY(dir.mkpath(QStringLiteral("html")));
    auto make = [&](const QString &name, const QString &kind, const QByteArray &content) {
        const QString path = dir.filePath(QStringLiteral("html/") + name);
        if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("directory")) {
            QVERIFY(dir.mkpath(QStringLiteral("html/") + name));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (kind == QLatin1String("huge"))
                QVERIFY(file.resize(64 * 1024 * 1024)); // sparse: takes no room
            else
                file.write(content);
        }
    };
    make(QStringLiteral("index.html"), page,
         "<html><body><p>Lukimo help</p><img src=\"picture.png\"></body></html>");
    if (!picture.isEmpty())
        make(QStringLiteral("picture.png"), picture, QByteArray());

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    HelpWindow window;
    QDir::setCurrent(previous);
    QElapsedTimer clock;
    clock.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(clock.elapsed() < 2000);
    QCOMPARE(window.toPlainText().contains(QStringLiteral("Lukimo help")), textShown);
}

void tst_HelpWindow::withoutThePage()
{
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(empty.path()));
    HelpWindow window;
    QDir::setCurrent(previous);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("How to use"));
    QCOMPARE(window.size(), QSize(750, 400));
    QVERIFY(window.isReadOnly());
    QCOMPARE(window.toPlainText(), QString());
}

void tst_HelpWindow::withThePage()
{
    // The page is the one of the working directory the window was made in.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR)));
    HelpWindow window;
    QDir::setCurrent(previous);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString text = window.toPlainText();
    QVERIFY(text.contains(QStringLiteral("How to use Lukimo")));
    QVERIFY(text.contains(QStringLiteral("Lukimo の使い方")));
    QVERIFY(text.contains(QStringLiteral("self mode")));
    QVERIFY(text.contains(QStringLiteral("Times to Data")));

    window.setFocus();
    QTest::keyClicks(&window, QStringLiteral("typed"));
    QTest::keyClick(&window, Qt::Key_Backspace);
    QCOMPARE(window.toPlainText(), text);

    // The link to the Japanese half stays on the page and scrolls to it;
    // closing and showing again keeps the place.
    const QUrl page = window.source();
    window.setSource(page.resolved(QUrl(QStringLiteral("#ja"))));
    QCOMPARE(window.source().path(), page.path());
    QCOMPARE(window.toPlainText(), text);
    const int scrolled = window.verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    window.close();
    window.show();
    QCOMPARE(window.toPlainText(), text);
    QCOMPARE(window.verticalScrollBar()->value(), scrolled);
}

void tst_HelpWindow::oneWindowPerButton()
{
    Setup_config dialog;
    dialog.show();
    QPushButton *help = button(dialog, QStringLiteral("help"));
    QPushButton *serch = button(dialog, QStringLiteral("serch"));
    QVERIFY(help && serch);
    QCOMPARE(help->toolTip(), QStringLiteral("Help"));
    QCOMPARE(serch->toolTip(), QStringLiteral("Past Data Serch menu"));
    QCOMPARE(topLevel<HelpWindow>().size(), 1);
    QCOMPARE(topLevel<Input_Serch>().size(), 1);
    QVERIFY(!topLevel<HelpWindow>().first()->isVisible());
    QVERIFY(!topLevel<Input_Serch>().first()->isVisible());

    for (int press = 0; press < 3; ++press) {
        QTest::mouseClick(help, Qt::LeftButton);
        QTest::mouseClick(serch, Qt::LeftButton);
    }
    QCOMPARE(topLevel<HelpWindow>().size(), 1);
    QCOMPARE(topLevel<Input_Serch>().size(), 1);
    HelpWindow *helpWindow = topLevel<HelpWindow>().first();
    Input_Serch *pastData = topLevel<Input_Serch>().first();
    QVERIFY(helpWindow->isVisible());
    QVERIFY(pastData->isVisible());
    QVERIFY(dialog.isVisible());

    // Closing only hides: the same windows come back.
    helpWindow->close();
    pastData->close();
    QVERIFY(!helpWindow->isVisible());
    QTest::mouseClick(help, Qt::LeftButton);
    QTest::mouseClick(serch, Qt::LeftButton);
    QCOMPARE(topLevel<HelpWindow>(), QList<HelpWindow *>{helpWindow});
    QCOMPARE(topLevel<Input_Serch>(), QList<Input_Serch *>{pastData});
    QVERIFY(helpWindow->isVisible());
}

void tst_HelpWindow::okLeavesTheWindowsOpen()
{
    {
        Setup_config dialog;
        dialog.show();
        QTest::mouseClick(button(dialog, QStringLiteral("help")), Qt::LeftButton);
        QTest::mouseClick(button(dialog, QStringLiteral("ok")), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(topLevel<HelpWindow>().first()->isVisible());
    }
    // The settings dialog takes its windows with it.
    QVERIFY(topLevel<HelpWindow>().isEmpty());
    QVERIFY(topLevel<Input_Serch>().isEmpty());
}

void tst_HelpWindow::readableInEveryPalette_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

// Every piece of text stands out from what it is painted on by at least the
// 4.5 : 1 the accessibility guidelines ask of body text.
void tst_HelpWindow::readableInEveryPalette()
{
    QFETCH(bool, dark);

    const QPalette saved = QApplication::palette();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    const std::unique_ptr<HelpWindow> window = openOnThePage();
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

void tst_HelpWindow::opensAtTheReadersLanguage_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                             << "How to use Lukimo";
    QTest::newRow("Japanese") << QLocale(QLocale::Japanese, QLocale::Japan) << "Lukimo の使い方";
}

void tst_HelpWindow::opensAtTheReadersLanguage()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, firstLine);

    const QLocale saved;
    QLocale::setDefault(locale);
    const std::unique_ptr<HelpWindow> window = openOnThePage();
    QLocale::setDefault(saved);
    QVERIFY(window);

    // The heading of the reader's half is the first line in view.
    QTRY_COMPARE(window->cursorForPosition(QPoint(4, 4)).block().text().trimmed(), firstLine);
}

// Line breaks in the page's source must not come out as spaces in Japanese
// text, which has none between words or after a full stop. (Qt leaves a space
// at the end of some paragraphs, where nobody sees it.)
void tst_HelpWindow::japaneseHasNoStraySpaces()
{
    const std::unique_ptr<HelpWindow> window = openOnThePage();
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

void tst_HelpWindow::tellsWhatTheKeysDo()
{
    const std::unique_ptr<HelpWindow> window = openOnThePage();
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

QTEST_MAIN(tst_HelpWindow)
#include "tst_helpwindow.moc"
