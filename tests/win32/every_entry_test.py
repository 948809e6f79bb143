#!/usr/bin/python3
"""Every entry of every list box and drop-down of the Windows window, chosen as a user chooses it.

Under Wine on a virtual screen, with Wine's crash dialog off: each list box's entries by the mouse (the
rows it shows) and by the arrows (all of them, one after the other); each drop-down's entries by the
mouse in its open list, by the arrows in the open list then Return, and by the arrows on the closed
drop-down. The town results are those of a typed search; the payouts drop-down is that of a renewal.
After every choice the program must still run, and its fields (the test record, win32/test_seams.h) must
be those the form computes for the same choices on plain data (form_replay): the factor of the entry
from the engine's table in the step's field.

    every_entry_test.py --windows-bin DIR --form-replay TOOL --inventory form/inventory.cpp

Exit status 77 (skipped) when DIR/tarifmaster.exe has not been built, unless TARIFMASTER_WINDOWS_REQUIRED
is set.
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import wine_window  # noqa: E402
from wine_window import Failure, Record, Screen, check, page_of  # noqa: E402

TOWN_SEARCH = "кур"
# The list boxes and drop-downs in the order they are chosen, with what must come first.
LISTS = ["List1", "List2", "List3", "List6", "List7", "List8", "List9", "List5", "List10", "List11", "List12"]
DROP_DOWNS = ["Combo1", "Combo5", "Combo2", "Combo3", "Combo4"]
BEFORE = {"List5": ["Text2=" + TOWN_SEARCH], "Combo5": ["#Option11"]}


def replay(tool, arguments):
    run = subprocess.run([tool] + arguments, capture_output=True, text=True, timeout=60)
    check(run.returncode == 0, "form_replay %s: %s" % (arguments[:3], run.stderr))
    return run.stdout.splitlines()


class Chooser:
    """Chooses entries on the window and knows the move each choice is in the form's words."""

    def __init__(self, screen, rows, tool, record):
        self.screen = screen
        self.record = record
        self.rows = rows
        self.tool = tool
        self.moves = []  # (move, action): what the form is told, and how the window is made to do it
        self.selected = {}  # a drop-down's chosen entry, as its list shows it

    def entries(self, name):
        return replay(self.tool, ["--entries", name] + BEFORE.get(name, []))

    def add(self, move, action):
        self.moves.append((move, action))

    def list_box(self, name):
        entries = self.entries(name)
        screen, page = self.screen, page_of(self.rows, name)
        height = self.rows[name][4] if name != "List5" else 1230  # the search grew it
        shown = min(len(entries), max(1, screen.px(height) // screen.px(195)))
        for row in range(shown):
            self.add("%s:%s" % (name, entries[row]), lambda row=row: (screen.tab(page), screen.click(name, row)))
        self.add("%s:%s" % (name, entries[0]), lambda: (screen.tab(page), screen.click(name, 0)))
        for row in range(1, len(entries)):
            self.add("%s:%s" % (name, entries[row]), lambda: screen.key("Down"))

    def drop_down(self, name, start):
        entries = self.entries(name)
        screen, page = self.screen, page_of(self.rows, name)
        current = entries.index(start) if start in entries else -1
        row_height = int(self.record.get("rowheight:" + name))
        for row in range(len(entries)):  # the mouse in the open list
            self.add("%s:%s" % (name, entries[row]),
                     lambda row=row: (screen.tab(page), screen.click_at(*screen.drop_arrow(name), pause=0.3),
                                      screen.click_at(*screen.dropped_entry(name, row, row_height))))
            current = row
        for row in range(len(entries)):  # the arrows in the open list, then Return
            steps = ["Down"] * (row - current) if row > current else ["Up"] * (current - row)
            self.add("%s:%s" % (name, entries[row]),
                     lambda steps=steps: (screen.click(name), screen.key("alt+Down", *steps, "Return")))
            current = row
        self.add("%s:%s" % (name, entries[0]), lambda: (screen.click(name), screen.key(*["Up"] * len(entries))))
        for row in range(1, len(entries)):  # the arrows on the closed drop-down, each a choice
            self.add("%s:%s" % (name, entries[row]), lambda: screen.key("Down"))

    def plan(self, start_texts):
        self.add("#Option11", lambda: (self.screen.tab(3), self.screen.click("Option11")))
        for name in LISTS:
            if name == "List5":  # a click into the search field sets ТБ, as every click into Text1 to Text4 does
                self.add("#Text2", lambda: (self.screen.tab(2), self.screen.click("Text2")))
                self.add("Text2=" + TOWN_SEARCH, self.search_towns)
            self.list_box(name)
        for name in DROP_DOWNS:
            self.drop_down(name, start_texts[name])

    def search_towns(self):
        """Types the search until the window found what the form finds (Wine may drop a typed letter)."""
        expected = "|".join(self.entries("List5"))
        record = self.record
        for _ in range(3):
            self.screen.key("ctrl+a", "BackSpace")
            self.screen.type(TOWN_SEARCH)
            deadline = time.monotonic() + 3
            while time.monotonic() < deadline and record.read().get("entries:List5") != expected:
                time.sleep(0.1)
            if record.get("entries:List5") == expected:
                return
        raise Failure("the town search found %r, not %r" % (record.get("entries:List5"), expected))


def differences(record, expected_line):
    """The fields of the record that differ from the form's after the same moves."""
    fields = dict(part.split("=", 1) for part in expected_line.split("\t")[1:])
    return {name: (record.get(name), text) for name, text in fields.items() if record.get(name) != text}


def choose_everything(args, rows, work):
    tool = args.form_replay
    screen = Screen(args.windows_bin, rows, work=work)
    try:
        path = os.path.join(work, "record.txt")
        screen.start(path)
        record = Record(path)
        screen.wait(lambda: record.read().get("Text12") is not None, "the record of the opened window")
        chooser = Chooser(screen, rows, tool, record)
        chooser.plan({name: record.get(name) for name in DROP_DOWNS})
        expected = replay(tool, [move for move, _ in chooser.moves])
        ways = 0
        for (move, action), line in zip(chooser.moves, expected):
            action()
            deadline = time.monotonic() + 4
            while differences(record.read(), line) and time.monotonic() < deadline:
                check(screen.alive(), "the program died after %s%s" % (move, screen.crash_text()))
                time.sleep(0.05)
            check(screen.alive(), "the program died after %s%s" % (move, screen.crash_text()))
            check(not differences(record, line),
                  "after %s the window shows %r (window, form)" % (move, differences(record, line)))
            ways += 1
        screen.click("Command6")
        check(screen.ended() == 0, "the program ends as asked")
        check(record.read().get("Combo4") == chooser.entries("Combo4")[-1], "КН is the last entry chosen")
        print("ok: %d choices, every entry of %d lists and %d drop-downs" % (ways, len(LISTS), len(DROP_DOWNS)))
    finally:
        screen.close()


if __name__ == "__main__":
    sys.exit(wine_window.main(("--windows-bin", "--form-replay", "--inventory"), choose_everything))
