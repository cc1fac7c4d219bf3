// End-to-end runs of the built program on hostile input and machine faults. Every refused
// input must give its exact message and exit status 1 and leave the folder as it was: no
// new schedule, no temporary file, and the schedules of an earlier run byte for byte
// unchanged. Beside them, unusual inputs that must still succeed, and the faults of the
// machine: an output folder that cannot be written, a full disk, inputs deleted while
// the program holds them open.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "calendar_texts.h"
#include "console_texts.h"
#include "core/run_state.h"
#include "e2e_harness.h"
#include "file_text.h"

namespace fs = std::filesystem;

namespace {

const std::string k_older_workbook = "<alte Tabelle/>\n";
const std::string k_older_fragment = "<table><tr><td>alt</td></tr></table>\n";
const std::string k_older_calendar = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n";

// A sample season and the line the import prints for it.
const std::string k_sample = k_sample_calendars[0].file;
const std::string k_sample_line = k_sample_calendars[0].line;

// The HTML rows of the cup match and of a separator.
const std::string k_cell = "\n                    <td>";
const std::string k_cup_match_row = "\n                <tr>" + k_cell + "Sa, 01.11.2025 16:00</td>" + k_cell +
                                    "Gymn. Talheim</td>" + k_cell + "Kreispokal / 1.</td>" + k_cell +
                                    "TV Talheim 1</td>\n                </tr>";
const std::string k_separator_row = "\n                <tr>" + k_cell + "</td>\n                </tr>";
const std::string k_fragment_head =
    "\n            <table>\n                <head>\n                    <td>Datum/ Zeit</td>\n"
    "                    <td>Spielort</td>\n                    <td>Liga/ Mannschaft</td>\n"
    "                    <td>Gegner</td>\n                </head>\n";
const std::string k_fragment_end = "\n            </table>";

// Everything a complete run in the season of these cases prints.
std::string complete_run(const std::vector<std::string>& names, const std::vector<std::string>& team_lines) {
    return ::complete_run(names, k_season, team_lines);
}

std::string sample_text() { return file_text(TERMARIUM_EXAMPLES_DIR "/" + k_sample); }

// A calendar file name of the given length in bytes; its season text is 2025-2026.
std::string calendar_name(size_t length, int number) {
    const std::string head = "Spielplan_2025-2026_" + std::to_string(number) + "_";
    const std::string tail = ".ics";
    return head + std::string(length - head.size() - tail.size(), 'x') + tail;
}

// The same text with each "ü" (UTF-8) as the Latin-1 byte FC.
std::string latin1(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\xC3\xBC") == 0) {
            out += '\xFC';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

using HostileInput = E2eTest;   // refused inputs
using UnusualInput = E2eTest;   // inputs that look odd but must succeed

// A refused input: its bytes (or what the path is), the message and the file it names.
struct RefusedCase {
    std::string name;
    std::string bytes;
    std::string reason;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }

class RefusedFile : public E2eTest, public ::testing::WithParamInterface<RefusedCase> {};

// Each input is the first and only file, next to the schedules of an earlier run.
TEST_P(RefusedFile, GivesItsReasonAndLeavesTheFolderAsItWas) {
    const RefusedCase& c = GetParam();
    const std::string name = "Spielplan_2025-2026_" + c.name + ".ics";
    write_file(name, c.bytes);
    write_file(k_xml, k_older_workbook);
    write_file(k_html, k_older_fragment);
    const std::set<std::string> before = files();

    ProgramRun result = run({name});
    EXPECT_EQ(1, result.exit_status);
    EXPECT_EQ(reading(1) + listed({name}) + k_lines_apart + read_failed(name, c.reason) + nothing_written(1, 1),
              result.output);
    EXPECT_EQ(before, files());
    EXPECT_EQ(k_older_workbook, read_file(k_xml));
    EXPECT_EQ(k_older_fragment, read_file(k_html));
}

std::vector<RefusedCase> refused_cases() {
    const std::string sample = sample_text();
    std::string binary = "\x89PNG\r\n\x1A\n";
    for (int i = 0; i < 2048; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
    // The last event cut inside its location line.
    const std::string truncated = sample.substr(0, sample.rfind("LOCATION:") + 20);
    // The fifth event without its start: that match must not go missing unnoticed.
    std::string missing_start = sample;
    size_t fifth = 0;
    for (int i = 0; i < 5; ++i) fifth = missing_start.find("\nDTSTART;TZID", fifth + 1);
    missing_start.erase(fifth + 1, missing_start.find('\n', fifth + 1) - fifth);

    return {
        {"leer", "", k_not_calendar},
        {"ohne_Spiele", "BEGIN:VCALENDAR\nVERSION:2.0\nEND:VCALENDAR\n", k_no_match},
        {"binaer", binary, k_not_calendar},
        {"abgeschnitten", truncated, k_incomplete},
        {"Beginn_fehlt", missing_start, layout_broken(5)},
        {"Latin-1", latin1(sample), k_not_utf8},
    };
}

INSTANTIATE_TEST_SUITE_P(HostileInput, RefusedFile, ::testing::ValuesIn(refused_cases()),
                         [](const ::testing::TestParamInfo<RefusedCase>& info) {
                             std::string name;
                             for (char ch : info.param.name) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

// A folder is skipped, whatever its name; a link to nothing is a file that cannot be opened.
TEST_F(HostileInput, DirectoryOrDanglingLinkIsRefusedAtOpen) {
    make_folder("Spielplan_2025-2026_Ordner.ics");
    make_symlink("Spielplan_2025-2026_Verweis.ics", "geloescht/Spielplan_2025-2026_Herren1.ics");
    write_file(k_xml, k_older_workbook);
    write_file(k_html, k_older_fragment);
    const std::set<std::string> before = files();
    for (const std::string name : {"Spielplan_2025-2026_Ordner.ics", "Spielplan_2025-2026_Verweis.ics"}) {
        SCOPED_TRACE(name);
        ProgramRun result = run({name});
        EXPECT_EQ(1, result.exit_status);
        const bool folder = name.find("Ordner") != std::string::npos;
        EXPECT_EQ(reading(1) + listed({name}) + k_lines_apart +
                      (folder ? skipped_as_no_calendar(name) + k_no_calendar + k_closing_prompt + k_banner
                              : open_failed(name) + nothing_written(1, 1)),
                  result.output);
        EXPECT_EQ(before, files());
        EXPECT_EQ(k_older_workbook, read_file(k_xml));
        EXPECT_EQ(k_older_fragment, read_file(k_html));
    }
}

// Of forty files only the twentieth is broken: all others are read, the message names the
// twentieth in its place, and nothing is written.
TEST_F(HostileInput, TwentiethOfFortyFilesIsNamed) {
    std::string without_start = k_cup_match;  // complete, but its match has no start
    const size_t start = without_start.find("DTSTART");
    without_start.erase(start, without_start.find('\n', start) + 1 - start);
    std::vector<std::string> names;
    for (int i = 1; i <= k_max_input_files; ++i) {
        names.push_back("Spielplan_2025-2026_Team" + std::to_string(i) + ".ics");
        write_file(names.back(), i == 20 ? without_start : cup_match_of(i));
    }
    write_file(k_xml, k_older_workbook);
    write_file(k_html, k_older_fragment);
    const std::set<std::string> before = files();

    ProgramRun result = run(names);
    EXPECT_EQ(1, result.exit_status);
    std::string expected = reading(names.size()) + listed(names) + season_line(k_season);
    const std::vector<std::string> lines = cup_match_lines(names.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        expected += i == 19 ? read_failed("Spielplan_2025-2026_Team20.ics", layout_broken(1)) : lines[i];
    }
    EXPECT_EQ(expected + nothing_written(1, k_max_input_files), result.output);
    EXPECT_EQ(before, files());
    EXPECT_EQ(k_older_workbook, read_file(k_xml));
    EXPECT_EQ(k_older_fragment, read_file(k_html));
}

// --- Inputs that must succeed ---------------------------------------------------------

// The same download dropped twice (once under a browser's second name) is read once;
// two different downloads of one team are both read, with a word on the second.
TEST_F(UnusualInput, TheSameFileTwiceIsReadOnce) {
    const std::string name = "Spielplan_2025-2026_Pokal.ics";
    const std::string again = "Spielplan_2025-2026_Pokal (1).ics";
    const std::string newer = "Spielplan_2025-2026_Pokal_neu.ics";
    write_file(name, k_cup_match);
    write_file(again, k_cup_match);
    std::string moved = k_cup_match;
    moved.replace(moved.find("20251101T16"), 11, "20251102T16");
    write_file(newer, moved);
    ProgramRun result = run({name, again, name, newer});
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run({name, again, name, newer},
                           {k_cup_match_line, again + ": gleicher Inhalt wie " + name + ", wird uebersprungen\n",
                            name + ": gleicher Inhalt wie " + name + ", wird uebersprungen\n", k_cup_match_line,
                            "Achtung: TuS Lindenbr\xC3\xBC" "ck 1 (Kreispokal) steht auch in " + name + "\n"}),
              result.output);
    std::string moved_row = k_cup_match_row;
    moved_row.replace(moved_row.find("Sa, 01.11."), 10, "So, 02.11.");
    EXPECT_EQ(k_fragment_head + k_cup_match_row + k_separator_row + moved_row + k_fragment_end, read_output(k_html));
}

// A UTF-8 byte-order mark, or no line end after the last line, changes nothing: both
// schedules are byte for byte those of the plain file.
// --- Faults of the machine ------------------------------------------------------------

// Tests that mount a small tmpfs. The test process first takes a mount namespace of its
// own, so that nothing it mounts is seen outside it or outlives it; every mount is also
// taken down again after its test.
class MachineFault : public E2eTest {
protected:
    void TearDown() override {
        for (const std::string& mount_point : mounts) umount2(mount_point.c_str(), MNT_DETACH);
        E2eTest::TearDown();
    }
    // Mounts a tmpfs of the given size at a new folder of the test folder; false where
    // this machine does not allow it.
    bool mount_tmpfs(const std::string& relative, size_t bytes, int inodes = 0) {
        // Wine's server opens files for the program, outside this process's namespace.
        if (std::getenv("TERMARIUM_LAUNCHER") != nullptr) return false;
        static const bool own_namespace =
            unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        if (!own_namespace) return false;
        make_folder(relative);
        std::string options = "size=" + std::to_string(bytes);
        if (inodes > 0) options += ",nr_inodes=" + std::to_string(inodes);  // the folder itself takes one
        if (mount("tmpfs", path(relative).c_str(), "tmpfs", 0, options.c_str()) != 0) return false;
        mounts.push_back(path(relative));
        return true;
    }
    bool make_read_only(const std::string& relative) {
        return mount(nullptr, path(relative).c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    // Fills the file system of a folder until `left` bytes are free (in whole blocks).
    void fill_up(const std::string& relative, size_t left) {
        struct statvfs info {};
        ASSERT_EQ(0, statvfs(path(relative).c_str(), &info));
        const size_t free_bytes = static_cast<size_t>(info.f_bavail) * info.f_bsize;
        ASSERT_GE(free_bytes, left);
        write_file(relative + "/fuellung", std::string(free_bytes - left, 'f'));
        ASSERT_EQ(0, statvfs(path(relative).c_str(), &info));
        ASSERT_EQ(left, static_cast<size_t>(info.f_bavail) * info.f_bsize);
    }
    // Bytes the file system of a folder takes for a file of the given size.
    size_t blocks_for(const std::string& relative, size_t size) {
        struct statvfs info {};
        EXPECT_EQ(0, statvfs(path(relative).c_str(), &info));
        return (size + info.f_bsize - 1) / info.f_bsize * info.f_bsize;
    }

    std::vector<std::string> mounts;
};

constexpr size_t k_small_disk = 256 * 1024;  // room for a season, its schedules and a filler
const char k_no_mount[] = "no tmpfs mount here: this machine refuses it, or a launched program would not see it";

// A read-only folder, and a file system with no room for one more file (the folder, the
// calendar and the two older schedules take its four inodes): the import runs, the
// workbook's temporary file cannot be created, and the older schedules stay as they were.
TEST_F(MachineFault, WorkbookCannotBeCreated) {
    for (const bool read_only : {true, false}) {
        const std::string folder = read_only ? "nur_lesen" : "voll";
        if (!mount_tmpfs(folder, k_small_disk, read_only ? 0 : 4)) {
            GTEST_SKIP() << k_no_mount;
        }
        copy_example(k_sample, folder + "/" + k_sample);
        write_file(folder + "/" + k_xml, k_older_workbook);
        write_file(folder + "/" + k_html, k_older_fragment);
        if (read_only) {
            ASSERT_TRUE(make_read_only(folder));
        }
        const std::set<std::string> before = files();

        ProgramRun result = run({folder + "/" + k_sample});
        EXPECT_EQ(1, result.exit_status) << folder;
        EXPECT_EQ(reading(1) + listed({k_sample}) + season_line(k_season) + k_sample_line + k_xml_open_failed,
                  result.output);
        EXPECT_EQ(before, files());
        EXPECT_EQ(k_older_workbook, read_file(folder + "/" + k_xml));
        EXPECT_EQ(k_older_fragment, read_file(folder + "/" + k_html));
    }
}

// The same for the HTML table: the finished workbook stays, and so does the older table.
TEST_F(MachineFault, NoRoomForTheTablesTemporaryFile) {
    // The folder, the calendar, the older table and the new workbook.
    if (!mount_tmpfs("voll", k_small_disk, 4)) GTEST_SKIP() << k_no_mount;
    copy_example(k_sample, "voll/" + k_sample);
    write_file("voll/" + k_html, k_older_fragment);
    ProgramRun result = run({"voll/" + k_sample});
    EXPECT_EQ(1, result.exit_status);
    EXPECT_EQ(reading(1) + listed({k_sample}) + season_line(k_season) + k_sample_line + xml_written(k_season) +
                  k_html_open_failed,
              result.output);
    EXPECT_EQ((std::set<std::string>{"voll/", "voll/" + k_sample, "voll/" + k_xml, "voll/" + k_html}), files());
    EXPECT_EQ(k_older_fragment, read_file("voll/" + k_html));
}

// A folder where the finished workbook belongs: the temporary file is written, cannot be
// moved there, and is removed again.
TEST_F(MachineFault, FolderAtTheWorkbooksNameIsNotReplaced) {
    copy_example(k_sample, k_sample);
    make_folder(k_xml);
    write_file(k_xml + "/notiz.txt", "bleibt\n");
    write_file(k_html, k_older_fragment);
    const std::set<std::string> before = files();

    ProgramRun result = run({k_sample});
    EXPECT_EQ(1, result.exit_status);
    EXPECT_EQ(reading(1) + listed({k_sample}) + season_line(k_season) + k_sample_line + k_xml_write_failed, result.output);
    EXPECT_EQ(before, files());
    EXPECT_EQ("bleibt\n", read_file(k_xml + "/notiz.txt"));
    EXPECT_EQ(k_older_fragment, read_file(k_html));
}

// A full disk while the workbook is written, while the fragment is written after the
// workbook fitted, and while the club calendar is written after both. The sizes of the
// outputs come from a run in an ordinary folder.
TEST_F(MachineFault, FullDiskLosesNoSchedule) {
    if (!mount_tmpfs("voll", k_small_disk)) GTEST_SKIP() << k_no_mount;
    copy_example(k_sample, "frei/" + k_sample);
    ASSERT_EQ(0, run({"frei/" + k_sample}).exit_status);
    const size_t workbook_size = read_file("frei/" + k_xml).size();
    const size_t fragment_size = read_file("frei/" + k_html).size();
    const size_t calendar_size = read_file("frei/" + k_ics).size();
    const size_t block = blocks_for("voll", 1);
    // The fragment must need more than the block the older workbook frees when it is replaced.
    ASSERT_GT(blocks_for("voll", fragment_size), block);

    copy_example(k_sample, "voll/" + k_sample);
    write_file("voll/" + k_xml, k_older_workbook);
    write_file("voll/" + k_html, k_older_fragment);
    write_file("voll/" + k_ics, k_older_calendar);
    const std::string before_run = reading(1) + listed({k_sample}) + season_line(k_season) + k_sample_line;

    // Room for less than the workbook.
    fill_up("voll", blocks_for("voll", workbook_size) - block);
    std::set<std::string> before = files();
    ProgramRun no_workbook = run({"voll/" + k_sample});
    EXPECT_EQ(1, no_workbook.exit_status);
    EXPECT_EQ(before_run + k_xml_write_failed, no_workbook.output);
    EXPECT_EQ(before, files());
    EXPECT_EQ(k_older_workbook, read_file("voll/" + k_xml));
    EXPECT_EQ(k_older_fragment, read_file("voll/" + k_html));

    // Room for the workbook only: replacing the older one frees one block, less than the
    // fragment needs.
    fs::remove(path("voll/fuellung"));
    fill_up("voll", blocks_for("voll", workbook_size));
    before = files();
    ProgramRun no_fragment = run({"voll/" + k_sample});
    EXPECT_EQ(1, no_fragment.exit_status);
    EXPECT_EQ(before_run + xml_written(k_season) + k_html_write_failed, no_fragment.output);
    EXPECT_EQ(before, files());
    EXPECT_TRUE(read_file("frei/" + k_xml) == read_file("voll/" + k_xml)) << "the new workbook is not complete";
    EXPECT_EQ(k_older_fragment, read_file("voll/" + k_html));
    EXPECT_EQ(k_older_calendar, read_file("voll/" + k_ics));

    // Room for the workbook and the fragment over one-block older ones: each replacement
    // frees one block, which leaves two, less than the calendar needs.
    ASSERT_GT(blocks_for("voll", calendar_size), 2 * block);
    write_file("voll/" + k_xml, k_older_workbook);
    fs::remove(path("voll/fuellung"));
    fill_up("voll", blocks_for("voll", workbook_size) + blocks_for("voll", fragment_size));
    before = files();
    ProgramRun no_calendar = run({"voll/" + k_sample});
    EXPECT_EQ(1, no_calendar.exit_status);
    EXPECT_EQ(before_run + xml_written(k_season) + html_written(k_season) + k_calendar_write_failed,
              no_calendar.output);
    EXPECT_EQ(before, files());
    EXPECT_TRUE(read_file("frei/" + k_html) == read_file("voll/" + k_html)) << "the new fragment is not complete";
    EXPECT_EQ(k_older_calendar, read_file("voll/" + k_ics));
}

// True once the process holds the file open (it shows among its descriptors).
bool holds_open(pid_t pid, const fs::path& file) {
    std::error_code error;
    for (const fs::directory_entry& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        std::error_code unreadable;
        if (fs::read_symlink(fd.path(), unreadable) == file) return true;
    }
    return false;
}

// The inputs are deleted after the program opened them and before it reads them: on
// Linux an open file stays readable, so the run completes with the full schedules.
TEST_F(MachineFault, InputsDeletedWhileOpenAreStillRead) {
    if (std::getenv("TERMARIUM_LAUNCHER") != nullptr) {
        GTEST_SKIP() << "a launched Windows program runs in another process, and Windows refuses to delete an open file";
    }
    // Forty names of the longest length: the listing then outgrows the output buffer, so
    // the program stops at its first flush, after opening the files and before reading them.
    std::vector<std::string> names;
    for (int i = 1; i <= k_max_input_files; ++i) {
        names.push_back(calendar_name(k_display_name_size - 1, i));
        write_file("kopie/" + names.back(), cup_match_of(i));
        write_file("weg/" + names.back(), cup_match_of(i));
    }
    std::vector<std::string> copies, doomed;
    for (const std::string& name : names) {
        copies.push_back("kopie/" + name);
        doomed.push_back("weg/" + name);
    }
    ASSERT_EQ(0, run(copies).exit_status);

    // While the program waits, every input it already holds open is deleted; the others
    // must stay, since it has yet to open them.
    std::set<std::string> left = files();
    size_t deleted = 0;
    ProgramRun result = run_paused(doomed, [&](pid_t pid) {
        const fs::path first = fs::canonical(path(doomed.front()));
        // A bounded wait: the program holds the first file within moments of its start.
        for (int tries = 0; tries < 10000 && !holds_open(pid, first); ++tries) usleep(1000);
        for (const std::string& file : doomed) {
            const fs::path input = fs::canonical(path(file));
            if (!holds_open(pid, input)) continue;
            fs::remove(input);
            left.erase(file);
            ++deleted;
        }
    });
    ASSERT_GT(deleted, 0u) << "the program never held its first input open";
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run(names, cup_match_lines(names.size())), result.output);
    left.insert({"weg/" + k_html, "weg/" + k_xml, "weg/" + k_ics, "weg/" + k_days, "kopie/" + k_html, "kopie/" + k_xml,
                 "kopie/" + k_ics, "kopie/" + k_days});
    EXPECT_EQ(left, files());
    EXPECT_EQ(read_file("kopie/" + k_xml), read_file("weg/" + k_xml));
    EXPECT_EQ(read_file("kopie/" + k_html), read_file("weg/" + k_html));
    EXPECT_EQ(masked_stamps(read_file("kopie/" + k_ics)), masked_stamps(read_file("weg/" + k_ics)));
}

TEST_F(HostileInput, NamedPipeIsRefusedWithoutWaiting) {
    if (windows_paths()) GTEST_SKIP() << "Windows folders hold no named pipes";
    const std::string name = "Spielplan_2025-2026_Rohr.ics";
    ASSERT_EQ(0, mkfifo(path(name).c_str(), 0600));
    write_file(k_xml, k_older_workbook);
    const std::set<std::string> before = files();
    ProgramRun result = run({name});
    EXPECT_EQ(1, result.exit_status);
    EXPECT_EQ(reading(1) + listed({name}) + k_lines_apart + open_failed(name) + nothing_written(1, 1), result.output);
    EXPECT_EQ(before, files());
    EXPECT_EQ(k_older_workbook, read_file(k_xml));
}

// Links planted at every name the program could be tricked into writing through (the
// outputs, and the fixed temporary names an earlier version used), and an input that
// carries such a name: no link is followed, nothing the run did not create is removed.
TEST_F(HostileInput, LinksAtTheOutputNamesAreNeverFollowed) {
    if (windows_paths()) GTEST_SKIP() << "links are a POSIX case here";
    copy_example(k_sample, k_sample);
    const std::string names[] = {k_xml, k_html, k_ics, k_days, k_xml + ".tmp", k_html + ".tmp"};
    std::set<std::string> expected = {k_sample, k_xml, k_html, k_ics, k_days};
    for (const std::string& name : names) {
        write_file("wichtig_" + name + ".txt", "Vereinskasse\n");
        make_symlink(name, "wichtig_" + name + ".txt");
        expected.insert("wichtig_" + name + ".txt");
    }
    const std::string input_at_old_temp = "Termarium_2025-2026.html.tmp.ics";
    write_file(input_at_old_temp, k_cup_match);
    expected.insert({k_xml + ".tmp", k_html + ".tmp", input_at_old_temp});

    ProgramRun result = run({k_sample, input_at_old_temp});
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run({k_sample, input_at_old_temp}, {k_sample_line, k_cup_match_line}), result.output);
    for (const std::string& name : names) EXPECT_EQ("Vereinskasse\n", read_file("wichtig_" + name + ".txt")) << name;
    EXPECT_FALSE(fs::is_symlink(path(k_xml)));
    EXPECT_FALSE(fs::is_symlink(path(k_html)));
    EXPECT_FALSE(fs::is_symlink(path(k_ics)));
    EXPECT_FALSE(fs::is_symlink(path(k_days)));
    EXPECT_TRUE(fs::is_symlink(path(k_xml + ".tmp")));
    EXPECT_TRUE(fs::is_symlink(path(k_html + ".tmp")));
    EXPECT_EQ(k_cup_match, read_file(input_at_old_temp));
    EXPECT_EQ(expected, files());
}

// A download cut short anywhere, at a line end or inside a character, is refused as
// incomplete; only the whole file, with or without its last line feed, is read.
// U+FFFE and U+FFFF, which no XML document may hold, are left out of both schedules.
TEST_F(UnusualInput, NoncharactersAreLeftOutOfBothSchedules) {
    std::string calendar = k_cup_match;
    const std::string home = "SUMMARY:TV Talheim 1";
    calendar.replace(calendar.find(home), home.size(), "SUMMARY:TV Tal\xEF\xBF\xBEheim\xEF\xBF\xBF 1");
    const std::string name = "Spielplan_2025-2026_Pokal.ics";
    write_file(name, calendar);
    ProgramRun result = run({name});
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run({name}, {k_cup_match_line}), result.output);
    for (const std::string& output : {k_xml, k_html}) {
        const std::string text = read_output(output);
        EXPECT_EQ(std::string::npos, text.find("\xEF\xBF")) << output;
        EXPECT_NE(std::string::npos, text.find("TV Talheim 1")) << output;
    }
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint is not installed";
    EXPECT_EQ(0, std::system(("xmllint --noout '" + path(k_xml) + "'").c_str()));
}

// A Windows helper that holds a file open without sharing it, as Excel holds the
// workbook it shows; started through the launcher, released when its input ends.
class HeldOpen {
public:
    HeldOpen(const std::string& helper, const std::string& file) {
        int input[2];
        int output[2];
        if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) return;
        const std::string launcher = std::getenv("TERMARIUM_LAUNCHER") != nullptr ? std::getenv("TERMARIUM_LAUNCHER") : "";
        std::vector<std::string> words = {launcher, helper, program_argument(file)};
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        pid = fork();
        if (pid == 0) {
            if (dup2(input[0], STDIN_FILENO) < 0 || dup2(output[1], STDOUT_FILENO) < 0) _exit(126);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(input[0]);
        close(output[1]);
        release_end = input[1];
        char line[64] = {};
        const ssize_t got = read(output[0], line, sizeof line - 1);
        close(output[0]);
        held = got > 0 && std::string(line).find("gehalten") == 0;
    }
    ~HeldOpen() {
        if (release_end >= 0) close(release_end);
        if (pid > 0) waitpid(pid, nullptr, 0);
    }
    bool held = false;

private:
    pid_t pid = -1;
    int release_end = -1;
};

// Replacing a schedule that another program holds open fails on Windows: the run says
// which file to close, and leaves the older schedules and no temporary file behind.
TEST_F(HostileInput, ScheduleHeldOpenByAnotherProgramIsNamed) {
    const char* helper = std::getenv("TERMARIUM_HOLD_OPEN");
    if (helper == nullptr || *helper == '\0') {
        GTEST_SKIP() << "needs the Windows program under Wine and its helper (tests/wine/run_wine_tests.sh)";
    }
    copy_example(k_sample, k_sample);
    write_file(k_xml, k_older_workbook);
    write_file(k_html, k_older_fragment);
    const std::set<std::string> before = files();
    ProgramRun result{-1, ""};
    {
        HeldOpen excel(helper, path(k_xml));
        ASSERT_TRUE(excel.held) << "the helper could not hold " << k_xml;
        result = run({k_sample});
    }
    EXPECT_EQ(1, result.exit_status);
    EXPECT_EQ(reading(1) + listed({k_sample}) + season_line(k_season) + k_sample_line + file_in_use(k_xml),
              result.output);
    EXPECT_EQ(before, files());
    EXPECT_EQ(k_older_workbook, read_file(k_xml));
    EXPECT_EQ(k_older_fragment, read_file(k_html));
}

}  // namespace
