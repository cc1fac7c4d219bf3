// Loading a calendar file's text: CR LF and folded lines across block boundaries, the size
// limit after the conversion, strict UTF-8, and the calendar's end.
#include "import/calendar_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "file_text.h"
#include "temp_folder.h"

namespace {

constexpr int k_text_limit = k_file_buffer_size - 1;  // longest text that fits with its NUL

class CalendarText : public ::testing::Test {
protected:
    void SetUp() override { reset_run_state(*state); }
    std::string loaded() const { return std::string(state->file_buffer, static_cast<size_t>(state->file_length)); }
    ReadResult load(const std::string& bytes) {
        FILE* stream = scratch_stream();
        std::fwrite(bytes.data(), 1, bytes.size(), stream);  // left at its end: the loader must rewind it
        const ReadResult result = load_calendar_text(*state, stream);
        std::fclose(stream);
        return result;
    }
    // Loads bytes and checks the text as a calendar.
    ReadResult check(const std::string& bytes) {
        const ReadResult result = load(bytes);
        return result != ReadResult::ok ? result : check_calendar_text(loaded_text(*state));
    }

    std::unique_ptr<RunState> state = std::make_unique<RunState>();
};

// The conversion as defined: CR LF to LF, then every LF before a blank or tab removed
// together with that one character.
std::string converted(const std::string& raw) {
    std::string lf;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        lf += raw[i];
    }
    std::string text;
    for (size_t i = 0; i < lf.size(); ++i) {
        if (lf[i] == '\n' && i + 1 < lf.size() && (lf[i + 1] == ' ' || lf[i + 1] == '\t')) {
            ++i;
            continue;
        }
        text += lf[i];
    }
    return text;
}

TEST_F(CalendarText, LoadConvertsLineEndsAndJoinsFoldedLines) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\r\nb\r\n", "a\nb\n"},   {"a\rb\r", "a\rb\r"},         {"a\r\r\nb", "a\r\nb"},
        {"a\r\n b", "ab"},          {"a\n\tb", "ab"},             {"a\n  b", "a b"},
        {"a\r\n\r\n b", "a\nb"},    {"a\n \n b", "a"  "b"},       {"a\n", "a\n"},
        {"\n x", "x"},              {"", ""},                     {"a\r", "a\r"},
    };
    for (const auto& [raw, text] : cases) {
        ASSERT_EQ(ReadResult::ok, load(raw)) << raw;
        EXPECT_EQ(text, loaded()) << raw;
        EXPECT_EQ('\0', state->file_buffer[state->file_length]);
    }
    // The size limit applies after the conversion: more bytes of folds than the buffer holds are no text.
    std::string folds;
    for (int i = 0; i <= k_file_buffer_size / 3; ++i) folds += "\r\n ";
    ASSERT_EQ(ReadResult::ok, load(folds + "END"));
    EXPECT_EQ("END", loaded());
}

TEST_F(CalendarText, LoadMatchesTheConversionAcrossBlockBoundaries) {
    // Texts around the buffer size whose last stretch is dense with CR, LF, blanks and
    // tabs, so that pairs straddle every block boundary the loader meets there. The plain
    // bytes in front convert to themselves.
    const char alphabet[] = {'\r', '\n', ' ', '\t', 'x', '\r', '\n', 'y'};
    const std::string plain(k_text_limit - 20000, 'x');
    unsigned seed = 12345;
    for (int round = 0; round < 120; ++round) {
        const size_t length = 19000 + (round * 331) % 22000;
        std::string dense(length, 'x');
        for (char& c : dense) {
            seed = seed * 1103515245u + 12345u;
            c = round % 3 == 0 && (seed >> 16) % 5 != 0 ? 'z' : alphabet[(seed >> 16) % sizeof alphabet];
        }
        const std::string raw = plain + dense;
        const std::string text = plain + converted(dense);
        const ReadResult result = load(raw);
        if (text.size() <= static_cast<size_t>(k_text_limit)) {
            ASSERT_EQ(ReadResult::ok, result) << "round " << round;
            ASSERT_EQ(text, loaded()) << "round " << round;
        } else {
            ASSERT_EQ(ReadResult::file_too_large, result) << "round " << round << ", " << text.size() << " bytes";
        }
    }
}

TEST_F(CalendarText, StrictUtf8) {
    const std::string begin = "BEGIN:VCALENDAR\n";
    const std::string end = "\nEND:VCALENDAR\n";
    EXPECT_EQ(ReadResult::ok, check("\xEF\xBB\xBF" + begin + end));  // a byte-order mark
    const std::string valid[] = {
        "Gro\xC3\x9F", "\xE2\x82\xAC", "\xED\x9F\xBF", "\xEE\x80\x80", "\xF0\x90\x80\x80",
        "\xF4\x8F\xBF\xBF", "Gro\xC3\n \x9F",       // a fold inside a character is joined first
    };
    for (const std::string& text : valid) EXPECT_EQ(ReadResult::ok, check(begin + text + end)) << text;
    const std::string invalid[] = {
        std::string("a\0b", 3), "Gro\xDF", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80",
        "\xF0\x80\x80\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\x9F", "ab\xC3", "\xE2\x82",
        "\xE2\x82x", "\xFF\xFE" "B", "\xFE\xFF",
    };
    for (const std::string& text : invalid) EXPECT_EQ(ReadResult::not_utf8, check(begin + text + end)) << text.size();
}

// A calendar begins with its "BEGIN:VCALENDAR" line (behind a byte-order mark, blanks and
// line ends at most), else it is no calendar file at all; it ends with its "END:VCALENDAR"
// line, with only blanks and line ends behind it, else the download was cut short, even
// where the cut split a character. Both in any case. A file saved as UTF-16 is named as
// such all the same.
TEST_F(CalendarText, CalendarBeginAndEndAreChecked) {
    const std::string complete[] = {
        "BEGIN:VCALENDAR\nEND:VCALENDAR", "BEGIN:VCALENDAR\nEND:VCALENDAR\n",
        "BEGIN:VCALENDAR\nEND:VCALENDAR \t\r\n\n", "BEGIN:VCALENDAR\r\nend:vcalendar\r\n",
        "\xEF\xBB\xBF \r\n\tbegin:vcalendar\nEND:VCALENDAR\n",
    };
    for (const std::string& text : complete) EXPECT_EQ(ReadResult::ok, check(text)) << text;
    const std::string no_calendar[] = {
        "", "\n", "\xEF\xBB\xBF", "END:VCALENDAR", "SUMMARY:Gro\xC3", "X-BEGIN:VCALENDAR\nEND:VCALENDAR\n",
        "%PDF-1.7\nBEGIN:VCALENDAR\nEND:VCALENDAR\n", "BEGIN:VCALENDA\nEND:VCALENDAR\n",
    };
    for (const std::string& text : no_calendar) EXPECT_EQ(ReadResult::not_calendar, check(text)) << text;
    const std::string incomplete[] = {
        "BEGIN:VCALENDAR\n", "BEGIN:VCALENDAR\nEND:VCALENDA", "BEGIN:VCALENDAR\nX-END:VCALENDAR\n",
        "BEGIN:VCALENDAR\nEND:VCALENDAR x\n", "BEGIN:VCALENDAR\nEND:VCALENDAR\nX-MORE:1\n", "BEGIN:VCALENDAR\nGro\xC3",
    };
    for (const std::string& text : incomplete) EXPECT_EQ(ReadResult::incomplete, check(text)) << text;
    EXPECT_EQ(ReadResult::not_utf8, check("\xFF\xFE" "B\0E\0"));
}

}  // namespace
