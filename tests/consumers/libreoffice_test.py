# Opens the sample run's workbook in headless LibreOffice as a double-click does (its own
# type detection, no filter named) and converts it to CSV or to .xlsx, then compares
# what arrived with the workbook as the XML parser reads it: every row and cell as the
# program wrote it (row numbers as plain numbers), UTF-8 texts, and (for .xlsx) the fill
# colour of every team cell.
#   libreoffice_test.py csv|xlsx SAMPLE_DIR OUT_DIR
import os
import pathlib
import shutil
import sys
import xml.etree.ElementTree as ET
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from schedule_workbook import (cell_grid, compare_csv, expect, expected_text, find_output,
                               read_workbook, require_tool, run_check, run_tool, same_value,
                               schedule_rows)

# CSV export: comma, double quotes, character set 76 (UTF-8), start at line 1.
CSV_FILTER = "csv:Text - txt - csv (StarCalc):44,34,76,1"
XLSX_FILTER = "xlsx:Calc MS Excel 2007 XML"
AWAY = "Ausw\u00e4rts"
# The schedule must be longer than the 25 rows the workbook template declares.
TEMPLATE_ROWS = 25
# Generous bound for one conversion, so that a hung office process fails the test.
CONVERSION_LIMIT_SECONDS = 300


def convert(office, workbook_path, target, out_dir):
    """Converts the workbook with a private, fresh profile; returns the converted file."""
    out_dir = os.path.abspath(out_dir)
    profile = os.path.join(out_dir, "libreoffice-profile-" + target.split(":")[0])
    shutil.rmtree(profile, ignore_errors=True)
    stem = os.path.splitext(os.path.basename(workbook_path))[0]
    result_path = os.path.join(out_dir, stem + "." + target.split(":")[0])
    if os.path.exists(result_path):
        os.remove(result_path)
    command = [office, "-env:UserInstallation=" + pathlib.Path(profile).as_uri(), "--headless",
               "--norestore", "--nologo", "--nolockcheck",
               "--convert-to", target, "--outdir", out_dir, os.path.abspath(workbook_path)]
    status, output, errors = run_tool(command, CONVERSION_LIMIT_SECONDS, "LibreOffice")
    print((output + errors).decode("utf-8", "replace"))
    shutil.rmtree(profile, ignore_errors=True)
    expect(status == 0, "LibreOffice exited with %d" % status)
    expect(os.path.isfile(result_path) and os.path.getsize(result_path) > 0,
           "LibreOffice wrote no %s: it did not accept the workbook" % result_path)
    return result_path


def check_common(workbook):
    rows = schedule_rows(workbook)
    expect(len(workbook.rows) > TEMPLATE_ROWS,
           "the sample schedule has %d sheet rows; more than %d are needed to show that longer "
           "tables arrive whole" % (len(workbook.rows), TEMPLATE_ROWS))
    away = sum(1 for row in rows if row.home_away == AWAY)
    expect(away > 0, "the sample schedule has no away match, so the UTF-8 check would prove nothing")
    print("workbook: %d sheet rows, %d table rows, %d away matches"
          % (len(workbook.rows), len(rows), away))


def check_csv(office, workbook_path, out_dir):
    workbook = read_workbook(workbook_path)
    check_common(workbook)
    grid = cell_grid(workbook)
    csv_path = convert(office, workbook_path, CSV_FILTER, out_dir)
    with open(csv_path, "rb") as stream:
        raw = stream.read()
    away_cells = sum(1 for line in grid for cell in line if cell is not None and AWAY in cell.text)
    expect(raw.count(AWAY.encode("utf-8")) == away_cells,
           "workbook has %d cells with %s, the CSV %d times the UTF-8 bytes"
           % (away_cells, AWAY, raw.count(AWAY.encode("utf-8"))))
    compare_csv(grid, raw, "LibreOffice")


XL = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
RELS = "{http://schemas.openxmlformats.org/package/2006/relationships}"
DOC_RELS = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}"


def column_number(reference):
    letters = "".join(ch for ch in reference if ch.isalpha())
    number = 0
    for ch in letters:
        number = number * 26 + ord(ch) - ord("A") + 1
    return number


def read_xlsx(path):
    """Cells of the first sheet as {(row, column): (text, fill colour or None)}."""
    with zipfile.ZipFile(path) as archive:
        styles = ET.fromstring(archive.read("xl/styles.xml"))
        fills = []
        for fill in styles.find(XL + "fills").findall(XL + "fill"):
            pattern = fill.find(XL + "patternFill")
            colour = None
            if pattern is not None and pattern.get("patternType") == "solid":
                foreground = pattern.find(XL + "fgColor")
                if foreground is not None and foreground.get("rgb"):
                    colour = foreground.get("rgb")[-6:].upper()
            fills.append(colour)
        formats = [int(xf.get("fillId", "0")) for xf in styles.find(XL + "cellXfs").findall(XL + "xf")]
        shared = []
        if "xl/sharedStrings.xml" in archive.namelist():
            for item in ET.fromstring(archive.read("xl/sharedStrings.xml")).findall(XL + "si"):
                shared.append("".join(t.text or "" for t in item.iter(XL + "t")))
        book = ET.fromstring(archive.read("xl/workbook.xml"))
        first_sheet = book.find(XL + "sheets").findall(XL + "sheet")[0]
        relation_id = first_sheet.get(DOC_RELS + "id")
        relations = ET.fromstring(archive.read("xl/_rels/workbook.xml.rels"))
        target = [r.get("Target") for r in relations.findall(RELS + "Relationship")
                  if r.get("Id") == relation_id][0]
        sheet = ET.fromstring(archive.read(target.lstrip("/") if target.startswith("/")
                                           else "xl/" + target))
    cells = {}
    for row in sheet.find(XL + "sheetData").findall(XL + "row"):
        for cell in row.findall(XL + "c"):
            value = cell.find(XL + "v")
            kind = cell.get("t", "n")
            if kind == "s":
                text = shared[int(value.text)]
            elif kind == "inlineStr":
                text = "".join(t.text or "" for t in cell.iter(XL + "t"))
            else:
                text = value.text if value is not None and value.text else ""
            colour = fills[formats[int(cell.get("s", "0"))]]
            cells[(int(row.get("r")), column_number(cell.get("r")))] = (text, colour)
    return cells


def check_xlsx(office, workbook_path, out_dir):
    workbook = read_workbook(workbook_path)
    check_common(workbook)
    grid = cell_grid(workbook)
    xlsx_path = convert(office, workbook_path, XLSX_FILTER, out_dir)
    cells = read_xlsx(xlsx_path)
    used_fills = set()
    for row_number, line in enumerate(grid, start=1):
        for column, cell in enumerate(line, start=1):
            text, colour = cells.get((row_number, column), ("", None))
            expect(same_value(cell, text), "row %d column %d: workbook %r, .xlsx %r"
                   % (row_number, column, expected_text(cell), text))
            wanted = workbook.fills.get(cell.style) if cell is not None else None
            if wanted is not None:
                used_fills.add(wanted)
                expect(colour == wanted, "row %d column %d: style %s has fill %s, the .xlsx cell %s"
                       % (row_number, column, cell.style, wanted, colour))
    last_row = max((row for row, _ in cells), default=0)
    expect(last_row == len(grid), "workbook has %d sheet rows, the .xlsx %d" % (len(grid), last_row))
    expect(used_fills, "no cell of the sample schedule has a team colour")
    print(".xlsx: all %d rows match; team fills present: %s" % (last_row, " ".join(sorted(used_fills))))


def main():
    mode, sample_dir, out_dir = sys.argv[1:4]
    office = require_tool("soffice", "libreoffice-calc-nogui")
    os.makedirs(out_dir, exist_ok=True)
    workbook_path = find_output(sample_dir, ".xml")
    {"csv": check_csv, "xlsx": check_xlsx}[mode](office, workbook_path, out_dir)


if __name__ == "__main__":
    run_check(main)
