"""Reads the running Zentaro window through the accessibility bus, as a
screen reader does, and uses it through the controls' actions only.

Run by tools/a11y-check.sh with /usr/bin/python3 (pyatspi is a Debian
package of the system's Python). Prints one line per failed check and exits
with 1 when there was any; the page a stand-in xdg-open recorded is read
from the file named by the first argument.
"""

import os
import sys
import time

import pyatspi
from gi.repository import GLib

OPENED = sys.argv[1]
failures = []


def fail(text):
    failures.append(text)
    print("a11y-check: " + text, file=sys.stderr)


def wait_for(what, timeout=10.0):
    """Polls what() until it gives a true value, delivering the bus's events meanwhile."""
    end = time.time() + timeout
    context = GLib.MainContext.default()
    while True:
        while context.pending():
            context.iteration(False)
        value = what()
        if value or time.time() > end:
            return value
        time.sleep(0.1)


# What a reader hears of the fields' text changes: (field, inserted text).
announced = []


def on_text_changed(event):
    try:
        announced.append((event.source.name, event.any_data))
    except Exception:  # the source may be gone; a reader would ignore it too
        pass


pyatspi.Registry.registerEventListener(on_text_changed, "object:text-changed:insert")


# The entries of the lists are not looked at: walking them costs a call each.
ENTRIES = ("list", "list box", "table", "tree table")


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        if child.getRoleName() not in ENTRIES:
            yield from descendants(child)


def find_frame():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is not None and child.name == "Zentaro":
                return child
    return None


frame = wait_for(find_frame)
if frame is None:
    print("a11y-check: no accessible named Zentaro on the bus", file=sys.stderr)
    sys.exit(1)
if frame.getRoleName() != "frame":
    fail('the window is a "%s", not a frame' % frame.getRoleName())


tree = {}


def read_tree():
    """Reads the window's controls again, after the window changed."""
    tree.clear()
    tree.update({(node.getRoleName(), node.name): node for node in descendants(frame)})
    return tree


def control(role, name):
    roles = (role,) if isinstance(role, str) else role
    for (got_role, got_name), node in tree.items():
        if got_role in roles and got_name == name:
            return node
    fail('no %s named "%s"' % ("/".join(roles), name))
    return None


# Qt names a one-line field's role "text" or "entry", depending on the version.
FIELD = ("text", "entry")
EXPECTED = [
    ("push button", "Delete All Data"),
    ("push button", "Delete Current Time"),
    ("push button", "Update From File"),
    ("push button", "Update From URL"),
    ("push button", "Help"),
    ("push button", "Exit"),
    ("push button", "Calculator"),
    ("combo box", "Current Time"),
    (FIELD, "Amount"),
    ("combo box", "From currency"),
    (FIELD, "Result"),
    ("combo box", "To currency"),
]
read_tree()
for role, name in EXPECTED:
    control(role, name)

calculator = control("push button", "Calculator")
if calculator is not None and calculator.description != "Click to Use Calculator":
    fail('the calculator button\'s description is "%s"' % calculator.description)
result = control(FIELD, "Result")
if result is not None and not result.getState().contains(pyatspi.STATE_READ_ONLY):
    fail("the result field is not read-only: %s" % [pyatspi.stateToString(s) for s in result.getState().getStates()])
labelled = control("combo box", "From currency")
if labelled is not None:
    labels = [target.name for relation in labelled.getRelationSet()
              if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
              for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
    if "From :" not in labels:
        fail('the from-currency list is labelled by %s, not "From :"' % labels)


def press(node, name):
    if node is None:
        return False
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if len(names) != 1:
        fail('"%s" has the actions %s, not one press' % (name, names))
        return False
    action.doAction(0)
    return True


# Help, pressed as a reader presses it, opens the help page.
if press(control("push button", "Help"), "Help"):
    opened = wait_for(lambda: os.path.exists(OPENED) and open(OPENED).read().strip())
    if not opened or not opened.endswith("Zentaro Help.html"):
        fail('Help opened "%s", not the help page' % opened)

# The keypad: shown by the calculator button, then 7 + 2 OK.
if press(calculator, "Calculator"):
    def key_shown():
        key = read_tree().get(("push button", "plus"))
        return key is not None and key.getState().contains(pyatspi.STATE_SHOWING)
    if not wait_for(key_shown):
        fail("the keypad did not show")
    for key in ("7", "8", "9", "divide", "4", "5", "6", "multiply", "1", "2", "3", "minus",
                "0", "decimal point", "change sign", "plus", "clear", "OK"):
        control("push button", key)
    for key in ("7", "plus", "2", "OK"):
        press(control("push button", key), key)
        time.sleep(0.2)
    amount = control(FIELD, "Amount")
    if amount is not None:
        text = amount.queryText()
        got = wait_for(lambda: text.getText(0, -1) == "9" and "9") or text.getText(0, -1)
        if got != "9":
            fail('7 plus 2 OK left the amount "%s", not 9' % got)
    # Each keypad step converted again; the read-only result announces its new text.
    result_text = result.queryText().getText(0, -1) if result is not None else ""
    heard = wait_for(lambda: [text for field, text in announced if field == "Result" and text == result_text])
    if not result_text or not heard:
        fail('the result "%s" was not announced as a text change (heard %s)' % (result_text, announced))

sys.exit(1 if failures else 0)
