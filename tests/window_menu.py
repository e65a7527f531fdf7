"""Chooses an item of the window's menu bar by keyboard, as a person does: Alt + F opens the
first menu, Right moves to the next title, Down to the next item, Return chooses it.

A person looks at the menu before pressing the next key; so does `choose`. Keys sent at a
fixed pace were lost on a busy machine: an arrow that arrived before the program had opened
the menu went to the main window instead. Each key is sent only once the menu shows the
state the key before it asked for, and a key that changes nothing fails the test.
"""
import re
import time

import window_e2e  # its check() is looked up when called: window_e2e imports this module too

# Unnamed top-level windows in "xwininfo -root -children": FLTK's menu title and item lists.
UNNAMED = re.compile(r"\s+(0x[0-9a-f]+) \(has no name\): \(\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)")


def menu_windows(s):
    """The open menu as (title, items): each an (id, x, y, width, height) of a mapped window,
    None while it is not shown. The title is the shorter window, the items the taller."""
    found = []
    for line in s.x("xwininfo", "-root", "-children").splitlines():
        match = UNNAMED.match(line)
        if not match or int(match[2]) <= 1:
            continue
        state = s.x("xwininfo", "-id", match[1], check_result=False)
        if "IsViewable" in state:
            found.append((match[1],) + tuple(int(v) for v in match.group(4, 5, 2, 3)))
    if len(found) != 2:
        return None, None
    title, items = sorted(found, key=lambda w: w[4])
    return title, items


def highlight_top(s, title, items):
    """The top row of the highlighted item in the item list, None when none is: its rows are
    filled with the title's selection colour (the colour most of the title shows)."""
    title_shot = s.shoot(title[0], "menu-title")
    colours = title_shot.region(0, 0, title_shot.width, title_shot.height)
    selection = max(set(colours), key=colours.count)
    shot = s.shoot(items[0], "menu-items")
    for y in range(shot.height):
        if shot.region(0, y, shot.width, y + 1).count(selection) > shot.width // 2:
            return y
    return None


def wait_for(s, what, state, timeout=30):
    """Polls `state()` until it returns something other than None; a busy machine may take
    a few seconds to open or redraw a menu."""
    deadline = time.time() + timeout
    while True:
        value = state()
        if value is not None:
            return value
        window_e2e.check(time.time() < deadline, f"the menu did not show {what}")
        time.sleep(0.05)


def choose(s, window, title, item):
    """Chooses item number `item` (from 0) of menu number `title` (from 0, File)."""
    # Keys go to the window under the pointer: a point on the menu bar right of its titles.
    geometry = dict(line.split("=", 1) for line in
                    s.x("xdotool", "getwindowgeometry", "--shell", window).splitlines())
    s.point(window, int(geometry["WIDTH"]) - 20, 12, 0.2)
    s.x("xdotool", "key", "alt+f")
    left = wait_for(s, "its first title", lambda: (menu_windows(s)[0] or (0, None))[1])
    for number in range(1, title + 1):
        s.x("xdotool", "key", "Right")

        def moved(before=left):
            shown = menu_windows(s)[0]
            return shown[1] if shown is not None and shown[1] > before else None

        left = wait_for(s, f"title {number}", moved)
    top = -1
    for number in range(item + 1):
        s.x("xdotool", "key", "Down")

        def lower(before=top):
            title_window, items = menu_windows(s)
            if title_window is None:
                return None
            row = highlight_top(s, title_window, items)
            return row if row is not None and row > before else None

        top = wait_for(s, f"item {number} highlighted", lower)
    s.x("xdotool", "key", "Return")
    wait_for(s, "itself closed", lambda: True if menu_windows(s)[0] is None else None)

