# SPDX-License-Identifier: GPL-3.0-or-later
"""Lists the program's controls as AT-SPI shows them (name and role, one a line) and checks
the expected ones. Usage: atspi_probe.py before|shown (at start, or with 一 shown)."""
import sys
import time

import pyatspi

TITLE = "QIR Demonstration of stroke order"
PLAYER_BUTTONS = ["Play", "Pause", "Stop", "Go to end", "Go to start", "Step forward", "Step back"]
SKIN_BUTTONS = ["Exit", "Minimise", "Help", "Next character", "Previous character"]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def find_application():
    names = []
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        names = [app.name for app in desktop if app is not None]
        for app in desktop:
            if app is not None and app.name == TITLE:
                return app, names
        time.sleep(0.1)
    return None, names


def walk(node, depth, controls):
    try:
        role = node.getRoleName()
        name = node.name
        states = node.getState()
    except Exception:  # a control that went away while listed
        return
    sensitive = states.contains(pyatspi.STATE_SENSITIVE)
    actions = []
    try:
        action = node.queryAction()
        actions = [action.getName(i).lower() for i in range(action.nActions)]
    except NotImplementedError:
        pass
    print("%s%s: %r%s%s" % ("  " * depth, role, name, "" if sensitive else " (unavailable)",
                            " [%s]" % ", ".join(actions) if actions else ""))
    controls.append((role, name, sensitive, actions, node))
    for index in range(node.childCount):
        walk(node.getChildAtIndex(index), depth + 1, controls)


def main():
    moment = sys.argv[1]
    app, names = find_application()
    if app is None:
        print("no application named %r among %r" % (TITLE, names))
        return 1
    check("MyTarsel" not in names, "an application is still announced as MyTarsel")
    controls = []
    walk(app, 0, controls)

    def named(name, roles):
        found = [c for c in controls if c[1] == name and c[0] in roles]
        check(len(found) == 1, "expected one %s named %r, found %d" % ("/".join(roles), name,
                                                                       len(found)))
        return found[0] if found else None

    unnamed = [c for c in controls if c[0] in ("push button", "link", "text", "list item") and not c[1]]
    check(not unnamed, "%d buttons, links, texts or list items without a name" % len(unnamed))
    for name in SKIN_BUTTONS:
        button = named(name, ("push button",))
        if button:
            check("press" in button[3], "%r has no press action" % name)
    named("qir.example.org", ("link",))
    named("Input character", ("text", "entry"))
    named("Characters by number of strokes", ("tree", "tree table", "list"))
    bar = named("Player", ("tool bar",))
    if bar:
        node = bar[4]
        children = [node.getChildAtIndex(i) for i in range(node.childCount)]
        check([c.name for c in children] == PLAYER_BUTTONS,
              "the player's buttons are %r" % [c.name for c in children])
        check(all(c.getRoleName() == "push button" for c in children),
              "a player button is not a push button")
        play = children[0] if children else None
        if play is not None:
            sensitive = play.getState().contains(pyatspi.STATE_SENSITIVE)
            check(sensitive == (moment == "shown"),
                  "Play should be %s" % ("available" if moment == "shown" else "greyed"))
    grid = named("Stroke steps", ("list",))
    animation_name = "Animation of 一" if moment == "shown" else "Animation"
    named(animation_name, ("animation",))
    if grid:
        node = grid[4]
        steps = [node.getChildAtIndex(i).name for i in range(node.childCount)]
        expected = ["第1笔 / step 1 of 1"] if moment == "shown" else []
        check(steps == expected, "the grid's steps are %r, not %r" % (steps, expected))

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
