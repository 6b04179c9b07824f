"""The running phone window as a screen reader sees it on the AT-SPI bus.

Arguments: the pid of the running `vantelo`, the path of `linesim`.
Finds the phone window, reads the names and roles of the hook, record, play
and page buttons, fails for any unnamed focusable control, rings the
simulated line with the caller ID of a contact, presses "answer" through the
hook button's accessibility action, checks the line went off hook and reads
the caller's name from the number display. On the way it listens for the
events a screen reader hears: the number display's new name and the hook
button's checked state. Every wait has a time-out.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PID = int(sys.argv[1])
LINESIM = sys.argv[2]
CALLER = "홍길동"
CALLER_NUMBER = "0212345678"

# name -> the role a screen reader must hear
BUTTONS = {
    "통화": "check box",
    "녹음": "check box",
    "재생": "check box",
    "주소록": "page tab",
    "내선목록": "page tab",
    "통화목록": "page tab",
    "환경설정": "page tab",
}
# Rows and cells of tables and lists are data, not controls.
DATA_ROLES = {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_LIST,
              pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TREE}

failures = []
heard = []  # (event type, description of the source, new name or state)


def on_event(event):
    try:
        heard.append((event.type, event.source.description, event.source.name,
                      event.detail1))
    except Exception:
        pass


def pump(seconds):
    """Lets the bus deliver events for a moment."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.02)


def fail(text):
    failures.append(text)
    print("FAIL: " + text)


def wait_for(what, probe, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            value = probe()
        except Exception:  # the bus may not answer yet
            value = None
        if value:
            return value
        pump(0.2)
    print("FAIL: timed out waiting for " + what)
    sys.exit(1)


def fresh(acc):
    try:
        acc.clearCache()
    except Exception:
        pass
    return acc


def linesim(*args):
    return subprocess.run([LINESIM, *args], capture_output=True, text=True, timeout=10,
                          check=True).stdout


def walk(acc, depth=0):
    if acc is None or depth > 30:
        return
    yield acc
    if acc.getRole() in DATA_ROLES:
        return
    for i in range(acc.childCount):
        yield from walk(acc.getChildAtIndex(i), depth + 1)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == PID:
            return app
    return None


def phone_window():
    app = application()
    if app is None:
        return None
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == "Vantelo" and any(
                c.name == "통화" for c in walk(w)):
            return w
    return None


def find(root, name=None, description=None):
    for acc in walk(root):
        fresh(acc)
        if name is not None and acc.name == name:
            return acc
        if description is not None and acc.description == description:
            return acc
    return None


window = wait_for("the phone window on the accessibility bus", phone_window, 30)
print("window: %r (%s)" % (window.name, window.getRoleName()))
if window.getRoleName() != "frame":
    fail("the phone window is a %s, not a frame" % window.getRoleName())

# Names and roles of the hook, record, play and page buttons.
for name, role in BUTTONS.items():
    button = find(window, name=name)
    if button is None:
        fail("no control named %r" % name)
        continue
    print("button: %r %s" % (button.name, button.getRoleName()))
    if button.getRoleName() != role:
        fail("%r is a %s, not a %s" % (name, button.getRoleName(), role))

# No focusable control without a name.
unnamed = [
    "%s under %r" % (acc.getRoleName(), acc.parent.name if acc.parent else "")
    for acc in walk(window)
    if acc.getState().contains(pyatspi.STATE_FOCUSABLE) and not acc.name.strip()
]
for u in unnamed:
    fail("unnamed focusable control: " + u)
print("focusable controls checked: %d" % sum(
    1 for acc in walk(window) if acc.getState().contains(pyatspi.STATE_FOCUSABLE)))

display = find(window, description="번호 표시")
if display is None:
    fail("no number display")
    sys.exit(1)

# A contact calls; a screen reader hears the display's new text.
pyatspi.Registry.registerEventListener(on_event, "object:property-change:accessible-name",
                                       "object:state-changed:checked")
linesim("ring", "1000", "1000")
time.sleep(0.5)
linesim("cid", CALLER_NUMBER)
wait_for("the caller's name on the number display",
         lambda: CALLER in fresh(display).name, 20)
print("number display while ringing: %r" % display.name)
wait_for("the number display's name change event",
         lambda: any(t.startswith("object:property-change:accessible-name") and
                     d == "번호 표시" and CALLER in n for t, d, n, _ in heard), 10)


def alert_naming_caller():
    app = application()
    for i in range(app.childCount):
        w = fresh(app.getChildAtIndex(i))
        if w is not None and w.getRole() == pyatspi.ROLE_ALERT and CALLER in w.name:
            return w
    return None


alert = wait_for("the ring pop-up naming the caller", alert_naming_caller, 10)
print("ring pop-up: %r (%s)" % (alert.name, alert.getRoleName()))

# Answer through the hook button's action.
hook = find(window, name="통화")
actions = hook.queryAction()
press = [i for i in range(actions.nActions) if actions.getName(i).lower() == "press"]
if not press:
    fail("the hook button has no press action")
    sys.exit(1)
actions.doAction(press[0])
wait_for("the line off hook", lambda: "hook=off" in linesim("status"), 10)
print("line: " + linesim("status").split()[2])
wait_for("the hook button checked (in a call)",
         lambda: fresh(hook).getState().contains(pyatspi.STATE_CHECKED), 10)
wait_for("the hook button's checked event",
         lambda: any(t.startswith("object:state-changed:checked") and n == "통화" and on == 1
                     for t, _, n, on in heard), 10)
if CALLER not in fresh(display).name:
    fail("the number display lost the caller: %r" % display.name)
print("number display in the call: %r" % display.name)

# Hang up the same way.
actions.doAction(press[0])
wait_for("the line on hook", lambda: "hook=on" in linesim("status"), 10)

pyatspi.Registry.deregisterEventListener(on_event, "object:property-change:accessible-name",
                                         "object:state-changed:checked")
if failures:
    sys.exit(1)
print("OK")
