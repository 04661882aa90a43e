"""Plays one answer in the running program through the accessibility bus, as a screen
reader user's tools would, and checks what the bus says back.

Usage: accessibility_client.py CONFIG.json

CONFIG holds the names a screen reader says in the program's language: the window
title, the four question boxes, the answer box, the verdict picture's description and
the verdicts, the comment expected, the toolbar buttons that open dialogs and the No
button of the exit prompt. Prints one PASS or FAIL line per check and a closing count;
every wait is bounded. Exits 1 when a check failed.
"""

import json
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

RETURN, SPACE, ESCAPE = 0xFF0D, 0x20, 0xFF1B
CONTROL_MASK = 1 << 2
results = {"passed": 0, "failed": 0}


def check(what, found, expected):
    ok = found == expected
    results["passed" if ok else "failed"] += 1
    print(f"{'PASS' if ok else 'FAIL'} {what}: {found!r}" + ("" if ok else f", expected {expected!r}"), flush=True)
    return ok


def wait_for(find, seconds=15.0):
    """The first true value of find() within the time, else None; events are handled meanwhile."""
    deadline = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        try:
            found = find()
        except Exception:  # an object that went away while it was looked at
            found = None
        if found:
            return found
        time.sleep(0.1)
    return None


def descendants(root):
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        yield node
        try:
            stack.extend(node[i] for i in range(node.childCount))
        except Exception:
            pass


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def top_window(title):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for window in app:
            if window is not None and window.name == title and showing(window):
                return window
    return None


def named(root, name, role=None):
    for node in descendants(root):
        if node.name == name and (role is None or node.getRole() == role) and showing(node):
            return node
    return None


def unnamed_focusable(root):
    """Descriptions of the focusable controls shown in root that have no name."""
    missing = []
    for node in descendants(root):
        state = node.getState()
        if state.contains(pyatspi.STATE_FOCUSABLE) and state.contains(pyatspi.STATE_SHOWING) and not node.name.strip():
            missing.append(node.getRoleName())
    return missing


def press(key, control=False):
    """A key pressed and released through the accessibility bus, with Ctrl held if asked."""
    if control:
        pyatspi.Registry.generateKeyboardEvent(CONTROL_MASK, None, pyatspi.KEY_LOCKMODIFIERS)
    pyatspi.Registry.generateKeyboardEvent(key, None, pyatspi.KEY_SYM)
    if control:
        pyatspi.Registry.generateKeyboardEvent(CONTROL_MASK, None, pyatspi.KEY_UNLOCKMODIFIERS)


def type_into(node, text):
    node.queryComponent().grabFocus()
    node.queryEditableText().setTextContents(text)


def active_dialog(main):
    """A dialog of the program shown above the main window."""
    for window in main.getApplication():
        if window is not None and window != main and showing(window) and window.getRole() in (
            pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_ALERT):
            return window
    return None


def open_dialog_and_count(main, button_name, close):
    button = named(main, button_name)
    if not check(f"toolbar button {button_name} found by name", button is not None, True):
        return
    button.queryComponent().grabFocus()
    press(SPACE)
    dialog = wait_for(lambda: active_dialog(main))
    if not check(f"{button_name} opens a dialog", dialog is not None, True):
        return
    check(f"unnamed focusable controls in the dialog of {button_name} ({dialog.name})", unnamed_focusable(dialog), [])
    close(dialog)
    check(f"the dialog of {button_name} closes", wait_for(lambda: active_dialog(main) is None, 10) is not None, True)


def play_a_game(window, names, answer):
    """A Training Game from its toolbar button, its plan and rules taken with Enter; the
    first question answered, and the verdict picture read from the tree."""
    button = named(window, names["gameButton"])
    if not check("Training Game button found by name", button is not None, True):
        return
    button.queryComponent().grabFocus()
    press(SPACE)
    for step in ("plan", "rules"):
        dialog = wait_for(lambda: active_dialog(window))
        check(f"the game's {step} shows", dialog is not None, True)
        press(RETURN)
        wait_for(lambda: active_dialog(window) is None, 10)
    wait_for(lambda: named(window, names["questionBoxes"][0]).queryText().getText(0, -1) == names["question"][0], 10)
    # No window manager runs on the virtual display to give the window the keyboard back
    # when a dialog closes: the client does it as one would.
    subprocess.run(["xdotool", "search", "--name", "^" + names["title"], "windowfocus", "--sync"],
                   timeout=10, check=False)
    type_into(answer, names["answer"])
    press(RETURN, control=True)

    def verdict():
        for node in descendants(window):
            if node.description == names["verdictDescription"] and showing(node):
                return node.name
        return None

    check("verdict picture read from the accessibility tree", wait_for(verdict), names["verdict"])


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        names = json.load(f)
    window = wait_for(lambda: top_window(names["title"]), 30)
    if not check("main window on the accessibility bus", window is not None, True):
        return 1

    boxes = [wait_for(lambda n=n: named(window, n)) for n in names["questionBoxes"]]
    answer = named(window, names["answerBox"])
    check("question boxes found by name", all(boxes), True)
    check("answer box found by name", answer is not None, True)
    if not all(boxes) or answer is None:
        return 1
    check("unnamed focusable controls in the main window", unnamed_focusable(window), [])

    announced = []
    listener = lambda event: announced.append(event.source.description)  # noqa: E731
    pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-description")
    for box, number in zip(boxes, names["question"]):
        type_into(box, number)
    type_into(answer, names["answer"])
    press(RETURN, control=True)

    comments = named(window, names["commentsPane"])
    check("verdict read from the comments pane", comments and comments.queryText().getText(0, -1), names["comment"])
    check("verdict announced", wait_for(lambda: names["comment"] in announced, 10), True)
    pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-description")

    for button in names["dialogButtons"]:
        open_dialog_and_count(window, button, lambda dialog: press(ESCAPE))

    def answer_no(dialog):
        no = named(dialog, names["noButton"])
        if check("No button of the exit prompt found by name", no is not None, True):
            no.queryAction().doAction(0)

    press(ESCAPE)
    prompt = wait_for(lambda: active_dialog(window))
    if check("Esc asks before the program ends", prompt is not None, True):
        check(f"unnamed focusable controls in the exit prompt ({prompt.name})", unnamed_focusable(prompt), [])
        answer_no(prompt)
        wait_for(lambda: active_dialog(window) is None, 10)
    play_a_game(window, names, answer)
    print(f"{results['passed']} passed, {results['failed']} failed")
    return 1 if results["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
