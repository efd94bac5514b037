#!/usr/bin/env python3
"""Asks an X window to close, as a window manager's close button does: sends
it WM_DELETE_WINDOW. Usage: close-window.py WINDOW-ID (DISPLAY from the
environment)."""
import sys

from xclient import open_display, send_protocol, x11

display = open_display()
if not send_protocol(display, int(sys.argv[1], 0), b"WM_DELETE_WINDOW", 0):  # CurrentTime
    sys.exit("the event could not be sent")
x11.XCloseDisplay(display)
