#!/usr/bin/python3
"""A stream of random but realistic input against the Windows window under Wine, as a user gives it.

Clicks anywhere in the client area, the tab row and the bottom strip included, and on the controls of
every page; keys (arrows, Tab, Return, Escape, F4, Alt+Down, the page keys, editing keys); typed digits,
commas, Cyrillic, long texts and control characters; choices in open drop-downs; "ОК" and "отчет". Every
message box is dismissed as a user would; "Выход" now and then ends the program, which is started again.
Wine's crash dialog is off: a crash ends the run with the address Wine reports. After every report the
files are checked as whole: str.txt 31 lines of Windows-1251 text, str.doc one balanced RTF group.

    random_input_test.py --windows-bin DIR --inventory form/inventory.cpp

TARIFMASTER_RANDOM_EVENTS (300 by default) and TARIFMASTER_RANDOM_SEED (printed) choose the stream, so
that a failure can be replayed. Exit status 77 (skipped) when DIR/tarifmaster.exe has not been built,
unless TARIFMASTER_WINDOWS_REQUIRED is set.
"""
import argparse
import collections
import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from wine_window import (Record, Screen, absolute, check, document_whole, inventory_rows, page_of,  # noqa: E402
                         run_test, text_report_whole)

FOLDER = "C:\\tarifmaster"
SAVED = "\x43охраненно: "
KEYS = ["Up", "Down", "Left", "Right", "Home", "End", "Prior", "Next", "Tab", "shift+Tab", "space", "Return",
        "Escape", "Delete", "BackSpace", "ctrl+a", "ctrl+z", "F4", "alt+Down", "alt+Up", "ctrl+Tab",
        "ctrl+shift+Tab", "ctrl+Next", "ctrl+Prior", "shift+End", "ctrl+c", "ctrl+x"]
PIECES = ["1,3", "0,7", "2375", "1.5", "-1,5", "+2", "0", " ", "Ново", "омск", "вол", "Москва", "✓", "中文", "😀",
          "\t", "\n", "{\\par}", "99999999999999999999", "ё", "Ё", ",", ",,", "1,"]
CLICKED_KINDS = {"ListBox", "ComboBox", "TextBox", "Option", "Check", "Command", "Picture", "Link", "Label"}


class Stream:
    def __init__(self, screen, rows, seed, work):
        self.screen = screen
        self.rows = rows
        self.random = random.Random(seed)
        self.work = work
        self.recent = collections.deque(maxlen=15)
        self.events = open(os.path.join(work, "events.txt"), "w", encoding="utf-8")  # the whole stream
        self.reports = 0
        self.starts = 0
        self.messages = 0
        self.record = None
        self.controls = [name for name, row in rows.items() if row[5] in CLICKED_KINDS and name != "Command6"
                         and name != "Text10" and page_of(rows, name) is not None]

    def start(self):
        self.starts += 1
        path = os.path.join(self.work, "record-%d.txt" % self.starts)
        self.screen.start(path, FOLDER)
        self.record = Record(path)
        self.messages = 0

    # The events.
    def click_anywhere(self):
        screen = self.screen
        width, height = screen.px(8820), screen.px(6585)
        x, y = self.random.randrange(width), self.random.randrange(height)
        left, top, w, h = absolute(self.rows, "Command6")
        if screen.px(left) <= x < screen.px(left + w) and screen.px(top) <= y < screen.px(top + h):
            return  # "Выход" has an event of its own
        self.note("click at %d,%d" % (x, y))
        screen.clicks_at([(x, y)])

    def click_control(self):
        name = self.random.choice(self.controls)
        left, top, width, height = absolute(self.rows, name)
        x = self.screen.px(left) + self.random.randrange(max(1, self.screen.px(width)))
        y = self.screen.px(top) + self.random.randrange(max(1, self.screen.px(height)))
        page = page_of(self.rows, name)
        self.note("click %s at %d,%d on page %d" % (name, x, y, page))
        self.screen.clicks_at([self.screen.tab_centre(page), (x, y)])

    def press_key(self):
        key = self.random.choice(KEYS)
        self.note("key " + key)
        self.screen.xdotool("key", key)

    def random_text(self):
        roll = self.random.randrange(8)
        if roll == 0:
            return "9" * self.random.randrange(100, 400)
        return "".join(self.random.choice(PIECES) for _ in range(1 + self.random.randrange(4)))

    def type_text(self):
        text = self.random_text()
        self.note("type %r" % text[:40])
        self.screen.xdotool("type", "--delay", "2", text)

    def choose_in_drop_down(self):
        name = self.random.choice(["Combo1", "Combo2", "Combo3", "Combo4", "Combo5"])
        row = self.random.randrange(15)
        self.note("open %s, its row %d" % (name, row))
        height = int(self.record.get("rowheight:" + name, "13"))
        self.screen.clicks_at([self.screen.tab_centre(page_of(self.rows, name)), self.screen.drop_arrow(name)])
        time.sleep(0.05)
        self.screen.clicks_at([self.screen.dropped_entry(name, row, height)])

    def press(self, name):
        if name == "Command7" and self.random.randrange(2):
            self.press(self.random.choice(["Option8", "Option9"]))
        self.note("press " + name)
        self.screen.clicks_at([self.screen.tab_centre(page_of(self.rows, name)), self.screen.centre(name)])

    def note(self, event):
        self.recent.append(event)
        self.events.write(event + "\n")
        self.events.flush()

    def step(self):
        roll = self.random.randrange(40)
        if roll < 9:
            self.click_anywhere()
        elif roll < 16:
            self.click_control()
        elif roll < 26:
            self.press_key()
        elif roll < 32:
            self.type_text()
        elif roll < 35:
            self.choose_in_drop_down()
        elif roll < 37:
            self.press("Command2")
        elif roll < 39:
            self.press("Command7")
        elif self.random.randrange(10) == 0:
            self.note("press Command6")
            self.screen.clicks_at([self.screen.centre("Command6")])

    # After each event.
    def settle(self):
        """Dismisses the message boxes the event raised, checks the reports and that the program lives."""
        screen = self.screen
        deadline = time.monotonic() + 0.08
        while time.monotonic() < deadline:
            if len(self.record.read().messages) > self.messages or not screen.alive():
                break
            time.sleep(0.02)
        while len(self.record.read().messages) > self.messages:
            message = self.record.messages[self.messages]
            self.messages += 1
            self.note("message %r" % message[:60])
            screen.wait(lambda: len(screen.windows()) >= 2 or not screen.alive(), "the box of %r" % message)
            if message.startswith(SAVED):
                self.check_report(message[len(SAVED):])
            # One Return closes the box; another would press the button that has focus again.
            if screen.alive():
                screen.xdotool("key", "Return")
                screen.wait(lambda: len(screen.windows()) < 2 or not screen.alive()
                            or len(self.record.read().messages) > self.messages, "the box of %r closes" % message)
        if not screen.alive():
            check(self.record.read().get("closed") == "1" and screen.ended() == 0,
                  "the program died%s; the last events: %s" % (screen.crash_text(), " / ".join(self.recent)))
            self.note("started again")
            self.start()

    def check_report(self, path):
        data = open(self.screen.host_path(path), "rb").read()
        whole = text_report_whole(data) if path.endswith(".txt") else document_whole(data)
        check(whole is None, "%s is not whole: %s; the last events: %s" % (path, whole, " / ".join(self.recent)))
        self.reports += 1


def run(windows_bin, rows, events, seed, work):
    screen = Screen(windows_bin, rows, (FOLDER,), work)
    try:
        stream = Stream(screen, rows, seed, work)
        stream.start()
        began = time.monotonic()
        for _ in range(events):
            stream.step()
            stream.settle()
        seconds = time.monotonic() - began
        print("ok: seed %d, %d events in %.0f s (%.1f a second), %d reports checked, %d starts"
              % (seed, events, seconds, events / seconds, stream.reports, stream.starts))
    finally:
        screen.close()


def main():
    parser = argparse.ArgumentParser()
    for option in ("--windows-bin", "--inventory"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    events = int(os.environ.get("TARIFMASTER_RANDOM_EVENTS", "300"))
    seed = int(os.environ.get("TARIFMASTER_RANDOM_SEED", str(random.randrange(1 << 31))))
    print("seed %d (TARIFMASTER_RANDOM_SEED=%d replays it), %d events" % (seed, seed, events), flush=True)
    rows = inventory_rows(args.inventory)
    return run_test(os.path.join(args.windows_bin, "tarifmaster.exe"),
                    lambda work: run(args.windows_bin, rows, events, seed, work))


if __name__ == "__main__":
    sys.exit(main())
