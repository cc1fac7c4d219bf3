// Bounded copies into fixed fields: exact fit and one byte over.
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
