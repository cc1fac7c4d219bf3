// A test of the calendar import as a run does it: calendar texts handed in as the open
// input files, imported in order, with what the import printed captured.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "file_text.h"
#include "import/calendar_reader.h"
#include "temp_folder.h"

// Runs body with standard output going to a temporary file; returns what it printed.
inline std::string capture_stdout(const std::function<void()>& body) {
    std::fflush(stdout);
    FILE* sink = scratch_stream();
    const int saved = dup(STDOUT_FILENO);
    dup2(fileno(sink), STDOUT_FILENO);
    body();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string printed = stream_text(sink);
    std::fclose(sink);
    return printed;
}

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
    // Imports the files in order as a run does; returns the result, the printed lines in
    // `printed` and the index of a failed file in `failed_file`.
    ReadResult import(const std::vector<std::string>& files) {
        TearDown();
        for (size_t k = 0; k < files.size(); ++k) state->input_files[k] = stream_with(files[k]);
        ReadResult result = ReadResult::ok;
        printed = capture_stdout([&] { result = import_calendar_files(*state, static_cast<int>(files.size()), failed_file); });
        return result;
    }

    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    std::string printed;
    int failed_file = 0;
};
