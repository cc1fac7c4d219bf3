// UTF-8 cuts on character boundaries.
#include "core/utf8.h"

#include <gtest/gtest.h>

#include <cstring>

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
