# Has xmllint check that every workbook is well-formed XML: the sample run's workbook
# and each workbook kept under the tests (golden files), recognised by their
# spreadsheet processing instruction.
#   xmllint_test.py SAMPLE_DIR TESTS_DIR
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from schedule_workbook import expect, find_output, require_tool, run_check

WORKBOOK_MARK = b'<?mso-application progid="Excel.Sheet"?>'
# Only the prolog is read to recognise a workbook.
PROLOG_BYTES = 200


def kept_workbooks(tests_dir):
    found = []
    for folder, _, names in os.walk(tests_dir):
        for name in sorted(names):
            if name.endswith(".xml"):
                path = os.path.join(folder, name)
                with open(path, "rb") as stream:
                    if WORKBOOK_MARK in stream.read(PROLOG_BYTES):
                        found.append(path)
    return sorted(found)


def main():
    sample_dir, tests_dir = sys.argv[1:3]
    xmllint = require_tool("xmllint", "libxml2-utils")
    workbooks = [find_output(sample_dir, ".xml")] + kept_workbooks(tests_dir)
    failed = []
    for path in workbooks:
        completed = subprocess.run([xmllint, "--noout", path], capture_output=True, text=True)
        print("%s %s" % ("ok    " if completed.returncode == 0 else "BROKEN", path))
        if completed.returncode != 0:
            print(completed.stdout + completed.stderr)
            failed.append(path)
    expect(not failed, "%d of %d workbooks are not well-formed: %s"
           % (len(failed), len(workbooks), ", ".join(failed)))
    print("%d workbooks well-formed" % len(workbooks))


if __name__ == "__main__":
    run_check(main)
