#!/usr/bin/python3
"""The browser edition in a real browser: build-web/site served on 127.0.0.1, driven in headless Chromium
by the window's control names, which are the page's ids.

The same moves of a user are played on the page and on the window (window_replay runs Form1 off-screen):
both must show the same fields, totals and messages, and write the same str.txt and str.doc for the same
start date and time. The worked examples of the tariff must come out; the sample vehicle list, chosen in
the page's file field, must show what the desktop's fleet window shows (fleet_replay runs it: status line,
summary, rejected rows) and give its result byte for byte, also from a local folder (file://) and named
as a .txt list; its .xlsx and .ods forms must give results of their own kind with the fleet window's
cells, and a damaged workbook and one that unpacks past the limits its message and no result; the page
must keep working offline once visited; no request may leave the page's origin and nothing may land on the console.

    page_test.py --site DIR --window-replay TOOL --fleet-replay TOOL --fleet CSV --picture GIF

Exit status 77 (skipped) when the site has not been built, unless TARIFMASTER_WEB_REQUIRED is set.
"""
import argparse
import datetime
import functools
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import workbooks  # noqa: E402

SKIPPED = 77

ZERO_WARNING = "Не установлен один из коэффициентов шаг(ов) с 1 по 9"
CARS_KO = "List11:Договор обязательного страхования предусматривает ограничение количества лиц,допущенных к"
CARS = ["List1:физических лиц", "List6:Москва",
        "List10:до 22 лет включительно со стажем вождения до 2 лет включительно", CARS_KO,
        "List12:свыше 70 до 95 включительно"]
FOREIGN = ["List1:юридических лиц", "List12:свыше 70 до 95 включительно", "#Option7"]

# Moves, then what the page and the window must both show afterwards (beside being alike).
SCENARIOS = [
    ("ОК right after start-up", ["#Command2"], {"Text10": "", "message": ZERO_WARNING}),
    ("cars and taxis", CARS + ["#Command2"], {"Text10": "2522,52"}),
    ("a town found by typing, trucks",
     ["Text2=омск", "List5:Омск", "List2:грузоподъемностью до 10 т",
      "List10:от 22 лет и старше со стажем вождения свыше 2 лет", CARS_KO, "#Option4", "#Command2"],
     {"Text3": "1,3", "Text10": "1289,925"}),
    ("registered abroad", FOREIGN + ["#Command2"], {"Text10": "4322,5"}),
    ("registered abroad without КП, reports", FOREIGN + ["#Check1", "#Command2", "#Command7", "#Option9", "#Command7"],
     {"Text10": "6175"}),
    # Class 9 with three payouts ends in class 1: 1980 × 2 × 1,55 × 1,3 × 1 × 1 × 0,7, without КП.
    ("a renewal, cars without КП, reports",
     CARS + ["#Option11", "Combo1:9", "Combo5:3", "#Check1", "#Command2", "#Command7", "#Option9", "#Command7"],
     {"Text13": "1", "Text4": "1,55", "Text10": "5585,58"}),
    ("a КН that is no number", CARS + ["Combo4=1.5", "#Command2"],
     {"Text10": "", "message": "Коэффициент КН (шаг 9): «1.5» — не число. Десятичный разделитель — запятая, "
                               "например 1,5."}),
]



class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


class Site:
    """build-web/site on 127.0.0.1, remembering what was asked of it."""

    def __init__(self, folder):
        self.requests = []
        site = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                site.requests.append(self.path)

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                                      functools.partial(Handler, directory=folder))
        self.origin = "http://127.0.0.1:%d" % self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    def __init__(self, downloads):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        # As root on a closed network Chromium needs all of these, and a profile of its own.
        for argument in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                         "--disable-background-networking", "--disable-component-update", "--disable-sync",
                         "--disable-dev-shm-usage", "--window-size=1280,900",
                         "--host-resolver-rules=MAP * ~NOTFOUND , EXCLUDE 127.0.0.1"]:
            options.add_argument(argument)
        self.profile = tempfile.mkdtemp(prefix="tarifmaster-chromium-")
        options.add_argument("--user-data-dir=" + self.profile)
        options.binary_location = "/usr/bin/chromium"
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.downloads = downloads
        self.requested = []

    def quit(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def download_into(self, folder):
        self.driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": folder})

    def open(self, url):
        self.driver.get(url)
        self.wait(lambda: self.script("return document.documentElement.classList.contains('ready')"),
                  "the page starts its module: " + url)

    def script(self, code, *arguments):
        return self.driver.execute_script(code, *arguments)

    def wait(self, condition, what, seconds=15):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if condition():
                return
            time.sleep(0.02)
        raise Failure("timed out: " + what)

    def element(self, name):
        from selenium.webdriver.common.by import By
        element = self.driver.find_element(By.ID, name)
        self.script("arguments[0].scrollIntoView({block: 'center'})", element)
        return element

    def value(self, name):
        return self.script("return document.getElementById(arguments[0]).value", name)

    def message(self):
        box = "document.getElementById('message-box').classList.contains('shown')"
        return self.script("return %s ? document.getElementById('message').textContent : null" % box)

    def play(self, move):
        """One move in the vocabulary of the window's tests, made as a user makes it on the page."""
        from selenium.webdriver.common.by import By
        from selenium.webdriver.common.keys import Keys
        if move.startswith("#"):
            self.element(move[1:]).click()
            return
        kind = re.search("[:=]", move).group()
        name, text = move.split(kind, 1)
        if kind == ":":
            entry = text
            if name.startswith("Combo"):
                # A drop-down entry typed whole and confirmed applies as a chosen one.
                field = self.element(name)
                field.send_keys(Keys.CONTROL, "a")
                field.send_keys(entry, Keys.ENTER)
            else:
                self.element(name)
                entries = [option for option in self.driver.find_elements(By.CSS_SELECTOR, "#%s option" % name)
                           if option.get_attribute("textContent") == entry]
                check(len(entries) == 1, "one entry %r in %s" % (entry, name))
                entries[0].click()
        else:
            field = self.element(name)
            field.send_keys(Keys.CONTROL, "a")
            field.send_keys(Keys.DELETE)
            field.send_keys(text)

    def console_errors(self):
        return [entry["message"] for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]

    def requests_sent(self, documents):
        """What the documents of the given prefixes asked for, since the last call."""
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                if message["params"].get("documentURL", "").startswith(documents):
                    urls.append(message["params"]["request"]["url"])
        self.requested += urls
        return urls


def replayed(output, listed):
    """The "NAME=TEXT" lines of a replay tool: a name in listed gathers its texts in a list."""
    shown = {name: [] for name in listed}
    for line in output.splitlines():
        name, text = line.split("=", 1)
        text = text.replace("\\n", "\n")
        if name in listed:
            shown[name].append(text)
        else:
            shown[name] = text
    return shown


def window_replay(tool, folder, start, moves):
    run = subprocess.run([tool, folder, start[0], start[1]] + moves, capture_output=True, text=True, timeout=60,
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    check(run.returncode == 0, "window_replay: %s%s" % (run.stdout, run.stderr))
    shown = replayed(run.stdout, ["message"])
    shown["messages"] = shown.pop("message")
    return shown


def wait_for_file(path, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if os.path.exists(path) and not os.path.exists(path + ".crdownload"):
            return open(path, "rb").read()
        time.sleep(0.02)
    raise Failure("no download " + os.path.basename(path))


def play_scenario(browser, url, tool, picture, work, name, moves, expected):
    browser.open(url)
    start = (browser.value("Text11"), browser.value("Text12"))
    label = re.sub(r"\W+", "-", name)
    downloads = os.path.join(work, "page-" + label)
    os.makedirs(downloads)
    browser.download_into(downloads)
    messages = []
    for move in moves:
        browser.play(move)
        if move == "#Command7" or move == "#Command2":
            text = browser.message()
            if text is not None:
                messages.append(text)
    folder = os.path.join(work, "window-" + label)
    os.makedirs(folder)
    shutil.copy(picture, folder)
    window = window_replay(tool, folder, start, moves)

    # The fields the window prints: the factor fields, the percentage, the total and the end class.
    fields = [name for name in window if name != "messages"]
    page = {field: browser.value(field) for field in fields}
    for field in fields:
        check(page[field] == window[field], "%s: %s is %r on the page, %r in the window"
              % (name, field, page[field], window[field]))
    for field, text in expected.items():
        if field != "message":
            check(page[field] == text, "%s: %s is %r, not %r" % (name, field, page[field], text))
    # The window names the report's whole path; the page names the file the browser saves.
    window_messages = [re.sub(r"^(\x43охраненно: ).*/", r"\1", text) for text in window["messages"]]
    check(messages == window_messages, "%s: the page said %r, the window %r" % (name, messages, window_messages))
    if "message" in expected:
        check(messages[-1:] == [expected["message"]], "%s: the message %r" % (name, messages))
    for report in ("str.txt", "str.doc"):
        if os.path.exists(os.path.join(folder, report)):
            saved = wait_for_file(os.path.join(downloads, report))
            written = open(os.path.join(folder, report), "rb").read()
            check(saved == written, "%s: the page's %s differs from the window's%s" % (
                name, report, " (is web/tmas.png the window's PNG of report/tmas.gif? tools/make-pictures "
                "makes it)" if report == "str.doc" else ""))
    return start


def check_start_time(start, opened):
    """The start date and time in the desktop program's short Russian formats, when the page was opened."""
    check(re.fullmatch(r"\d\d\.\d\d\.\d{4}", start[0]) and re.fullmatch(r"\d\d:\d\d:\d\d", start[1]),
          "start date and time %r" % (start,))
    shown = datetime.datetime.strptime(" ".join(start), "%d.%m.%Y %H:%M:%S")
    check(abs((shown - opened).total_seconds()) < 120, "start %s, page opened at %s" % (shown, opened))


def fleet_replay(tool, folder, list_name):
    """What the desktop's fleet window shows for the list in folder, and whether it wrote a result."""
    run = subprocess.run([tool, list_name], cwd=folder, capture_output=True, text=True, timeout=120)
    check(run.returncode in (0, 1), "fleet_replay: %s%s" % (run.stdout, run.stderr))
    shown = replayed(run.stdout, ["summary", "rejected"])
    for name in ("summary", "rejected"):
        shown[name] = [text.split("\t") for text in shown[name]]
    return shown, run.returncode == 0


PAGE_FLEET = """const rows = (selector) => Array.from(document.querySelectorAll(selector), (row) =>
    Array.from(row.children, (cell) => cell.textContent));
const summary = Array.from(document.querySelectorAll('#fleet-summary dt'), (term) =>
    [term.textContent, term.nextElementSibling.textContent]);
return {status: document.getElementById('fleet-status').textContent, summary: summary,
        rejected: rows('#fleet-rejected tbody tr'), more: document.getElementById('fleet-more').textContent};"""


def check_fleet(browser, url, fleet, tool, work, label):
    """The list in fleet, chosen in the page's file field as a user chooses it, is computed as the
    desktop's fleet window computes it in a folder of its own: the same status line, summary, rejected
    rows and result (a workbook's cells), or no result at all."""
    browser.open(url)
    list_name = os.path.basename(fleet)
    downloads = os.path.join(work, "page-%s-%s" % (label, list_name))
    desktop = os.path.join(work, "desktop-%s-%s" % (label, list_name))
    os.makedirs(downloads)
    os.makedirs(desktop)
    browser.download_into(downloads)
    shutil.copy(fleet, desktop)
    window, written = fleet_replay(tool, desktop, list_name)

    chooser = browser.element("fleet-file")
    kinds = chooser.get_attribute("accept").split(",")
    check(os.path.splitext(list_name)[1].lower() in kinds, "%s: the file field offers %r" % (list_name, kinds))
    chooser.send_keys(fleet)
    browser.wait(lambda: browser.script("return document.getElementById('fleet-status').dataset.status"),
                 "%s: %s computed" % (label, list_name), seconds=60)
    status = int(browser.script("return document.getElementById('fleet-status').dataset.status"))
    shown = browser.script(PAGE_FLEET)
    check(shown == window, "%s: %s: the page shows %r, the fleet window %r" % (label, list_name, shown, window))
    check((status != 2) == written, "%s: %s ends with %d" % (label, list_name, status))
    if not written:
        time.sleep(0.5)
        check(not os.listdir(downloads), "%s: %s: a result saved: %r" % (label, list_name, os.listdir(downloads)))
        return
    name = window["summary"][-1][1]  # the result's file, the summary's last line
    saved = os.path.join(downloads, name)
    wait_for_file(saved)
    if os.path.splitext(name)[1] in (".xlsx", ".ods"):
        same = workbooks.cells(saved) == workbooks.cells(os.path.join(desktop, name))
    else:
        same = open(saved, "rb").read() == open(os.path.join(desktop, name), "rb").read()
    check(same, "%s: the page's %s differs from the fleet window's" % (label, name))


def check_keyboard(browser, url):
    """Tab reaches the first list of step 1, the arrows choose in it, and Space presses "ОК"."""
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
    browser.open(url)
    browser.script("document.activeElement.blur()")
    for _ in range(40):
        ActionChains(browser.driver).send_keys(Keys.TAB).perform()
        if browser.script("return document.activeElement.id") == "List1":
            break
    check(browser.script("return document.activeElement.id") == "List1", "Tab reaches List1")
    ActionChains(browser.driver).send_keys(Keys.ARROW_DOWN).perform()
    check(browser.value("txtTb") == "2375", "the arrow key chooses the first rate")
    browser.script("document.getElementById('Command2').focus()")
    ActionChains(browser.driver).send_keys(Keys.SPACE).perform()
    check(browser.message() == ZERO_WARNING, "Space presses ОК")


def check_offline(browser, site, url):
    """Once visited over http, the service worker serves the whole site without the server."""
    browser.open(url)
    browser.driver.set_script_timeout(20)
    browser.driver.execute_async_script(
        "const done = arguments[0]; navigator.serviceWorker.ready.then(() => done(true));")
    browser.open(url)  # now under the worker's control
    check(browser.script("return navigator.serviceWorker.controller !== null"), "the service worker controls")
    site.stop()
    browser.open(url)
    for move in FOREIGN + ["#Command2"]:
        browser.play(move)
    check(browser.value("Text10") == "4322,5", "the premium offline")


def main():
    parser = argparse.ArgumentParser()
    for option in ("--site", "--window-replay", "--fleet-replay", "--fleet", "--picture"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    if not os.path.exists(os.path.join(args.site, "index.html")):
        if os.environ.get("TARIFMASTER_WEB_REQUIRED"):
            print("FAIL: no site in %s; tools/web builds it" % args.site)
            return 1
        print("SKIP: no site in %s; build it with tools/web to run the browser test" % args.site)
        return SKIPPED

    work = tempfile.mkdtemp(prefix="tarifmaster-web-")
    site = Site(args.site)
    browser = Browser(work)
    try:
        url = site.origin + "/index.html"
        for name, moves, expected in SCENARIOS:
            opened = datetime.datetime.now().replace(microsecond=0)
            start = play_scenario(browser, url, args.window_replay, args.picture, work, name, moves, expected)
            check_start_time(start, opened)
            print("ok: " + name)

        examples = os.path.dirname(args.fleet)
        workbooks.damaged(examples, os.path.join(work, "повреждена.xlsx"))
        workbooks.bomb(examples, os.path.join(work, "бомба.xlsx"))
        shutil.copy(args.fleet, os.path.join(work, "парк.txt"))
        for fleet in (args.fleet, os.path.join(examples, "fleet.xlsx"), os.path.join(examples, "fleet.ods"),
                      os.path.join(work, "парк.txt"), os.path.join(work, "повреждена.xlsx"),
                      os.path.join(work, "бомба.xlsx")):
            check_fleet(browser, url, fleet, args.fleet_replay, work, "served")
            print("ok: the vehicle list " + os.path.basename(fleet))
        check_keyboard(browser, url)
        print("ok: the keyboard")

        local = "file://" + os.path.abspath(os.path.join(args.site, "index.html"))
        play_scenario(browser, local, args.window_replay, args.picture, work, "from a local folder",
                      FOREIGN + ["#Command2", "#Command7"], {"Text10": "4322,5"})
        check_fleet(browser, local, args.fleet, args.fleet_replay, work, "local")
        print("ok: from a local folder")

        check_offline(browser, site, url)
        print("ok: offline")

        errors = browser.console_errors()
        check(not errors, "console errors: %r" % errors)
        site_folder = "file://" + os.path.abspath(args.site) + "/"
        ours = (site.origin + "/", site_folder, "blob:")
        foreign = [request for request in browser.requests_sent(ours) if not request.startswith(ours + ("data:",))]
        check(not foreign, "requests beyond the page's origin: %r" % foreign)
        print("ok: %d requests, all to the page's origin" % len(browser.requested))
    except Failure as failure:
        print("FAIL: %s (the files are kept in %s)" % (failure, work))
        return 1
    finally:
        browser.quit()
    shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
