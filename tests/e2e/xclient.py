"""What the end-to-end scripts need of Xlib to talk to a window as a window
manager does: a connection (DISPLAY from the environment), atoms, and a
WM_PROTOCOLS client message sent to the window."""
import ctypes
import ctypes.util
import sys

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                           ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

CLIENT_MESSAGE = 33


class ClientMessage(ctypes.Structure):
    # The size of an XEvent: XNextEvent writes a whole one.
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                ("pad", ctypes.c_long * 12)]


def open_display():
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    return display


def atom(display, name):
    return x11.XInternAtom(display, name, 0)


def send_protocol(display, window, protocol, *data):
    """Sends WINDOW the WM_PROTOCOLS message PROTOCOL (an atom's name) with
    up to four more words of DATA; False when it could not be sent."""
    event = ClientMessage()
    event.type = CLIENT_MESSAGE
    event.window = window
    event.message_type = atom(display, b"WM_PROTOCOLS")
    event.format = 32
    event.data[0] = atom(display, protocol)
    for i, word in enumerate(data):
        event.data[1 + i] = word
    sent = x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    return bool(sent)
