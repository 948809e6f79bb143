#!/usr/bin/python3
"""The Windows window (tarifmaster.exe) under Wine on a virtual screen, driven by real keys and clicks.

One path at 96 dots per inch: the zero warning by the keyboard alone (Ctrl+Shift+Tab, Tab, Return) as a
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
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
TITLE = "ТарифМастер"
START = ("08.12.2026", "10:20:30")
FOLDER = "Отчёты ТМ"  # the program's folder, C:\Отчёты ТМ: a name of spaces and Cyrillic letters
INSTALLED = "Program Files\\ТарифМастер"  # where the installer puts it: reports go to Documents
ZERO_WARNING = "Не установлен один из коэффициентов шаг(ов) с 1 по 9"

# The same moves in the words of the Linux window's tests (window_replay).
REPLAY_MOVES = ["#Command2", "Text2=омск", "List5:Омск", "#Option11", "Combo1:9", "Combo5:3",
                "List1:физических лиц", "List6:Москва",
                "List10:до 22 лет включительно со стажем вождения до 2 лет включительно",
                "List11:Договор обязательного страхования предусматривает ограничение количества лиц,допущенных к",
                "List12:свыше 70 до 95 включительно",
                "#Check1", "#Command2", "#Option9", "#Command7", "#Option8", "#Command7"]


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def inventory_rows(path):
    """name -> (container, left, top, width, height) in twips, read from the inventory's table."""
    source = open(path, encoding="utf-8").read()
    rows = {}
    pattern = (r'\{(?:"([^"]+)"|kCategoryOptions\[(\d)\]\.name), Kind::\w+, "([^"]*)", .*?, '
               r'(\d+), (\d+), (\d+), (\d+), look::')
    for match in re.finditer(pattern, source):
        name = match.group(1) or "Option%d" % (int(match.group(2)) + 3)
        rows[name] = (match.group(3),) + tuple(int(match.group(i)) for i in range(4, 8))
    check(len(rows) > 100 and "Option7" in rows and "Label60" in rows, "the inventory's rows are read")
    return rows


class Screen:
    """Xvfb, Wine's prefix and the program, with the moves of a user at inventory coordinates."""

    def __init__(self, work, windows_bin, rows):
        self.work = work
        self.rows = rows
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        display = os.read(read, 64).decode().strip()
        # Kept open while Xvfb runs: it may write the number again, and dies if it cannot.
        self.displayfd = read
        self.env = dict(os.environ, DISPLAY=":" + display, WINEPREFIX=os.path.join(work, "prefix"),
                        WINEDEBUG="-all", LC_ALL="C.UTF-8", HOME=work,
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d")
        self.env.pop("WAYLAND_DISPLAY", None)
        subprocess.run([WINE, "wineboot", "-i"], env=self.env, capture_output=True, timeout=180)
        self.settle()
        self.folder = os.path.join(work, "prefix", "drive_c", FOLDER)
        shutil.copytree(windows_bin, self.folder)
        shutil.copytree(windows_bin, os.path.join(work, "prefix", "drive_c", INSTALLED.replace("\\", "/")))
        self.program = None
        self.origin = (0, 0)
        self.dpi = 96

    def settle(self):
        subprocess.run([WINESERVER, "-w"], env=self.env, timeout=180)

    def set_dpi(self, dpi):
        subprocess.run([WINE, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                        "REG_DWORD", "/d", str(dpi), "/f"], env=self.env, capture_output=True, timeout=60)
        self.settle()
        self.dpi = dpi

    def xdotool(self, *arguments):
        run = subprocess.run(["xdotool"] + list(arguments), env=self.env, capture_output=True, text=True,
                             timeout=30)
        return run.stdout.split()

    def windows(self):
        """The X windows named as the program's windows are: the window and any message box."""
        return self.xdotool("search", "--onlyvisible", "--name", "^%s$" % TITLE)

    def wait(self, condition, what, seconds=20):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if condition():
                return
            time.sleep(0.1)
        raise Failure("timed out: " + what)

    def start(self, record, folder=FOLDER):
        env = dict(self.env, TARIFMASTER_TEST_START_DATE=START[0], TARIFMASTER_TEST_START_TIME=START[1],
                   TARIFMASTER_TEST_RECORD="Z:" + record.replace("/", "\\"))
        self.program = subprocess.Popen([WINE, "C:\\%s\\tarifmaster.exe" % folder], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait(lambda: len(self.windows()) == 1, "the window shows")
        window = self.windows()[0]
        info = subprocess.run(["xwininfo", "-id", window], env=self.env, capture_output=True, text=True).stdout
        value = lambda field: int(re.search(field + r":\s+(-?\d+)", info).group(1))
        self.origin = (value("Absolute upper-left X"), value("Absolute upper-left Y"))
        # Without a window manager Wine's X window is the client area.
        return value("Width"), value("Height")

    def px(self, twips):
        return (twips * self.dpi + 720) // 1440

    def click_at(self, x, y):
        self.xdotool("mousemove", str(self.origin[0] + x), str(self.origin[1] + y), "click", "1")
        time.sleep(0.15)

    def key(self, *keys):
        for key in keys:
            self.xdotool("key", key)
            time.sleep(0.1)

    def ended(self, seconds=20):
        self.program.wait(timeout=seconds)
        self.settle()

    # A user's moves, at the inventory's places converted at the screen's resolution.
    def centre(self, name, row=None):
        left, top, width, height = absolute(self.rows, name)
        x, y = self.px(left + width // 2), self.px(top + height // 2)
        if row is not None:  # the middle of a list's entry, below the two-pixel sunken border
            y = self.px(top) + 2 + row * self.px(195) + self.px(195) // 2
        return x, y

    def tab(self, page):
        self.click_at(self.px(8925) * (2 * page - 1) // 20, self.px(150))

    def click(self, name, row=None):
        self.click_at(*self.centre(name, row))

    def box_shows_and_closes(self, what):
        self.wait(lambda: len(self.windows()) == 2, "a message box titled %s: %s" % (TITLE, what))
        self.key("Return")
        self.wait(lambda: len(self.windows()) == 1, "the message box closes: " + what)


def absolute(rows, name):
    """A control's rectangle in the window's client twips: frames add their own place."""
    container, left, top, width, height = rows[name]
    while container in rows:
        container, frame_left, frame_top = rows[container][0], rows[container][1], rows[container][2]
        left, top = left + frame_left, top + frame_top
    return left, top, width, height


def read_record(path):
    record = {"messages": [], "rects": {}}
    for line in open(path, encoding="utf-8").read().splitlines():
        name, text = line.split("=", 1)
        if name == "message":
            record["messages"].append(text.replace("\\n", "\n"))
        elif name.startswith("rect:"):
            record["rects"][name[5:]] = [int(v) for v in text.split(",")[:4]]
        else:
            record[name] = text
    return record


def check_layout(record, rows, dpi):
    """Every control at its twips converted, give or take the pixel a frame's own rounding adds."""
    px = lambda twips: (twips * dpi + 720) // 1440
    check(record["client"] == "%d,%d" % (px(8820), px(6585)),
          "the client area at %d dpi is %s" % (dpi, record["client"]))
    for name, (x, y, w, h) in record["rects"].items():
        left, top, width, height = absolute(rows, name)
        if name == "List5" and h == px(1230):
            height = 1230  # grown by the town search
        expected = (px(left), px(top), px(width), px(height))
        check(all(abs(a - b) <= 1 for a, b in zip((x, y, w, h), expected)),
              "%s at %d dpi lies at %s, not %s" % (name, dpi, (x, y, w, h), expected))


def play_at_96(screen, rows, record_path):
    size = screen.start(record_path)
    check(size == (588, 439), "the window's client area is %s at 96 dpi" % (size,))

    tab, click, box_shows_and_closes = screen.tab, screen.click, screen.box_shows_and_closes

    # From the tab row: Ctrl+Shift+Tab opens page 10 at its first option; Tab reaches "ОК" past the
    # category, the report kind, "отчет" and the total; Return presses it.
    screen.key("ctrl+shift+Tab", "Tab", "Tab", "Tab", "Tab", "Return")
    box_shows_and_closes("the zero warning")

    tab(2)
    click("Text2")
    screen.xdotool("type", "--delay", "50", "омск")
    time.sleep(0.3)
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
    return read_record(record_path)


def window_replay(tool, folder):
    run = subprocess.run([tool, folder, START[0], START[1]] + REPLAY_MOVES, capture_output=True, text=True,
                         timeout=60, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    check(run.returncode == 0, "window_replay: %s%s" % (run.stdout, run.stderr))
    shown = {"messages": []}
    for line in run.stdout.splitlines():
        name, text = line.split("=", 1)
        if name == "message":
            shown["messages"].append(text.replace("\\n", "\n"))
        else:
            shown[name] = text
    return shown


def compare_with_linux(record, linux, screen, linux_folder):
    for field, text in linux.items():
        if field != "messages":
            check(record.get(field) == text, "%s is %r on Windows, %r on Linux" % (field, record.get(field), text))
    check(record["Text10"] == "5585,58" and record["Text13"] == "1", "the renewed car's premium: %r" % record)
    saved = "\x43охраненно: "
    windows_path = "C:\\%s\\" % FOLDER
    check(record["messages"] == [ZERO_WARNING, saved + windows_path + "str.doc", saved + windows_path + "str.txt"],
          "the messages on Windows: %r" % record["messages"])
    linux_messages = [re.sub(r"^(\x43охраненно: ).*/", r"\1" + windows_path.replace("\\", "\\\\"), text)
                      for text in linux["messages"]]
    check(record["messages"] == linux_messages, "Windows said %r, Linux %r" % (record["messages"], linux_messages))
    for report in ("str.txt", "str.doc"):
        written = open(os.path.join(screen.folder, report), "rb").read()
        expected = open(os.path.join(linux_folder, report), "rb").read()
        check(written == expected, "%s differs from the Linux window's" % report)


def main():
    parser = argparse.ArgumentParser()
    for option in ("--windows-bin", "--window-replay", "--inventory"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    program = os.path.join(args.windows_bin, "tarifmaster.exe")
    if not os.path.exists(program) or not os.path.exists(WINE):
        if os.environ.get("TARIFMASTER_WINDOWS_REQUIRED"):
            print("FAIL: no %s or no Wine; tools/windows builds the program" % program)
            return 1
        print("SKIP: no %s or no Wine; build it with tools/windows to run the window's test" % program)
        return SKIPPED

    rows = inventory_rows(args.inventory)
    work = tempfile.mkdtemp(prefix="tarifmaster-win32-")
    screen = None
    try:
        began = time.monotonic()
        screen = Screen(work, args.windows_bin, rows)
        record = play_at_96(screen, rows, os.path.join(work, "record-96.txt"))
        check_layout(record, rows, 96)
        check(record["rects"]["List5"][3] == 82, "the typed town search grew List5 to 1230 twips")
        linux_folder = os.path.join(work, "linux")
        os.makedirs(linux_folder)
        shutil.copy(os.path.join(args.windows_bin, "tmas.gif"), linux_folder)
        compare_with_linux(record, window_replay(args.window_replay, linux_folder), screen, linux_folder)
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
        record = read_record(record_path)
        check_layout(record, rows, 144)
        saved = re.fullmatch(r"\x43охраненно: C:\\users\\([^\\]+)\\Documents\\str\.txt", record["messages"][0])
        check(saved and len(record["messages"]) == 1, "the installed copy said %r" % record["messages"])
        documents = os.path.join(work, "prefix", "drive_c", "users", saved.group(1), "Documents")
        check(os.path.exists(os.path.join(documents, "str.txt")), "str.txt in " + documents)
        check(not os.path.exists(os.path.join(work, "prefix", "drive_c", INSTALLED.replace("\\", "/"), "str.txt")),
              "nothing written into Program Files")
        print("ok: 144 dpi, installed: the layout scaled, the report in Documents")
        print("ok: %.0f s" % (time.monotonic() - began))
    except Failure as failure:
        print("FAIL: %s (the files are kept in %s)" % (failure, work))
        return 1
    finally:
        if screen:
            subprocess.run([WINESERVER, "-k"], env=screen.env, capture_output=True)
            screen.xvfb.terminate()
            screen.xvfb.wait()
            os.close(screen.displayfd)
    shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
