"""The running program as a screen reader meets it, through the real accessibility bus.

Run it inside a private session bus, with Debian's python3 (pyatspi is a Debian package):

    dbus-run-session -- /usr/bin/python3 accessibility_bus_test.py build/bin/tarifmaster

It starts a virtual display and the program with Qt's accessibility bridge switched on, walks every
page of the window with pyatspi and checks what each control is called, then chooses list entries,
the category and "ОК" through the accessibility interface alone and reads the premium back, follows
the web link, and ends the program with its exit button. Opening the link runs a stand-in for
xdg-open that only writes down what it was given.
"""

import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

WAIT_SECONDS = 30  # for any one thing to happen
TEST_SECONDS = 100  # for all of it; CTest gives up at 120

STEP_NAMES = [
    "Шаг 1. Базовые ставки (ТБ)",
    "Шаг 2. Территория использования (КТ)",
    "Шаг 3. Бонус-малус (КБМ)",
    "Шаг 4. Возраст и стаж водителя (КВС)",
    "Шаг 5. Число допущенных к управлению (КО)",
    "Шаг 6. Мощность двигателя (КМ)",
    "Шаг 7. Период использования (КС)",
    "Шаг 8. Срок страхования (КП)",
    "Шаг 9. Нарушения (КН)",
    "Шаг 10. Страховая премия",
]

# Controls a user operates; list boxes, text fields and combo boxes are named by the label beside or
# above them, except these two, whose names say what no label on their page says.
INTERACTIVE = {"push button", "list", "text", "combo box", "radio button", "check box", "link"}
NAMED_BY_LABEL = {"list", "text", "combo box"}
NAMED_WITHOUT_LABEL = {"Страховая премия, рублей", "Коэффициент (КН)"}

# A few names as a screen reader must say them, page by page.
EXPECTED = {
    1: [("list", "Легковые автомобили:"), ("text", "Базовая ставка страхового тарифа (ТБ) в рублях")],
    2: [("text", "города России"), ("list", "Московская обл. ( районы)")],
    3: [("combo box", "Класс на начало срока страхования"), ("combo box", "Число страховых выплат"),
        ("text", "Коэффициент (КБМ)")],
    6: [("list", "Мощность двигателя (л.с.)"), ("text", "Коэффициент (Км)")],
    7: [("combo box", "Период использования транспортного средства")],
    8: [("combo box", "Срок страхования"), ("check box", "Исключить")],
    9: [("combo box", "Коэффициент (КН)")],
    10: [("push button", "ОК"), ("push button", "отчет"),
         ("radio button", "Отчет в текстовом файле str.txt")],
}


class Failure(Exception):
    pass


class Fatal(Failure):
    """A failure that waiting longer cannot mend: the program ended, a message box blocks it."""


def plain(text):
    return " ".join(text.split())


def wait_for(what, probe, seconds=WAIT_SECONDS):
    """Calls probe until it returns something true, and returns that."""
    deadline = time.monotonic() + seconds
    problem = None
    while time.monotonic() < deadline:
        try:
            value = probe()
            if value:
                return value
        except Fatal:
            raise
        except Exception as error:  # the tree may change under the probe
            problem = error
        time.sleep(0.1)
    raise Failure(f"waited {seconds} s for {what}" + (f" ({problem})" if problem else ""))


def start_display(log):
    """A virtual display on a free number that the server picks itself."""
    reader, writer = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(writer), "-screen", "0", "800x600x24", "-nolisten", "tcp"],
        pass_fds=[writer], stdout=log, stderr=log)
    os.close(writer)
    number = b""
    deadline = time.monotonic() + WAIT_SECONDS
    while not number.endswith(b"\n"):
        ready, _, _ = select.select([reader], [], [], max(0.0, deadline - time.monotonic()))
        chunk = os.read(reader, 16) if ready else b""
        if not chunk:
            os.close(reader)
            raise Failure("the virtual display did not start")
        number += chunk
    os.close(reader)
    return server, ":" + number.decode().strip()


def stop(process):
    if process and process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def role(node):
    return node.getRoleName()


def has(node, state):
    node.clear_cache()
    return node.getState().contains(state)


def controls(node):
    """The labels and the controls inside node, without the entries of lists and combo boxes."""
    found = []
    for child in children(node):
        found.append(child)
        if role(child) not in ("list", "combo box"):
            found.extend(controls(child))
    return found


def action(node, name):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if name not in names:
        raise Failure(f"{role(node)} «{node.name}» has no action {name}, only {names}")
    actions.doAction(names.index(name))


def text_of(node):
    return node.queryText().getText(0, -1)


def one(nodes, what):
    if len(nodes) != 1:
        raise Failure(f"{len(nodes)} × {what}")
    return nodes[0]


class Session:
    def __init__(self, program, pyatspi):
        self.program = program
        self.pyatspi = pyatspi
        self.folder = tempfile.mkdtemp(prefix="tarifmaster-a11y-")
        self.log = open(os.path.join(self.folder, "log"), "w+")
        self.display = None
        self.app_process = None
        self.opened = os.path.join(self.folder, "opened")

    def start(self):
        self.display, name = start_display(self.log)
        bin_folder = os.path.join(self.folder, "bin")
        runtime = os.path.join(self.folder, "runtime")
        os.mkdir(bin_folder)
        os.mkdir(runtime, 0o700)
        stand_in = os.path.join(bin_folder, "xdg-open")
        with open(stand_in, "w") as script:
            script.write('#!/bin/sh\nprintf "%s\\n" "$@" >> "$TARIFMASTER_OPENED"\n')
        os.chmod(stand_in, 0o755)
        environment = dict(os.environ)
        for name_to_drop in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_ACCESSIBILITY", "NO_AT_BRIDGE"):
            environment.pop(name_to_drop, None)
        environment.update(DISPLAY=name, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                           XDG_RUNTIME_DIR=runtime, TARIFMASTER_OPENED=self.opened,
                           PATH=bin_folder + os.pathsep + environment.get("PATH", "/usr/bin:/bin"))
        if "ASAN_OPTIONS" in environment:
            # In the sanitizer build: libxkbcommon-x11, which Qt's X11 platform uses (the off-screen one
            # does not), hands strndup() a buffer that ends without a NUL, and the strict string check
            # reports that as an overflow inside the system library. Everything else stays checked.
            environment["ASAN_OPTIONS"] += ":strict_string_checks=0"
        self.app_process = subprocess.Popen([self.program], env=environment, stdout=self.log,
                                            stderr=self.log)

        def application():
            if self.app_process.poll() is not None:
                raise Fatal(f"the program ended with {self.app_process.returncode}")
            desktop = self.pyatspi.Registry.getDesktop(0)
            for app in children(desktop):
                if app is not None and app.get_process_id() == self.app_process.pid:
                    return app
            return None

        self.app = wait_for("the program on the accessibility bus", application)
        self.window = wait_for("the window", lambda: one(
            [c for c in children(self.app) if role(c) == "frame" and c.name == "ТарифМастер"],
            "window «ТарифМастер»"))

    def no_message_box(self):
        others = [c for c in children(self.app) if c.name != "ТарифМастер" or role(c) != "frame"]
        if others:
            texts = [plain(n.name) for box in others for n in controls(box) if n.name]
            raise Fatal(f"a message box is open: {' / '.join(texts)}")

    def find(self, where, wanted_role, name):
        return one([n for n in controls(where) if role(n) == wanted_role and plain(n.name) == name],
                   f"{wanted_role} «{name}»")

    def field_reads(self, field, expected):
        self.no_message_box()
        return text_of(field) == expected

    def tabs(self):
        tab_list = one([n for n in controls(self.window) if role(n) == "page tab list"], "tab row")
        return [t for t in children(tab_list) if role(t) == "page tab"]

    def open_page(self, number):
        action(self.tabs()[number - 1], "Press")
        name = STEP_NAMES[number - 1]
        page = one([n for n in controls(self.window) if role(n) == "filler" and n.name == name],
                   f"page «{name}»")
        wait_for(f"page {number} to show", lambda: has(page, self.pyatspi.STATE_SHOWING))
        return page

    def check_names(self):
        tabs = self.tabs()
        names = [t.name for t in tabs]
        if names != STEP_NAMES:
            raise Failure(f"the tabs are announced as {names}")
        for tab in tabs:
            if tab.description != tab.name:
                raise Failure(f"tab «{tab.name}» has the tooltip «{tab.description}»")

        # A renewed contract shows the payouts and the class at the end of the term as well.
        page = self.open_page(3)
        action(self.find(page, "radio button", "Продлевается"), "Toggle")
        self.no_message_box()

        for number in range(1, 11):
            page = self.open_page(number)
            nodes = [n for n in controls(page) if has(n, self.pyatspi.STATE_VISIBLE)]
            labels = {plain(n.name) for n in nodes if role(n) == "label"}
            print(f"Tab {number}, announced «{STEP_NAMES[number - 1]}»:")
            for node in nodes:
                kind = role(node)
                if kind not in INTERACTIVE:
                    continue
                name = plain(node.name)
                value = text_of(node) if kind == "text" else ""
                shown = f"    {kind}: «{name}»"
                if kind == "text":
                    shown += f", text «{value}»"
                if kind in ("list", "combo box"):
                    shown += f", {self.entries(node)} entries"
                print(shown)
                if not name:
                    raise Failure(f"a {kind} on tab {number} has no name")
                if kind in NAMED_BY_LABEL and name not in labels and name not in NAMED_WITHOUT_LABEL:
                    raise Failure(f"{kind} «{name}» on tab {number} is named by no label of its page")
                if kind == "combo box" and name == plain(self.combo_text(node)):
                    raise Failure(f"combo box on tab {number} is named by its text «{name}»")
                if kind == "text" and name == value:
                    raise Failure(f"text field on tab {number} is named by its text «{name}»")
            for kind, name in EXPECTED.get(number, []):
                self.find(page, kind, name)

        links = [n for n in controls(self.window) if role(n) == "link"]
        if len(links) != 2:
            raise Failure(f"{len(links)} links in the window")
        print("Bottom strip:")
        for node in [links[0], self.find(self.window, "push button", "Пример"),
                     self.find(self.window, "push button", "Выход"), links[1]]:
            actions = node.queryAction()
            names = [actions.getName(i) for i in range(actions.nActions)]
            print(f"    {role(node)}: «{node.name}», actions {names}")
            if "Press" not in names:
                raise Failure(f"{role(node)} «{node.name}» cannot be pressed")

        # The entries stay exposed: the cars' list and the classes of step 3.
        cars = self.find(self.open_page(1), "list", "Легковые автомобили:")
        if "юридических лиц" not in [c.name for c in children(cars)]:
            raise Failure("the cars' entries are not exposed")
        if self.entries(self.find(self.open_page(3), "combo box", "Класс на начало срока страхования")) != 15:
            raise Failure("the classes of step 3 are not exposed")

    def entries(self, node):
        if role(node) == "combo box":
            node = one([c for c in children(node) if role(c) == "list"], "list of a combo box")
        return node.childCount

    def combo_text(self, combo):
        return text_of(one([c for c in children(combo) if role(c) == "text"], "field of a combo box"))

    def premium_through_the_bus(self):
        page = self.open_page(1)
        cars = self.find(page, "list", "Легковые автомобили:")
        entry = one([c for c in children(cars) if c.name == "юридических лиц"], "entry «юридических лиц»")
        action(entry, "Toggle")
        rate = self.find(page, "text", "Базовая ставка страхового тарифа (ТБ) в рублях")
        wait_for("ТБ 2375", lambda: self.field_reads(rate, "2375"))

        page = self.open_page(6)
        power = self.find(page, "list", "Мощность двигателя (л.с.)")
        entry = one([c for c in children(power) if c.name == "свыше 70 до 95 включительно"],
                    "entry «свыше 70 до 95 включительно»")
        action(entry, "Toggle")
        wait_for("КМ 1", lambda: self.field_reads(self.find(page, "text", "Коэффициент (Км)"), "1"))

        page = self.open_page(10)
        foreign = one([n for n in controls(page) if role(n) == "radio button"
                       and n.name.startswith("При обязательном страховании")], "category «При обязательном…»")
        action(foreign, "Toggle")
        wait_for("the foreign category", lambda: has(foreign, self.pyatspi.STATE_CHECKED))
        action(self.find(page, "push button", "ОК"), "Press")
        total = self.find(page, "text", "Страховая премия, рублей")
        wait_for("the premium 4322,5", lambda: self.field_reads(total, "4322,5"))
        print("Premium read back: «4322,5» рублей")

    def link_and_exit(self):
        web = one([n for n in controls(self.window) if role(n) == "link" and n.name.startswith("http")],
                  "web link")
        action(web, "Press")

        def opened():
            return os.path.exists(self.opened) and web.name in open(self.opened).read()

        wait_for(f"{web.name} to be opened", opened)
        action(self.find(self.window, "push button", "Выход"), "Press")
        code = wait_for("the program to end", lambda: self.app_process.poll() is not None
                        and (self.app_process.returncode,))[0]
        if code != 0:
            raise Failure(f"the program ended with {code}")

    def close(self):
        stop(self.app_process)
        stop(self.display)
        self.log.seek(0)
        output = self.log.read()
        self.log.close()
        shutil.rmtree(self.folder, ignore_errors=True)
        return output


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        print("No session bus: run this under dbus-run-session.", file=sys.stderr)
        return 2
    if not shutil.which("Xvfb"):
        print("Xvfb is missing; tools/test installs it (package xvfb).", file=sys.stderr)
        return 2
    try:
        import pyatspi
    except ImportError as error:
        print(f"pyatspi is missing ({error}); it is Debian's python3-pyatspi, run with /usr/bin/python3.",
              file=sys.stderr)
        return 2

    def too_long(signal_number, frame):
        raise Fatal(f"the whole test took longer than {TEST_SECONDS} s")

    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(TEST_SECONDS)
    session = Session(os.path.abspath(sys.argv[1]), pyatspi)
    result = 1
    try:
        session.start()
        session.check_names()
        session.premium_through_the_bus()
        session.link_and_exit()
        result = 0
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
    except Exception:
        traceback.print_exc()
    finally:
        signal.alarm(0)
        output = session.close()
    if result != 0 and output:
        print("Output of the display and the program:\n" + output, file=sys.stderr)
    print("PASSED" if result == 0 else "FAILED")
    return result


if __name__ == "__main__":
    sys.exit(main())
