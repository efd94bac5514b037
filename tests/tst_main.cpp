// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs the program's own main, compiled under another name, on the offscreen
// platform under a Japanese locale: the number window must be the one window
// shown, already translated when it first appears, and closing it must end
// main with status 0.

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

int lukimoMain(int argc, char **argv);

namespace {

QStringList shownTitles;
QString titleAtFirstShow;
QList<QSize> iconSizes;
QString desktopEntry;
bool numberReadable = false;

class FirstShowProbe : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow() &&
            titleAtFirstShow.isNull())
            titleAtFirstShow = widget->windowTitle();
        return false;
    }
};

// Runs inside main as soon as its application object exists.
void watchStartUp()
{
    auto *probe = new FirstShowProbe;
    probe->setParent(qApp);
    QTimer::singleShot(0, qApp, [probe] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->isVisible()) {
                shownTitles << window->windowTitle();
                QAccessibleInterface *face = QAccessible::queryAccessibleInterface(window);
                numberReadable = face && face->valueInterface();
            }
        }
        iconSizes = QApplication::windowIcon().availableSizes();
        desktopEntry = QGuiApplication::desktopFileName();
        for (QWidget *window : QApplication::topLevelWidgets())
            window->close();
    });
    qApp->installEventFilter(probe);
}
Q_COREAPP_STARTUP_FUNCTION(watchStartUp)

int failures = 0;

void check(bool ok, const char *what)
{
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what);
    failures += ok ? 0 : 1;
}

} // namespace

int main()
{
    qputenv("LC_ALL", "ja_JP.UTF-8");
    qputenv("LANG", "ja_JP.UTF-8");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QDir::setCurrent(QStringLiteral(LUKIMO_RUN_DIR)))
        return 2;
    char name[] = "lukimo";
    char *argv[] = {name, nullptr};
    const int status = lukimoMain(1, argv);

    check(status == 0, "main returns the event loop's status, 0");
    check(shownTitles.size() == 1, "the number window is the one window shown at start");
    check(shownTitles.value(0) == QStringLiteral("ルキモ"),
          "the number window's title is translated under Japanese");
    check(titleAtFirstShow == QStringLiteral("ルキモ"),
          "the translator is installed before the window is built");
    check(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(48, 48)),
          "every window carries the program's icon, small sizes included");
    check(desktopEntry == QStringLiteral("org.lukimo.Lukimo"),
          "the windows name the desktop entry they belong to");
    check(numberReadable, "a screen reader reads the number window's number");
    std::printf("%d passed, %d failed\n", 7 - failures, failures);
    return failures == 0 ? 0 : 1;
}
