// Bounded copies into fixed fields: exact fit, one byte over, and UTF-8 safe cuts.
#include "core/bounded_text.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(BoundedText, CopyFitsExactlyAndReportsOneByteOver) {
    char field[5];
    std::memset(field, 'x', sizeof field);
    EXPECT_TRUE(copy_text(field, sizeof field, "abcd"));
    EXPECT_EQ(0, std::memcmp(field, "abcd", 5));  // NUL included

    std::memset(field, 'x', sizeof field);
    EXPECT_FALSE(copy_text(field, sizeof field, "abcde"));
    EXPECT_EQ(0, std::memcmp(field, "abcd", 5));  // cut text, still terminated

    EXPECT_TRUE(copy_bytes(field, sizeof field, "abcdef", 2));
    EXPECT_STREQ("ab", field);
    EXPECT_FALSE(copy_bytes(field, 0, "a", 1));
    EXPECT_TRUE(copy_bytes(field, 0, "a", 0));
}

TEST(BoundedText, AppendStopsAtTheFieldEnd) {
    char field[6] = "ab";
    EXPECT_TRUE(append_text(field, sizeof field, "cde"));
    EXPECT_STREQ("abcde", field);
    EXPECT_FALSE(append_text(field, sizeof field, "f"));
    EXPECT_STREQ("abcde", field);

    char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_FALSE(append_text(unterminated, sizeof unterminated, "d"));
    EXPECT_EQ('c', unterminated[2]);
}

TEST(BoundedText, Utf8CutNeverSplitsASequence) {
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
