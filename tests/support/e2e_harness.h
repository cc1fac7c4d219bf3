// Runs the program under test as its own process in a fresh folder per test: standard
// input from /dev/null (or a given text), standard output captured byte for byte, exit
// status and the files left behind. The program, a launcher in front of it and the platform's line ends and
// path form come from the environment, so the same cases can run a Windows build.
#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

// The run's time every end-to-end run gets unless its test sets another (SOURCE_DATE_EPOCH):
// 09.12.2025 06:45 UTC, shown as "Di, 09.12.2025 07:45".
inline const char k_fixed_run_time[] = "1765262700";

// One finished run: its exit status (128 + signal number when it did not exit) and its
// standard output with the platform's line ends turned into LF.
struct ProgramRun {
    int exit_status;
    std::string output;
};

// True when the program writes CR LF line ends (TERMARIUM_EXPECT_CRLF=1).
bool expect_crlf();

// True when the program takes Windows paths (TERMARIUM_PATH_STYLE=windows).
bool windows_paths();

// The argument form of a path: unchanged on POSIX; backslashes and drive Z: for Windows.
std::string program_argument(const std::string& path);

// A test with its own empty folder, removed afterwards; the program runs with it as cwd.
class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets an environment variable for the program's runs in this test (nullptr removes it)
    // until the test ends. Every test starts with SOURCE_DATE_EPOCH at k_fixed_run_time.
    void set_environment(const std::string& name, const char* value);
    // Absolute path of an entry of the test folder.
    std::string path(const std::string& relative) const;
    // Writes the bytes into a file of the test folder, creating its folders.
    void write_file(const std::string& relative, const std::string& bytes) const;
    // Creates a folder (and its parents) in the test folder.
    void make_folder(const std::string& relative) const;
    // Creates a symbolic link in the test folder whose target is the text given.
    void make_symlink(const std::string& relative, const std::string& target) const;
    // Copies one of the bundled sample calendars into the test folder.
    void copy_example(const std::string& example, const std::string& relative) const;
    // The bytes of a file of the test folder exactly as they are on disk.
    std::string read_file(const std::string& relative) const;
    // An output of the program, its line ends checked and turned into LF.
    std::string read_output(const std::string& relative) const;
    // Every entry of the test folder, relative and with '/', folders ending in '/'.
    std::set<std::string> files() const;
    // Runs the program in the test folder; each argument passes through program_argument.
    ProgramRun run(const std::vector<std::string>& arguments) const;
    // Runs the program with one of its standard streams (0, 1 or 2) closed, as some
    // launchers start it; with 1 closed nothing is captured.
    ProgramRun run_with_closed(int descriptor, const std::vector<std::string>& arguments) const;
    // Runs the program with the text on its standard input, which then ends.
    ProgramRun run_with_input(const std::string& input, const std::vector<std::string>& arguments) const;
    // Runs the program with standard input open and nothing ever typed: a program that
    // waits for Enter is ended by the harness's alarm (exit status 128 + SIGALRM).
    ProgramRun run_without_enter(const std::vector<std::string>& arguments) const;
    // Starts one run per argument list, all at once, each with the test folder as cwd,
    // and returns their results in the same order once every one has ended.
    std::vector<ProgramRun> run_together(const std::vector<std::vector<std::string>>& runs) const;
    // Runs it with its standard output a full pipe, so that it stops at its first flush
    // of output; while it waits there, paused(pid) runs, then the output is read as by run.
    ProgramRun run_paused(const std::vector<std::string>& arguments,
                          const std::function<void(pid_t)>& paused) const;

    std::string folder;

private:
    std::set<std::string> environment_set;  // the names set_environment changed, removed at the test's end
};
