#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader reads of the real TRX, through the accessibility bus (AT-SPI).

Usage: tst_ScreenReader.py PATH/TO/TRX
Runs TRX from its own folder (icon.ico and the bundled catalogue) on the X display and session
bus it is given, for example under `tests/run-on-xvfb.sh dbus-run-session --`. Needs Debian's
python3-pyatspi and at-spi2-core, and xdotool to type as a user.

It loads the first aircraft with OK, moves to the pilot's weight with the arrow keys, opens the
value dialog with F2, enters a new weight and leaves with Exit, checking on the way:
- the main window's name is its caption, before and after the load;
- the selector is labelled by "Avion:";
- the chart's description states the load path's end, the centre of gravity and the verdict on
  the envelope, and follows an edit;
- the value dialog's old value can be read, and its edit box is labelled by "New value:".
"""
import os
import subprocess
import sys
import time

import pyatspi

PATIENCE = 60  # seconds: a loaded machine, a fresh bus
LOADED_CAPTION = "Trimwise Application - Trainer (Generic T2)"
NO_AIRCRAFT = "No aircraft is loaded."


def chart_words(moment, weight, centre):
    return ("The load path ends at a total moment of %s and a total weight of %s. "
            "The envelope has 5 vertices. The centre of gravity is %s m. "
            "The loading is inside the envelope." % (moment, weight, centre))


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=PATIENCE):
    """Polls probe() until it gives a true value, and returns that value."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            last = probe()
            if last:
                return last
        except Exception as error:  # objects vanish and reappear while windows change
            last = error
        if time.monotonic() > deadline:
            raise Failure("waited %d s for %s; last seen: %r" % (timeout, what, last))
        time.sleep(0.1)


def walk(acc):
    yield acc
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find(root, role, name=None):
    for acc in walk(root):
        if acc.getRoleName() == role and (name is None or acc.name == name):
            return acc
    return None


def labelled_by(acc):
    names = []
    for relation in acc.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press"))


class Session:
    def __init__(self, trx):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   LC_ALL="C.UTF-8")
        self.process = subprocess.Popen([trx], cwd=os.path.dirname(trx), env=env)

    def application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def window(self, name):
        """The top-level window of that name, looked up afresh."""
        app = self.application()
        if app is None:
            return None
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is not None and child.name == name:
                return child
        return None

    def chart_description(self):
        chart = find(self.window(LOADED_CAPTION) or self.window("Trimwise Application"), "chart")
        return chart.description

    def take_keyboard(self):
        """The main window takes the keyboard, as when the user clicks its title bar."""
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                              str(self.process.pid), "--name", LOADED_CAPTION],
                             capture_output=True, text=True, check=False).stdout.split()
        if not ids:
            return False
        subprocess.run(["xdotool", "windowfocus", "--sync", ids[0]], check=True, timeout=PATIENCE)
        return True

    @staticmethod
    def keys(*keys):
        subprocess.run(["xdotool", "key", "--delay", "50"] + list(keys), check=True,
                       timeout=PATIENCE)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def run(session):
    main = wait_for("the main window on the accessibility bus",
                    lambda: session.window("Trimwise Application"))
    if main.getRoleName() != "frame":
        raise Failure("the main window is a %r, not a frame" % main.getRoleName())
    selector = find(main, "combo box")
    if labelled_by(selector) != ["Avion:"]:
        raise Failure("the selector is labelled by %r" % labelled_by(selector))
    wait_for("the chart saying no aircraft is loaded",
             lambda: session.chart_description() == NO_AIRCRAFT)

    press(find(main, "push button", "OK"))
    wait_for("the main window named after the aircraft", lambda: session.window(LOADED_CAPTION))
    loaded = chart_words("642.400024414063", "660", "0.973333370324337")
    wait_for("the chart's words for the loaded aircraft",
             lambda: session.chart_description() == loaded)

    # OK and the selector are disabled by the load, which leaves the focus to the
    # sheet; its current cell is the units row's first.
    wait_for("the main window taking the keyboard", session.take_keyboard)
    main = session.window(LOADED_CAPTION)
    wait_for("the sheet having the focus",
             lambda: find(main, "table").getState().contains(pyatspi.STATE_FOCUSED))
    session.keys("Right", "Down", "Down", "F2")
    dialog = wait_for("the value dialog", lambda: session.window("Input new value"))
    labels = [acc.name for acc in walk(dialog) if acc.getRoleName() == "label"]
    if labels != ["Old value:", "80", "New value:"]:
        raise Failure("the dialog's labels read %r" % labels)
    edit = find(dialog, "text")
    if labelled_by(edit) != ["New value:"]:
        raise Failure("the edit box is labelled by %r" % labelled_by(edit))
    edit.queryEditableText().setTextContents("95")
    press(find(dialog, "push button", "OK"))
    edited = chart_words("656.5", "675", "0.972592592592593")
    wait_for("the chart's words after the edit", lambda: session.chart_description() == edited)

    press(find(session.window(LOADED_CAPTION), "push button", "Exit"))
    wait_for("TRX to end", lambda: session.process.poll() is not None)
    if session.process.returncode != 0:
        raise Failure("TRX ended with %d" % session.process.returncode)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    session = Session(os.path.abspath(sys.argv[1]))
    try:
        run(session)
    except Failure as failure:
        print("FAIL: %s" % failure, file=sys.stderr)
        return 1
    finally:
        session.close()
    print("PASS: window name, selector label, old value and chart description read over AT-SPI")
    return 0


sys.exit(main())
