// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/helpwindow.h"
#include "pastdata/input_serch.h"
#include "settings/setup_config.h"

#include "support/helpopener.h"
#include "support/hostsystem.h"

#include <QDir>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextTable>
#include <QtTest>

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
    void opensAtTheReadersLanguage_data();
    void opensAtTheReadersLanguage();

private:
    // The help window on the real page, shown, as a reader first sees it.
    static QPushButton *button(Setup_config &dialog, const QString &text);
    template <typename Window> static QList<Window *> topLevel();
};

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
    QTest::newRow("page spans 100000 columns") << "spans"
                                               << "" << true;
    // The same span as the browser also reads it: with a sign or spaces,
    // through character references, in UTF-16.
    QTest::newRow("span with a sign") << "spans:<td colspan=\"+100000\">"
                                      << "" << true;
    QTest::newRow("span among spaces") << "spans:<td colspan\n=\n\" 100000 \">"
                                       << "" << true;
    QTest::newRow("span of references") << "spans:<td colspan=\"&#49;0&#x30;000\">"
                                        << "" << true;
    QTest::newRow("name of references") << "spans:<td co&#108;&#X73;pan=100000>"
                                        << "" << true;
    QTest::newRow("span in UTF-16") << "utf16:<td colspan=100000>"
                                    << "" << true;
    // Each table inside another doubles the time to lay the page out.
    QTest::newRow("page nests 20 tables") << "nested"
                                          << "" << false;
    QTest::newRow("page nests 5 tables") << "nested 5"
                                         << "" << false;
    QTest::newRow("page nests 4 tables") << "nested 4"
                                         << "" << true;
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

    if ((page == QLatin1String("fifo") || picture == QLatin1String("fifo")) && !fifosInFolders())
        QSKIP("a folder here cannot hold a FIFO");
    QTemporaryDir work;
    QDir dir(work.path());
    QVERIFY(dir.mkpath(QStringLiteral("html")));
    auto make = [&](const QString &name, const QString &kind, const QByteArray &content) {
        const QString path = dir.filePath(QStringLiteral("html/") + name);
        if (kind == QLatin1String("fifo")) {
            QVERIFY(makeFifo(path));
        } else if (kind == QLatin1String("directory")) {
            QVERIFY(dir.mkpath(QStringLiteral("html/") + name));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (kind == QLatin1String("huge"))
                QVERIFY(file.resize(64 * 1024 * 1024)); // sparse: takes no room
            else if (kind == QLatin1String("spans"))
                file.write("<table><tr><td colspan=\"100000\" ROWSPAN=0099999>Lukimo help</td>"
                           "<td colspan='3'>x</td></tr><tr><td>y</td></tr></table>");
            else if (kind.startsWith(QLatin1String("nested")))
                file.write(
                    QByteArray("<table><tr><td>")
                        .repeated(kind == QLatin1String("nested") ? 20 : kind.mid(7).toInt()) +
                    "Lukimo help");
            else if (kind.startsWith(QLatin1String("spans:")))
                file.write("<table><tr>" + kind.mid(6).toUtf8() +
                           "Lukimo help</td><td>x</td></tr></table>");
            else if (kind.startsWith(QLatin1String("utf16:"))) {
                const QString table = QStringLiteral("<table><tr>") + kind.mid(6) +
                                      QStringLiteral("Lukimo help</td></tr></table>");
                file.write("\xff\xfe");
                file.write(reinterpret_cast<const char *>(table.utf16()), table.size() * 2);
            } else {
                file.write(content);
            }
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
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.toPlainText().contains(QStringLiteral("Lukimo help")), textShown);
    // Nor does a page make the toolkit lay out more cells than it can show.
    for (QTextFrame *frame : window.document()->rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            QVERIFY2(table->columns() <= 30 && table->rows() <= 30,
                     qPrintable(
                         QStringLiteral("%1 x %2 cells").arg(table->columns()).arg(table->rows())));
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
    const std::unique_ptr<HelpWindow> window = openHelpOnThePage();
    QLocale::setDefault(saved);
    QVERIFY(window);

    // The heading of the reader's half is the first line in view.
    QTRY_COMPARE(window->cursorForPosition(QPoint(4, 4)).block().text().trimmed(), firstLine);
}

QTEST_MAIN(tst_HelpWindow)
#include "tst_helpwindow.moc"
