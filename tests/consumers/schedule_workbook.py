# Shared helpers of the consumer checks: an independent reading of the season workbook
# with the standard XML parser, the CSS class each schedule row should carry, and the
# outcome conventions (exit 77 for a missing tool, 1 for a failed check).
import csv
import glob
import io
import os
import re
import shutil
import signal
import subprocess
import sys
import xml.etree.ElementTree as ET

SKIPPED = 77
SS = "urn:schemas-microsoft-com:office:spreadsheet"


def q(name):
    return "{%s}%s" % (SS, name)


class CheckFailed(Exception):
    pass


def skip(reason):
    print("SKIPPED: " + reason)
    sys.exit(SKIPPED)


def require_tool(name, package):
    path = shutil.which(name)
    if path is None:
        skip("%s is not installed (Debian package %s)" % (name, package))
    return path


def expect(condition, message):
    if not condition:
        raise CheckFailed(message)


def run_check(main):
    """Runs main(), turning a failed expectation into exit status 1 with its message."""
    try:
        main()
    except CheckFailed as failure:
        print("FAILED: %s" % failure)
        sys.exit(1)
    print("PASSED")


def run_tool(command, limit_seconds, name):
    """Runs a reader in a session of its own, so that a hung one is ended with all its
    processes and fails the check; returns (exit status, standard output, standard error)
    as bytes."""
    print("$ " + " ".join(command))
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               stdin=subprocess.DEVNULL, start_new_session=True)
    try:
        output, errors = process.communicate(timeout=limit_seconds)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        expect(False, "%s did not finish within %d s" % (name, limit_seconds))
    return process.returncode, output, errors


def find_output(sample_dir, suffix):
    """The one output of the sample run with the given suffix (.xml, .html, .ics, or
    _Spieltage.html for the match days, which the plain .html leaves out)."""
    found = sorted(path for path in glob.glob(os.path.join(sample_dir, "Termarium_*" + suffix))
                   if suffix == "_Spieltage.html" or not path.endswith("_Spieltage.html"))
    expect(len(found) == 1, "expected one Termarium_*%s in %s, found %s" % (suffix, sample_dir, found))
    expect(os.path.getsize(found[0]) > 0, "%s is empty" % found[0])
    return found[0]


class Cell:
    def __init__(self, column, style, kind, text):
        self.column = column  # 1-based column index
        self.style = style  # effective style ID
        self.kind = kind  # "Number", "String", ... or None for a cell without data
        self.text = text  # data text, "" without data


class Workbook:
    def __init__(self, fills, rows):
        self.fills = fills  # style ID -> fill colour "RRGGBB" of a solid fill
        self.rows = rows  # Sheet1 rows in order: list of (1-based row index, [Cell])


def read_workbook(path):
    """Parses the workbook and returns its style fills and the cells of its first sheet."""
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError as error:
        raise CheckFailed("%s is not well-formed XML: %s" % (path, error))
    expect(root.tag == q("Workbook"), "root element is %s, not Workbook" % root.tag)
    fills = {}
    styles = root.find(q("Styles"))
    expect(styles is not None, "workbook has no Styles")
    for style in styles.findall(q("Style")):
        interior = style.find(q("Interior"))
        if interior is not None and interior.get(q("Pattern")) == "Solid" and interior.get(q("Color")):
            fills[style.get(q("ID"))] = interior.get(q("Color")).lstrip("#").upper()
    sheets = root.findall(q("Worksheet"))
    expect(sheets, "workbook has no Worksheet")
    table = sheets[0].find(q("Table"))
    expect(table is not None, "first worksheet has no Table")
    column_styles = {}
    column_index = 0
    for column in table.findall(q("Column")):
        column_index = int(column.get(q("Index"), column_index + 1))
        column_styles[column_index] = column.get(q("StyleID"))
    rows = []
    row_index = 0
    for row in table.findall(q("Row")):
        row_index = int(row.get(q("Index"), row_index + 1))
        cells = []
        column_index = 0
        for cell in row.findall(q("Cell")):
            column_index = int(cell.get(q("Index"), column_index + 1))
            style = (cell.get(q("StyleID")) or row.get(q("StyleID"))
                     or column_styles.get(column_index) or table.get(q("StyleID")))
            data = cell.find(q("Data"))
            kind = data.get(q("Type")) if data is not None else None
            text = "".join(data.itertext()) if data is not None else ""
            cells.append(Cell(column_index, style, kind, text))
        rows.append((row_index, cells))
    return Workbook(fills, rows)


def cell_grid(workbook):
    """The sheet as a list of rows of texts, row i holding spreadsheet row i + 1."""
    height = max((index for index, _ in workbook.rows), default=0)
    width = max((cell.column for _, cells in workbook.rows for cell in cells), default=0)
    grid = [[None] * width for _ in range(height)]
    for index, cells in workbook.rows:
        for cell in cells:
            grid[index - 1][cell.column - 1] = cell
    return grid


class ScheduleRow:
    """One table row of the schedule as the workbook shows it (columns 2 to 7)."""

    def __init__(self, number, cells):
        texts = {cell.column: cell.text for cell in cells}
        self.number = number
        self.is_separator = all(texts.get(column, "") == "" for column in range(2, 8))
        self.date = texts.get(2, "")
        self.time = texts.get(3, "")
        self.venue = texts.get(4, "")
        self.home_away = texts.get(5, "")
        self.league_team = texts.get(6, "")
        self.opponent = texts.get(7, "")


def schedule_rows(workbook):
    """The table rows the writer added: everything between the fixed first row and the
    closing row, after checking that column 1 numbers every row 1, 2, 3 ... without a gap."""
    rows = workbook.rows
    expect(len(rows) >= 3, "Sheet1 has %d rows; header, row 1 and the closing row at least" % len(rows))
    numbered = rows[1:]
    for position, (index, cells) in enumerate(numbered, start=1):
        first = [cell for cell in cells if cell.column == 1]
        expect(first and first[0].kind == "Number", "sheet row %d has no number cell" % index)
        expect(float(first[0].text) == position,
               "sheet row %d is numbered %r, expected %d" % (index, first[0].text, position))
    return [ScheduleRow(position, cells) for position, (_, cells) in enumerate(numbered[1:-1], start=2)]


LEAGUE_TEAM = re.compile(r"^(.*) / (.)\.$", re.S)

# Classes of the club's first and second team per category, in the order the league
# text is tested; a category's third and further teams have no class.
CATEGORY_CLASSES = [
    (("U19", "A-Jugend", "A-Junioren", "A-Juniorinnen", "männliche A", "weibliche A", "Jugend A", "Jungen 19",
      "Mädchen 19"), "Jugend_U19_"),
    (("U15", "C-Jugend", "C-Junioren", "C-Juniorinnen", "männliche C", "weibliche C", "Jugend C", "Jungen 15",
      "Mädchen 15"), "Jugend_U15_"),
    (("liga", "klasse", "Liga", "Klasse"), "Erwachsene_"),
]


def expected_html_class(league_team):
    """The class a row's cells should carry, from the league-and-team text of the
    workbook ("Bezirksliga / 2."); None for plain cells."""
    match = LEAGUE_TEAM.match(league_team)
    expect(match is not None, "league and team text %r does not end in ' / <digit>.'" % league_team)
    league, digit = match.group(1), match.group(2)
    for words, prefix in CATEGORY_CLASSES:
        if any(word in league for word in words):
            return prefix + digit if digit in ("1", "2") else None
    return None


def expected_text(cell):
    return "" if cell is None else cell.text


def same_value(cell, shown):
    """True when a reader shows a workbook cell's content: a number as its value (the
    program writes 02 for the number 2), a text byte for byte."""
    if cell is not None and cell.kind == "Number":
        try:
            return float(shown) == float(cell.text)
        except ValueError:
            return False
    return shown == expected_text(cell)


def compare_csv(grid, raw, reader):
    """Checks that a reader's CSV export (bytes) shows every row and cell of the grid."""
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as error:
        expect(False, "the CSV of %s is not UTF-8: %s" % (reader, error))
    lines = list(csv.reader(io.StringIO(text, newline="")))
    expect(len(lines) == len(grid), "workbook has %d sheet rows, %s shows %d" % (len(grid), reader, len(lines)))
    for number, (cells, shown) in enumerate(zip(grid, lines), start=1):
        width = max(len(cells), len(shown))
        cells = cells + [None] * (width - len(cells))
        shown = shown + [""] * (width - len(shown))
        for column, (cell, value) in enumerate(zip(cells, shown), start=1):
            expect(same_value(cell, value), "row %d column %d: workbook %r, %s shows %r"
                   % (number, column, expected_text(cell), reader, value))
    print("%s: all %d rows and their cells match the workbook" % (reader, len(lines)))
