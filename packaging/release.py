# Steps of the release that CMake's own commands do not cover, each reproducible: the
# same inputs give the same bytes.
#   release.py sample PROGRAM EXAMPLES_DIR OUT_DIR
#       runs the program on the sample calendars and on the club of several sports; keeps
#       the console text and the outputs
#   release.py pictures SAMPLE_DIR STYLESHEET OUT_DIR
#       the guide's pictures: the HTML table in the stylesheet (Chromium screenshot), the
#       workbook as a spreadsheet program shows it (LibreOffice to PDF to PNG) and the first
#       printed page of the several sports' match days (Chromium to PDF to PNG)
#   release.py guide TEMPLATE SAMPLE_DIR PICTURES_DIR VERSION OUTPUT
#       the German guide as one HTML file, its pictures and the sample run inside
#   release.py changelog VERSION EPOCH OUTPUT
#       the Debian changelog, compressed without a time stamp
#   release.py compress INPUT OUTPUT
#       a file compressed as Debian wants it (the manual page), without a time stamp
#   release.py zip OUTPUT EPOCH TOP_FOLDER SOURCE=NAME...
#       a zip whose entries have fixed times, fixed modes and a fixed order
import base64
import glob
import gzip
import html
import io
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

SEASON_OUTPUTS = ("Termarium_2025-2026.xml", "Termarium_2025-2026.html")
TOOL_LIMIT_SECONDS = 300
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--hide-scrollbars", "--force-device-scale-factor=1", "--run-all-compositor-stages-before-draw",
                  "--virtual-time-budget=3000"]
PICTURE_ATTEMPTS = 5  # takes of a picture until two in a row agree
TABLE_PICTURE_SIZE = (880, 560)      # the top of the table, in pixels
WORKBOOK_RESOLUTION = 96             # dots per inch of the workbook picture
WORKBOOK_CROP = (0, 0, 860, 560)     # x, y, width, height of its top part, in pixels
MATCH_DAYS_RESOLUTION = 80           # dots per inch of the printed match days' picture
MATCH_DAYS_CROP = (0, 0, 662, 620)   # the top of the first A4 page, in pixels
CLUB_FOLDER = "mehrere-sportarten"   # the sample club of several sports, with collisions
CLUB_MATCH_DAYS = "Termarium_2025-2026_Spieltage.html"
# Every sheet on one page of its own size, so that the picture holds all its columns.
WORKBOOK_PDF = 'pdf:calc_pdf_Export:{"SinglePageSheets":{"type":"boolean","value":"true"}}'
# The workbook's font, "Arial Unicode MS", comes with Office and not with Linux. Without
# it LibreOffice takes a wider font and cuts the date column, which Excel shows whole; a
# font of Arial's widths (Debian's fonts-liberation2) stands in for it in the picture.
WORKBOOK_FONT = "Arial Unicode MS"
STAND_IN_FONT = "Liberation Sans"
FONT_CONFIG = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <alias binding="same"><family>%s</family><prefer><family>%s</family></prefer></alias>
</fontconfig>
""" % (WORKBOOK_FONT, STAND_IN_FONT)


def run(command, **options):
    print("$ " + " ".join(command), flush=True)
    subprocess.run(command, check=True, timeout=TOOL_LIMIT_SECONDS, **options)


def sample(program, examples_dir, out_dir):
    shutil.rmtree(out_dir, ignore_errors=True)
    shutil.copytree(examples_dir, out_dir)
    names = sorted(os.path.basename(path) for path in glob.glob(os.path.join(out_dir, "*.ics")))
    # The order a volunteer would drop them in: adult teams, then U19, then U15.
    names.sort(key=lambda name: (0 if "Herren" in name else 1 if "U19" in name else 2, name))
    completed = subprocess.run([os.path.abspath(program)] + names, cwd=out_dir, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, check=False, timeout=TOOL_LIMIT_SECONDS)
    if completed.returncode != 0:
        sys.exit("the sample run failed:\n" + completed.stdout.decode("utf-8", "replace"))
    with open(os.path.join(out_dir, "console.txt"), "wb") as stream:
        stream.write(completed.stdout)
    club = os.path.join(out_dir, CLUB_FOLDER)
    club_names = sorted(os.path.basename(path) for path in glob.glob(os.path.join(club, "*.ics")))
    completed = subprocess.run([os.path.abspath(program)] + club_names, cwd=club, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, check=False, timeout=TOOL_LIMIT_SECONDS)
    if completed.returncode != 0:
        sys.exit("the run of the club of several sports failed:\n" + completed.stdout.decode("utf-8", "replace"))


def take_picture(take, target):
    """Takes a picture until two takes in a row give the same bytes, so that a renderer
    caught half-way (a busy machine, a font not yet loaded) never reaches the release."""
    previous = None
    for _ in range(PICTURE_ATTEMPTS):
        take(target)
        with open(target, "rb") as stream:
            current = stream.read()
        if current == previous:
            return
        previous = current
    sys.exit("the picture %s came out different on every take" % target)


def pictures(sample_dir, stylesheet, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        # The table as a club page shows it, with the stylesheet that ships for it.
        with open(stylesheet, encoding="utf-8") as stream:
            style = stream.read()
        with open(os.path.join(sample_dir, SEASON_OUTPUTS[1]), encoding="utf-8") as stream:
            fragment = stream.read()
        page = os.path.join(work, "tabelle.html")
        with open(page, "w", encoding="utf-8") as stream:
            stream.write('<!DOCTYPE html><html lang="de"><head><meta charset="utf-8"><style>body{margin:12px;'
                         'background:#ffffff}' + style + '</style></head><body>' + fragment + '</body></html>')

        def screenshot(target):
            profile = tempfile.mkdtemp(dir=work)
            run(["chromium"] + CHROMIUM_FLAGS + ["--user-data-dir=" + profile,
                 "--window-size=%d,%d" % TABLE_PICTURE_SIZE, "--screenshot=" + target, pathlib.Path(page).as_uri()],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        take_picture(screenshot, os.path.join(out_dir, "tabelle.png"))

        # The workbook as LibreOffice opens it by double-click, as one page cut to its top.
        workbook = os.path.join(work, SEASON_OUTPUTS[0])
        shutil.copyfile(os.path.join(sample_dir, SEASON_OUTPUTS[0]), workbook)
        font_config = os.path.join(work, "fonts.conf")
        with open(font_config, "w", encoding="utf-8") as stream:
            stream.write(FONT_CONFIG)
        stand_in = subprocess.run(["fc-match", "--format=%{family}", WORKBOOK_FONT], stdout=subprocess.PIPE,
                                  env=dict(os.environ, FONTCONFIG_FILE=font_config), check=True,
                                  timeout=TOOL_LIMIT_SECONDS).stdout.decode("utf-8")
        if STAND_IN_FONT not in stand_in.split(","):
            sys.exit("the workbook picture needs %s in place of %s (apt-get install fonts-liberation2); "
                     "fontconfig offers %s" % (STAND_IN_FONT, WORKBOOK_FONT, stand_in))

        def printout(target):
            office = tempfile.mkdtemp(dir=work)
            run(["soffice", "-env:UserInstallation=" + pathlib.Path(office).as_uri(),
                 "--headless", "--norestore", "--nologo", "--nolockcheck", "--convert-to", WORKBOOK_PDF,
                 "--outdir", work, workbook], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                env=dict(os.environ, FONTCONFIG_FILE=font_config))
            x, y, width, height = WORKBOOK_CROP
            run(["pdftoppm", "-png", "-r", str(WORKBOOK_RESOLUTION), "-f", "1", "-l", "1", "-singlefile",
                 "-x", str(x), "-y", str(y), "-W", str(width), "-H", str(height),
                 os.path.join(work, "Termarium_2025-2026.pdf"), target[:-len(".png")]])

        take_picture(printout, os.path.join(out_dir, "arbeitsmappe.png"))

        # The match days of the club of several sports as the browser prints them on A4.
        match_days = pathlib.Path(sample_dir, CLUB_FOLDER, CLUB_MATCH_DAYS).resolve().as_uri()

        def printed_page(target):
            profile = tempfile.mkdtemp(dir=work)
            pdf = os.path.join(work, "spieltage.pdf")
            run(["chromium"] + CHROMIUM_FLAGS + ["--user-data-dir=" + profile, "--no-pdf-header-footer",
                 "--print-to-pdf=" + pdf, match_days], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            x, y, width, height = MATCH_DAYS_CROP
            run(["pdftoppm", "-png", "-r", str(MATCH_DAYS_RESOLUTION), "-f", "1", "-l", "1", "-singlefile",
                 "-x", str(x), "-y", str(y), "-W", str(width), "-H", str(height), pdf, target[:-len(".png")]])

        take_picture(printed_page, os.path.join(out_dir, "spieltage.png"))


def data_uri(path):
    with open(path, "rb") as stream:
        return "data:image/png;base64," + base64.b64encode(stream.read()).decode("ascii")


def guide(template, sample_dir, pictures_dir, version, output):
    with open(template, encoding="utf-8") as stream:
        text = stream.read()
    with open(os.path.join(sample_dir, "console.txt"), encoding="utf-8") as stream:
        console = stream.read()
    replacements = {
        "@VERSION@": version,
        "@CONSOLE@": html.escape(console),
        "@TABLE_PICTURE@": data_uri(os.path.join(pictures_dir, "tabelle.png")),
        "@WORKBOOK_PICTURE@": data_uri(os.path.join(pictures_dir, "arbeitsmappe.png")),
        "@MATCH_DAYS_PICTURE@": data_uri(os.path.join(pictures_dir, "spieltage.png")),
    }
    for marker, value in replacements.items():
        if marker not in text:
            sys.exit("the guide template lacks %s" % marker)
        text = text.replace(marker, value)
    with open(output, "w", encoding="utf-8", newline="\n") as stream:
        stream.write(text)


def changelog(version, epoch, output):
    date = time.strftime("%a, %d %b %Y %H:%M:%S +0000", time.gmtime(int(epoch)))
    text = ("termarium (%s) unstable; urgency=medium\n\n"
            "  * Erste Ausgabe: Windows-Programm, Browser-Seite und Debian-Paket.\n\n"
            " -- Termarium-Autoren <termarium@example.org>  %s\n" % (version, date))
    write_compressed(text.encode("utf-8"), output)


def write_compressed(data, output):
    buffer = io.BytesIO()
    with gzip.GzipFile(filename="", mode="wb", fileobj=buffer, compresslevel=9, mtime=0) as stream:
        stream.write(data)
    with open(output, "wb") as stream:
        stream.write(buffer.getvalue())


def compress(source, output):
    with open(source, "rb") as stream:
        write_compressed(stream.read(), output)


def make_zip(output, epoch, top, entries):
    stamp = time.gmtime(max(int(epoch), 315532800))  # a zip cannot hold a time before 1980
    members = []
    for entry in entries:
        source, name = entry.split("=", 1)
        members.append((top + "/" + name, source))
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with zipfile.ZipFile(output, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        folders = sorted({name.rsplit("/", i)[0] + "/" for name, _ in members for i in range(1, name.count("/") + 1)})
        for folder in folders:
            info = zipfile.ZipInfo(folder, date_time=stamp[:6])
            info.external_attr = (0o40755 << 16) | 0x10
            archive.writestr(info, b"")
        for name, source in sorted(members):
            info = zipfile.ZipInfo(name, date_time=stamp[:6])
            info.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(source, "rb") as stream:
                archive.writestr(info, stream.read(), compresslevel=9)


def main():
    command, arguments = sys.argv[1], sys.argv[2:]
    if command == "sample":
        sample(*arguments)
    elif command == "pictures":
        pictures(*arguments)
    elif command == "guide":
        guide(*arguments)
    elif command == "changelog":
        changelog(*arguments)
    elif command == "compress":
        compress(*arguments)
    elif command == "zip":
        make_zip(arguments[0], arguments[1], arguments[2], arguments[3:])
    else:
        sys.exit("unknown step " + command)


if __name__ == "__main__":
    main()
