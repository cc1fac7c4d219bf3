#!/usr/bin/env python3
# Writes the hand-made seed inputs of both fuzz targets next to this script: small
# calendars in the league site's event layout with the variations the import handles
# (CR LF, folded lines, a byte-order mark, escaped commas, markup characters, every team
# category; the other league sites' calendars, events in another order, without UID
# lines, with a parameter on the summary, and the empty name that must be refused) and,
# for the many-files target, sets of files cut by "~~~~\n" that reach separator rows,
# four-digit row numbers and the 5000-row limit. The sample calendars
# under examples/ are seeds as they are. Run it again after changing it; the files are
# kept in the repository so that no build needs Python.
import pathlib

HERE = pathlib.Path(__file__).resolve().parent
FILE_SEPARATOR = "~~~~\n"
HEAD = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Liga//Spielplan//DE\n"
TAIL = "END:VCALENDAR\n"
# The limits of src/core/run_state.h: the text a file may hold beside its NUL
# (k_file_buffer_size - 1), the files of a run and the rows they may use.
TEXT_LIMIT = (1 << 20) - 1
MAX_FILES = 40
MAX_USED_ROWS = 5000


def event(summary, start="20250913T150000", location="Am Sportplatz 4, Beispielheim, Sporthalle der Grundschule Beispielheim",
          description="Spiel 117, Staffel 4, Kreisklasse West, Spieltag 3", uid="match-117"):
    return ("BEGIN:VEVENT\nUID:" + uid + "\nDTSTAMP:20250801T120000Z\nDTSTART;TZID=Europe/Berlin:" + start +
            "\nDTEND;TZID=Europe/Berlin:" + start + "\nSUMMARY:" + summary + "\nTRANSP:OPAQUE\nLOCATION:" + location +
            "\nDESCRIPTION:" + description + "\nEND:VEVENT\n")


def season(own, others, league, digit_days=None):
    events = []
    for i, other in enumerate(others):
        summary = own + " - " + other if i % 2 == 0 else other + " - " + own
        events.append(event(summary, start="202509%02dT1%d3000" % (1 + i, i % 10), uid="m-%d" % i,
                            description="Spiel %d, Staffel 1, %s, Spieltag %d" % (i, league, i + 1)))
    return HEAD + "".join(events) + TAIL


def folded(text, width=20):
    out = []
    for line in text.split("\n"):
        while len(line) > width:
            out.append(line[:width])
            line = " " + line[width:]
        out.append(line)
    return "\n".join(out)


def compact_file(own, count, first):
    # The shortest events that are read, so that many rows fit into a small input.
    lines = [HEAD]
    for i in range(count):
        summary = own + " - Gast %d" % (first + i) if i % 2 == 0 else "Gast %d - %s" % (first + i, own)
        lines.append("BEGIN:VEVENT\nDTSTART:202510%02dT1800\nSUMMARY:%s\nLOCATION:a, Halle Nord\n"
                     "DESCRIPTION:s, 1, Kreisliga, t\nEND:VEVENT\n" % (i % 28 + 1, summary))
    return "".join(lines) + TAIL


def padded(text, size):
    # An extra property line before the calendar's end brings the text to size bytes.
    pad = "X-PAD:"
    end = text.rindex("END:VCALENDAR")
    fill = size - len(text.encode("utf-8")) - len(pad) - 1
    return text[:end] + pad + "p" * fill + "\n" + text[end:]


def write(folder, name, text):
    path = HERE / folder / name
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(text.encode("utf-8") if isinstance(text, str) else text)


def main():
    plain = season("TSG Musterfeld 2", ["BC Beispielheim 1", "SV Nord 3", "FC Süd 1"], "Kreisklasse West")
    one = "calendar_file"
    write(one, "season_lf.ics", plain)
    write(one, "season_crlf.ics", plain.replace("\n", "\r\n"))
    write(one, "season_folded.ics", folded(plain))
    write(one, "season_folded_tab.ics", folded(plain).replace("\n ", "\n\t"))
    write(one, "season_bom.ics", "\ufeff" + plain)
    write(one, "season_no_final_line_end.ics", plain.rstrip("\n"))
    write(one, "youth_u19.ics", season("JSG Lindenbrück 2", ["TSV A 2", "TSV B 1"], "U19 Bezirksliga"))
    write(one, "youth_u15.ics", season("JSG Lindenbrück U15", ["TSV A 1", "TSV B 2"], "U15 Kreisliga Süd"))
    write(one, "markup_in_names.ics", HEAD + event("SG Nord & Süd 1 - <b>Gast</b> 2",
                                                   location="Weg 1, Ort, Halle <Nord> & Süd",
                                                   description="Spiel 1, Staffel 2, Liga & <Klasse>\\, Rest, x") + TAIL)
    write(one, "escaped_commas.ics", HEAD + event("A 1 - B 2", location="Weg 1\\, Ort\\, Turnhalle Ost",
                                                  description="Spiel 1\\, Staffel 2\\, Kreisliga\\, x") + TAIL)
    write(one, "location_ends_in_comma.ics", HEAD + event("A 1 - B 2", location="Weg 1, Ort,") + TAIL)
    write(one, "utc_start.ics", HEAD + event("A 1 - B 2", start="20250913T130000Z") + TAIL)
    write(one, "summary_only.ics", HEAD + "BEGIN:VEVENT\nSUMMARY:A 1 - B 2\nEND:VEVENT\n" + TAIL)
    # At the size limit: TEXT_LIMIT bytes of text fit with their NUL, one more do not;
    # with CR LF the file is larger than the buffer, its text after the conversion is not.
    for size in (TEXT_LIMIT, TEXT_LIMIT + 1):
        write(one, "size_%d.ics" % size, padded(plain, size))
    write(one, "size_%d_after_crlf.ics" % TEXT_LIMIT, padded(plain, TEXT_LIMIT).replace("\n", "\r\n"))
    write(one, "truncated_last_event.ics", (HEAD + event("A 1 - B 2") + event("B 2 - A 1"))[:-120])
    # The other league sites' calendars, read by property name, with LF line ends; and a
    # file of the league site's layout whose second event gained a line before its start.
    other = HERE.parent.parent / "examples" / "andere-seiten"
    for source, name in (("Tischtennis_2025-2026_Herren2.ics", "table_tennis_utc.ics"),
                         ("Handball_2026-2027_Frauen3.ics", "handball_folded_results.ics"),
                         ("Fussball_2025-2026_Herren1.ics", "football_utc_cancelled.ics")):
        write(one, name, (other / source).read_bytes().replace(b"\r\n", b"\n"))
    original = (HERE.parent.parent / "examples" / "Spielplan_2025-2026_Herren1.ics").read_bytes().replace(b"\r\n", b"\n")
    second = original.find(b"\n", original.find(b"UID:", original.find(b"UID:") + 1)) + 1
    write(one, "reordered_event.ics", original[:second] + b"SEQUENCE:3\n" + original[second:])
    without_uid = b"".join(line + b"\n" for line in original.split(b"\n")[:-1] if not line.startswith(b"UID:"))
    write(one, "no_uid_lines.ics", without_uid.replace(b"SUMMARY:", b"SUMMARY;LANGUAGE=de:"))
    # Starts in the zones of calendar programs, one the file defines, and one the program
    # cannot convert; and a club calendar of the program itself, read back.
    zone = ("BEGIN:VTIMEZONE\nTZID:Mitteleuropa\nBEGIN:STANDARD\nTZOFFSETTO:+0100\nEND:STANDARD\n"
            "BEGIN:DAYLIGHT\nTZOFFSETTO:+0200\nEND:DAYLIGHT\nEND:VTIMEZONE\n")
    zoned = [event("A 1 - B 2", uid="z-%d" % i).replace("DTSTART;TZID=Europe/Berlin:", "DTSTART;TZID=%s:" % name)
             for i, name in enumerate(("/freeassociation.sourceforge.net/Europe/Berlin", "\"W. Europe Standard Time\"",
                                       "Mitteleuropa", "America/New_York"))]
    write(one, "time_zones.ics", HEAD + zone + "".join(zoned) + TAIL)
    golden = (HERE.parent.parent / "tests" / "e2e" / "golden" / "Termarium_2025-2026.ics").read_bytes()
    eleven_events = b"BEGIN:VEVENT\n".join(golden.replace(b"\r\n", b"\n").split(b"BEGIN:VEVENT\n")[:12])
    write(one, "club_calendar.ics", eleven_events.rsplit(b"END:VEVENT\n", 1)[0] + b"END:VEVENT\nEND:VCALENDAR\n")
    # A later event whose home name is empty: it must be refused, never shown as a match.
    write(one, "empty_name.ics", HEAD + event("A 1 - B 2") + event(" - B 2", uid="m-2") + TAIL)

    many = "calendar_files"
    samples = sorted((HERE.parent.parent / "examples").glob("*.ics"))
    write(many, "all_samples", FILE_SEPARATOR.join(p.read_text(encoding="utf-8") for p in samples))
    write(many, "same_file_twice", plain + FILE_SEPARATOR + plain)
    write(many, "empty_files", FILE_SEPARATOR * 3 + plain)
    # As many files as a run takes, each a separator and its matches, fill every usable
    # row; one match more is too many.
    per_file = MAX_USED_ROWS // MAX_FILES - 1
    last = MAX_USED_ROWS - (MAX_FILES - 1) * (per_file + 1) - 1
    files = [compact_file("TuS Linden %d" % (k % 4 + 1), per_file, per_file * k) for k in range(MAX_FILES - 1)]
    first = per_file * (MAX_FILES - 1)
    write(many, "rows_to_the_limit", FILE_SEPARATOR.join(files + [compact_file("TuS Linden 1", last, first)]))
    write(many, "one_row_too_many", FILE_SEPARATOR.join(files + [compact_file("TuS Linden 1", last + 1, first)]))
    # Forty files, the twentieth broken.
    broken = [compact_file("TuS Linden 2", 3, 3 * k) for k in range(40)]
    broken[19] = broken[19][:-60]
    write(many, "twentieth_broken", FILE_SEPARATOR.join(broken))


if __name__ == "__main__":
    main()
