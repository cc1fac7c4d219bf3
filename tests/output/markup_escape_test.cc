// Escaping of calendar texts: every byte value but the three markup characters passes
// unchanged, and a field is read only up to its NUL or its size.
#include "output/markup_escape.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

#include <string>

#include "sample_tables.h"

namespace {

std::string escaped(const char* text, size_t size) {
    FILE* stream = scratch_stream();
    EXPECT_NE(nullptr, stream);
    if (stream == nullptr) return "";
    OutputBuffer out;
    start_output(out, stream);
    put_escaped(out, text, size);
    EXPECT_TRUE(finish_output(out));
    std::string result = stream_text(stream);
    std::fclose(stream);
    return result;
}

TEST(MarkupEscape, MarkupCharactersReplacedAndForbiddenControlsLeftOut) {
    std::string every_byte;
    std::string expected;
    for (int c = 1; c < 256; ++c) {
        every_byte += static_cast<char>(c);
        bool forbidden = c < 0x20 && c != '\t' && c != '\n' && c != '\r';
        expected += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : forbidden ? std::string() : std::string(1, static_cast<char>(c));
    }
    EXPECT_EQ(expected, escaped(every_byte.c_str(), every_byte.size() + 1));
}

TEST(MarkupEscape, NoncharactersLeftOutOtherCharactersKept) {
    const char text[] = "a\xEF\xBF\xBE" "b\xEF\xBF\xBF" "c\xEF\xBF\xBD\xEF\xBB\xBF" "d";
    // U+FFFE and U+FFFF go; U+FFFD and U+FEFF, which start with the same byte, stay.
    EXPECT_EQ("abc\xEF\xBF\xBD\xEF\xBB\xBF" "d", escaped(text, sizeof text));
    EXPECT_EQ("a\xEF\xBF", escaped(text, 3));  // a field that ends inside the character
}

TEST(MarkupEscape, StopsAtTheNulOrTheFieldSize) {
    const char field[6] = {'a', '&', 'b', '<', 'c', '>'};  // no NUL
    EXPECT_EQ("a&amp;b&lt;c&gt;", escaped(field, sizeof field));
    EXPECT_EQ("a&amp;", escaped(field, 2));
    EXPECT_EQ("", escaped(field, 0));
    EXPECT_EQ("x&amp;", escaped("x&\0&<", 5));
}

}  // namespace
