#!/usr/bin/env python3
"""Pings an X window as a window manager does (_NET_WM_PING) and waits for
the program's answer. The program answers from its event loop, after the
events it was sent before the ping, and the X server draws what the program
drew before it answered: an answer means the program has handled all that,
and shows it. Usage: ping-window.py WINDOW-ID [SECONDS [PID]] (DISPLAY from
the environment); exit code 0 on an answer within SECONDS (20 unless told),
1 without one; the wait ends early when process PID has ended."""
import ctypes
import os
import select
import sys
import time

from xclient import CLIENT_MESSAGE, ClientMessage, atom, open_display, send_protocol, x11

STRUCTURE_NOTIFY_MASK = 1 << 17
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


display = open_display()
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
protocols = atom(display, b"WM_PROTOCOLS")
ping = atom(display, b"_NET_WM_PING")
# The answer goes to the root window, for the listeners of either mask
# (toolkits differ); listen there before asking.
x11.XSelectInput(display, root, STRUCTURE_NOTIFY_MASK | SUBSTRUCTURE_NOTIFY_MASK)
x11.XSync(display, 0)

# A stamp of this ping alone, so that an answer to another one is not taken.
stamp = (os.getpid() << 8 ^ int(time.monotonic() * 1000)) & 0x7FFFFFFF
if not send_protocol(display, window, b"_NET_WM_PING", stamp, window):
    sys.exit("the ping could not be sent")

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
