# Embeds the sample run's HTML fragment in a club page with the shipped stylesheet,
# loads it in headless Chromium and checks the table the browser built: the header, one
# row per schedule row of the workbook, each cell with the class its team should get and
# the workbook's texts. Keeps a screenshot of the page and checks that it shows the
# whole table in the team colours.
#   chromium_test.py PAGE_TEMPLATE STYLESHEET SAMPLE_DIR OUT_DIR
import html.parser
import os
import pathlib
import re
import shutil
import struct
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from schedule_workbook import (expect, expected_html_class, find_output, read_workbook,
                               require_tool, run_check, run_tool, schedule_rows)

MARKER = "<!-- SCHEDULE FRAGMENT -->"
STYLE_MARKER = "/* TABLE STYLESHEET */"
HEADER = ["Datum/ Zeit", "Spielort", "Liga/ Mannschaft", "Gegner"]
CLASSES = ["Erwachsene_1", "Erwachsene_2", "Jugend_U19_1", "Jugend_U19_2",
           "Jugend_U15_1", "Jugend_U15_2"]
BROWSER_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--hide-scrollbars"]
# Screenshot size: wide enough for the four columns, and per table row more than the
# 16 px line, padding and border of a cell, so that the whole table fits.
SHOT_WIDTH = 1000
SHOT_ROW_HEIGHT = 21
SHOT_MARGIN = 100
# Pixel rows at the bottom of the screenshot that must be page background.
SHOT_BLANK_BOTTOM = 20
BROWSER_LIMIT_SECONDS = 300
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}
WORKBOOK_DATE = re.compile(r"^([^/]*)/([^/]*)/([^,]*), (.*)$", re.S)


class Node:
    def __init__(self, tag, attrs, parent):
        self.tag = tag
        self.attrs = dict(attrs)
        self.parent = parent
        self.children = []  # Nodes and strings in document order

    def text(self):
        return "".join(c if isinstance(c, str) else c.text() for c in self.children)

    def descendants(self, tag):
        for child in self.children:
            if isinstance(child, Node):
                if child.tag == tag:
                    yield child
                yield from child.descendants(tag)


class TreeBuilder(html.parser.HTMLParser):
    """Rebuilds the tree from the browser's serialisation, which closes every element."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.root = Node("#document", [], None)
        self.current = self.root

    def handle_starttag(self, tag, attrs):
        node = Node(tag, attrs, self.current)
        self.current.children.append(node)
        if tag not in VOID:
            self.current = node

    def handle_endtag(self, tag):
        node = self.current
        while node is not None and node.tag != tag:
            node = node.parent
        expect(node is not None and node.parent is not None, "serialised DOM closes unopened <%s>" % tag)
        self.current = node.parent

    def handle_data(self, data):
        self.current.children.append(data)


def run_browser(browser, arguments, out_dir):
    """Runs the browser with a new empty profile; returns its standard output."""
    profile = tempfile.mkdtemp(prefix="chromium-profile-", dir=out_dir)
    command = [browser] + BROWSER_FLAGS + ["--user-data-dir=" + profile] + arguments
    status, output, errors = run_tool(command, BROWSER_LIMIT_SECONDS, "Chromium")
    shutil.rmtree(profile, ignore_errors=True)
    if status != 0:
        print(errors.decode("utf-8", "replace"))
    expect(status == 0, "Chromium exited with %d" % status)
    return output


def page_colours(template):
    """The background colour the page gives each team class, as (r, g, b)."""
    colours = {}
    for name in CLASSES:
        match = re.search(r"td\.%s\s*\{\s*background:\s*#([0-9a-fA-F]{6})" % name, template)
        expect(match is not None, "the page template defines no background for %s" % name)
        colours[name] = tuple(bytes.fromhex(match.group(1)))
    return colours


def png_pixels(path):
    """Width, height and rows of (r, g, b) pixels of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as stream:
        data = stream.read()
    expect(data[:8] == b"\x89PNG\r\n\x1a\n", "%s is no PNG" % path)
    position, compressed = 8, b""
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        chunk = data[position + 8:position + 8 + length]
        position += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            compressed += chunk
    expect(depth == 8 and colour_type in (2, 6) and interlace == 0,
           "unexpected PNG layout: depth %d, colour type %d" % (depth, colour_type))
    step = 3 if colour_type == 2 else 4
    raw = zlib.decompress(compressed)
    stride = width * step
    previous = bytearray(stride)
    rows = []
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        if kind == 1:
            for i in range(step, stride):
                line[i] = (line[i] + line[i - step]) & 0xFF
        elif kind == 2:
            line = bytearray((a + b) & 0xFF for a, b in zip(line, previous))
        elif kind == 3:
            for i in range(stride):
                left = line[i - step] if i >= step else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                a = line[i - step] if i >= step else 0
                b = previous[i]
                c = previous[i - step] if i >= step else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        rows.append([bytes(line[x:x + 3]) for x in range(0, stride, step)])
        previous = line
    return width, height, rows


def expected_cells(row):
    """The four texts of a match row's table cells, taken from the workbook row."""
    date = WORKBOOK_DATE.match(row.date)
    expect(date is not None, "workbook row %d: date %r is not 'year/month/day, weekday'"
           % (row.number, row.date))
    year, month, day, weekday = date.groups()
    return ["%s, %s.%s.%s %s" % (weekday, day, month, year, row.time), row.venue,
            row.league_team, row.opponent]


def check_dom(dom, rows):
    """Checks the table the browser built; returns the number of rows per class."""
    builder = TreeBuilder()
    builder.feed(dom.decode("utf-8"))
    builder.close()
    tables = list(builder.root.descendants("table"))
    expect(len(tables) == 1, "the page has %d tables, expected the schedule's one" % len(tables))
    table_rows = list(tables[0].descendants("tr"))
    expect(len(table_rows) == len(rows) + 1,
           "the browser built %d table rows; the workbook's %d schedule rows and the header need %d"
           % (len(table_rows), len(rows), len(rows) + 1))
    cells_in_rows = sum(len(list(tr.descendants("td"))) for tr in table_rows)
    expect(cells_in_rows == len(list(tables[0].descendants("td"))), "a table cell stands outside a row")
    header = list(table_rows[0].descendants("td"))
    expect([td.text() for td in header] == HEADER and all("class" not in td.attrs for td in header),
           "header cells %r, expected %r without class" % ([td.text() for td in header], HEADER))
    counts = {}
    for row, tr in zip(rows, table_rows[1:]):
        cells = list(tr.descendants("td"))
        if row.is_separator:
            expect(len(cells) == 1 and cells[0].text() == "" and "class" not in cells[0].attrs,
                   "schedule row %d is a separator: one empty plain cell expected, found %r"
                   % (row.number, [(td.attrs, td.text()) for td in cells]))
            continue
        wanted_class = expected_html_class(row.league_team)
        counts[wanted_class] = counts.get(wanted_class, 0) + 1
        wanted_texts = expected_cells(row)
        expect([td.text() for td in cells] == wanted_texts,
               "schedule row %d: cells %r, the workbook row gives %r"
               % (row.number, [td.text() for td in cells], wanted_texts))
        for td in cells:
            expect(td.attrs.get("class") == wanted_class,
                   "schedule row %d (%s): a cell has class %r, expected %r"
                   % (row.number, row.league_team, td.attrs.get("class"), wanted_class))
    return counts


def check_screenshot(path, counts, colours):
    width, height, pixels = png_pixels(path)
    print("screenshot %s: %d x %d" % (path, width, height))
    seen = set()
    for line in pixels:
        seen.update(line)
    for name, number in counts.items():
        if name is not None:
            expect(bytes(colours[name]) in seen,
                   "%d rows have class %s, but its colour #%s is nowhere in the screenshot"
                   % (number, name, bytes(colours[name]).hex()))
    background = pixels[0][0]
    for line in pixels[-SHOT_BLANK_BOTTOM:]:
        expect(all(pixel == background for pixel in line),
               "the table reaches the bottom of the screenshot: it may be cut off")
    expect(len(seen) > 2, "the screenshot is blank")


def main():
    template_path, stylesheet_path, sample_dir, out_dir = sys.argv[1:5]
    browser = require_tool("chromium", "chromium")
    os.makedirs(out_dir, exist_ok=True)
    out_dir = os.path.abspath(out_dir)
    rows = schedule_rows(read_workbook(find_output(sample_dir, ".xml")))
    with open(find_output(sample_dir, ".html"), "rb") as stream:
        fragment = stream.read()
    try:
        fragment_text = fragment.decode("utf-8")
    except UnicodeDecodeError as error:
        expect(False, "the HTML fragment is not UTF-8: %s" % error)
    with open(template_path, encoding="utf-8") as stream:
        template = stream.read()
    with open(stylesheet_path, encoding="utf-8") as stream:
        expect(template.count(STYLE_MARKER) == 1, "the page template has no single %s" % STYLE_MARKER)
        template = template.replace(STYLE_MARKER, stream.read())
    expect(template.count(MARKER) == 1, "the page template has no single %s line" % MARKER)
    colours = page_colours(template)
    page_path = os.path.join(out_dir, "schedule.html")
    with open(page_path, "w", encoding="utf-8") as stream:
        stream.write(template.replace(MARKER, fragment_text))
    url = pathlib.Path(page_path).as_uri()
    counts = check_dom(run_browser(browser, ["--dump-dom", url], out_dir), rows)
    print("DOM: header and %d schedule rows; match rows per class: %s"
          % (len(rows), ", ".join("%s %d" % (name or "plain", n) for name, n in sorted(
              counts.items(), key=lambda item: item[0] or ""))))
    expect(any(name is not None for name in counts), "no schedule row has a team class")
    shot_path = os.path.join(out_dir, "schedule.png")
    if os.path.exists(shot_path):
        os.remove(shot_path)
    size = "%d,%d" % (SHOT_WIDTH, SHOT_MARGIN + SHOT_ROW_HEIGHT * (len(rows) + 1))
    run_browser(browser, ["--window-size=" + size, "--screenshot=" + shot_path, url], out_dir)
    expect(os.path.isfile(shot_path), "Chromium wrote no screenshot")
    check_screenshot(shot_path, counts, colours)


if __name__ == "__main__":
    run_check(main)
