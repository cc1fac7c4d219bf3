# A member's calendar program keeps up with a moved and a called-off match: khal imports
# the club calendar of a run, the league moves one match by a day (its event keeps its
# UID) and calls off another (STATUS:CANCELLED), the program runs again in the same folder
# and khal imports the new calendar into the same calendar. The member then sees every
# match once, the moved one on its new day only, the called-off one marked cancelled.
#   khal_update_test.py PROGRAM EXAMPLES_DIR WORK_DIR
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from schedule_workbook import expect, require_tool, run_check, run_tool

SAMPLE = "Spielplan_2025-2026_Herren1.ics"
CALENDAR = "Termarium_2025-2026.ics"
MOVED_FROM = "20250913T"  # the first match of the sample, which the league moves to the next day
MOVED_TO = "20250914T"
MOVED_MATCH = "TuS Lindenbr\u00fcck 1 - SG Oberhain 1"
CALLED_OFF_UID = "UID:spiel-4102-2025-2026@liga.example.org"  # the second match, which the league calls off
CALLED_OFF_MATCH = "TV Talheim 1 - TuS Lindenbr\u00fcck 1"
CONFIG = """[calendars]
[[verein]]
path = {calendar}
type = calendar
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
default_timezone = Europe/Berlin
local_timezone = Europe/Berlin
"""


def main():
    khal = require_tool("khal", "khal")
    program, examples, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "verein"))
    config = os.path.join(work, "khal.conf")
    with open(config, "w", encoding="utf-8") as out:
        out.write(CONFIG.format(calendar=os.path.join(work, "verein")))
    download = os.path.join(work, SAMPLE)
    shutil.copy(os.path.join(examples, SAMPLE), download)

    def run_and_import():
        status, _, errors = run_tool([program, download], 60, "termarium")
        expect(status == 0, "termarium failed: %s" % errors.decode("utf-8", "replace"))
        status, _, errors = run_tool([khal, "-c", config, "import", "--batch", "-a", "verein",
                                      os.path.join(work, CALENDAR)], 120, "khal import")
        expect(status == 0, "khal import failed: %s" % errors.decode("utf-8", "replace"))
        status, listed, errors = run_tool([khal, "-c", config, "list", "--format", "{start} {cancelled}{title}",
                                           "--day-format", "", "2025-08-01", "365d"], 120, "khal list")
        expect(status == 0, "khal list failed: %s" % errors.decode("utf-8", "replace"))
        return [line for line in listed.decode("utf-8").splitlines() if line.strip()]

    first = run_and_import()
    expect(len(first) == 22, "the first import shows %d matches, not 22" % len(first))
    expect("2025-09-13 19:30 " + MOVED_MATCH in first, "the match is not on its first day: %s" % first[:3])
    expect("2025-09-20 19:00 " + CALLED_OFF_MATCH in first, "the match to call off is not listed: %s" % first[:3])

    with open(download, encoding="utf-8", newline="") as text:
        calendar = text.read()
    expect(calendar.count(MOVED_FROM) == 2, "the sample's first match has no start and end on its day")
    line_end = "\r\n" if "\r\n" in calendar else "\n"
    expect(calendar.count(CALLED_OFF_UID + line_end) == 1, "the sample has no event %s" % CALLED_OFF_UID)
    calendar = calendar.replace(CALLED_OFF_UID + line_end, CALLED_OFF_UID + line_end + "STATUS:CANCELLED" + line_end)
    with open(download, "w", encoding="utf-8", newline="") as out:
        out.write(calendar.replace(MOVED_FROM, MOVED_TO))

    second = run_and_import()
    moved = [line for line in second if MOVED_MATCH in line]
    expect(moved == ["2025-09-14 19:30 " + MOVED_MATCH], "the moved match stands as %s" % moved)
    # khal marks a cancelled event with the word CANCELLED before its title.
    called_off = [line for line in second if CALLED_OFF_MATCH in line]
    expect(called_off == ["2025-09-20 19:00 CANCELLED Abgesagt: " + CALLED_OFF_MATCH],
           "the called-off match stands as %s" % called_off)
    expect(len(second) == 22, "after the second import %d matches stand, not 22" % len(second))
    print("khal shows the moved match once, on its new day, and the called-off one once, cancelled")


run_check(main)
