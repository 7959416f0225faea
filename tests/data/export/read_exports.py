#!/usr/bin/env python3
# Reads the series data export fixtures with readers that know nothing of the program: csv for the
# delimited text, xml.etree and xmllint for the XML, html.parser for the HTML table and xlrd for the
# spreadsheet file (told code page 1252: the file names none). Exits non-zero on the first difference.
import csv
import io
import os
import subprocess
import sys
import xml.etree.ElementTree as ET
from html.parser import HTMLParser

import xlrd

here = os.path.dirname(os.path.abspath(__file__))
LABELS = ["a<b", 'R&D "x"', "Caf\u00e9"]


def read(name):
    with open(os.path.join(here, name), "rb") as f:
        return f.read()


def check(condition, what):
    if not condition:
        sys.exit("export fixture: " + what)


# Delimited text: five rows of cells, the shorter series' cells empty.
rows = list(csv.reader(io.StringIO(read("text_default.txt").decode("cp1252"), newline=""), delimiter="\t"))
check(len(rows) == 6 and rows[5] == [], "text rows")
check(rows[0] == ["a<b", "0.5", "10", "0", "12/9/2025"], "text row 0: %r" % rows[0])
check(rows[3] == ["", "", "", "3", "12/12/2025"], "text row 3: %r" % rows[3])
rows = list(csv.reader(io.StringIO(read("text_all_comma.csv").decode("cp1252"), newline="")))
check(rows[0] == ["Index", "Text", "Colors", "X", "SP", "X", "Fit"], "csv header")
check(rows[1] == ["0", "a<b", "#FF0000", "0.5", "10", "0", "12/9/2025"], "csv row 0: %r" % rows[1])
check(rows[3][1] == "Caf\u00e9" and rows[5][2] == "#000000", "csv labels and colours")

# XML: well-formed (xmllint), UTF-8, labels back with their special characters.
for name in ("xml_default.xml", "xml_all.xml"):
    subprocess.run(["xmllint", "--noout", os.path.join(here, name)], check=True)
    root = ET.fromstring(read(name))
    series = root.findall("series")
    check([s.get("title") for s in series] == ["SP", "Fit"], name + " titles")
    points = series[0].find("points").findall("point")
    check([p.get("text") for p in points] == LABELS, name + " labels")
    check(series[1].find("points").get("count") == "5", name + " count")
    check(points[1].get("Y") == "-2.25" and points[0].get("X") == "0.5", name + " values")
    if name == "xml_all.xml":
        check(points[0].get("color") == "#FF0000" and points[2].get("index") == "2", name + " colour and index")


# HTML: the cells of each row.
class Cells(HTMLParser):
    def __init__(self):
        super().__init__()
        self.rows, self.cell = [], None

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.rows.append([])
        elif tag == "td":
            self.cell = ""

    def handle_endtag(self, tag):
        if tag == "td":
            self.rows[-1].append(self.cell)
            self.cell = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data


for name, header in (("html_default.htm", False), ("html_all.htm", True)):
    p = Cells()
    p.feed(read(name).decode("cp1252"))
    body = p.rows[1:] if header else p.rows
    check(len(body) == 5, name + " rows")
    labels = [r[1 if header else 0] for r in body[:3]]
    check(labels == LABELS, name + " labels %r" % labels)
    check(all(c == "" for c in body[4][(5 if header else 0):(5 if header else 0) + 1]), name + " empty cells")
    if header:
        check(p.rows[0] == ["Index", "Text", "Colors", "X", "SP", "Text", "Colors", "X", "Fit"], name + " header")

# Spreadsheet: the cells' values and kinds.
for name, header in (("xls_default.xls", False), ("xls_all.xls", True)):
    book = xlrd.open_workbook(file_contents=read(name), encoding_override="cp1252")
    sheet = book.sheet_by_index(0)
    top = 1 if header else 0
    check(sheet.nrows == 5 + top, name + " rows %d" % sheet.nrows)
    first = 1 if header else 0
    step = 4 if header else 3
    check([sheet.cell_value(top + i, first) for i in range(3)] == LABELS, name + " labels")
    check(sheet.cell_value(top, first + step - 2) == 0.5 and sheet.cell_value(top, first + step - 1) == 10, name + " values")
    check(sheet.cell_type(top + 1, first + step - 1) in (xlrd.XL_CELL_BLANK, xlrd.XL_CELL_EMPTY), name + " null point")
    check(sheet.cell_type(top + 3, first + step - 1) in (xlrd.XL_CELL_BLANK, xlrd.XL_CELL_EMPTY), name + " short series")
    check(sheet.cell_value(top + 4, first + 2 * step - 1) == 46004, name + " dates as numbers")
    if header:
        check(sheet.cell_value(0, 0) == "Index" and sheet.cell_value(4, 0) == 3, name + " index")
print("export fixtures read back")
