// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/translation.h"
#include "common/placement.h"
#include "help/helpwindow.h"
#include "numberwindow/random.h"
#include "pastdata/input_serch.h"
#include "settings/setup_config.h"

#include "support/modalboxcloser.h"
#include "support/settingskeys.h"
#include "support/stdoutcapture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <memory>

// The windows on whatever screens the test runs on: ctest runs it on a
// phone's screen alone (390 x 844), and on three side by side: a desktop's
// (1280 x 800), that phone's and a smaller phone's (360 x 640). Each window
// opens as the user opens it, beside a number window in the top left corner
// of one screen.

class tst_Narrow : public QObject
{
    Q_OBJECT

private slots:
    void everyButtonWithinReach_data();
    void everyButtonWithinReach();
    void tabReadsAsTheEye_data();
    void tabReadsAsTheEye();
    void helpNeedsNoSideways_data();
    void helpNeedsNoSideways();
    void helpScrollsSidewaysToWhatDoesNotWrap();
    void helpTakesBackItsWidth_data();
    void helpTakesBackItsWidth();
    void usualLayoutWhereThereIsRoom();
    void wrapsOnlyWhenTooNarrow_data();
    void wrapsOnlyWhenTooNarrow();
    void laidOutForTheRoomItMayTake_data();
    void laidOutForTheRoomItMayTake();
    void laidOutAgainOnAnotherScreen();
};

namespace {

// The number window and the settings opened from it, on one screen, in one
// language, in the usual size of text or half as large again (a reader's
// larger font, or another platform's wider one).
class Session
{
public:
    Session(QScreen *screen, bool japanese, bool largeText = false)
    {
        if (largeText) {
            QFont large = font;
            large.setPointSizeF(font.pointSizeF() * 1.5);
            QApplication::setFont(large);
        }
        // A Japanese reader's help opens at its Japanese half.
        if (japanese) {
            QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
            translated =
                installTranslation(translator, QLocale::Japanese, QStringLiteral(LUKIMO_RUN_DIR));
        }
        // The help window finds its page in the working directory it is made in.
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR));
        numberWindow = std::make_unique<Random>();
        QDir::setCurrent(previous);
        numberWindow->move(screen->availableGeometry().topLeft());
        numberWindow->show();
        QTest::mousePress(numberWindow.get(), Qt::RightButton);
        settings = settingsDialog();
    }
    ~Session()
    {
        numberWindow.reset();
        QCoreApplication::removeTranslator(&translator);
        QLocale::setDefault(locale);
        QApplication::setFont(font);
    }

    // The settings' push button a user reads as this text of the program.
    QPushButton *button(const char *text) const
    {
        return pushButton(settings, QCoreApplication::translate("Setup_config", text));
    }

    template <typename Window> Window *open(const char *buttonText)
    {
        QTest::mouseClick(button(buttonText), Qt::LeftButton);
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *window = qobject_cast<Window *>(widget))
                return window;
        return nullptr;
    }

    const QLocale locale;
    const QFont font = QApplication::font();
    Translator translator;
    bool translated = false;
    std::unique_ptr<Random> numberWindow;
    Setup_config *settings = nullptr;
};

QRect globalRect(const QWidget *widget)
{
    return QRect(widget->mapToGlobal(QPoint()), widget->size());
}

// Empty when the window's frame, title bar and all, lies inside the work area
// of its screen; otherwise what is wrong.
QString offScreen(const QRect &frame, const QScreen *screen)
{
    const QRect available = screen->availableGeometry();
    if (available.contains(frame))
        return QString();
    QString wrong;
    QDebug(&wrong) << "frame" << frame << "is not inside the work area" << available;
    return wrong;
}

// Empty when every button the window shows lies whole on the screen and in
// the window, clipped by nothing it stands in, covered by no other button,
// and at least as large as its text needs; otherwise what is wrong.
QString unreachable(const QWidget *window)
{
    QString wrong = offScreen(window->frameGeometry(), window->screen());
    const QRect available = window->screen()->availableGeometry();
    QList<const QAbstractButton *> seen;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->isVisible())
            continue;
        const QRect rect = globalRect(button);
        QDebug says(&wrong);
        says.nospace() << "\n\"" << button->text() << "\" " << rect << ": ";
        if (!available.contains(rect))
            says << "off the screen";
        for (const QWidget *holder = button->parentWidget(); holder;
             holder = holder->parentWidget()) {
            if (!globalRect(holder).contains(rect))
                says << "clipped by " << holder->metaObject()->className();
            if (holder == window)
                break;
        }
        // What the layout may shrink it to: the least it asks for, or the
        // least it was given where that was set.
        QSize least = button->minimumSizeHint();
        if (button->minimumWidth() > 0)
            least.setWidth(button->minimumWidth());
        if (button->minimumHeight() > 0)
            least.setHeight(button->minimumHeight());
        if (rect.width() < least.width() || rect.height() < least.height())
            says << "squeezed below " << least;
        for (const QAbstractButton *other : seen)
            if (globalRect(other).intersects(rect))
                says << "covers \"" << other->text() << "\"";
        seen.append(button);
    }
    // Only the lines that found a fault.
    QStringList faults;
    for (const QString &line : wrong.split(QLatin1Char('\n')))
        if (!line.endsWith(QLatin1String(": ")))
            faults << line;
    return faults.join(QLatin1Char('\n'));
}

// Each screen the test runs on, by its name, in each language, and in
// larger text.
void addScreenRows()
{
    QTest::addColumn<int>("screenIndex");
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<bool>("largeText");
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        const QByteArray name = screens[i]->name().toUtf8();
        QTest::addRow("%s, English", name.constData()) << i << false << false;
        QTest::addRow("%s, Japanese", name.constData()) << i << true << false;
        QTest::addRow("%s, English, large text", name.constData()) << i << false << true;
    }
}

} // namespace

void tst_Narrow::everyButtonWithinReach_data()
{
    addScreenRows();
}

// Every window a user opens from the settings, and the report of a stop in
// self mode, fits the screen it opens on: its whole frame (the title bar and
// its close button) on the screen, and every button there to press.
void tst_Narrow::everyButtonWithinReach()
{
    QFETCH(int, screenIndex);
    QFETCH(bool, japanese);
    QFETCH(bool, largeText);
    QScreen *screen = QGuiApplication::screens().at(screenIndex);

    Session session(screen, japanese, largeText);
    QCOMPARE(session.translated, japanese);
    QVERIFY(session.settings);
    QVERIFY(QTest::qWaitForWindowExposed(session.settings));
    QCOMPARE(session.settings->screen(), screen);
    QString wrong = unreachable(session.settings);
    QVERIFY2(wrong.isEmpty(), qPrintable(QLatin1String("settings: ") + wrong));

    QWidget *help = session.open<HelpWindow>("help");
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->screen(), screen);
    wrong = unreachable(help);
    QVERIFY2(wrong.isEmpty(), qPrintable(QLatin1String("help: ") + wrong));

    QWidget *pastData = session.open<Input_Serch>("serch");
    QVERIFY(pastData && pastData->isVisible());
    QCOMPARE(pastData->screen(), screen);
    wrong = unreachable(pastData);
    QVERIFY2(wrong.isEmpty(), qPrintable(QLatin1String("past data: ") + wrong));

    // The report box is its toolkit's own; where it stands is ours.
    session.settings->findChild<QRadioButton *>(QStringLiteral("self_radio"))->setChecked(true);
    ModalBoxCloser closer;
    captureStdout([&] {
        QTest::mousePress(session.numberWindow.get(), Qt::LeftButton);
        closer.waitUntilClosed();
    });
    QCOMPARE(closer.boxes.size(), 1);
    wrong = offScreen(closer.boxes.first().frame, screen);
    QVERIFY2(wrong.isEmpty(), qPrintable(QLatin1String("report: ") + wrong));
}

void tst_Narrow::tabReadsAsTheEye_data()
{
    addScreenRows();
}

// However the settings are laid out, Tab goes as the eye reads: each stop
// stands on the same line as the one before and right of it, or on a line
// below.
void tst_Narrow::tabReadsAsTheEye()
{
    QFETCH(int, screenIndex);
    QFETCH(bool, japanese);
    QFETCH(bool, largeText);

    Session session(QGuiApplication::screens().at(screenIndex), japanese, largeText);
    QCOMPARE(session.translated, japanese);
    QVERIFY(QTest::qWaitForWindowActive(session.settings));
    QWidget *first = session.settings->findChild<QWidget *>(QStringLiteral("random_radio"));
    first->setFocus(Qt::TabFocusReason);
    QWidget *previous = first;
    QStringList stops{previous->accessibleName()};
    for (int stop = 0; stop < 40; ++stop) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *next = QApplication::focusWidget();
        if (next == first)
            break;
        const QRect before = globalRect(previous), after = globalRect(next);
        const bool sameLine = after.top() <= before.bottom() && after.bottom() >= before.top();
        const bool readOn =
            sameLine ? after.left() > before.right() : after.top() > before.bottom();
        QVERIFY2(readOn, qPrintable(QStringLiteral("from %1 %2 to %3 %4")
                                        .arg(previous->objectName(), QDebug::toString(before),
                                             next->objectName(), QDebug::toString(after))));
        previous = next;
        stops << next->objectName();
    }
    // Each group of radio buttons is one stop: the modes, the types, three
    // digit groups, then four push buttons.
    QCOMPARE(stops.size(), 9);
}

void tst_Narrow::helpNeedsNoSideways_data()
{
    addScreenRows();
}

// The help page wraps to the window's width: its text is read by scrolling
// down only.
void tst_Narrow::helpNeedsNoSideways()
{
    QFETCH(int, screenIndex);
    QFETCH(bool, japanese);
    QFETCH(bool, largeText);

    Session session(QGuiApplication::screens().at(screenIndex), japanese, largeText);
    QCOMPARE(session.translated, japanese);
    auto *help = session.open<HelpWindow>("help");
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QVERIFY(help->toPlainText().contains(QStringLiteral("Lukimo")));
    // Read to its end, the page is laid out in full.
    QTest::keyClick(help, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QVERIFY(help->verticalScrollBar()->value() > 0);
    QVERIFY(!help->horizontalScrollBar()->isVisible());
    QCOMPARE(help->horizontalScrollBar()->maximum(), 0);
}

// Narrower than its picture, the help still shows all of it, sideways.
void tst_Narrow::helpScrollsSidewaysToWhatDoesNotWrap()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR)));
    HelpWindow help;
    QDir::setCurrent(previous);
    help.resize(150, 400);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QTest::keyClick(&help, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QVERIFY(help.horizontalScrollBar()->isVisible());
    QVERIFY(help.horizontalScrollBar()->maximum() > 50);
}

void tst_Narrow::helpTakesBackItsWidth_data()
{
    QTest::addColumn<QList<int>>("roomWidths");
    QTest::addColumn<int>("width");
    QTest::newRow("a desktop") << QList<int>{1280} << 750;
    QTest::newRow("a phone") << QList<int>{390} << 390;
    QTest::newRow("a phone, then a desktop") << QList<int>{390, 1280} << 750;
    QTest::newRow("a phone, a screen a little too narrow, then a desktop")
        << QList<int>{390, 600, 1280} << 750;
    QTest::newRow("a desktop, then a phone") << QList<int>{1280, 390} << 390;
}

// The help, dragged from screen to screen, is never wider than the room it
// has, and takes back its own width wherever there is room for it again.
void tst_Narrow::helpTakesBackItsWidth()
{
    QFETCH(QList<int>, roomWidths);
    QFETCH(int, width);
    HelpWindow help;
    QCOMPARE(help.width(), 750);
    for (int room : roomWidths)
        help.fitInto(QSize(room, 800));
    QCOMPARE(help.width(), width);
}

// Where the screen has room, the settings are as they have always been: 540
// pixels wide, each row of groups and of buttons on one line.
void tst_Narrow::usualLayoutWhereThereIsRoom()
{
    int tested = 0;
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().width() < 1024)
            continue;
        Session session(screen, false);
        QVERIFY(QTest::qWaitForWindowExposed(session.settings));
        QCOMPARE(session.settings->width(), 540);
        auto sameLine = [&](const QStringList &names) {
            QList<int> tops;
            for (const QString &name : names)
                tops << globalRect(session.settings->findChild<QWidget *>(name)).top();
            return tops == QList<int>(tops.size(), tops.first());
        };
        QVERIFY(sameLine({QStringLiteral("mode_group"), QStringLiteral("type_group")}));
        QVERIFY(sameLine({QStringLiteral("max1_group"), QStringLiteral("max2_group"),
                          QStringLiteral("max3_group")}));
        QList<int> buttonTops;
        for (const char *text : {"ok", "Version", "serch", "help"})
            buttonTops << globalRect(session.button(text)).top();
        QCOMPARE(buttonTops, QList<int>(4, buttonTops.first()));
        ++tested;
    }
    if (!tested)
        QSKIP("no screen of a desktop's size");
}

void tst_Narrow::wrapsOnlyWhenTooNarrow_data()
{
    QTest::addColumn<int>("narrower");
    QTest::addColumn<bool>("shortToo");
    QTest::addColumn<bool>("wrapped");
    QTest::addColumn<bool>("fits");
    QTest::newRow("just wide enough") << 0 << false << false << true;
    QTest::newRow("a pixel too narrow: narrower margins") << 1 << false << false << true;
    QTest::newRow("too narrow for margins alone") << 20 << false << true << true;
    QTest::newRow("half as wide") << -2 << false << true << true;
    QTest::newRow("too narrow, and too short to wrap") << 20 << true << false << false;
}

// The settings keep their usual layout in any room that has space for it;
// a little narrower, their margins narrow; narrower still, the rows wrap,
// fitting the room then; but not where the taller layout would not fit
// either.
void tst_Narrow::wrapsOnlyWhenTooNarrow()
{
    QFETCH(int, narrower);
    QFETCH(bool, shortToo);
    QFETCH(bool, wrapped);
    QFETCH(bool, fits);

    Setup_config dialog;
    dialog.ensurePolished();
    // What the settings take without scrolling inside.
    const QWidget *contents = dialog.findChild<QScrollArea *>()->widget();
    const QSize usual = contents->minimumSizeHint();
    const QSize room(narrower < 0 ? usual.width() / -narrower : usual.width() - narrower,
                     shortToo ? usual.height() : 4 * usual.height());
    dialog.fitInto(room);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto top = [&](const char *name) {
        return globalRect(dialog.findChild<QWidget *>(QLatin1String(name))).top();
    };
    const int lines = QSet<int>{top("max1_group"), top("max2_group"), top("max3_group")}.size();
    QCOMPARE(lines > 1, wrapped);
    const QSize least = contents->minimumSizeHint();
    QVERIFY2((least.width() <= room.width() && least.height() <= room.height()) == fits,
             qPrintable(QDebug::toString(least) + QLatin1String(" in ") + QDebug::toString(room)));
}

void tst_Narrow::laidOutForTheRoomItMayTake_data()
{
    QTest::addColumn<int>("screenIndex");
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i)
        QTest::addRow("%s", qPrintable(screens[i]->name())) << i;
}

namespace {

// A window that only notes the room it was laid out for.
class RoomTaker : public QWidget, public FitsScreen
{
public:
    void fitInto(const QSize &room) override { rooms << room; }
    QList<QSize> rooms;
};

} // namespace

// A window opened beside the number window is laid out once, for the work
// area of the number window's screen less the window's frame; and again for
// each screen it is dragged to.
void tst_Narrow::laidOutForTheRoomItMayTake()
{
    QFETCH(int, screenIndex);
    QScreen *screen = QGuiApplication::screens().at(screenIndex);

    Random numberWindow;
    numberWindow.move(screen->availableGeometry().topLeft());
    numberWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&numberWindow));
    RoomTaker window;
    showBeside(&window, &numberWindow);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize frame = window.frameGeometry().size() - window.size();
    QCOMPARE(window.rooms, QList<QSize>{screen->availableGeometry().size() - frame});

    // Dragged to the next screen, it is laid out again, for that screen.
    const QList<QScreen *> screens = QGuiApplication::screens();
    QScreen *next = screens.at((screenIndex + 1) % screens.size());
    if (next == screen)
        return;
    window.move(next->availableGeometry().topLeft());
    QTRY_COMPARE(window.rooms.size(), 2);
    QCOMPARE(window.rooms.last(), next->availableGeometry().size() - frame);
}

// The settings and the help, shown on one screen and dragged to the left
// edge of another, are laid out for it: narrow on a phone's, as before on a
// desktop's, and on the screen either way.
void tst_Narrow::laidOutAgainOnAnotherScreen()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.size() < 2)
        QSKIP("one screen");

    Session session(screens.first(), false);
    QWidget *help = session.open<HelpWindow>("help");
    QVERIFY(QTest::qWaitForWindowExposed(help));
    const QList<QWidget *> windows{session.settings, help};
    QList<QSize> usual;
    for (QWidget *window : windows)
        usual << window->size();
    QList<QScreen *> visits = screens.mid(1);
    visits << screens.first();
    for (QScreen *screen : visits) {
        for (QWidget *window : windows) {
            window->move(screen->availableGeometry().topLeft());
            QTRY_COMPARE(window->screen(), screen);
            QTRY_VERIFY2(unreachable(window).isEmpty(),
                         qPrintable(screen->name() + QLatin1Char(' ') +
                                    window->metaObject()->className() + QLatin1String(": ") +
                                    unreachable(window)));
        }
    }
    for (qsizetype i = 0; i < windows.size(); ++i)
        QTRY_COMPARE(windows[i]->size(), usual[i]);
}

QTEST_MAIN(tst_Narrow)
#include "tst_narrow.moc"
