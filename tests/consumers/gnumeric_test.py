# Has Gnumeric's ssconvert, a second reader independent of LibreOffice, open the sample
# run's workbook by its own type detection and export it as CSV, then compares every
# row and cell with the workbook as the XML parser reads it.
#   gnumeric_test.py SAMPLE_DIR OUT_DIR
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from schedule_workbook import (cell_grid, compare_csv, expect, find_output, read_workbook, require_tool,
                               run_check, run_tool)

CSV_EXPORTER = "Gnumeric_stf:stf_csv"
CONVERSION_LIMIT_SECONDS = 300  # generous, so that a hung conversion fails the test


def main():
    sample_dir, out_dir = sys.argv[1:3]
    ssconvert = require_tool("ssconvert", "gnumeric")
    os.makedirs(out_dir, exist_ok=True)
    workbook_path = find_output(sample_dir, ".xml")
    csv_path = os.path.join(os.path.abspath(out_dir), "gnumeric.csv")
    if os.path.exists(csv_path):
        os.remove(csv_path)
    command = [ssconvert, "--export-type=" + CSV_EXPORTER, os.path.abspath(workbook_path), csv_path]
    status, output, errors = run_tool(command, CONVERSION_LIMIT_SECONDS, "ssconvert")
    print((output + errors).decode("utf-8", "replace"))
    expect(status == 0, "ssconvert exited with %d" % status)
    expect(os.path.isfile(csv_path), "ssconvert wrote no CSV: it did not accept the workbook")
    with open(csv_path, "rb") as stream:
        compare_csv(cell_grid(read_workbook(workbook_path)), stream.read(), "Gnumeric")


if __name__ == "__main__":
    run_check(main)
