#!/usr/bin/python3
"""The browser edition's figures, measured in headless Chromium in one run (never part of the tests):

  - from navigation to the moment a click can produce the first premium (the module started and the
    handlers bound), against the load of a plain page with the same form controls and no module: the same
    index.html with its scripts taken out, served beside it;
  - the time "ОК" takes to answer, from the click to the total in its field;
  - the site's size without the help pages, and what a first visit loads before a click computes (the
    fleet module comes only with the first list);
  - a list of 100 000 vehicles (the sample list's rows over and over) from choosing the file to the saved
    result;
  - the same list saved by LibreOffice as .xlsx, as batch_bench's workbook benchmark makes it, computed in
    the page into a result .xlsx, against the desktop batch program on the same file in the same run, in
    turns (the page may take at most twice as long). As a user does, the file field is clicked and the
    file dialog is open a second before a list is chosen.

    bench/web_bench.py [SITE [BATCH_PROGRAM]]
        (default: build-web/site, which tools/web builds, and build/bin/tarifmaster-batch)

Pages are loaded in turns, the first load of each apart, so that a busy machine weighs on both alike.
"""
import csv
import functools
import http.server
import io
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROUNDS = 15


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d" % server.server_address[1]


def browser(downloads):
    options = webdriver.ChromeOptions()
    for argument in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--window-size=1280,900", "--user-data-dir=" + tempfile.mkdtemp(prefix="tarifmaster-bench-")]:
        options.add_argument(argument)
    options.binary_location = "/usr/bin/chromium"
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    return driver


def wait(driver, script, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = driver.execute_script(script)
        if value:
            return value
        time.sleep(0.005)
    raise RuntimeError("timed out: " + script)


def page_ready(driver, url):
    """Milliseconds from navigation until a click can produce a premium."""
    driver.get(url)
    return wait(driver, "const ready = performance.getEntriesByName('ready'); return ready.length && "
                        "ready[0].startTime")


def plain_loaded(driver, url):
    """Milliseconds from navigation to the end of the plain page's load event."""
    driver.get(url)
    return wait(driver, "const n = performance.getEntriesByType('navigation')[0]; return n && n.loadEventEnd")


def choose_list(driver, origin, path, result):
    """Seconds in the page from the chosen file to the result, and the page's last status line."""
    page_ready(driver, origin + "/index.html")
    if os.path.exists(result):
        os.remove(result)
    # As a user does: the file field is clicked (focused), and the file dialog is open a while before
    # the list is chosen.
    driver.execute_script("document.getElementById('fleet-file').focus()")
    time.sleep(1)
    driver.find_element(By.ID, "fleet-file").send_keys(path)
    while not os.path.exists(result) or os.path.exists(result + ".crdownload"):
        time.sleep(0.005)
    status = driver.execute_script("return document.getElementById('fleet-status').textContent")
    computed = driver.execute_script("return performance.getEntriesByName('fleet')[0].duration")
    return computed / 1000, status.splitlines()[-1]


def workbook_of(csv_path, kind):
    """The list saved by LibreOffice as a workbook, as a Russian user's Calc reads it (decimal commas as
    numbers), as bench/batch_bench.cpp makes its workbooks."""
    folder = os.path.dirname(csv_path)
    subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(folder, "profile"), "--headless",
                    "--infilter=CSV:59,34,76,1,,1049", "--convert-to", kind, "--outdir", folder, csv_path],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
    return os.path.splitext(csv_path)[0] + "." + kind


def main():
    site = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build-web", "site"))
    program = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "build", "bin", "tarifmaster-batch")
    work = tempfile.mkdtemp(prefix="tarifmaster-bench-")
    # The plain page: the same markup and stylesheet without the scripts.
    page = open(os.path.join(site, "index.html"), encoding="utf-8").read()
    shutil.copytree(site, os.path.join(work, "site"))
    plain = re.sub(r"<script[^>]*></script>\n?", "", page)
    open(os.path.join(work, "site", "plain.html"), "w", encoding="utf-8").write(plain)
    controls = len(re.findall(r"<(input|select|button|option|a) ", plain)) + plain.count("<option>")
    server, origin = serve(os.path.join(work, "site"))
    # On an origin of its own, so that the page's service worker does not stand in its way.
    plain_server, plain_origin = serve(os.path.join(work, "site"))
    driver = browser(work)
    try:
        # A first visit: nothing in the browser's cache and no service worker yet.
        def forget():
            driver.get("about:blank")
            driver.execute_cdp_cmd("Network.clearBrowserCache", {})
            driver.execute_cdp_cmd("Storage.clearDataForOrigin", {"origin": origin, "storageTypes": "all"})

        first_ready, first_loaded = [], []
        for _ in range(5):
            forget()
            first_ready.append(page_ready(driver, origin + "/index.html"))
            forget()
            first_loaded.append(plain_loaded(driver, plain_origin + "/plain.html"))
        ready, loaded = [], []
        for _ in range(ROUNDS):
            ready.append(page_ready(driver, origin + "/index.html"))
            loaded.append(plain_loaded(driver, plain_origin + "/plain.html"))
        print("controls on both pages: %d" % controls)
        print("first visits (median of 5): page ready %.1f ms, plain page loaded %.1f ms, ratio %.2f"
              % (statistics.median(first_ready), statistics.median(first_loaded),
                 statistics.median(first_ready) / statistics.median(first_loaded)))
        print("later visits (median of %d): page ready %.1f ms, plain page loaded %.1f ms, ratio %.2f"
              % (ROUNDS, statistics.median(ready), statistics.median(loaded),
                 statistics.median(ready) / statistics.median(loaded)))

        # "ОК" with every step of a car filled in, a thousand times.
        page_ready(driver, origin + "/index.html")
        for name, entry in (("List1", "физических лиц"), ("List6", "Москва"),
                            ("List10", "от 22 лет и старше со стажем вождения свыше 2 лет"),
                            ("List11", "управлению транспортным средством"),
                            ("List12", "свыше 70 до 95 включительно")):
            option = [o for o in driver.find_elements(By.CSS_SELECTOR, "#%s option" % name)
                      if o.get_attribute("textContent") == entry][0]
            driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", option)
            option.click()
        times = driver.execute_script("""
            const ok = document.getElementById('Command2'), total = document.getElementById('Text10');
            const times = [];
            const all = performance.now();
            for (let i = 0; i < 1000; ++i) {
                total.value = '';
                const start = performance.now();
                ok.click();
                times.push(performance.now() - start);
                if (total.value !== '1940,4') throw new Error('total ' + total.value);
            }
            times.push(performance.now() - all);
            return times;""")
        whole = times.pop()
        times.sort()
        print("ОК: %.3f ms a click on average over 1000 (total 1940,4); 99th percentile %.1f ms, longest %.1f ms "
              "(the page's clock counts in steps of 0.1 ms)" % (whole / 1000, times[989], times[-1]))

        size = sum(os.path.getsize(os.path.join(site, name)) for name in os.listdir(site)
                   if not name.endswith(".htm") and name != "help.css")
        print("site without the help pages: %d bytes (%.0f KB)" % (size, size / 1024))
        forget()
        page_ready(driver, origin + "/index.html")
        first = driver.execute_script(
            "return [performance.getEntriesByType('navigation')[0], ...performance.getEntriesByType('resource')]"
            ".reduce((sum, entry) => sum + entry.encodedBodySize, 0)")
        print("a first visit loads %d bytes (%.0f KB) until a click computes; fleet.js, the rest, %d bytes"
              % (first, first / 1024, os.path.getsize(os.path.join(site, "fleet.js"))))

        rows = list(csv.reader(io.StringIO(open(os.path.join(ROOT, "examples", "fleet.csv"), encoding="utf-8",
                                                newline="").read()), delimiter=";"))
        fleet = io.StringIO()
        writer = csv.writer(fleet, delimiter=";", lineterminator="\r\n")
        writer.writerow(rows[0])
        for i in range(100000):
            writer.writerow(rows[1 + i % (len(rows) - 1)])
        big = os.path.join(work, "fleet100k.csv")
        open(big, "w", encoding="utf-8", newline="").write(fleet.getvalue())
        for attempt in range(3):
            start = time.monotonic()
            computed, status = choose_list(driver, origin, big, os.path.join(work, "fleet100k-result.csv"))
            print("100 000 rows (%.1f MB): %.2f s in the page from the chosen file to the result, %.2f s until the "
                  "browser has saved it; %s" % (os.path.getsize(big) / 1e6, computed, time.monotonic() - start,
                                                status))

        # The same rows as .xlsx, into a result .xlsx: in the page and by the desktop program, in turns.
        book = workbook_of(big, "xlsx")
        page_times, desktop_times = [], []
        for attempt in range(5):
            computed, status = choose_list(driver, origin, book, os.path.join(work, "fleet100k-result.xlsx"))
            page_times.append(computed)
            start = time.monotonic()
            subprocess.run([program, book, "--output", os.path.join(work, "desktop-result.xlsx")],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
            desktop_times.append(time.monotonic() - start)
            print("100 000 rows as .xlsx (%.1f MB) into .xlsx: %.2f s in the page, %.2f s by %s; %s"
                  % (os.path.getsize(book) / 1e6, computed, desktop_times[-1], os.path.basename(program), status))
        # Each attempt's page against the desktop run right after it, so that the machine's load weighs on
        # both alike; the median of those ratios.
        page, desktop = statistics.median(page_times), statistics.median(desktop_times)
        ratio = statistics.median(p / d for p, d in zip(page_times, desktop_times))
        print(".xlsx, median of 5: page %.2f s, desktop %.2f s; ratio attempt by attempt, median %.2f (at most 2)"
              % (page, desktop, ratio))
    finally:
        driver.quit()
        server.shutdown()
        plain_server.shutdown()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
