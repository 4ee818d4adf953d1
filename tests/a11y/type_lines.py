#!/usr/bin/python3
# Drives a running nelo over the accessibility bus: finds the panes by their names,
# types each line of LINES into 「入力」 and presses Enter, then prints what 「会話」 holds.
#   type_lines.py LINES
import sys
import time

import pyatspi


def find_app(timeout):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "Nelo":
                return app
        time.sleep(0.1)
    sys.exit("nelo did not appear on the accessibility bus")


def find_named(node, name):
    if node.name == name:
        return node
    for i in range(node.childCount):
        found = find_named(node.getChildAtIndex(i), name)
        if found is not None:
            return found
    return None


def settled_text(text, before, timeout=10.0):
    """The pane's text once it changed from before and stayed the same for a moment."""
    end = time.time() + timeout
    last, since = None, time.time()
    while time.time() < end:
        now = text.getText(0, -1)
        if now != last:
            last, since = now, time.time()
        elif now != before and time.time() - since > 0.3:
            return now
        time.sleep(0.05)
    return last


def main():
    lines = [l.rstrip("\n") for l in open(sys.argv[1], encoding="utf-8") if l.strip()]
    app = find_app(20)
    end = time.time() + 10
    while True:
        entry, talk = find_named(app, "入力"), find_named(app, "会話")
        if entry is not None and talk is not None:
            break
        if time.time() > end:
            sys.exit("the panes 入力 and 会話 were not found")
        time.sleep(0.1)
    talk_text = talk.queryText()
    settled = settled_text(talk_text, "")
    for line in lines:
        text = entry.queryText()
        entry.queryEditableText().insertText(text.characterCount, line, len(line))
        entry.queryComponent().grabFocus()
        pyatspi.Registry.generateKeyboardEvent(0xFF0D, None, pyatspi.KEY_SYM)  # Return
        settled = settled_text(talk_text, settled)
    sys.stdout.write(settled)


main()
