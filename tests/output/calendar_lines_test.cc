// A content line of the club calendar packed with every hazard: the escaped characters, a
// control character, a noncharacter and a stray byte, a character that does not fit the
// physical line, and a value longer than what the escaping gathers at once.
#include "output/calendar_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "file_text.h"
#include "temp_folder.h"

namespace {

std::string content_line(const char* name, const std::string& value) {
    std::FILE* stream = scratch_stream();
    EXPECT_NE(nullptr, stream);
    if (stream == nullptr) return "";
    OutputBuffer out;
    start_output(out, stream);
    CalendarLine line{};
    start_line(line, out, name);
    add_escaped(line, value.c_str(), value.size() + 1);
    end_line(line);
    EXPECT_TRUE(finish_output(out));
    std::string text = stream_text(stream);
    std::fclose(stream);
    return text;
}

TEST(CalendarLines, EscapedAndFoldedAtOctetsNeverInsideACharacter) {
    const std::string u_umlaut = "\xC3\xBC";
    const std::string value = std::string(65, 'a') + u_umlaut +  // the name and 65 bytes fill 74 octets
                              ",;\\\n\x01\xEF\xBF\xBF\x9F" + std::string(300, 'b') + "\xE2\x82\xAC";
    const std::string expected = "LOCATION:" + std::string(65, 'a') + "\r\n " + u_umlaut + "\\,\\;\\\\\\n" +
                                 std::string(64, 'b') + "\r\n " + std::string(74, 'b') + "\r\n " +
                                 std::string(74, 'b') + "\r\n " + std::string(74, 'b') + "\r\n " +
                                 std::string(14, 'b') + "\xE2\x82\xAC\r\n";
    EXPECT_EQ(expected, content_line("LOCATION:", value));
}

}  // namespace
