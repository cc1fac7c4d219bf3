# Two independent calendar readers (the Python packages icalendar and vobject) read the
# club calendar of a run, and every event is compared with what it came from: the team
# calendars the run read (read by the same readers) and the workbook's rows.
#   calendar_readers_test.py RUN_DIR...
# Each RUN_DIR holds the calendars of one run and its three outputs. Every match of the
# calendars must stand in the club calendar once (a match in two files of the club, once),
# at its time in Europe/Berlin, with its summary's two teams and its whole location (cut
# at 149 bytes). A live match has the league of its workbook row; a called-off one (its
# source STATUS:CANCELLED) stands cancelled, its summary marked, and has no workbook row.
import datetime
import glob
import os
import sys
import zoneinfo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from schedule_workbook import expect, find_output, read_workbook, run_check, schedule_rows, skip

try:
    import icalendar
    import vobject
except ImportError as missing:
    skip("a calendar reader is not installed (%s; Debian packages python3-icalendar python3-vobject)" % missing)

BERLIN = zoneinfo.ZoneInfo("Europe/Berlin")
LOCATION_BYTES = 149
WEEKDAYS = ["Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"]
CALLED_OFF = "Abgesagt: "  # what the club calendar puts before a called-off match's summary


def wall_clock(start):
    """A start as the date and the time ("HH:MM", or "--:--" for a whole day) in German
    time: an aware time converted, a floating one taken as German already."""
    if not isinstance(start, datetime.datetime):
        return start, "--:--"
    if start.tzinfo is not None:
        start = start.astimezone(BERLIN)
    return start.date(), start.strftime("%H:%M")


def cut_location(text):
    data = text.encode("utf-8")[:LOCATION_BYTES]
    return data.decode("utf-8", errors="ignore")


def is_cancelled(status):
    return str(status or "").upper() == "CANCELLED"


class Event:
    """What the club calendar must show of one match, in German time."""

    def __init__(self, day, time, summary, location, cancelled, league=None):
        self.day, self.time, self.summary, self.location, self.league = day, time, summary, location, league
        self.cancelled = cancelled

    def describe(self):
        return "%s %s %s" % (self.day, self.time, self.summary)


def source_matches(run_dir):
    """Every match of the run's team calendars, called off or not."""
    matches = []
    for path in sorted(glob.glob(os.path.join(run_dir, "*.ics"))):
        if os.path.basename(path).startswith("Termarium_"):
            continue
        with open(path, "rb") as stream:
            calendar = icalendar.Calendar.from_ical(stream.read())
        for event in calendar.walk("VEVENT"):
            day, time = wall_clock(event.decoded("DTSTART"))
            matches.append(Event(day, time, str(event.get("SUMMARY")), str(event.get("LOCATION", "")),
                                 is_cancelled(event.get("STATUS"))))
    return matches


def read_with_icalendar(text):
    calendar = icalendar.Calendar.from_ical(text)
    expect(str(calendar.get("VERSION")) == "2.0", "VERSION is %r" % calendar.get("VERSION"))
    events = []
    for event in calendar.walk("VEVENT"):
        start = event.decoded("DTSTART")
        if isinstance(start, datetime.datetime):
            expect(start.tzinfo is not None, "%s: a floating start" % event.get("SUMMARY"))
            # As long as the match days reckon it: 90 minutes, a U19 match 75, a U15 match 60.
            expect(event.decoded("DURATION") in [datetime.timedelta(minutes=m) for m in (90, 75, 60)],
                   "%s: duration" % event.get("SUMMARY"))
        categories = event.get("CATEGORIES")
        league = "" if categories is None else ",".join(str(c) for c in categories.cats)
        day, time = wall_clock(start)
        found = Event(day, time, str(event.get("SUMMARY")), str(event.get("LOCATION", "")),
                      is_cancelled(event.get("STATUS")), league)
        found.uid = str(event.get("UID"))
        events.append(found)
    return events


def read_with_vobject(text):
    calendar = vobject.readOne(text.decode("utf-8"))
    events = []
    for event in calendar.vevent_list:
        start = event.dtstart.value
        if isinstance(start, datetime.datetime):
            expect(start.tzinfo is not None, "%s: a floating start" % event.summary.value)
            # The zone the file defines must give the same offset as the time-zone database.
            expect(start.utcoffset() == start.astimezone(BERLIN).utcoffset(),
                   "%s: offset %s differs from Europe/Berlin" % (event.summary.value, start.utcoffset()))
        location = event.location.value if hasattr(event, "location") else ""
        league = ",".join(event.categories.value) if hasattr(event, "categories") else ""
        day, time = wall_clock(start)
        status = event.status.value if hasattr(event, "status") else ""
        found = Event(day, time, event.summary.value, location, is_cancelled(status), league)
        found.uid = event.uid.value
        events.append(found)
    return events


def teams(event):
    """Home and away team of an event's summary; the called-off mark and the league that a
    club team's shared name adds left out."""
    summary = event.summary[len(CALLED_OFF):] if event.cancelled else event.summary
    home, separator, away = summary.partition(" - ")
    expect(separator and home and away, "summary %r names no two teams" % event.summary)
    suffix = " (%s)" % event.league
    return tuple(side[:-len(suffix)] if event.league and side.endswith(suffix) else side
                 for side in (home.strip(), away.strip()))


def check_run(run_dir):
    path = find_output(run_dir, ".ics")
    with open(path, "rb") as stream:
        text = stream.read()
    expect(b"\n" not in text.replace(b"\r\n", b""), "%s has a line end other than CR LF" % path)
    by_icalendar = read_with_icalendar(text)
    by_vobject = read_with_vobject(text)
    expect(len(by_icalendar) == len(by_vobject),
           "icalendar reads %d events, vobject %d" % (len(by_icalendar), len(by_vobject)))
    for one, other in zip(by_icalendar, by_vobject):
        expect(vars(one) == vars(other), "the readers differ: %r and %r" % (vars(one), vars(other)))
    uids = [event.uid for event in by_icalendar]
    expect(len(set(uids)) == len(uids), "UIDs repeat")
    for event in by_icalendar:
        expect(event.summary.startswith(CALLED_OFF) == event.cancelled,
               "%s: cancelled %s, but its summary says otherwise" % (event.describe(), event.cancelled))
    live = [event for event in by_icalendar if not event.cancelled]

    # The workbook's match rows in order, each a live event; the calendar leaves out a
    # repeated match only, the workbook every called-off one.
    rows = [row for row in schedule_rows(read_workbook(find_output(run_dir, ".xml"))) if not row.is_separator]
    events = iter(live)
    event = next(events, None)
    for row in rows:
        day = datetime.datetime.strptime(row.date[:10], "%Y/%m/%d").date()
        expect(row.date[12:] == WEEKDAYS[day.weekday()], "row %d: weekday of %s" % (row.number, row.date))
        if event is not None and (event.day, event.time) == (day, row.time) and row.opponent in teams(event):
            expect(row.league_team.startswith(event.league + " / "),
                   "row %d: league %r, the calendar says %r" % (row.number, row.league_team, event.league))
            event = next(events, None)
        else:
            # Only a match already in the calendar may be missing here.
            expect(any((e.day, e.time) == (day, row.time) and row.opponent in teams(e) for e in live),
                   "row %d (%s %s %s) is not in the calendar" % (row.number, row.date, row.time, row.opponent))
    expect(event is None, "event %s has no workbook row in its place" % (event.describe() if event else ""))

    # Every match of the team calendars, once, with its location, called off as it was there.
    sources = source_matches(run_dir)
    for event in by_icalendar:
        home, away = teams(event)
        same = [s for s in sources if (s.day, s.time, s.cancelled) == (event.day, event.time, event.cancelled)
                and home in s.summary and away in s.summary]
        expect(same, "%s stands in no team calendar" % event.describe())
        expect(all(cut_location(s.location) == event.location for s in same),
               "%s: location %r, the team calendar says %r" % (event.describe(), event.location, same[0].location))
    for source in sources:
        placed = [e for e in by_icalendar if (e.day, e.time, e.cancelled) == (source.day, source.time, source.cancelled)
                  and all(name in source.summary for name in teams(e))]
        expect(len(placed) == 1, "%s%s stands %d times in the club calendar"
               % ("called off: " if source.cancelled else "", source.describe(), len(placed)))
    print("%s: %d events (%d called off), read alike by icalendar and vobject, each in place"
          " (%d workbook rows, %d team events)"
          % (path, len(by_icalendar), len(by_icalendar) - len(live), len(rows), len(sources)))


def main():
    for run_dir in sys.argv[1:]:
        check_run(run_dir)


if __name__ == "__main__":
    run_check(main)
