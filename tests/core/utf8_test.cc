// UTF-8: cuts on character boundaries, and validity wherever a fault stands.
#include "core/utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(Utf8, CutNeverSplitsASequence) {
    const char* text = "Ma\xC3\xA4nner";  // "Maänner": ä is two bytes at index 2 and 3
    size_t length = std::strlen(text);
    EXPECT_EQ(length, utf8_cut_length(text, length, 40));
    EXPECT_EQ(2u, utf8_cut_length(text, length, 2));
    EXPECT_EQ(2u, utf8_cut_length(text, length, 3));  // would end inside the ä
    EXPECT_EQ(4u, utf8_cut_length(text, length, 4));
    const char* euro = "\xE2\x82\xAC!";
    EXPECT_EQ(0u, utf8_cut_length(euro, 4, 2));
    EXPECT_EQ(3u, utf8_cut_length(euro, 4, 3));
}

// Validation passes ASCII eight bytes at a time: a NUL, a stray byte, a character cut
// short or one that straddles two words must be judged alike at every place in a word.
TEST(Utf8, ValidityIsTheSameAtEveryPlaceInAWord) {
    const std::string ascii(24, 'a');
    EXPECT_TRUE(is_valid_utf8(ascii.data(), ascii.size()));
    for (size_t at = 0; at + 3 <= ascii.size(); ++at) {
        std::string text = ascii;
        text[at] = '\0';
        EXPECT_FALSE(is_valid_utf8(text.data(), text.size())) << "NUL at " << at;
        text = ascii;
        text[at] = '\x9F';
        EXPECT_FALSE(is_valid_utf8(text.data(), text.size())) << "stray byte at " << at;
        text = ascii;
        text.replace(at, 3, "\xE2\x82\xAC");  // the euro sign
        EXPECT_TRUE(is_valid_utf8(text.data(), text.size())) << "euro sign at " << at;
        text[at + 2] = 'x';
        EXPECT_FALSE(is_valid_utf8(text.data(), text.size())) << "euro sign cut short at " << at;
    }
}

// Capitals of ASCII and Latin-1 made small, the signs between them kept; the inline ASCII
// form used by the byte loops must agree with the general rule on every ASCII byte.
TEST(Utf8, SmallLettersAndTheirAsciiFormAgree) {
    EXPECT_EQ(uint32_t{'a'}, small_letter('A'));
    EXPECT_EQ(uint32_t{'z'}, small_letter('Z'));
    EXPECT_EQ(uint32_t{'@'}, small_letter('@'));
    EXPECT_EQ(uint32_t{'['}, small_letter('['));
    EXPECT_EQ(0xE0u, small_letter(0xC0));  // À
    EXPECT_EQ(0xFEu, small_letter(0xDE));  // Þ
    EXPECT_EQ(0xD7u, small_letter(0xD7));  // the times sign has no small form
    EXPECT_EQ(0xDFu, small_letter(0xDF));  // ß is small already
    for (unsigned byte = 0; byte < 0x80; ++byte) {
        EXPECT_EQ(small_letter(byte), small_ascii_letter(static_cast<unsigned char>(byte))) << byte;
    }
}
