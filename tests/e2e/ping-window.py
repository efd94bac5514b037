#!/usr/bin/env python3
"""Pings an X window as a window manager does (_NET_WM_PING) and waits for
the program's answer. The program answers from its event loop, after the
events it was sent before the ping, and the X server draws what the program
drew before it answered: an answer means the program has handled all that,
and shows it. Usage: ping-window.py WINDOW-ID [SECONDS [PID]] (DISPLAY from
the environment); exit code 0 on an answer within SECONDS (20 unless told),
1 without one; the wait ends early when process PID has ended."""
import ctypes
import ctypes.util
import os
import select
import sys
import time

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
STRUCTURE_NOTIFY_MASK = 1 << 17
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class ClientMessage(ctypes.Structure):
    # The size of an XEvent: XNextEvent writes a whole one.
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                ("pad", ctypes.c_long * 12)]


display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
window = int(sys.argv[1], 0)
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
pid = int(sys.argv[3]) if len(sys.argv) > 3 else None


def ended():
    if pid is None:
        return False
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return True
    except PermissionError:
        pass
    return False

root = x11.XDefaultRootWindow(display)
protocols = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
ping = x11.XInternAtom(display, b"_NET_WM_PING", 0)
# The answer goes to the root window, for the listeners of either mask
# (toolkits differ); listen there before asking.
x11.XSelectInput(display, root, STRUCTURE_NOTIFY_MASK | SUBSTRUCTURE_NOTIFY_MASK)
x11.XSync(display, 0)

# A stamp of this ping alone, so that an answer to another one is not taken.
stamp = (os.getpid() << 8 ^ int(time.monotonic() * 1000)) & 0x7FFFFFFF
event = ClientMessage()
event.type = CLIENT_MESSAGE
event.window = window
event.message_type = protocols
event.format = 32
event.data[0] = ping
event.data[1] = stamp
event.data[2] = window
if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
    sys.exit("the ping could not be sent")
x11.XFlush(display)

deadline = time.monotonic() + seconds
received = ClientMessage()
fd = x11.XConnectionNumber(display)
while True:
    while x11.XPending(display):
        x11.XNextEvent(display, ctypes.byref(received))
        if (received.type == CLIENT_MESSAGE and received.message_type == protocols
                and received.data[0] == ping and received.data[1] == stamp):
            x11.XCloseDisplay(display)
            sys.exit(0)
    left = deadline - time.monotonic()
    if left <= 0 or ended():
        sys.exit(1)
    select.select([fd], [], [], min(left, 0.1))
