#!/usr/bin/env python3
"""Reads and drives a running Lukimo over the accessibility bus, as a screen
reader does, and checks what it would say. Usage: atspi-check.py PID
NUMBER-WINDOW-ID (DISPLAY and DBUS_SESSION_BUS_ADDRESS from the environment).
Prints each failure and ends with status 1 when there was any."""
import re
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# A screen reader asks for text the old way, the one this toolkit answers.
warnings.filterwarnings("ignore", category=DeprecationWarning)

pid, number_window = int(sys.argv[1]), sys.argv[2]
failures = []
# (event type, role of the source, name of the source, detail1); the name as
# read when the event arrives, since this toolkit's name events carry the
# object, not its new name.
events = []
NAME = "object:property-change:accessible-name"
VALUE = "object:property-change:accessible-value"
SHOWING = "object:state-changed:showing"


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what, flush=True)
    return condition


def heard(event):
    try:
        events.append((event.type, event.source.get_role_name(), event.source.get_name(),
                       event.detail1))
    except GLib.Error:
        pass


listener = Atspi.EventListener.new(heard)
for kind in (NAME, VALUE, SHOWING, "object:text-caret-moved", "object:state-changed:focused"):
    listener.register(kind)


def pump():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(found, what, limit=20):
    """Waits, taking events in, until found() gives something; a generous
    limit only keeps a broken program from hanging the test."""
    deadline = time.monotonic() + limit
    while True:
        pump()
        result = found()
        if result:
            return result
        if time.monotonic() > deadline:
            check(False, what)
            return None
        time.sleep(0.02)


def tree(node):
    yield node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from tree(child)


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def find(role, name, under=None):
    def search():
        root = under or application()
        if root is None:
            return None
        for node in tree(root):
            if node.get_role_name() == role and node.get_name() == name:
                return node
        return None
    return wait_for(search, "no %s named %r on the bus" % (role, name))


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def key_in(x_window, *keys):
    xdotool("windowfocus", "--sync", x_window)
    xdotool("key", *keys)


def x_window(title):
    return wait_for(lambda: subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title)],
        capture_output=True, text=True).stdout.split()[:1], "no window titled " + title)[0]


def picture(x_id):
    return subprocess.run(["import", "-window", x_id, "-depth", "8", "rgb:-"],
                          capture_output=True, timeout=20).stdout


def rolls_quietly(what):
    """Three different pictures of the number window, and no word from it on
    the bus meanwhile."""
    before = len(events)
    seen = set()
    wait_for(lambda: seen.add(picture(number_window)) or len(seen) >= 3,
             what + ": the number does not roll")
    pump()
    said = [e for e in events[before:] if e[1] == "label"]
    check(not said, what + ": the rolling number is heard: %r" % said[:5])


def new_event(start, kind, role, pattern, what):
    """The name of the first source of a KIND event from a ROLE since START
    whose name matches PATTERN."""
    found = wait_for(lambda: [e[2] for e in events[start:] if e[0] == kind and e[1] == role
                              and re.fullmatch(pattern, e[2])], what)
    return found[0] if found else None


app = wait_for(application, "the program is not on the accessibility bus")
if app is None:
    sys.exit(1)
pump()

# The number window: a label named for what it is, quiet while it rolls.
number = find("label", "Lukimo number")
rolls_quietly("at start")

# A stop is heard once, as the three digits the display shows (a draw's
# 002 is "002", not "2"), and so is the restart: a screen reader reads the focused label again when its value
# changes, and finds the number in its name.
mark = len(events)
key_in(number_window, "space")
stop = new_event(mark, VALUE, "label", r"Lukimo number \d{3}", "a stop is not heard")
if stop:
    check(int(number.get_current_value()) == int(stop.split()[-1]),
          "the value %r is not the number heard" % number.get_current_value())
mark = len(events)
key_in(number_window, "space")
new_event(mark, VALUE, "label", "Lukimo number", "the restart is not heard")
rolls_quietly("after a restart")

# Every digit limited to "0": the stop is heard as 000.
key_in(number_window, "shift+F10")
settings = find("dialog", "settei menu numbers3")
for position in ("hundreds", "tens", "ones"):
    find("radio button", "0, %s digit" % position, settings).do_action(0)
mark = len(events)
key_in(number_window, "Return")
new_event(mark, VALUE, "label", "Lukimo number 000", "a stop on 000 is not heard as 000")
said = [e[2] for e in events if e[1] == "label" and e[0] == VALUE]
check(said == [stop, "Lukimo number", "Lukimo number 000"],
      "the number window said %r, not one thing per stop and restart" % said)

# The past-data field is named by its prompt, and its name follows the mode.
find("push button", "serch", settings).do_action(0)
past = find("filler", "serch menu")
past_window = x_window("serch menu")
field = find("text", "No", past)
if field:
    labels = [r.get_target(0) for r in field.get_relation_set()
              if r.get_relation_type() == Atspi.RelationType.LABELLED_BY]
    check([label.get_name() for label in labels] == ["No"],
          "the field is labelled by %r" % [label.get_name() for label in labels])
    for mode, prompt in (("Data to Times", "Data"), ("Bought No entry(0)", "Input Bought No")):
        mark = len(events)
        xdotool("windowfocus", "--sync", past_window)
        find("radio button", mode, past).grab_focus()
        xdotool("key", "space")
        new_event(mark, NAME, "text", re.escape(prompt), "in %s the field is not renamed" % mode)

    # Storing and clearing are heard as notifications in the window.
    field.grab_focus()
    mark = len(events)
    xdotool("type", "123")
    xdotool("key", "Return")
    new_event(mark, SHOWING, "notification", r"Stored 123\. Numbers bought: 1",
              "storing 123 is not heard")
    find("push button", "Clear", past).grab_focus()
    mark = len(events)
    xdotool("key", "space")
    new_event(mark, SHOWING, "notification", "List cleared", "clearing is not heard")

# The help: a read-only document that takes the focus, read at a caret the
# keyboard moves, whose link Tab reaches as a link.
key_in(number_window, "F1")
help_window = x_window("How to use")
document = find("document frame", "How to use")
if document:
    xdotool("windowfocus", "--sync", help_window)
    wait_for(lambda: document.get_state_set().contains(Atspi.StateType.FOCUSED),
             "the help does not take the focus")
    check(document.get_state_set().contains(Atspi.StateType.READ_ONLY), "the help is not read-only")
    check(document.get_text(0, 17) == "How to use Lukimo",
          "the help's text begins %r" % document.get_text(0, 17))
    mark = len(events)
    xdotool("key", "Down")
    wait_for(lambda: document.get_caret_offset() == 18 and [
        e for e in events[mark:] if e[0] == "object:text-caret-moved" and e[1] == "document frame"],
        "Down does not move the caret to the second line")
    line = document.get_text_at_offset(18, Atspi.TextBoundaryType.LINE_START)
    check(line.content.strip() == "日本語の説明はこちら", "the second line reads %r" % line.content)
    mark = len(events)
    xdotool("key", "Tab")
    new_event(mark, "object:state-changed:focused", "link", "日本語の説明はこちら",
              "Tab does not reach the link")

# Nothing says its name twice: no description only repeats the name.
for node in tree(application()):
    name, description = node.get_name(), node.get_description()
    check(not description or description.lower() not in name.lower(),
          "%s %r is described as %r" % (node.get_role_name(), name, description))

sys.exit(1 if failures else 0)
