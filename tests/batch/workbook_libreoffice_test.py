#!/usr/bin/env python3
"""Workbooks as LibreOffice makes and reads them.

LibreOffice (headless, a private profile) saves examples/fleet.csv as .xlsx and .ods, as a Russian user
would (decimal commas read as numbers); the batch program computes each, and the rows, premiums,
errors and total must be those of the CSV run. Then the batch writes its result as .xlsx and .ods,
LibreOffice reads each back and saves it as CSV: the premiums must be numbers, equal to the CSV run's,
and add up to the ИТОГО cell. The committed examples/fleet.xlsx and .ods give the same result too.

Usage: workbook_libreoffice_test.py BATCH_PROGRAM EXAMPLES_FOLDER
"""
import csv
import io
import os
import shutil
import subprocess
import sys
import tempfile

PROGRAM, EXAMPLES = sys.argv[1], sys.argv[2]
# A Russian spreadsheet's import of the sample: ';', '"', UTF-8, from line 1, standard columns, ru-RU.
RUSSIAN_CSV_IMPORT = "CSV:59,34,76,1,,1049"
# CSV export: ';', '"', UTF-8, line 1, en-US numbers (a point), all text quoted, values not as shown.
NUMBERS_CSV_EXPORT = "csv:Text - txt - csv (StarCalc):59,34,76,1,,1033,true,true,false"

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def office(folder, *args):
    profile = "file://" + os.path.join(folder, "profile")
    subprocess.run(["soffice", "-env:UserInstallation=" + profile, "--headless", *args],
                   cwd=folder, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)


def rows_of(path):
    with open(path, encoding="utf-8-sig", newline="") as f:
        return list(csv.reader(f, delimiter=";"))


def batch(folder, source, output):
    run = subprocess.run([PROGRAM, source, "--output", output], cwd=folder, capture_output=True, text=True)
    check(run.returncode == 1, f"{source}: status {run.returncode} (one misspelt town: 1): {run.stderr}")
    return run.stderr


def main():
    folder = tempfile.mkdtemp(prefix="tarifmaster-workbooks-")
    try:
        shutil.copy(os.path.join(EXAMPLES, "fleet.csv"), folder)
        batch(folder, "fleet.csv", "csv-result.csv")
        expected = rows_of(os.path.join(folder, "csv-result.csv"))
        header = expected[0]
        premium, error = header.index("Страховая премия"), header.index("Ошибка")

        for kind in ("xlsx", "ods"):
            office(folder, "--infilter=" + RUSSIAN_CSV_IMPORT, "--convert-to", kind, "fleet.csv")
            for source in (f"fleet.{kind}", os.path.join(EXAMPLES, f"fleet.{kind}")):
                said = batch(folder, source, f"{kind}-result.csv")
                check("рассчитано 10, отклонено 1, сумма премий 33136,1315" in said, f"{source}: {said}")
                check(rows_of(os.path.join(folder, f"{kind}-result.csv")) == expected,
                      f"{source}: the rows differ from the CSV run's")

        for kind in ("xlsx", "ods"):
            batch(folder, "fleet.csv", f"result.{kind}")
            back = os.path.join(folder, f"back-{kind}")
            office(folder, "--convert-to", NUMBERS_CSV_EXPORT, "--outdir", back, f"result.{kind}")
            rows = rows_of(os.path.join(back, "result.csv"))
            check(rows[0] == header, f"result.{kind}: header {rows[0]}")
            check(len(rows) == len(expected), f"result.{kind}: {len(rows)} rows, not {len(expected)}")
            total = 0.0
            for got, want in zip(rows[1:-1], expected[1:-1]):
                check(got[error] == want[error], f"result.{kind}: error {got[error]!r}, not {want[error]!r}")
                if want[premium]:
                    # A number cell comes back with a point; a text cell would keep the comma written.
                    check(float(got[premium]) == float(want[premium].replace(",", ".")),
                          f"result.{kind}: premium {got[premium]!r}, not {want[premium]!r}")
                    total += float(got[premium])
            last = rows[-1]
            check("ИТОГО" in last, f"result.{kind}: last row {last}")
            check(abs(float(last[premium]) - total) < 1e-9,
                  f"result.{kind}: ИТОГО {last[premium]} is not the sum {total}")
            check(last[error] == "рассчитано 10, отклонено 1", f"result.{kind}: counts {last[error]!r}")
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    if failures:
        sys.exit(f"{len(failures)} checks failed")
    print("workbooks made and read by LibreOffice agree with the CSV run")


main()
