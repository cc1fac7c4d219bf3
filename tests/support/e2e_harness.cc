// The end-to-end harness: a fresh folder per test and the program under test started in
// it with fork and exec, its standard output read through a pipe until it ends.
#include "e2e_harness.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "file_text.h"

namespace fs = std::filesystem;

namespace {

constexpr int k_smallest_pipe = 4096;  // one page: the least a pipe holds
constexpr unsigned k_hang_seconds = 120;  // far beyond any run, a Windows build under Wine included

bool environment_is(const char* name, const char* value) {
    const char* text = std::getenv(name);
    return text != nullptr && std::string(text) == value;
}

// Launcher words (TERMARIUM_LAUNCHER, split at blanks), then the program itself.
std::vector<std::string> command_prefix() {
    std::vector<std::string> words;
    if (const char* launcher = std::getenv("TERMARIUM_LAUNCHER")) {
        std::istringstream in(launcher);
        for (std::string word; in >> word;) words.push_back(word);
    }
    const char* program = std::getenv("TERMARIUM_PROGRAM");
    if (program == nullptr || *program == '\0') program = TERMARIUM_DEFAULT_PROGRAM;
    // Absolute, because the program is started inside the test folder.
    words.push_back(fs::absolute(program).string());
    return words;
}

// Checks that every line feed comes as CR LF and drops the CRs, when CR LF is expected.
std::string to_lf(const std::string& text, const std::string& what) {
    if (!expect_crlf()) return text;
    std::string lf;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            ADD_FAILURE() << what << ": line feed without carriage return at byte " << i;
        }
        lf += text[i];
    }
    return lf;
}

}  // namespace

bool expect_crlf() { return environment_is("TERMARIUM_EXPECT_CRLF", "1"); }

bool windows_paths() { return environment_is("TERMARIUM_PATH_STYLE", "windows"); }

std::string program_argument(const std::string& path) {
    if (!windows_paths()) return path;
    std::string mapped = !path.empty() && path.front() == '/' ? "Z:" + path : path;
    std::replace(mapped.begin(), mapped.end(), '/', '\\');
    return mapped;
}

void E2eTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "termarium-e2e-XXXXXX").string();
    ASSERT_NE(nullptr, mkdtemp(pattern.data())) << "cannot create a test folder";
    folder = pattern;
    set_environment("SOURCE_DATE_EPOCH", k_fixed_run_time);
}

void E2eTest::TearDown() {
    std::error_code ignored;
    if (!folder.empty()) fs::remove_all(folder, ignored);
    for (const std::string& name : environment_set) unsetenv(name.c_str());
    environment_set.clear();
}

void E2eTest::set_environment(const std::string& name, const char* value) {
    environment_set.insert(name);
    if (value != nullptr) setenv(name.c_str(), value, 1);
    else unsetenv(name.c_str());
}

std::string E2eTest::path(const std::string& relative) const { return folder + "/" + relative; }

void E2eTest::write_file(const std::string& relative, const std::string& bytes) const {
    fs::path target = path(relative);
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.flush()) << "cannot write " << target;
}

void E2eTest::make_folder(const std::string& relative) const { fs::create_directories(path(relative)); }

void E2eTest::make_symlink(const std::string& relative, const std::string& target) const {
    fs::path link = path(relative);
    fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);
}

void E2eTest::copy_example(const std::string& example, const std::string& relative) const {
    fs::path target = path(relative);
    fs::create_directories(target.parent_path());
    fs::copy_file(fs::path(TERMARIUM_EXAMPLES_DIR) / example, target);
}

std::string E2eTest::read_file(const std::string& relative) const {
    return file_text(path(relative));
}

std::string E2eTest::read_output(const std::string& relative) const {
    return to_lf(read_file(relative), relative);
}

std::set<std::string> E2eTest::files() const {
    std::set<std::string> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        // Lexically: fs::relative would resolve a link to the name of its target.
        std::string name = entry.path().lexically_relative(folder).generic_string();
        entries.insert(entry.is_directory() && !entry.is_symlink() ? name + "/" : name);
    }
    return entries;
}


namespace {

// A started program: its process and the read end of its output pipe.
struct Started {
    pid_t pid;
    int output;
    size_t filler;  // bytes put into the pipe before the program started, to be dropped
};

// Starts the program with the arguments in folder; when paused is set, its output pipe
// is made as small as it gets and filled first, so that its first write waits. A
// descriptor closed (0 to 2, or -1 for none) is closed in the program. Standard input
// is /dev/null, or the descriptor input when it is given.
Started start_program(const std::string& folder, const std::vector<std::string>& arguments, bool paused,
                      int closed = -1, int input = -1) {
    std::vector<std::string> words = command_prefix();
    for (const std::string& argument : arguments) words.push_back(program_argument(argument));
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    // Both ends close on exec, so that no program started later holds another's pipe open.
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {-1, -1, 0};
    }
    size_t filler = 0;
    if (paused) {
        const int flags = fcntl(pipe_ends[1], F_GETFL);
        if (fcntl(pipe_ends[1], F_SETPIPE_SZ, k_smallest_pipe) < 0 ||
            fcntl(pipe_ends[1], F_SETFL, flags | O_NONBLOCK) < 0) {
            ADD_FAILURE() << "cannot shrink the output pipe";
        }
        const char block[k_smallest_pipe] = {};
        for (ssize_t put; (put = write(pipe_ends[1], block, sizeof block)) > 0;) filler += static_cast<size_t>(put);
        fcntl(pipe_ends[1], F_SETFL, flags);  // the program must find its output blocking again
    }
    pid_t child = fork();
    if (child == 0) {
        // Child: only async-signal-safe calls until exec.
        int null_input = input >= 0 ? input : open("/dev/null", O_RDONLY);
        if (null_input < 0 || chdir(folder.c_str()) != 0 || dup2(null_input, STDIN_FILENO) < 0 ||
            dup2(pipe_ends[1], STDOUT_FILENO) < 0) {
            _exit(126);
        }
        if (null_input != STDIN_FILENO) close(null_input);
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        if (closed >= 0) close(closed);
        // A program that hangs is ended by the alarm, which outlives exec: the case then
        // fails with exit status 128 + SIGALRM instead of stalling the whole suite.
        alarm(k_hang_seconds);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipe_ends[1]);
    if (child < 0) {
        close(pipe_ends[0]);
        ADD_FAILURE() << "fork failed";
        return {-1, -1, 0};
    }
    return {child, pipe_ends[0], filler};
}

// Reads a started program's output to its end and waits for it.
ProgramRun collect(const Started& started, const std::string& folder) {
    if (started.pid < 0) return {-1, ""};
    std::string raw;
    char chunk[4096];
    for (;;) {
        ssize_t got = read(started.output, chunk, sizeof chunk);
        if (got > 0) raw.append(chunk, static_cast<size_t>(got));
        else if (got == 0 || errno != EINTR) break;
    }
    close(started.output);
    raw.erase(0, started.filler);
    int status = 0;
    while (waitpid(started.pid, &status, 0) < 0 && errno == EINTR) {
    }
    int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (exit_status == 126 || exit_status == 127) ADD_FAILURE() << "could not start the program in " << folder;
    return {exit_status, to_lf(raw, "standard output")};
}

}  // namespace

ProgramRun E2eTest::run(const std::vector<std::string>& arguments) const { return run_paused(arguments, nullptr); }

ProgramRun E2eTest::run_with_closed(int descriptor, const std::vector<std::string>& arguments) const {
    return collect(start_program(folder, arguments, false, descriptor), folder);
}

ProgramRun E2eTest::run_without_enter(const std::vector<std::string>& arguments) const {
    int input[2];
    if (pipe2(input, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {-1, ""};
    }
    const Started started = start_program(folder, arguments, false, -1, input[0]);
    close(input[0]);
    const ProgramRun result = collect(started, folder);  // a wait for Enter would last until the alarm
    close(input[1]);
    return result;
}

ProgramRun E2eTest::run_with_input(const std::string& input, const std::vector<std::string>& arguments) const {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {-1, ""};
    }
    // A typed answer is far smaller than a pipe's buffer: the write cannot block.
    if (write(ends[1], input.data(), input.size()) != static_cast<ssize_t>(input.size())) ADD_FAILURE() << "input not written";
    close(ends[1]);
    const Started started = start_program(folder, arguments, false, -1, ends[0]);
    close(ends[0]);
    return collect(started, folder);
}

ProgramRun E2eTest::run_paused(const std::vector<std::string>& arguments,
                               const std::function<void(pid_t)>& paused) const {
    const Started started = start_program(folder, arguments, static_cast<bool>(paused));
    if (paused && started.pid > 0) paused(started.pid);
    return collect(started, folder);
}

std::vector<ProgramRun> E2eTest::run_together(const std::vector<std::vector<std::string>>& runs) const {
    std::vector<Started> started;
    for (const std::vector<std::string>& arguments : runs) started.push_back(start_program(folder, arguments, false));
    std::vector<ProgramRun> results;
    for (const Started& one : started) results.push_back(collect(one, folder));
    return results;
}
