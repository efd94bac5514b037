// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser's side: Qt 6.8 for WebAssembly, one thread, files from the
// page's bundled file system, the console for standard output, and the page
// around the program.

#include "platform/platform.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QScroller>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

#include <emscripten.h>

#include <cmath>
#include <cstdlib>

namespace {

// The page's side is JavaScript, which clang-format would take for C++.
// clang-format off

// Each text whole (emscripten's own standard output would split one with
// line breaks in it), and the texts of one turn of the browser's event loop
// in one console message, a line each: a console message costs the page
// far more than its text (the settings open, a tick writes three), and the
// more where a debugger is attached, which receives every message.
EM_JS(void, lukimo_console_log, (const char *text, int size), {
    const output = Module.lukimoOutput || (Module.lukimoOutput = {lines : [], due : false});
    output.lines.push(UTF8ToString(text, size));
    if (output.due)
        return;
    output.due = true;
    queueMicrotask(function() {
        output.due = false;
        console.log(output.lines.splice(0).join('\n'));
    });
});

// Keeps the click's bytes; decoding them needs no user gesture, only
// playing does, so it starts at once (with an offline context, which any
// browser with Web Audio has and which never asks for an output device).
EM_JS(void, lukimo_load_sound, (const char *bytes, int size), {
    const sound = {buffer : null};
    Module.lukimoSound = sound;
    try {
        const Offline = globalThis.OfflineAudioContext || globalThis.webkitOfflineAudioContext;
        if (!Offline)
            return;
        const data = HEAPU8.slice(bytes, bytes + size).buffer;
        const decoder = new Offline(1, 1, 44100);
        decoder.decodeAudioData(data).then(function(buffer) { sound.buffer = buffer; },
                                           function() {});
    } catch (e) {
    }
});

// Runs inside the click's event handler, so the browser lets the sound
// play; the context is made on the first click for the same reason. A
// context the browser stopped (suspended, or WebKit's "interrupted" after a
// call or a lock) is resumed by the next click; one that cannot be resumed,
// or was closed, is replaced.
EM_JS(int, lukimo_play_sound, (), {
    const sound = Module.lukimoSound;
    if (!sound || !sound.buffer)
        return 0;
    const Context = globalThis.AudioContext || globalThis.webkitAudioContext;
    if (!Context)
        return 0;
    const play = function(context) {
        const source = context.createBufferSource();
        source.buffer = sound.buffer;
        source.connect(context.destination);
        source.start();
    };
    try {
        if (!sound.context || sound.context.state === 'closed')
            sound.context = new Context();
        const context = sound.context;
        if (context.state !== 'running') {
            context.resume().catch(function() {
                if (sound.context !== context)
                    return;
                try {
                    context.close().catch(function() {});
                    sound.context = new Context();
                    play(sound.context);
                } catch (e) {
                    sound.context = null;
                }
            });
        }
        play(context);
        return 1;
    } catch (e) {
        return 0;
    }
});

// Whether the page is used with a finger rather than a mouse.
EM_JS(int, lukimo_pointer_is_coarse, (), {
    return globalThis.matchMedia && matchMedia('(pointer: coarse)').matches ? 1 : 0;
});

EM_JS(void, lukimo_show_title_and_language, (const char *title, const char *language), {
    document.title = UTF8ToString(title);
    document.documentElement.lang = UTF8ToString(language);
});

// clang-format on

// The number window's shape, the desktop's 200 x 60.
constexpr int shapeWidth = 10;
constexpr int shapeHeight = 3;
constexpr int margin = 16;
// Wide enough to read across a room; narrower screens get their width.
constexpr int largestWidth = 480;
constexpr int smallestWidth = 300;

// The relative luminance contrast of two colours (WCAG 2).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double x = luminance(a);
    const double y = luminance(b);
    return (qMax(x, y) + 0.05) / (qMin(x, y) + 0.05);
}

// The page's look: the style's own, with the ring of a radio button seen
// against its background (the style draws it a shade darker than the
// window, all but invisible in the dark palette); and where the finger is
// the pointer, controls a finger can hit: every button and field at least
// as large as the platforms' guides ask, and a radio button or check box
// taken by a tap anywhere on it, not only on its mark and text.
class PageStyle : public QProxyStyle
{
public:
    PageStyle(QStyle *style, bool finger) : QProxyStyle(style), finger(finger) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        const QSize usual = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (!finger)
            return usual;
        switch (type) {
        case CT_PushButton:
        case CT_RadioButton:
        case CT_CheckBox:
        case CT_LineEdit:
            return usual.expandedTo(QSize(fingerSize, fingerSize));
        default:
            return usual;
        }
    }

    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget) const override
    {
        if (finger && (element == SE_RadioButtonClickRect || element == SE_CheckBoxClickRect))
            return option->rect;
        return QProxyStyle::subElementRect(element, option, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (element != PE_IndicatorRadioButton)
            return;
        // The ring at least 3 : 1 against the window, the least that
        // tells a control from its background: towards the text's colour.
        const QColor window = option->palette.window().color();
        const QColor text = option->palette.windowText().color();
        QColor ring = window.darker(150);
        for (int step = 1; step <= 10 && contrast(ring, window) < 3.0; ++step) {
            const double t = step / 10.0;
            ring = QColor::fromRgbF(float(window.redF() + (text.redF() - window.redF()) * t),
                                    float(window.greenF() + (text.greenF() - window.greenF()) * t),
                                    float(window.blueF() + (text.blueF() - window.blueF()) * t));
        }
        if (ring == window.darker(150))
            return;
        if (!option->state.testFlag(State_Enabled))
            ring.setAlphaF(0.5f);
        // Over the style's own circle, as it lays it out.
        const QRect rect = option->rect;
        const qreal radius = (rect.width() + (rect.width() + 1) % 2) / 2.0 - 1;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(ring, 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(QPointF(rect.center()) + QPointF(1, 1), radius, radius);
        painter->restore();
    }

private:
    const bool finger;
    // CSS pixels, which are Qt's here.
    static constexpr int fingerSize = 44;
};

void fitToScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    int width = qMin(area.width() - 2 * margin, largestWidth);
    width = qMax(width, qMin(smallestWidth, area.width()));
    const int height = width * shapeHeight / shapeWidth;
    window->setGeometry(area.x() + (area.width() - width) / 2, area.y() + margin, width, height);
}

} // namespace

namespace platform {

void prepareStandardStreams()
{
    // The console is always there and never closed.
}

OutputWrite writeToOutputNow(const char *data, qsizetype size)
{
    // A console message is a line of its own: the trace's final line break
    // would only add an empty one.
    if (size > 0 && data[size - 1] == '\n')
        --size;
    lukimo_console_log(data, int(size));
    return OutputWrite::Written;
}

std::optional<QByteArray> readPlausibleFile(const QString &path, qint64 maxSize)
{
    // The bundled file system holds only what the build put there, but the
    // checks stay the same as on a desktop: a regular file of at most
    // maxSize bytes, read whole.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maxSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(maxSize + 1);
    if (bytes.size() != info.size())
        return std::nullopt;
    return bytes;
}

qsizetype finishOutput(int)
{
    // Every line went to the console whole as it was written.
    return 0;
}

QString soundPluginFileName()
{
    return QString();
}

bool playsSoundItself()
{
    return true;
}

void loadSound(const QByteArray &wave)
{
    lukimo_load_sound(wave.constData(), int(wave.size()));
}

bool playSound()
{
    return lukimo_play_sound() != 0;
}

QString userDataFolder()
{
    // The page's files live in memory and are gone when it reloads.
    return QString();
}

bool opensFiles()
{
    return false;
}

QString fileToOpen(QWidget *, const QString &, const QString &)
{
    return QString();
}

bool hasQuitAction()
{
    return false;
}

void addBundledFonts()
{
    const int id = QFontDatabase::addApplicationFont(QStringLiteral("fonts/lukimo-ja.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return;
    // Qt picks a Han font by the locale, so a kanji in an English-language
    // browser found no font without being told.
    for (QChar::Script script : {QChar::Script_Han, QChar::Script_Hiragana, QChar::Script_Katakana})
        QFontDatabase::addApplicationFallbackFontFamily(script, families.first());
}

void showMainWindow(QWidget *window)
{
    // Before the other windows are first laid out, so that they are laid
    // out for a finger from the start.
    QApplication::setStyle(new PageStyle(QStyleFactory::create(QApplication::style()->name()),
                                         lukimo_pointer_is_coarse()));
    window->setWindowFlag(Qt::FramelessWindowHint);
    fitToScreen(window);
    if (QScreen *screen = window->screen())
        QObject::connect(screen, &QScreen::availableGeometryChanged, window,
                         [window] { fitToScreen(window); });
    // show() would make a window without a parent fill the page.
    window->showNormal();
}

void prepareWindow(QWidget *window)
{
    // Qt shows a window without a parent full screen in the page, unless it
    // is a dialog: the program's other windows are windows inside the page,
    // with their title bars, as on a desktop. A window that asks for its
    // system menu alone gets a close button from a desktop's window manager,
    // but none from the page, where a phone has no Escape key.
    Qt::WindowFlags flags = (window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog;
    if (flags.testFlag(Qt::WindowSystemMenuHint) && !flags.testFlag(Qt::FramelessWindowHint))
        flags |= Qt::WindowCloseButtonHint;
    if (flags != window->windowFlags())
        window->setWindowFlags(flags);
}

bool announcesStops()
{
    return true;
}

void scrollsByTouch(QAbstractScrollArea *area)
{
    // A finger swipes, as on every page of a phone: scroll bars there only
    // take room, and a bar across makes the content scroll sideways too.
    // Where the finger is the pointer, the scroller follows the mouse events
    // Qt makes of its touches: following the touches themselves, it lost the
    // first tap on a window after another window was closed.
    if (lukimo_pointer_is_coarse()) {
        QScroller::grabGesture(area->viewport(), QScroller::LeftMouseButtonGesture);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        QScroller::grabGesture(area->viewport(), QScroller::TouchGesture);
    }
}

bool windowsReturnAfterScreenChanges()
{
    return true;
}

bool numberIsAButton()
{
    return true;
}

void showAboutBox(QWidget *parent, const QString &title, const QString &text)
{
    // QMessageBox::about() would run an event loop of its own, which this
    // build cannot: it throws, and closing what it left corrupts memory.
    static QPointer<QMessageBox> open;
    if (open) {
        open->raise();
        open->activateWindow();
        return;
    }
    // What about() shows: the program's icon beside the text, and OK. A
    // message box is application modal from its construction.
    auto *box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    const QIcon icon = box->windowIcon();
    if (!icon.isNull())
        box->setIconPixmap(icon.pixmap(box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize)));
    // The keyboard goes back where it was, as after every report.
    QPointer<QWidget> focus = QApplication::focusWidget();
    QObject::connect(box, &QDialog::finished, box, [focus] {
        if (focus) {
            focus->activateWindow();
            focus->setFocus(Qt::OtherFocusReason);
        }
    });
    open = box;
    box->show();
    // In the middle of the screen, wherever it turns. The box sizes itself
    // for half the screen's width: on a screen too short for it so (a phone
    // on its side) it takes the whole width, and so fewer lines.
    const QSize usual = box->size();
    const auto centre = [box, usual] {
        const QRect area = box->screen()->availableGeometry();
        const QSize decoration = box->frameGeometry().size() - box->size();
        QSize size = usual;
        if (usual.height() + decoration.height() > area.height()) {
            size.setWidth(qMax(usual.width(), area.width() - decoration.width()));
            QLayout *layout = box->layout();
            size.setHeight(layout->hasHeightForWidth() ? layout->totalHeightForWidth(size.width())
                                                       : layout->totalMinimumSize().height());
        }
        box->setFixedSize(size);
        const QSize frame = size + decoration;
        box->move(qMax(area.left(), area.center().x() - frame.width() / 2),
                  qMax(area.top(), area.center().y() - frame.height() / 2));
    };
    centre();
    QObject::connect(box->screen(), &QScreen::availableGeometryChanged, box, centre,
                     Qt::QueuedConnection);
}

void showTitleAndLanguage(const QString &title, const QString &language)
{
    lukimo_show_title_and_language(title.toUtf8().constData(), language.toUtf8().constData());
}

void exitAbandoningThreads(int status)
{
    std::_Exit(status);
}

} // namespace platform
