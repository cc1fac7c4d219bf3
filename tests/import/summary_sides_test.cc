// The summary rules that the other sites' calendars (other_sites_test.cc) leave open:
// which separator wins, what is no symbol, no match number and no date; and a team's club.
#include "import/summary_sides.h"

#include <gtest/gtest.h>

#include <string>

#include "import/club_name.h"

namespace {

TextSpan span(const std::string& text) { return {text.data(), static_cast<int32_t>(text.size())}; }
std::string text_of(TextSpan piece) { return std::string(piece.bytes, static_cast<size_t>(piece.length)); }

// The summary as the separator cuts it, "home|away", or "none".
std::string split(const std::string& summary) {
    const SideSeparator at = find_side_separator(span(summary));
    if (at.at < 0) return "none";
    return summary.substr(0, static_cast<size_t>(at.at)) + "|" + summary.substr(static_cast<size_t>(at.at + at.length));
}

// The away text with its date fields dropped.
std::string without_dates(std::string text) {
    text.resize(static_cast<size_t>(drop_date_fields(text.data(), static_cast<int>(text.size()))));
    return text;
}

TEST(SummarySides, WhichSeparatorAndWhatIsNoName) {
    EXPECT_EQ("A vs B|C", split("A vs B - C"));
    EXPECT_EQ("A|B \xE2\x80\x93 C", split("A vs. B \xE2\x80\x93 C"));
    EXPECT_EQ("A|B vs C", split("A \xE2\x80\x94 B vs C"));
    EXPECT_EQ("none", split("Avs B-C"));
    EXPECT_EQ("1. FC", text_of(without_leading_symbol(span("\xC3\x97 1. FC"))));  // "×" is a sign
    EXPECT_EQ("Ost (U19)", text_of(without_match_number(span("Ost (U19)"))));
    EXPECT_EQ("B", without_dates("B, 2.9.25"));
    EXPECT_EQ("B, 20.09.253, 1.2", without_dates("B, 20.09.253, 1.2"));
    EXPECT_EQ("20.09.25, x", without_dates("20.09.25, x"));  // the name itself stays
}

TEST(ClubName, TeamNumberOffLetterCaseAside) {
    const auto club = [](const char* team) { return std::string(team, club_length(team)); };
    EXPECT_EQ("TuS Lindenbr\xC3\xBC" "ck", club("TuS Lindenbr\xC3\xBC" "ck  2"));
    EXPECT_EQ("SPV 05 N\xC3\xBCrtingen", club("SPV 05 N\xC3\xBCrtingen"));
    EXPECT_EQ("Ost VIIII", club("Ost VIIII"));
    EXPECT_EQ("1860", club("1860"));
    EXPECT_TRUE(same_club("TUS LINDENBR\xC3\x9C" "CK III", "TuS Lindenbr\xC3\xBC" "ck 2"));
    EXPECT_FALSE(same_club("JSG Lindenbr\xC3\xBC" "ck", "TuS Lindenbr\xC3\xBC" "ck"));
    EXPECT_FALSE(same_club("TSV Musterstadt", "TSV Musterstadtwald 2"));
}

}  // namespace
