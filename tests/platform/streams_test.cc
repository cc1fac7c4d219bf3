// The program's own stream handling: inputs must be regular files, close-all reports a
// failed close, and an output only replaces the older file once it is complete.
#include "platform/streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "file_text.h"
#include "temp_folder.h"

namespace {

class Streams : public ::testing::Test {
protected:
    void SetUp() override {
        reset_run_state(state);
        folder = make_temp_folder("termarium-streams");
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override {
        close_all_streams(state);
        remove_temp_folder(folder);
        EXPECT_FALSE(exists(folder));
    }
    void write_file(const std::string& path, const char* text) {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        std::fputs(text, f);
        ASSERT_EQ(0, std::fclose(f));
    }
    bool exists(const std::string& path) { return std::filesystem::exists(path_from_utf8(path)); }

    RunState state;
    OutputTarget target{};
    std::string folder;
};

TEST_F(Streams, OpenInputTakesOnlyRegularFiles) {
    write_file(folder + "/a.ics", "x");
    FILE* f = open_input_file((folder + "/a.ics").c_str());
    ASSERT_NE(nullptr, f);
    std::fclose(f);
    EXPECT_EQ(nullptr, open_input_file(folder.c_str()));  // a folder opens as a stream on Linux
    EXPECT_EQ(nullptr, open_input_file((folder + "/missing.ics").c_str()));
#ifdef _WIN32
    GTEST_SKIP() << "dangling link not checked: creating a symbolic link needs extra rights on Windows";
#else
    ASSERT_EQ(0, symlink((folder + "/gone.ics").c_str(), (folder + "/dangling.ics").c_str()));
    EXPECT_EQ(nullptr, open_input_file((folder + "/dangling.ics").c_str()));
#endif
}

TEST_F(Streams, InputArrivesByteForByte) {
    // CR LF stays for the reader to turn into LF, and a Ctrl-Z byte does not end the file.
    const char text[] = "BEGIN\r\nA\x1A" "B\n";
    write_file(folder + "/a.ics", text);
    state.input_files[0] = open_input_file((folder + "/a.ics").c_str());
    ASSERT_NE(nullptr, state.input_files[0]);
    EXPECT_EQ(std::string(text), stream_text(state.input_files[0]));
}

TEST_F(Streams, CloseAllClosesEveryOpenedStreamAndReportsAFullDisk) {
    write_file(folder + "/a.ics", "x");
    state.input_files[0] = open_input_file((folder + "/a.ics").c_str());
    state.input_files[39] = open_input_file((folder + "/a.ics").c_str());
    state.spreadsheet_file = std::fopen((folder + "/out.xml").c_str(), "w");
    EXPECT_TRUE(close_all_streams(state));
    EXPECT_EQ(nullptr, state.input_files[0]);
    EXPECT_EQ(nullptr, state.input_files[39]);
    EXPECT_EQ(nullptr, state.spreadsheet_file);
    EXPECT_TRUE(close_all_streams(state));  // nothing left to close

#ifdef _WIN32
    GTEST_SKIP() << "full disk not checked: Windows has no device that reports one";
#else
    state.html_file = std::fopen("/dev/full", "w");
    ASSERT_NE(nullptr, state.html_file);
    std::fputs("buffered until the close", state.html_file);
    EXPECT_FALSE(close_all_streams(state));
    EXPECT_EQ(nullptr, state.html_file);
#endif
}

// A folder that another run keeps locked is refused once the wait is over, and taken as
// soon as it is free; this run's own lock is let go again.
TEST_F(Streams, ALockedFolderIsWaitedForThenRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "the Windows lock is a mutex, which the thread that holds it may take again";
#else
    std::snprintf(state.output_path, sizeof state.output_path, "%s/Termarium_2025.xml", folder.c_str());
    const int held = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);  // another run's write phase
    ASSERT_GE(held, 0);
    ASSERT_EQ(0, flock(held, LOCK_EX));
    EXPECT_FALSE(lock_output_folder(target, state.output_path, 30));
    EXPECT_FALSE(target.folder_locked);
    close(held);
    ASSERT_TRUE(lock_output_folder(target, state.output_path, 30));
    EXPECT_TRUE(target.folder_locked);
    const int other = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    EXPECT_NE(0, flock(other, LOCK_EX | LOCK_NB)) << "the lock must keep other runs out";
    unlock_output_folder(target);
    EXPECT_EQ(0, flock(other, LOCK_EX | LOCK_NB)) << "the lock must be let go";
    close(other);
#endif
}

// The temporary file: a new name of its own beside the output each time, replaced over
// the older output only on commit, and removed on discard only while it is this run's.
TEST_F(Streams, TemporaryFileIsNewAndOnlyEverItsOwn) {
    std::string final_path = folder + "/Termarium_2025.xml";
    write_file(final_path, "last week");
    std::snprintf(state.output_path, sizeof state.output_path, "%s", final_path.c_str());

    FILE* f = open_output_temp(target, state.output_path);
    ASSERT_NE(nullptr, f);
    const std::string first_temp = target.temp_path;
    // "<output>.<ten hexadecimal digits>.tmp"
    ASSERT_EQ(final_path.size() + 15, first_temp.size());
    EXPECT_EQ(final_path + ".", first_temp.substr(0, final_path.size() + 1));
    EXPECT_EQ(std::string::npos, first_temp.substr(final_path.size() + 1, 10).find_first_not_of("0123456789abcdef"));
    EXPECT_EQ(".tmp", first_temp.substr(first_temp.size() - 4));
    std::fputs("this week", f);
    std::fclose(f);
    EXPECT_EQ("last week", file_text(final_path));
    discard_output(target);
    EXPECT_FALSE(exists(first_temp));
    EXPECT_EQ("last week", file_text(final_path));

    f = open_output_temp(target, state.output_path);
    ASSERT_NE(nullptr, f);
    EXPECT_NE(first_temp, std::string(target.temp_path));
    std::fputs("this week", f);
    std::fclose(f);
    EXPECT_EQ(ReplaceResult::done, commit_output(target, state.output_path));
    EXPECT_EQ("this week", file_text(final_path));
    EXPECT_FALSE(exists(target.temp_path));

    // After the commit the name is no longer this run's: whatever stands there now stays.
    write_file(target.temp_path, "another run's");
    discard_output(target);
    EXPECT_EQ(ReplaceResult::failed, commit_output(target, state.output_path));
    EXPECT_EQ("another run's", file_text(target.temp_path));
    EXPECT_EQ("this week", file_text(final_path));
}

TEST_F(Streams, TemporaryOutputInAMissingFolderFailsCleanly) {
    std::string blocker = folder + "/plain-file";
    write_file(blocker, "x");
    std::snprintf(state.output_path, sizeof state.output_path, "%s/Termarium_.xml", blocker.c_str());
    EXPECT_EQ(nullptr, open_output_temp(target, state.output_path));
    EXPECT_FALSE(target.temp_created);
    EXPECT_EQ(ReplaceResult::failed, commit_output(target, state.output_path));
}

TEST_F(Streams, TemporaryPathOfTheLongestOutputPathFits) {
    std::string path = folder + "/missing/";
    path.resize(k_path_size - 1, 'a');
    std::snprintf(state.output_path, sizeof state.output_path, "%s", path.c_str());
    EXPECT_EQ(nullptr, open_output_temp(target, state.output_path));  // no such folder, but the path was built
    EXPECT_EQ(static_cast<size_t>(k_path_size - 1 + 15), std::strlen(target.temp_path));
}

}  // namespace
