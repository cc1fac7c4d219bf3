// Markers in loaded text: letters in either case, and never a byte read outside the span,
// whether the marker runs past its end or the index lies before its start.
#include "import/text_search.h"

#include <gtest/gtest.h>

namespace {

TEST(TextSearch, MarkerAtMatchesEitherCaseWithinTheSpanOnly) {
    const char bytes[] = "x\nbegin:VEVENTBEGIN";
    const TextSpan text{bytes, 17};  // "x\nbegin:VEVENTBEG": the last marker is cut short
    EXPECT_TRUE(marker_at(text, 2, "BEGIN:VEVENT"));
    EXPECT_TRUE(marker_at(text, 2, "BEGIN:"));
    EXPECT_FALSE(marker_at(text, 2, "BEGIN:VEVENTS"));
    EXPECT_FALSE(marker_at(text, 1, "BEGIN:"));
    EXPECT_FALSE(marker_at(text, 14, "BEGIN"));  // "BEG" inside the span, "IN" behind it
    EXPECT_FALSE(marker_at(text, -1, "X"));
    EXPECT_TRUE(marker_at(text, 0, "X"));
    EXPECT_TRUE(marker_at(text, 17, ""));
}

}  // namespace
