"""The Windows window (tarifmaster.exe) under Wine on a virtual screen, for the tests that drive it.

A Screen is an Xvfb display of its own, a fresh Wine prefix with Wine's crash dialog off (a crash ends
the program at once and Wine writes its address to standard error) and copies of the program's folder;
it starts the program with the test seams of win32/test_seams.h and moves the mouse and the keys as a
user does, at the inventory's places converted at the screen's resolution. A Record reads the program's
test record as it grows.
"""
import argparse
import os
import re
import shutil
import subprocess
import tempfile
import time

SKIPPED = 77
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
TITLE = "ТарифМастер"
START = ("08.12.2026", "10:20:30")


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def needs(program):
    """Exit status 77 (skipped) or 1 when the program or Wine is missing; None when both are there."""
    if os.path.exists(program) and os.path.exists(WINE):
        return None
    if os.environ.get("TARIFMASTER_WINDOWS_REQUIRED"):
        print("FAIL: no %s or no Wine; tools/windows builds the program" % program)
        return 1
    print("SKIP: no %s or no Wine; build it with tools/windows to run this test" % program)
    return SKIPPED


def inventory_rows(path):
    """name -> (container, left, top, width, height) in twips, read from the inventory's table."""
    source = open(path, encoding="utf-8").read()
    rows = {}
    pattern = (r'\{(?:"([^"]+)"|kCategoryOptions\[(\d)\]\.name), Kind::(\w+), "([^"]*)", .*?, '
               r'(\d+), (\d+), (\d+), (\d+), look::')
    for match in re.finditer(pattern, source):
        name = match.group(1) or "Option%d" % (int(match.group(2)) + 3)
        rows[name] = (match.group(4),) + tuple(int(match.group(i)) for i in range(5, 9)) + (match.group(3),)
    check(len(rows) > 100 and "Option7" in rows and "Label60" in rows, "the inventory's rows are read")
    return rows


def absolute(rows, name):
    """A control's rectangle in the window's client twips: frames add their own place."""
    container, left, top, width, height = rows[name][:5]
    while container in rows:
        container, frame_left, frame_top = rows[container][0], rows[container][1], rows[container][2]
        left, top = left + frame_left, top + frame_top
    return left, top, width, height


def page_of(rows, name):
    """The tab page (1 to 10) a control lies on, or None for the window's own strip."""
    container = rows[name][0]
    while container in rows:
        container = rows[container][0]
    return int(container) if container.isdigit() else None


class Record:
    """The program's test record, read again as it grows: the last text of each name, every message
    and every focus in order."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.partial = ""
        self.fields = {}
        self.messages = []
        self.focus = []
        self.opened = []
        self.rects = {}

    def read(self):
        try:
            with open(self.path, "rb") as record:
                record.seek(self.offset)
                data = record.read()
        except FileNotFoundError:
            return self
        self.offset += len(data)
        text = self.partial + data.decode("utf-8", "replace")
        lines = text.split("\n")
        self.partial = lines.pop()
        for line in lines:
            name, _, value = line.partition("=")
            value = value.replace("\\n", "\n")
            if name == "message":
                self.messages.append(value)
            elif name == "focus":
                self.focus.append(value)
            elif name == "open":
                self.opened.append(value)
            elif name.startswith("rect:"):
                self.rects[name[5:]] = [int(v) for v in value.split(",")[:4]]
            self.fields[name] = value
        return self

    def get(self, name, default=None):
        return self.fields.get(name, default)


class Screen:
    """Xvfb, Wine's prefix and the program, with the moves of a user at inventory coordinates."""

    def __init__(self, windows_bin, rows, folders=("C:\\tarifmaster",), work=None):
        self.work = work or tempfile.mkdtemp(prefix="tarifmaster-win32-")
        self.rows = rows
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        display = os.read(read, 64).decode().strip()
        # Kept open while Xvfb runs: it may write the number again, and dies if it cannot.
        self.displayfd = read
        # TARIFMASTER_WINEDEBUG=err+all shows Wine's own errors, for a program that ends without a word.
        self.env = dict(os.environ, DISPLAY=":" + display, WINEPREFIX=os.path.join(self.work, "prefix"),
                        WINEDEBUG=os.environ.get("TARIFMASTER_WINEDEBUG", "-all"), LC_ALL="C.UTF-8",
                        HOME=self.work,
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d")
        self.env.pop("WAYLAND_DISPLAY", None)
        subprocess.run([WINE, "wineboot", "-i"], env=self.env, capture_output=True, timeout=180)
        self.settle()
        # A crash ends the program with its address on standard error, not in a dialog that waits.
        self.reg_add(r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", 0)
        for folder in folders:
            shutil.copytree(windows_bin, self.host_path(folder))
        self.program = None
        self.errors = None
        self.origin = (0, 0)
        self.dpi = 96

    def host_path(self, windows_path):
        """Where a C:\\ path of the prefix lies on this machine."""
        check(windows_path[:3].upper() == "C:\\", "a path on drive C: " + windows_path)
        return os.path.join(self.work, "prefix", "drive_c", *windows_path[3:].split("\\"))

    def settle(self):
        subprocess.run([WINESERVER, "-w"], env=self.env, timeout=180)

    def reg_add(self, key, value, number):
        subprocess.run([WINE, "reg", "add", key, "/v", value, "/t", "REG_DWORD", "/d", str(number), "/f"],
                       env=self.env, capture_output=True, timeout=60)
        self.settle()

    def set_dpi(self, dpi):
        self.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", dpi)
        self.dpi = dpi

    def xdotool(self, *arguments):
        run = subprocess.run(["xdotool"] + list(arguments), env=self.env, capture_output=True, text=True,
                             timeout=30)
        return run.stdout.split()

    def windows(self, title=TITLE):
        """The X windows named title: the window and any message box it opened."""
        return self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title)

    def wait(self, condition, what, seconds=20):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if condition():
                return
            if self.program and self.program.poll() is not None and not what.startswith("the program ends"):
                raise Failure("the program ended (%s) while waiting: %s%s" % (self.program.returncode, what,
                                                                                  self.crash_text()))
            time.sleep(0.05)
        raise Failure("timed out: " + what)

    def start(self, record, folder="C:\\tarifmaster", arguments=(), environment=None, title=TITLE):
        """Starts the program with a record; returns the client area's size once the window titled
        title shows."""
        env = dict(self.env, TARIFMASTER_TEST_START_DATE=START[0], TARIFMASTER_TEST_START_TIME=START[1],
                   TARIFMASTER_TEST_RECORD="Z:" + record.replace("/", "\\"), **(environment or {}))
        if self.errors:
            self.errors.close()
        self.errors = open(record + ".stderr", "w+b")
        self.program = subprocess.Popen([WINE, folder + "\\tarifmaster.exe"] + list(arguments), env=env,
                                        stdout=subprocess.DEVNULL, stderr=self.errors)
        try:
            self.wait(lambda: len(self.windows(title)) == 1, "the window shows")
        except Failure as failure:  # what the program said it could not build, if it could not
            refused = Record(record).read().get("refused")
            raise Failure("%s%s" % (failure, "; Windows refused " + refused if refused else ""))
        window = self.windows(title)[0]
        info = subprocess.run(["xwininfo", "-id", window], env=self.env, capture_output=True, text=True).stdout
        value = lambda field: int(re.search(field + r":\s+(-?\d+)", info).group(1))
        self.origin = (value("Absolute upper-left X"), value("Absolute upper-left Y"))
        # Without a window manager Wine's X window is the client area.
        return value("Width"), value("Height")

    def alive(self):
        return self.program is not None and self.program.poll() is None

    def crash_text(self):
        """How the program ended, with what Wine said of a crash ("Unhandled page fault ... at address
        ...") or the last of what it wrote; an empty text while it runs."""
        if not self.errors or self.program is None or self.program.poll() is None:
            return ""
        self.errors.flush()
        self.errors.seek(0)
        said = self.errors.read().decode("utf-8", "replace").splitlines()
        lines = [line for line in said if "Unhandled" in line or "page fault" in line] or said[-5:]
        return " (exit status %d%s)" % (self.program.returncode, (": " + " / ".join(lines[:5])) if lines else "")

    def px(self, twips):
        return (twips * self.dpi + 720) // 1440

    def click_at(self, x, y, pause=0.15):
        self.xdotool("mousemove", str(self.origin[0] + x), str(self.origin[1] + y), "click", "1")
        time.sleep(pause)

    def clicks_at(self, places):
        """Clicks at each place in turn, in one go."""
        moves = []
        for x, y in places:
            moves += ["mousemove", str(self.origin[0] + x), str(self.origin[1] + y), "click", "1"]
        self.xdotool(*moves)

    def key(self, *keys, pause=0.1):
        for key in keys:
            self.xdotool("key", key)
            time.sleep(pause)

    def type(self, text):
        self.xdotool("type", "--delay", "60", text)
        time.sleep(0.2)

    def ended(self, seconds=20):
        self.program.wait(timeout=seconds)
        self.settle()
        return self.program.returncode

    def centre(self, name, row=None):
        """The middle of a control, or of a list's entry below its two-pixel sunken border."""
        left, top, width, height = absolute(self.rows, name)
        x, y = self.px(left + width // 2), self.px(top + height // 2)
        if row is not None:
            y = self.px(top) + 2 + row * self.px(195) + self.px(195) // 2
        return x, y

    def tab_centre(self, page):
        return self.px(8925) * (2 * page - 1) // 20, self.px(150)

    def tab(self, page):
        self.click_at(*self.tab_centre(page))

    def click(self, name, row=None):
        self.click_at(*self.centre(name, row))

    def drop_arrow(self, name):
        """The arrow button at the right end of a drop-down's field."""
        left, top, width, height = absolute(self.rows, name)
        return self.px(left + width) - self.px(120), self.px(top + height // 2)

    def dropped_entry(self, name, row, row_height):
        """The middle of entry row of a drop-down's open list, which hangs below its field."""
        left, top, width, height = absolute(self.rows, name)
        return self.px(left) + self.px(width) // 3, self.px(top + height) + 1 + row * row_height + row_height // 2

    def box_shows_and_closes(self, what):
        self.wait(lambda: len(self.windows()) == 2, "a message box titled %s: %s" % (TITLE, what))
        self.key("Return")
        self.wait(lambda: len(self.windows()) == 1, "the message box closes: " + what)

    def close(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True)
        if self.errors:
            self.errors.close()
        self.xvfb.terminate()
        self.xvfb.wait()
        os.close(self.displayfd)


def window_replay(tool, folder, moves):
    """The Linux window's fields and messages after the same moves (tests/web/window_replay)."""
    run = subprocess.run([tool, folder, START[0], START[1]] + moves, capture_output=True, text=True,
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


def text_report_whole(data):
    """Why str.txt is not a whole report, or None: 31 lines of Windows-1251 text, each ended by CR CR LF,
    or by CR LF CR LF where an empty line follows it, and nothing after the last (as
    tests/support/report_checks reads it)."""
    try:
        data.decode("cp1251")
    except UnicodeDecodeError as error:
        return "not Windows-1251: %s" % error
    lines, at = 0, 0
    while True:
        cr = data.find(b"\r", at)
        if cr < 0 or b"\n" in data[at:cr]:
            break
        if data.startswith(b"\r\r\n", cr):
            at = cr + 3
        elif data.startswith(b"\r\n\r\n", cr):
            at = cr + 4
        else:
            break
        lines += 1
    if data[at:]:
        return "%d lines, then %r" % (lines, data[at:at + 40])
    return None if lines == 31 else "%d lines, not 31" % lines


def document_whole(data):
    """Why str.doc is not whole RTF (one balanced group from "{\\rtf" to its closing brace), or None."""
    if not data.startswith(b"{\\rtf"):
        return "does not begin with {\\rtf"
    depth = 0
    escaped = False
    for index, byte in enumerate(data):
        if escaped:
            escaped = False
        elif byte == 0x5C:
            escaped = True
        elif byte == 0x7B:
            depth += 1
        elif byte == 0x7D:
            depth -= 1
            if depth == 0 and data[index + 1:].strip():
                return "bytes after the closing brace"
        if depth < 0:
            return "a brace closes nothing"
    return None if depth == 0 else "%d groups left open" % depth


def run_test(program, body):
    """Runs body(work) with a folder of its own; the exit status of a test script (0, 1 or 77)."""
    missing = needs(program)
    if missing is not None:
        return missing
    work = tempfile.mkdtemp(prefix="tarifmaster-win32-")
    try:
        began = time.monotonic()
        body(work)
        print("ok: %.0f s" % (time.monotonic() - began))
    except Failure as failure:
        print("FAIL: %s (the files are kept in %s)" % (failure, work))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    return 0


def main(options, play):
    """A Wine test's command line: the options given (--windows-bin and --inventory among them), then
    play(args, rows, work) in a folder of its own; the exit status of the test script."""
    parser = argparse.ArgumentParser()
    for option in options:
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    rows = inventory_rows(args.inventory)
    return run_test(os.path.join(args.windows_bin, "tarifmaster.exe"), lambda work: play(args, rows, work))

