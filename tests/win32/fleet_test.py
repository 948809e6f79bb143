#!/usr/bin/python3
"""The Windows fleet window under Wine, reached as a desktop user reaches it, against tarifmaster-batch on
Linux for the same lists:

- tarifmaster.exe --fleet C:\\tarifmaster\\examples\\fleet.xlsx (the Start menu's entry, then a list);
- tarifmaster.exe "C:\\Автопарк\\парк.csv" (Explorer's verb, Open with: the list as the only argument);
- the sample .ods dragged from another program onto the main window (XDND, which Wine hands the window
  as WM_DROPFILES), which opens the fleet window with it.

And a long list whose window is closed during the run: the program ends within seconds (Wine's own
included), the earlier result stays and no work file is left.

Each time the window computes the list at once and writes <name>-result.<ext> beside it: the same bytes
as the Linux batch's result (a workbook: the same cells), and shows the batch's summary and rejected
row (the test record, win32/test_seams.h). Closing the window ends the program.

    fleet_test.py --windows-bin DIR --batch TARIFMASTER_BATCH --drag-source TOOL --examples DIR
                  --inventory form/inventory.cpp
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import workbooks  # noqa: E402
import wine_window  # noqa: E402
from wine_window import Record, Screen, check  # noqa: E402

FOLDER = "C:\\tarifmaster"
FLEET_TITLE = "ТарифМастер — расчет парка ТС"
COMPUTED = "fleet:summary:Рассчитано строк"
REJECTED_ROW = "11|КТ|населенный пункт «Новосибрск» не найден"


def result_name(list_name):
    """The name the window gives a list's result: beside it, a workbook in its own format, else CSV."""
    stem, extension = os.path.splitext(list_name)
    return stem + "-result" + (extension if extension in (".xlsx", ".ods") else ".csv")


def linux_result(batch, list_path, work):
    """The Linux batch's result for the same list, named as the window names it."""
    result = os.path.join(work, "linux-" + result_name(os.path.basename(list_path)))
    run = subprocess.run([batch, list_path, "--output", result], capture_output=True, timeout=60)
    check(run.returncode in (0, 1), "the Linux batch on %s: %s" % (list_path, run.stderr))
    return result


def same_result(windows, linux):
    if linux.endswith((".xlsx", ".ods")):
        return workbooks.cells(windows) == workbooks.cells(linux)
    return open(windows, "rb").read() == open(linux, "rb").read()


def computed(screen, record, list_windows, batch, work):
    """Waits for the window's summary, then compares its result with the Linux batch's."""
    screen.wait(lambda: record.read().get(COMPUTED) is not None, "the summary of " + list_windows, 60)
    check(record.get(COMPUTED) == "10" and record.get("fleet:summary:Отклонено строк") == "1",
          "the summary of %s: %r" % (list_windows, {k: v for k, v in record.fields.items() if "summary" in k}))
    check(record.get("fleet:row") == REJECTED_ROW, "the rejected row shown: %r" % record.get("fleet:row"))
    result = result_name(list_windows)
    check(record.get("fleet:summary:Файл результата") == result, "the result named %r" % record.get(
        "fleet:summary:Файл результата"))
    expected = linux_result(batch, screen.host_path(list_windows), work)
    check(same_result(screen.host_path(result), expected), "%s differs from the Linux batch's result" % result)
    print("ok: %s computed, as the Linux batch computes it" % list_windows)


def close_fleet_window(screen):
    """Alt+F4 on the fleet window (without a window manager, keys go where the input focus is set)."""
    screen.xdotool("windowfocus", screen.windows(FLEET_TITLE)[0])
    screen.key("alt+F4")


def closed_in(screen):
    """Closes the fleet window, the program's last, and says how long the program took to end."""
    began = time.monotonic()
    close_fleet_window(screen)
    check(screen.ended() == 0, "the program ends with its last window")
    return time.monotonic() - began


def drag_onto_main_window(screen, tool, file):
    """Presses the drag source and carries the file onto the middle of the main window."""
    source = subprocess.Popen([tool, file], env=screen.env, stderr=subprocess.DEVNULL)
    try:
        screen.wait(lambda: screen.xdotool("search", "--onlyvisible", "--name", "^drag source$"), "the drag source")
        time.sleep(0.5)
        target = (screen.origin[0] + screen.px(4410), screen.origin[1] + screen.px(3300))
        screen.xdotool("mousemove", "60", "40", "mousedown", "1")
        for step in range(1, 11):
            x = 60 + (target[0] - 60) * step // 10
            y = 40 + (target[1] - 40) * step // 10
            screen.xdotool("mousemove", str(x), str(y))
            time.sleep(0.1)
        screen.xdotool("mouseup", "1")
        screen.wait(lambda: len(screen.windows(FLEET_TITLE)) == 1, "the fleet window opens with the dropped list")
    finally:
        source.terminate()
        source.wait()


def big_list(examples, path, rows):
    """The sample's vehicles over and over: a list that takes the batch some seconds."""
    lines = open(os.path.join(examples, "fleet.csv"), "rb").read().splitlines(keepends=True)
    with open(path, "wb") as out:
        out.write(lines[0])
        for i in range(rows):
            out.write(lines[1 + i % (len(lines) - 1)])


def closed_during_run(screen, work, examples, idle):
    """Closing the window during a run ends it within a second of what closing an idle one takes (Wine
    itself takes about two to end a program), writes nothing and leaves the earlier result and no work
    file."""
    big = FOLDER + "\\большой.csv"
    big_list(examples, screen.host_path(big), 1000000)
    earlier = screen.host_path(FOLDER + "\\большой-result.csv")
    open(earlier, "wb").write(b"the earlier result\r\n")
    path = os.path.join(work, "record-closed.txt")
    screen.start(path, FOLDER, ["--fleet", big], title=FLEET_TITLE)
    record = Record(path)
    under_way = lambda: record.read().get("fleet:progress", "").isdigit() and 0 < int(record.get("fleet:progress")) < 60
    screen.wait(under_way, "the run under way", 30)
    seconds = closed_in(screen)
    stopped_at = record.read().get("fleet:progress")
    check(record.get(COMPUTED) is None, "the run was stopped, not finished (at %s %%)" % stopped_at)
    check(seconds < idle + 1, "the program ends %.1f s after the window is closed, an idle one's %.1f s"
          % (seconds, idle))
    check(open(earlier, "rb").read() == b"the earlier result\r\n", "the earlier result is left as it was")
    left = [name for name in os.listdir(screen.host_path(FOLDER)) if name.startswith(".") or name.endswith(".tmp")]
    check(not left, "work files left beside the list: %r" % left)
    print("ok: closed during a run at %s %%, the program ended in %.1f s (idle %.1f s), nothing written, "
          "nothing left" % (stopped_at, seconds, idle))


def play(args, rows, work):
    screen = Screen(args.windows_bin, rows, (FOLDER,), work)
    try:
        examples = screen.host_path(FOLDER + "\\examples")
        os.makedirs(examples, exist_ok=True)
        for name in ("fleet.xlsx", "fleet.ods"):
            shutil.copy(os.path.join(args.examples, name), examples)
        os.makedirs(screen.host_path("C:\\Автопарк"))
        shutil.copy(os.path.join(args.examples, "fleet.csv"), screen.host_path("C:\\Автопарк\\парк.csv"))

        idle = 0
        for number, (arguments, list_windows) in enumerate(
                ((["--fleet", FOLDER + "\\examples\\fleet.xlsx"], FOLDER + "\\examples\\fleet.xlsx"),
                 (["C:\\Автопарк\\парк.csv"], "C:\\Автопарк\\парк.csv"))):
            path = os.path.join(work, "record-%d.txt" % number)
            screen.start(path, FOLDER, arguments, title=FLEET_TITLE)
            computed(screen, Record(path), list_windows, args.batch, work)
            idle = max(idle, closed_in(screen))

        closed_during_run(screen, work, args.examples, idle)

        path = os.path.join(work, "record-drop.txt")
        screen.start(path, FOLDER)
        drag_onto_main_window(screen, args.drag_source, os.path.join(examples, "fleet.ods"))
        record = Record(path)
        screen.wait(lambda: record.read().get(COMPUTED) is not None, "the dropped list computed", 60)
        dropped = record.get("fleet:summary:Файл результата")
        check(dropped and dropped.endswith("fleet-result.ods"), "the dropped list's result: %r" % dropped)
        computed(screen, record, dropped.replace("-result.ods", ".ods"), args.batch, work)
        # The fleet window closes alone; the program ends with the main window.
        close_fleet_window(screen)
        screen.wait(lambda: not screen.windows(FLEET_TITLE), "the fleet window closes")
        check(screen.alive(), "the main window stays when the fleet window closes")
        screen.click("Command6")
        check(screen.ended() == 0, "the program ends with its last window")
    finally:
        screen.close()


if __name__ == "__main__":
    sys.exit(wine_window.main(("--windows-bin", "--batch", "--drag-source", "--examples", "--inventory"), play))
