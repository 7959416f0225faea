#!/usr/bin/env python3
# Writes the series data export fixtures from the export templates, not by the program: two series ("SP":
# 3 points with X values, labels holding <, & and " and a non-ASCII letter, a red point and a null point;
# "Fit": 5 points whose Y values are dates) under the default switches and with every switch on, as
# delimited text, XML, an HTML table and a spreadsheet file. Texts are Windows-1252 except XML (UTF-8).
import datetime
import os
import struct

CRLF = "\r\n"
SP = {"title": "SP", "type": "TLineTestSeries", "color": "#000080",
      "x": [0.5, 1.5, 2.5], "y": [10, -2.25, 7], "labels": ["a<b", 'R&D "x"', "Caf\u00e9"],
      "colors": ["#FF0000", "#FFFFFF", "#000000"], "null": [False, True, False], "dates": False}
FIT = {"title": "Fit", "type": "TLineTestSeries", "color": "#008000",
       "x": [0, 1, 2, 3, 4], "y": [46000 + i for i in range(5)], "labels": [""] * 5,
       "colors": ["#000000"] * 5, "null": [False] * 5, "dates": True}
SERIES = [SP, FIT]
ROWS = 5


def real(v):
    return format(v, ".15g")


def date_text(days):
    d = datetime.date(1899, 12, 30) + datetime.timedelta(days=int(days))
    return f"{d.month}/{d.day}/{d.year}"


def escape(t):
    return t.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


def text_export(index, header, colors, sep, q):
    lines = []
    if header:
        cells = ([q + "Index" + q] if index else []) + [q + "Text" + q] + ([q + "Colors" + q] if colors else [])
        for s in SERIES:
            cells += [q + "X" + q, q + s["title"] + q]
        lines.append(sep.join(cells))
    for i in range(ROWS):
        cells = [str(i)] if index else []
        label = next((s["labels"][i] for s in SERIES if i < len(s["y"]) and s["labels"][i]), "")
        cells.append(q + label + q if label else "")
        if colors:
            cells.append(SP["colors"][i] if i < len(SP["y"]) else "#000000")
        for s in SERIES:
            if i >= len(s["y"]):
                cells += ["", ""]
                continue
            cells.append(real(s["x"][i]))
            cells.append(q + date_text(s["y"][i]) + q if s["dates"] else real(s["y"][i]))
        lines.append(sep.join(cells))
    return "".join(line + CRLF for line in lines) + CRLF


def xml_export(index, colors):
    out = '<?xml version="1.0" encoding="UTF-8"?>' + CRLF + "<chart>" + CRLF
    for s in SERIES:
        out += f'<series title="{escape(s["title"])}" type="{escape(s["type"])}" color="{s["color"]}">' + CRLF
        out += f'<points count="{len(s["y"])}">' + CRLF
        for i in range(len(s["y"])):
            attrs = f'index="{i}"' if index else ""
            attrs += f' text="{escape(s["labels"][i])}"'
            if colors:
                attrs += f' color="{s["colors"][i]}"'
            attrs += f' X="{real(s["x"][i])}" Y="{real(s["y"][i])}"'
            out += "<point " + attrs + "/>" + CRLF
        out += "</points>" + CRLF + "</series>" + CRLF + CRLF
    return out + "</chart>"


def html_export(index, header, colors):
    td = lambda t: "<td>" + t + "</td>"
    out = '<table border="1">' + CRLF
    if header:
        row = td("Index") if index else ""
        for s in SERIES:
            row += td("Text") + (td("Colors") if colors else "") + td("X") + td(escape(s["title"]))
        out += "<tr>" + row + "</tr>" + CRLF
    for i in range(ROWS):
        row = td(str(i)) if index else ""
        for s in SERIES:
            if i < len(s["y"]):
                row += td(escape(s["labels"][i])) + (td(s["colors"][i]) if colors else "")
                row += td(real(s["x"][i])) + td(real(s["y"][i]))
            else:
                row += td("") + (td("") if colors else "") + td("") + td("")
        out += "<tr>" + row + "</tr>" + CRLF
    return out + CRLF + "</table>"


def xls_export(index, header, colors):
    def head(record, length, r, c):
        return struct.pack("<HHHH", record, length, r, c) + b"\0\0\0"

    def label(r, c, t):
        b = t.encode("cp1252")[:255]
        return head(4, 8 + len(b), r, c) + bytes([len(b)]) + b

    def number(r, c, v):
        return head(3, 15, r, c) + struct.pack("<d", v)

    columns = (1 if index else 0) + 2 * (1 + (1 if colors else 0) + 1) + 2 * 1
    rows = ROWS + (1 if header else 0)
    out = bytes.fromhex("090808000000100000000000") + bytes.fromhex("0002" "0A00") + struct.pack("<5H", 0, rows, 0, columns, 0)
    top = 1 if header else 0
    if header:
        c = 0
        if index:
            out += label(0, c, "Index"); c += 1
        for s in SERIES:
            for name in ["Text"] + (["Colors"] if colors else []) + ["X", "Y"]:
                out += label(0, c, name); c += 1
    for i in range(ROWS):
        r, c = top + i, 0
        if index:
            out += number(r, c, i); c += 1
        for s in SERIES:
            exists = i < len(s["y"])
            out += label(r, c, s["labels"][i] if exists else ""); c += 1
            if colors:
                out += label(r, c, s["colors"][i] if exists else ""); c += 1
            if exists:
                out += number(r, c, s["x"][i]); c += 1
            else:
                out += head(1, 7, r, c); c += 1
            if not exists or s["null"][i]:
                out += head(1, 7, r, c); c += 1
            else:
                out += number(r, c, s["y"][i]); c += 1
    return out + bytes.fromhex("0A000000")


here = os.path.dirname(os.path.abspath(__file__))
files = {
    "text_default.txt": text_export(False, False, False, "\t", "").encode("cp1252"),
    "text_all_comma.csv": text_export(True, True, True, ",", '"').encode("cp1252"),
    "xml_default.xml": xml_export(False, False).encode("utf-8"),
    "xml_all.xml": xml_export(True, True).encode("utf-8"),
    "html_default.htm": html_export(False, False, False).encode("cp1252"),
    "html_all.htm": html_export(True, True, True).encode("cp1252"),
    "xls_default.xls": xls_export(False, False, False),
    "xls_all.xls": xls_export(True, True, True),
}
for name, data in files.items():
    with open(os.path.join(here, name), "wb") as f:
        f.write(data)
