#!/usr/bin/python3
"""Workbooks for the tests of the page and of the Windows edition, so that each front is shown the same
files and its results are read back alike:

  damaged   the sample .xlsx cut in half: its archive's directory is gone
  bomb      an .xlsx of 1 MB whose sheet unpacks to 1.1 GiB, past the batch's limit of 1 GiB
  cells     the cells of a result workbook's sheet (.xlsx or .ods), a row a line: what two results are
            compared by, since their archives differ in dates and packing

    workbooks.py damaged|bomb EXAMPLES_FOLDER OUTPUT
    workbooks.py cells WORKBOOK
"""
import os
import re
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

XLSX = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
OFFICE = "{urn:oasis:names:tc:opendocument:xmlns:office:1.0}"
TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
TEXT = "{urn:oasis:names:tc:opendocument:xmlns:text:1.0}"

BOMB_BYTES = 1100 * 1024 * 1024


def damaged(examples, output):
    whole = open(os.path.join(examples, "fleet.xlsx"), "rb").read()
    open(output, "wb").write(whole[:len(whole) // 2])


def bomb(examples, output):
    """The sample workbook with its first sheet replaced by one that really unpacks to BOMB_BYTES: the
    sample's rows, then spaces. Deflated a piece at a time, so that making it takes little memory."""
    with zipfile.ZipFile(os.path.join(examples, "fleet.xlsx")) as sample, \
            zipfile.ZipFile(output, "w", zipfile.ZIP_DEFLATED) as book:
        for item in sample.infolist():
            content = sample.read(item.filename)
            if item.filename != "xl/worksheets/sheet1.xml":
                book.writestr(item.filename, content)
                continue
            cut = content.rindex(b"</sheetData>")
            head, tail = content[:cut], content[cut:]
            info = zipfile.ZipInfo(item.filename, item.date_time)
            info.compress_type = zipfile.ZIP_DEFLATED
            with book.open(info, "w") as sheet:
                sheet.write(head)
                spaces = b" " * (1 << 20)
                for _ in range((BOMB_BYTES - len(head) - len(tail)) >> 20):
                    sheet.write(spaces)
                sheet.write(tail)


def cells(path):
    """The first sheet's rows as lists of cells, each "n:<value>" (a number) or "s:<text>"; empty cells
    are "", trailing ones left out."""
    with zipfile.ZipFile(path) as book:
        if "content.xml" in book.namelist():
            return ods_cells(ElementTree.fromstring(book.read("content.xml")))
        shared = []
        if "xl/sharedStrings.xml" in book.namelist():
            for item in ElementTree.fromstring(book.read("xl/sharedStrings.xml")).iter(XLSX + "si"):
                shared.append("".join(t.text or "" for t in item.iter(XLSX + "t")))
        return xlsx_cells(ElementTree.fromstring(book.read("xl/worksheets/sheet1.xml")), shared)


def column_of(reference):
    number = 0
    for letter in re.match(r"[A-Z]+", reference).group(0):
        number = number * 26 + ord(letter) - ord("A") + 1
    return number - 1


def xlsx_cells(sheet, shared):
    rows = []
    for row in sheet.iter(XLSX + "row"):
        while len(rows) < int(row.get("r")) - 1:
            rows.append([])
        line = []
        for cell in row.iter(XLSX + "c"):
            kind, value = cell.get("t", "n"), cell.find(XLSX + "v")
            if kind == "s":
                shown = "s:" + shared[int(value.text)]
            elif kind == "inlineStr":
                shown = "s:" + "".join(t.text or "" for t in cell.iter(XLSX + "t"))
            elif kind == "str":
                shown = "s:" + (value.text or "")
            elif value is not None:
                shown = "n:" + repr(float(value.text))
            else:
                continue
            line += [""] * (column_of(cell.get("r")) - len(line))
            line.append(shown)
        rows.append(line)
    return rows


def ods_cells(content):
    rows = []
    table = next(content.iter(TABLE + "table"))
    for row in table.iter(TABLE + "table-row"):
        line = []
        for cell in row:
            if cell.tag not in (TABLE + "table-cell", TABLE + "covered-table-cell"):
                continue
            repeat = int(cell.get(TABLE + "number-columns-repeated", "1"))
            if cell.get(OFFICE + "value-type") == "float":
                shown = "n:" + repr(float(cell.get(OFFICE + "value")))
            elif cell.get(OFFICE + "value-type") is not None:
                shown = "s:" + "\n".join("".join(p.itertext()) for p in cell.iter(TEXT + "p"))
            else:
                shown = ""
            line += [shown] * repeat
        while line and line[-1] == "":
            line.pop()
        rows += [line] * int(row.get(TABLE + "number-rows-repeated", "1"))
    while rows and not rows[-1]:
        rows.pop()
    return rows


if __name__ == "__main__":
    if sys.argv[1] == "cells":
        for line in cells(sys.argv[2]):
            print("\t".join(line))
    else:
        kind, examples, output = sys.argv[1:4]
        {"damaged": damaged, "bomb": bomb}[kind](examples, output)
