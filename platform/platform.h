// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PLATFORM_H
#define PLATFORM_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

class QAbstractScrollArea;
class QWidget;

// What POSIX systems, Windows and the browser do differently, so that the
// windows and the logic never need to ask which one they run on. The build
// takes one of posix.cpp, windows.cpp and wasm.cpp. This layer is the bottom of the program: it
// depends on Qt alone, and everything it offers is declared here.
namespace platform {

// Makes standard input, output and error safe to use before anything else
// opens a file: a stream the caller left closed is opened on the null
// device, so that the display connection or a data file can never take its
// place and receive the trace or the toolkit's warnings. A reader that goes
// away ends only the trace, never the program. Call it first thing in main.
void prepareStandardStreams();

// What became of one attempt to write to standard output.
enum class OutputWrite {
    Written, // taken whole
    NoRoom,  // the output cannot take it now; nothing of it was written
    Broken,  // the output failed for good (or there is none)
};

// Hands size bytes to standard output without ever waiting for a reader.
OutputWrite writeToOutputNow(const char *data, qsizetype size);

// At the end of the program: waits at most msecs for what writeToOutputNow()
// took but has not yet handed to the output, then gives up on the rest and
// returns how many writes that was. Whatever is written later in the same run
// is taken as before.
qsizetype finishOutput(int msecs);

// The program reads a few files from its working directory that anyone may
// have replaced. Only a regular file of at most maxSize bytes is accepted: a
// directory, a FIFO, a device or an oversized file counts as missing, and
// nothing here can block on a file that never ends. Returns the whole
// content of such a file; nothing when it is not one, or cannot be read in
// full.
std::optional<QByteArray> readPlausibleFile(const QString &path, qint64 maxSize);

// The folder that keeps the user's own data (the draws they added): the
// system's place for the program's data, which the names that
// setApplicationIdentity() pins make $XDG_DATA_HOME/lukimo (or
// ~/.local/share/lukimo) and %APPDATA%\lukimo. Empty where nothing written
// outlives the program, so that nothing is ever said to be kept there.
QString userDataFolder();

// Whether the user can pick a file of their own for the program to read.
// The page has no file dialog; it takes a user's files its own way.
bool opensFiles();
// Asks the user, over parent, for a file to read; empty when none was
// chosen, and always where opensFiles() is false.
QString fileToOpen(QWidget *parent, const QString &caption, const QString &filter);

// The file name of the sound plugin, as the build makes it.
QString soundPluginFileName();

// Whether the platform plays the click itself (the browser, through its own
// audio: it has neither threads nor plugins) rather than through the sound
// thread and its plugin. Where it does, loadSound() takes the checked
// content of the sound file once, and playSound() plays it, without ever
// blocking, and returns whether it was handed to an audio output (false,
// silently, where there is none or it is not ready yet).
bool playsSoundItself();
void loadSound(const QByteArray &wave);
bool playSound();

// Whether a quit action means anything: in a browser tab, closing the tab is
// the way out, and Ctrl+Q belongs to the browser.
bool hasQuitAction();

// Makes the fonts the program bundles for itself (the browser has no
// Japanese font) usable; after the application object exists.
void addBundledFonts();

// Shows window, the program's main one. Where the platform shows the
// program inside a page, it is the page's main element: without a frame, so
// that it cannot be closed, and sized to the screen, again whenever the
// screen changes (a plain show() there would fill the whole page); where the
// page is used with a finger, every control of the program is then made
// large enough to tap. Elsewhere it is shown as the desktop shows windows.
void showMainWindow(QWidget *window);

// Lets a finger scroll area, as a phone's pages scroll: where the platform
// is a phone's browser a swipe would otherwise select text, and where the
// page is used with a finger the area shows no scroll bars, as a phone's
// pages show none. Elsewhere the mouse and the scroll bars do it, as before.
void scrollsByTouch(QAbstractScrollArea *area);

// Makes a window that the program opens from another one ready to be shown
// for the first time. Where the platform shows the program inside a page,
// it floats in the page with its title bar and a close button a finger can
// reach (a plain window there would fill the whole page); elsewhere the
// desktop's window manager decorates it, and nothing changes.
void prepareWindow(QWidget *window);

// Whether a stop of the roll is also announced as a notification, heard
// wherever the focus is. On a desktop the screen reader reads the number
// window's new value, since the window that was clicked has the focus; the
// browser's screen reader follows the page's focus, which Qt's own does not
// move.
bool announcesStops();

// Whether a window kept inside its screen as the screen shrinks goes back to
// where it stood, at its size, as the screen grows again. A phone's screen
// changes under its windows whenever it is turned or its keyboard comes
// and goes; on a desktop a window stays where the shrinking left it, as
// before.
bool windowsReturnAfterScreenChanges();

// Whether a screen reader finds the number window as a button, which a plain
// activation presses (a stop, or a restart), as a finger taps it: in the
// browser, whose screen readers activate an element by a click. On a
// desktop it is a label whose value its keys change, as before.
bool numberIsAButton();

// Shows the program's "about" box over parent. Where the platform has
// nested event loops it is the toolkit's own, which returns once it is
// closed. The browser has none, so there the box opens and this returns at
// once; a box already open comes to the front instead of a second one.
void showAboutBox(QWidget *parent, const QString &title, const QString &text);

// Tells what surrounds the program (the browser's tab and page) its title
// and the language of its texts (a BCP 47 tag such as "ja").
void showTitleAndLanguage(const QString &title, const QString &language);

// Ends the process with status at once, without the exit handlers of the
// libraries it loaded: a thread left stuck in one of them would hold them up
// for ever.
[[noreturn]] void exitAbandoningThreads(int status);

} // namespace platform

#endif
