#!/usr/bin/python3
"""What a Windows screen reader hears from the window, and the keys a Windows user presses, under Wine.

Names: the program asks the accessibility layer in its own process (test seam TARIFMASTER_TEST_ACCESSIBLE,
AccessibleObjectFromWindow, get_accName, get_accRole) for every control and tab. Where the layer takes
the window's annotations, every name must be the one the Linux window gives (form::spokenName, printed
by form_replay --names). Wine takes none (SetHwndPropStr answers E_NOTIMPL): there the fields must be
named by the label created just before them, as Windows names a field without annotations, and the
buttons, options, check box and links by their captions; the lists, drop-downs, tabs and a field named
by a text of its own, which Wine leaves unnamed, are listed.

Keys, driven with xdotool and read from the record's focus lines: Tab and Shift+Tab through page 2 in
reading order and round the bottom strip and the tab row; Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and
Ctrl+PgUp from inside a page; an arrow choosing a list's entry (its handler fills the factor field);
Return on a focused button; Escape closing an open drop-down only, and Home going to the drop-down's
text, not its list. Then a whole premium and its report by the keyboard alone, with the presses counted
against the Linux window's 28 for the same plan.

    names_and_keys_test.py --windows-bin DIR --form-replay TOOL --inventory form/inventory.cpp
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import wine_window  # noqa: E402
from wine_window import Record, Screen, check, text_report_whole  # noqa: E402

FOLDER = "C:\\tarifmaster"
LINUX_PRESSES = 28  # tests/window/keyboard_test.cpp, wholePremiumAndReportByKeyboardAlone
TAB_ROW = "window:SysTabControl32"
NAMED_BY_CAPTION = {"Command", "Option", "Check", "Link"}


def tool_lines(tool, *arguments):
    run = subprocess.run([tool] + list(arguments), capture_output=True, text=True, timeout=60)
    check(run.returncode == 0, "form_replay %s: %s" % (arguments, run.stderr))
    return [line.split("\t") for line in run.stdout.splitlines()]


def spoken(text):
    return " ".join(text.split())


def check_names(record, rows, names, sources, reachable):
    """The names the accessibility layer gives the controls Tab reaches; returns those that Wine names
    otherwise than the Linux window, with the name Wine gives."""
    annotated = record.get("annotations") == "0x00000000"
    differ = []
    for name, expected in names.items():
        if name not in reachable:
            continue
        role, _, given = record.get("acc:" + name, "-|").partition("|")
        check(role != "-", "%s has an accessible object" % name)
        kind = rows[name][5]
        label, caption = sources[name]
        if annotated or (kind == "TextBox" and label) or (kind in NAMED_BY_CAPTION and caption):
            check(spoken(given) == expected, "%s is named %r, not %r" % (name, given, expected))
        elif spoken(given) != expected:
            differ.append("%s %r" % (name, given))
    tabs = [record.get("acc:tab%d" % page, "") for page in range(1, 11)]
    check(annotated == all(tabs), "the tabs are named only with annotations: %r" % tabs)
    if not annotated:
        differ.append("the ten tabs ''")
    return annotated, differ


class Keys:
    def __init__(self, screen, record, tool):
        self.screen = screen
        self.record = record
        self.tool = tool
        self.presses = 0

    def press(self, key, times=1):
        for _ in range(times):
            self.screen.key(key, pause=0.15)
            self.presses += 1

    def focus(self):
        time.sleep(0.2)
        return self.record.read().focus[-1]

    def expect_focus(self, name, after):
        self.screen.wait(lambda: self.record.read().focus[-1:] == [name],
                         "focus on %s after %s (it is on %s)" % (name, after, self.record.focus[-1:]), 5)

    def expect_field(self, name, text, after):
        self.screen.wait(lambda: self.record.read().get(name) == text,
                         "%s shows %r after %s (it shows %r)" % (name, text, after, self.record.get(name)), 5)


def stops(tab_order, page):
    """The tab stops of a page as Windows visits them: a group of option buttons is one stop, its
    selected button; controls hidden at start are passed over."""
    selected = {"Option1", "Option10", "Option3", "Option8"}
    hidden = {"Combo5", "Text13"}
    options = {"Option2", "Option11", "Option4", "Option5", "Option6", "Option7", "Option9"}
    return [name for name, on in tab_order if int(on) == page and name not in hidden and name not in options
            or name in selected and int(on) == page]


def check_keys(keys, tab_order, first_factors):
    screen = keys.screen
    strip = stops(tab_order, 0)
    screen.tab(2)
    keys.expect_focus(TAB_ROW, "a click on tab 2")
    expected = stops(tab_order, 2) + strip + [TAB_ROW]
    seen = []
    for _ in expected:
        keys.press("Tab")
        seen.append(keys.focus())
    check(seen == expected, "Tab through page 2 visits %r, not %r" % (seen, expected))
    seen = []
    for _ in expected:
        keys.press("shift+Tab")
        seen.append(keys.focus())
    backwards = list(reversed(expected[:-1])) + [TAB_ROW]
    check(seen == backwards, "Shift+Tab through page 2 visits %r, not %r" % (seen, backwards))

    keys.press("Tab", 2)
    keys.expect_focus(stops(tab_order, 2)[1], "Tab twice from the tab row")
    for key, page in (("ctrl+Tab", 3), ("ctrl+shift+Tab", 2), ("ctrl+Next", 3), ("ctrl+Prior", 2),
                      ("ctrl+Prior", 1), ("ctrl+Prior", 10), ("ctrl+Tab", 1)):
        keys.press(key)
        keys.expect_focus(stops(tab_order, page)[0], "%s to page %d" % (key, page))

    # Page 1: Return on the focused "Прочитать" hands its help page over.
    opened = len(keys.record.read().opened)
    keys.press("Return")
    screen.wait(lambda: len(keys.record.read().opened) > opened, "Return on Command4 opens its help page", 5)

    # Page 4: the first arrow in a list with nothing chosen chooses its first entry.
    for _ in range(3):
        keys.press("ctrl+Tab")
    keys.expect_focus("List10", "Ctrl+Tab to page 4")
    keys.press("Down")
    keys.expect_field("Text5", first_factors["List10"], "Down in List10")

    # Page 8: Escape closes the open list and drops what the arrows browsed; Home goes to the text.
    for _ in range(4):
        keys.press("ctrl+Tab")
    keys.expect_focus("Combo3", "Ctrl+Tab to page 8")
    keys.press("alt+Down")
    keys.press("Up", 2)
    keys.press("Escape")
    keys.press("Up")  # on the closed drop-down: the entry before the one it showed, "6 месяцев"
    keys.expect_field("Text9", "0,65", "Escape in the open list, then Up")
    keys.press("alt+Down")
    keys.press("Home")
    keys.press("Return")
    keys.press("Up")
    keys.expect_field("Text9", "0,6", "Home and Return in the open list, then Up")
    check(screen.alive() and len(screen.windows()) == 1, "Escape and Return in the drop-down leave the window")


def premium_by_keyboard(keys, folder):
    """The Linux window's plan (tests/window/keyboard_test.cpp), key for key."""
    keys.press("Tab", 2)
    keys.expect_focus("List1", "Tab twice")
    keys.press("Down", 2)
    keys.expect_field("txtTb", "1980", "two arrows in List1")
    keys.press("ctrl+Tab")
    keys.expect_focus("Option1", "Ctrl+Tab to page 2")
    keys.press("Tab")
    keys.press("Down")
    keys.expect_field("Text3", "2", "Moscow")
    keys.press("ctrl+Next")
    keys.expect_focus("Combo1", "Ctrl+PgDn to page 3")
    for name, field, factor, downs in (("List10", "Text5", "1,3", 1), ("List11", "Text6", "1", 1),
                                       ("List12", "Text7", "1", 3)):
        keys.press("ctrl+Tab")
        keys.expect_focus(name, "Ctrl+Tab to " + name)
        keys.press("Down", downs)
        keys.expect_field(field, factor, "arrows in " + name)
    keys.press("ctrl+Tab", 4)
    keys.expect_focus("Option3", "Ctrl+Tab to page 10")
    keys.press("Tab", 4)
    keys.expect_focus("Command2", "Tab to ОК")
    keys.press("Return")
    keys.expect_field("Text10", "2522,52", "Return on ОК")
    keys.press("shift+Tab", 2)
    keys.expect_focus("Command7", "Shift+Tab to отчет")
    keys.press("Return")
    keys.screen.wait(lambda: len(keys.record.read().messages) == 1 and len(keys.screen.windows()) == 2,
                     "the report's confirmation")
    presses = keys.presses
    keys.screen.key("Return")  # the confirmation is a real message box here
    report = open(os.path.join(keys.screen.host_path(folder), "str.txt"), "rb").read()
    check(text_report_whole(report) is None, "str.txt is whole: %s" % text_report_whole(report))
    return presses


def play(args, rows, work):
    tool = args.form_replay
    screen = Screen(args.windows_bin, rows, (FOLDER,), work)
    try:
        named = tool_lines(tool, "--names")
        names = {name: text for name, text, _, _ in named}
        sources = {name: (label, caption) for name, _, label, caption in named}
        tab_order = tool_lines(tool, "--tab-order")
        first = tool_lines(tool, "List10:" + tool_lines(tool, "--entries", "List10")[0][0])[0]
        first_factors = {"List10": dict(part.split("=", 1) for part in first[1:])["Text5"]}

        path = os.path.join(work, "record-names.txt")
        screen.start(path, FOLDER, environment={"TARIFMASTER_TEST_ACCESSIBLE": "1"})
        record = Record(path)
        screen.wait(lambda: record.read().get("acc:tab10") is not None, "the accessibility layer's answers")
        annotated, differ = check_names(record, rows, names, sources, {name for name, _ in tab_order})
        print("ok: %s; Wine names otherwise: %s" % ("every name as on Linux" if annotated else
                                                  "fields by their labels, buttons, options and links as on Linux",
                                                  ", ".join(differ) or "nothing"))
        keys = Keys(screen, record, tool)
        check_keys(keys, tab_order, first_factors)
        print("ok: Tab order, page keys, arrows, Return, Escape and Home")

        path = os.path.join(work, "record-keyboard.txt")
        screen.key("alt+F4")
        check(screen.ended() == 0, "Alt+F4 closes the window")
        screen.start(path, FOLDER)
        keys = Keys(screen, Record(path), tool)
        presses = premium_by_keyboard(keys, FOLDER)
        print("ok: a whole premium and its report by the keyboard alone: %d presses (the Linux window: %d),"
              " and one Return for the confirmation box" % (presses, LINUX_PRESSES))
        check(presses == LINUX_PRESSES, "the plan takes %d presses, not %d" % (presses, LINUX_PRESSES))
    finally:
        screen.close()


if __name__ == "__main__":
    sys.exit(wine_window.main(("--windows-bin", "--form-replay", "--inventory"), play))
