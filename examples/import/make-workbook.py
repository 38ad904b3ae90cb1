#!/usr/bin/env python3
"""Writes workbook.xlsx: a class as Excel keeps it, built part by part from the Office Open XML
structure (a zip of XML parts: content types, relationships, the workbook, its sheets and the shared
strings). Texts are shared strings, one is an inline string, identifiers and answers are numbers, a
skipped answer is a cell left out, as Excel leaves it out. Run it again after changing the class."""

import zipfile
from xml.sax.saxutils import escape

shared = []


def s(text):
    """A shared-string cell."""
    if text not in shared:
        shared.append(text)
    return ("s", shared.index(text))


def n(value):
    """A number cell, written as Excel writes numbers."""
    return ("n", value)


def inline(text):
    return ("inlineStr", text)


def column(index):
    name = ""
    index += 1
    while index:
        index, rest = divmod(index - 1, 26)
        name = chr(65 + rest) + name
    return name


def sheet_xml(rows):
    out = ['<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
           '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
           'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
           '<sheetData>']
    for r, cells in enumerate(rows, start=1):
        out.append(f'<row r="{r}">')
        for c, cell in enumerate(cells):
            if cell is None:  # Excel leaves an empty cell out
                continue
            kind, value = cell
            ref = f"{column(c)}{r}"
            if kind == "s":
                out.append(f'<c r="{ref}" t="s"><v>{value}</v></c>')
            elif kind == "inlineStr":
                out.append(f'<c r="{ref}" t="inlineStr"><is><t>{escape(value)}</t></is></c>')
            else:
                out.append(f'<c r="{ref}"><v>{value}</v></c>')
        out.append("</row>")
    out.append("</sheetData></worksheet>")
    return "".join(out)


def answers(text):
    return [None if a == " " else n(int(a)) for a in text]


header = [s("เลขประจำตัว"), s("ชื่อ - สกุล")] + [n(i) for i in range(1, 13)]
room1 = [
    header,
    [None, s("เฉลย")] + answers("314124231432"),
    [n(24101), s("ด.ช.ก้องภพ ศรีสวัสดิ์")] + answers("314124231432"),
    [n(24102), s("ด.ญ.กานดา บุญมา")] + answers("314224231412"),
    [n(24103), s("ด.ช.เขมรัฐ ทองคำ")] + answers("114123232432"),
    [n(24104), s("ด.ญ.ขนิษฐา แก้วใส")] + answers("324124211433"),
    [n("2.4105E4"), s("ด.ช.คณิน ใจงาม")] + answers("3141 4231432"),
    [n(24106), s("ด.ญ.จิราพร มีชัย")] + answers("231431124321"),
    [n(24107), s("ด.ช.ชยพล สุขใจ")] + answers("314124") + [inline("ข")] + answers("31432"),
    [n(24108), s("ด.ญ.ณิชา พรหมมา")] + answers("31") + [s("1,3")] + answers("124231432"),
    [n(24109), s("ด.ช.ธนกร รุ่งเรือง")] + answers("314124231411"),
    [n(24110), s("ด.ญ.นันทิชา วงศ์ดี")] + answers("414134232432"),
]
room2 = [
    header[:2] + [n(i) for i in range(1, 6)],
    [s("KEY"), None] + answers("21343"),
    [n(24201), s("ด.ช.ปกรณ์ ดีเด่น")] + answers("21343"),
    [n(24202), s("ด.ญ.ปวีณา สายทอง")] + answers("21143"),
    [n(24203), s("ด.ช.พีรพล คงมั่น")] + answers("31342"),
]
sheets = [("ม.3-1", room1), ("ม.3-2", room2)]

content_types = (
    '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
    '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
    '<Default Extension="xml" ContentType="application/xml"/>'
    '<Override PartName="/xl/workbook.xml" '
    'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
    + "".join(f'<Override PartName="/xl/worksheets/sheet{i}.xml" '
              'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
              for i in range(1, len(sheets) + 1))
    + '<Override PartName="/xl/sharedStrings.xml" '
    'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
    '</Types>')
root_rels = (
    '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
    '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
    'officeDocument" Target="xl/workbook.xml"/></Relationships>')
workbook = (
    '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    '<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
    'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>'
    + "".join(f'<sheet name="{escape(name)}" sheetId="{i}" r:id="rId{i}"/>'
              for i, (name, _) in enumerate(sheets, start=1))
    + "</sheets></workbook>")
workbook_rels = (
    '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
    + "".join(f'<Relationship Id="rId{i}" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
              f'relationships/worksheet" Target="worksheets/sheet{i}.xml"/>'
              for i in range(1, len(sheets) + 1))
    + f'<Relationship Id="rId{len(sheets) + 1}" Type="http://schemas.openxmlformats.org/officeDocument/'
    '2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>')

sheet_parts = [sheet_xml(rows) for _, rows in sheets]  # fills the shared strings
strings = (
    '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    f'<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="{len(shared)}" '
    f'uniqueCount="{len(shared)}">'
    + "".join(f"<si><t>{escape(text)}</t></si>" for text in shared) + "</sst>")

with zipfile.ZipFile("workbook.xlsx", "w", zipfile.ZIP_DEFLATED) as xlsx:
    def add(name, text):
        info = zipfile.ZipInfo(name, date_time=(2026, 11, 20, 9, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        xlsx.writestr(info, text.encode("utf-8"))

    add("[Content_Types].xml", content_types)
    add("_rels/.rels", root_rels)
    add("xl/workbook.xml", workbook)
    add("xl/_rels/workbook.xml.rels", workbook_rels)
    for i, part in enumerate(sheet_parts, start=1):
        add(f"xl/worksheets/sheet{i}.xml", part)
    add("xl/sharedStrings.xml", strings)
