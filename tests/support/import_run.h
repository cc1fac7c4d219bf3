// A test of the calendar import as a run does it: calendar texts handed in as the open
// input files, imported in order, with the console lines it gives for them.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "file_text.h"
#include "driver/messages.h"
#include "import/calendar_reader.h"
#include "temp_folder.h"

// A stream holding the bytes, left at its end: the reader must rewind it.
inline FILE* stream_with(const std::string& bytes) {
    FILE* stream = scratch_stream();
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    return stream;
}

class ImportRun : public ::testing::Test {
protected:
    void SetUp() override { reset_run_state(*state); }
    void TearDown() override {
        for (FILE*& stream : state->input_files) {
            if (stream != nullptr) std::fclose(stream);
            stream = nullptr;
        }
    }
    // Imports the files in order as a run does; returns the first failure's result (ok
    // when none failed), the lines of the files read in `printed` and the index of the
    // first failed file in `failed_file` (-1 for none).
    ReadResult import(const std::vector<std::string>& files) {
        TearDown();
        for (size_t k = 0; k < files.size(); ++k) state->input_files[k] = stream_with(files[k]);
        return import_open_files(static_cast<int>(files.size()));
    }

    // Imports the files already open in input_files as import() does.
    ReadResult import_open_files(int files) {
        ReadResult results[k_max_arguments] = {};
        import_calendar_files(*state, files, results);
        printed.clear();
        failed_file = -1;
        for (int k = 0; k < files; ++k) {
            if (results[k] != ReadResult::ok) {
                if (failed_file < 0) failed_file = k;
                continue;
            }
            char lines[k_file_lines_size];
            describe_file(*state, k, lines, sizeof lines);
            printed += lines;
        }
        return failed_file < 0 ? ReadResult::ok : results[failed_file];
    }

    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    std::string printed;
    int failed_file = 0;
};
