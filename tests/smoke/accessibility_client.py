"""Plays the running program through the accessibility bus, as a screen reader user's
tools would, and checks what the bus says back. Usage: accessibility_client.py NAMES.json,
the names the program says in its language. Prints a PASS or FAIL line per check and a
closing count; every wait is bounded. Exits 1 when a check failed."""

import json
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

RETURN, SPACE, ESCAPE, CONTROL_MASK = 0xFF0D, 0x20, 0xFF1B, 1 << 2
DIALOG_ROLES = (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_ALERT)
counts = {"passed": 0, "failed": 0}


def check(what, found, expected=True):
    ok = found == expected
    counts["passed" if ok else "failed"] += 1
    print(f"{'PASS' if ok else 'FAIL'} {what}: {found!r}" + ("" if ok else f", expected {expected!r}"), flush=True)
    return ok


def wait_for(find, seconds=15.0):
    """The first true value of find() within the time, else None; bus events are handled meanwhile."""
    deadline, context = time.monotonic() + seconds, GLib.MainContext.default()
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
        if node is not None:
            yield node
            stack.extend(node[i] for i in range(node.childCount))


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def named(root, name):
    return next((n for n in descendants(root) if n.name == name and showing(n)), None)


def unnamed_focusable(root):
    return [n.getRoleName() for n in descendants(root)
            if n.getState().contains(pyatspi.STATE_FOCUSABLE) and showing(n) and not n.name.strip()]


def press(key, control=False):
    """A key pressed and released through the bus, with Ctrl held if asked."""
    if control:
        pyatspi.Registry.generateKeyboardEvent(CONTROL_MASK, None, pyatspi.KEY_LOCKMODIFIERS)
    pyatspi.Registry.generateKeyboardEvent(key, None, pyatspi.KEY_SYM)
    if control:
        pyatspi.Registry.generateKeyboardEvent(CONTROL_MASK, None, pyatspi.KEY_UNLOCKMODIFIERS)


def focus(node):
    """Gives the node the focus and waits until the program says it has it, so that the
    keys pressed next reach it."""
    node.queryComponent().grabFocus()
    wait_for(lambda: node.getState().contains(pyatspi.STATE_FOCUSED), 5)


def type_into(node, text):
    focus(node)
    node.queryEditableText().setTextContents(text)


def dialog_over(main):
    return next((w for w in main.getApplication()
                 if w is not None and w != main and showing(w) and w.getRole() in DIALOG_ROLES), None)


def give_back_the_keyboard(names):
    """No window manager runs on the virtual display to give the main window the keyboard
    back when a dialog closes: the client does it as one would."""
    subprocess.run(["xdotool", "search", "--name", "^" + names["title"], "windowfocus", "--sync"],
                   timeout=10, check=False)


def open_with(main, names, button_name):
    """The dialog that Space on the named button opens, or None."""
    button = named(main, button_name)
    if not check(f"button {button_name} found by name", button is not None):
        return None
    give_back_the_keyboard(names)
    focus(button)
    press(SPACE)
    return wait_for(lambda: dialog_over(main))


def count_unnamed_in_dialogs(window, names):
    for button in names["dialogButtons"]:
        dialog = open_with(window, names, button)
        if check(f"{button} opens a dialog", dialog is not None):
            title = dialog.name
            check(f"unnamed focusable controls in {title}", unnamed_focusable(dialog), [])
            press(ESCAPE)
            check(f"{title} closes", wait_for(lambda: dialog_over(window) is None, 10) is not None)
    give_back_the_keyboard(names)
    press(ESCAPE)
    prompt = wait_for(lambda: dialog_over(window))
    if check("Esc asks before the program ends", prompt is not None):
        check("unnamed focusable controls in the exit prompt", unnamed_focusable(prompt), [])
        no = named(prompt, names["noButton"])
        if check("No found by name", no is not None):
            no.queryAction().doAction(0)
        wait_for(lambda: dialog_over(window) is None, 10)


def start_run(window, names, button, run, steps):
    """Starts a run from its button, each dialog on the way (plan, choice, rules) checked for
    unnamed controls and taken with Enter; False when the run could not start."""
    if not open_with(window, names, names[button]):
        return False
    for step in steps:
        dialog = wait_for(lambda: dialog_over(window))
        if not check(f"the {run}'s {step} shows", dialog is not None):
            return False
        check(f"unnamed focusable controls in the {run}'s {step}", unnamed_focusable(dialog), [])
        press(RETURN)
        wait_for(lambda: dialog_over(window) is None, 10)
    give_back_the_keyboard(names)
    return True


def verdict_shown(window, names, seconds=15.0):
    """The name of the verdict picture, once it shows within the time; else None."""
    return wait_for(lambda: next((n.name for n in descendants(window)
                                  if n.description == names["verdictDescription"] and showing(n)), None), seconds)


def answer_and_read_verdict(window, names, answer):
    """The verdict picture's name after the answer, or None when none showed."""
    check("no verdict picture before the answer", verdict_shown(window, names, 1), None)
    type_into(answer, names["answer"])
    press(RETURN, control=True)
    return verdict_shown(window, names)


def play_a_game(window, names, answer):
    """A Training Game, its first question answered right."""
    if start_run(window, names, "gameButton", "game", ("plan", "rules")):
        check("verdict picture read from the tree", answer_and_read_verdict(window, names, answer),
              names["verdicts"][0])


def play_a_world_cup(window, names, answer):
    """The Training Game left with Esc and Yes, then a World Cup, its first question
    answered: the verdict picture says a verdict, whichever the question drawn gets."""
    press(ESCAPE)
    prompt = wait_for(lambda: dialog_over(window))
    yes = prompt and named(prompt, names["yesButton"])
    if not check("Yes of the prompt to leave the game found by name", bool(yes)):
        return
    yes.queryAction().doAction(0)
    wait_for(lambda: dialog_over(window) is None, 10)
    if start_run(window, names, "worldCupButton", "World Cup", ("choice", "rules")):
        check("World Cup verdict picture read from the tree",
              answer_and_read_verdict(window, names, answer) in names["verdicts"])


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        names = json.load(f)
    window = wait_for(lambda: next((w for app in pyatspi.Registry.getDesktop(0) if app for w in app
                                    if w is not None and w.name == names["title"] and showing(w)), None), 30)
    if not check("main window on the accessibility bus", window is not None):
        return 1
    boxes = [named(window, n) for n in names["questionBoxes"]]
    answer = named(window, names["answerBox"])
    if not check("question and answer boxes found by name", all(boxes) and answer is not None):
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
    check("verdict read from the comments pane",
          wait_for(lambda: comments.queryText().getText(0, -1) or None), names["comment"])
    check("verdict announced", wait_for(lambda: names["comment"] in announced, 10))
    pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-description")

    count_unnamed_in_dialogs(window, names)
    play_a_game(window, names, answer)
    play_a_world_cup(window, names, answer)
    print(f"{counts['passed']} passed, {counts['failed']} failed")
    return 1 if counts["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
