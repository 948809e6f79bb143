#!/usr/bin/python3
"""The Windows window (tarifmaster.exe) under Wine on a virtual screen, driven by real keys and clicks.

First a start-up in which Windows refuses a control: one message box, exit status 3, no half window.
Then one path at 96 dots per inch: the zero warning by the keyboard alone (Ctrl+Shift+Tab, Tab, Return) as a
message box titled "ТарифМастер"; a town typed into the search and chosen, a renewal chosen in the
drop-downs by their keys, the car steps clicked at the inventory's coordinates, КП excluded, "ОК" and both
reports. The Linux window (window_replay) plays the same moves with the same start time: the fields, the
messages and str.txt and str.doc must come out the same, byte for byte. Then the window at 144 dots per
inch, installed under Program Files: a report by clicks where the scaled layout puts the controls goes to
the user's Documents, not beside the program. At both resolutions the client area and every control lie
at the inventory's twips converted (15 twips a pixel at 96 dpi).

    window_test.py --windows-bin DIR --window-replay TOOL --inventory form/inventory.cpp

Exit status 77 (skipped) when DIR/tarifmaster.exe has not been built, unless TARIFMASTER_WINDOWS_REQUIRED is
set. The program's test seams (win32/test_seams.h) fix the start time and write what the window shows
into a record when it closes.
"""
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import wine_window  # noqa: E402
from wine_window import Record, Screen, absolute, check, window_replay  # noqa: E402

FOLDER = "C:\\Отчёты ТМ"  # the program's folder: a name of spaces and Cyrillic letters
INSTALLED = "C:\\Program Files\\ТарифМастер"  # where the installer puts it: reports go to Documents
ZERO_WARNING = "Не установлен один из коэффициентов шаг(ов) с 1 по 9"

# The same moves in the words of the Linux window's tests (window_replay).
REPLAY_MOVES = ["#Command2", "Text2=омск", "List5:Омск", "#Option11", "Combo1:9", "Combo5:3",
                "List1:физических лиц", "List6:Москва",
                "List10:до 22 лет включительно со стажем вождения до 2 лет включительно",
                "List11:Договор обязательного страхования предусматривает ограничение количества лиц,допущенных к",
                "List12:свыше 70 до 95 включительно",
                "#Check1", "#Command2", "#Option9", "#Command7", "#Option8", "#Command7"]


def check_layout(record, rows, dpi):
    """Every control at its twips converted, give or take the pixel a frame's own rounding adds."""
    px = lambda twips: (twips * dpi + 720) // 1440
    check(record.get("client") == "%d,%d" % (px(8820), px(6585)),
          "the client area at %d dpi is %s" % (dpi, record.get("client")))
    for name, (x, y, w, h) in record.rects.items():
        left, top, width, height = absolute(rows, name)
        if name == "List5" and h == px(1230):
            height = 1230  # grown by the town search
        expected = (px(left), px(top), px(width), px(height))
        check(all(abs(a - b) <= 1 for a, b in zip((x, y, w, h), expected)),
              "%s at %d dpi lies at %s, not %s" % (name, dpi, (x, y, w, h), expected))


def play_at_96(screen, record_path):
    size = screen.start(record_path, FOLDER)
    check(size == (588, 439), "the window's client area is %s at 96 dpi" % (size,))

    tab, click, box_shows_and_closes = screen.tab, screen.click, screen.box_shows_and_closes

    # From the tab row: Ctrl+Shift+Tab opens page 10 at its first option; Tab reaches "ОК" past the
    # category, the report kind, "отчет" and the total; Return presses it.
    screen.key("ctrl+shift+Tab", "Tab", "Tab", "Tab", "Tab", "Return")
    box_shows_and_closes("the zero warning")

    tab(2)
    click("Text2")
    screen.type("омск")
    click("List5", 0)
    tab(3)
    click("Option11")
    # The drop-downs by their keys: class 9 is the tenth entry after "3" (M, 0, 1, 2, 3, ...), three
    # payouts the fourth of the opened list.
    click("Combo1")
    screen.key("F4", *["Down"] * 6, "Return")
    click("Combo5")
    screen.key("F4", *["Down"] * 4, "Return")
    tab(1)
    click("List1", 1)
    tab(2)
    click("List6", 0)
    tab(4)
    click("List10", 0)
    tab(5)
    click("List11", 0)
    tab(6)
    click("List12", 2)
    tab(8)
    click("Check1")
    tab(10)
    click("Command2")
    click("Option9")
    click("Command7")
    box_shows_and_closes("the document report's confirmation")
    click("Option8")
    click("Command7")
    box_shows_and_closes("the text report's confirmation")
    click("Command6")
    screen.ended()
    return Record(record_path).read()


def compare_with_linux(record, linux, screen, linux_folder):
    for field, text in linux.items():
        if field != "messages":
            check(record.get(field) == text, "%s is %r on Windows, %r on Linux" % (field, record.get(field), text))
    check(record.get("Text10") == "5585,58" and record.get("Text13") == "1",
          "the renewed car's premium: %r" % record.fields)
    saved = "\x43охраненно: "
    windows_path = FOLDER + "\\"
    check(record.messages == [ZERO_WARNING, saved + windows_path + "str.doc", saved + windows_path + "str.txt"],
          "the messages on Windows: %r" % record.messages)
    linux_messages = [re.sub(r"^(\x43охраненно: ).*/", r"\1" + windows_path.replace("\\", "\\\\"), text)
                      for text in linux["messages"]]
    check(record.messages == linux_messages, "Windows said %r, Linux %r" % (record.messages, linux_messages))
    for report in ("str.txt", "str.doc"):
        written = open(os.path.join(screen.host_path(FOLDER), report), "rb").read()
        expected = open(os.path.join(linux_folder, report), "rb").read()
        check(written == expected, "%s differs from the Linux window's" % report)


def refused_control(screen, work):
    """A control that Windows refuses ends the start-up with one message box and exit status 3."""
    screen.start(os.path.join(work, "record-refused.txt"), FOLDER, environment={"TARIFMASTER_TEST_REFUSE": "List5"})
    check(len(screen.windows()) == 1, "one message box instead of the window")
    screen.key("Return")
    check(screen.ended() == 3, "exit status 3 when the window cannot be built")
    print("ok: a refused control ends the start-up with one message box and exit status 3")


def play(args, rows, work):
    windows_bin, window_replay_tool = args.windows_bin, args.window_replay
    screen = Screen(windows_bin, rows, (FOLDER, INSTALLED), work)
    try:
        refused_control(screen, work)
        record = play_at_96(screen, os.path.join(work, "record-96.txt"))
        check_layout(record, rows, 96)
        check(record.rects["List5"][3] == 82, "the typed town search grew List5 to 1230 twips")
        linux_folder = os.path.join(work, "linux")
        os.makedirs(linux_folder)
        shutil.copy(os.path.join(windows_bin, "tmas.gif"), linux_folder)
        linux = window_replay(window_replay_tool, linux_folder, REPLAY_MOVES)
        compare_with_linux(record, linux, screen, linux_folder)
        print("ok: 96 dpi, keys and clicks, the same fields, messages and reports as the Linux window")

        # Installed under Program Files, at 144 dpi: the report goes to the user's Documents, and the
        # tab, the buttons and the box are where the scaled layout shows them.
        screen.set_dpi(144)
        record_path = os.path.join(work, "record-144.txt")
        size = screen.start(record_path, INSTALLED)
        check(size == (screen.px(8820), screen.px(6585)), "the window's client area is %s at 144 dpi" % (size,))
        screen.tab(10)
        screen.click("Command7")
        screen.box_shows_and_closes("the text report's confirmation")
        screen.click("Command6")
        screen.ended()
        record = Record(record_path).read()
        check_layout(record, rows, 144)
        saved = re.fullmatch(r"\x43охраненно: C:\\users\\([^\\]+)\\Documents\\str\.txt", record.messages[0])
        check(saved and len(record.messages) == 1, "the installed copy said %r" % record.messages)
        documents = screen.host_path("C:\\users\\%s\\Documents" % saved.group(1))
        check(os.path.exists(os.path.join(documents, "str.txt")), "str.txt in " + documents)
        check(not os.path.exists(os.path.join(screen.host_path(INSTALLED), "str.txt")),
              "nothing written into Program Files")
        print("ok: 144 dpi, installed: the layout scaled, the report in Documents")
    finally:
        screen.close()


if __name__ == "__main__":
    sys.exit(wine_window.main(("--windows-bin", "--window-replay", "--inventory"), play))
