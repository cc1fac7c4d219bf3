// The team category of a league text, decided once for both writers: the order of the
// tests, case sensitivity, and a search that stays inside the field.
#include "output/team_category.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(TeamCategory, FirstTestThatSucceedsDecides) {
    const struct {
        const char* league;
        TeamCategory category;
    } cases[] = {
        {"U19 Kreisliga", TeamCategory::u19},    {"U19 Bezirksliga", TeamCategory::u19},  // "U19" before "liga"
        {"U19", TeamCategory::u19},              {"Kreisklasse U19", TeamCategory::u19},
        {"Kreisliga U19", TeamCategory::u19},    {"U19 U15", TeamCategory::u19},          // "U19" before "U15"
        {"U15 Kreisliga", TeamCategory::u15},    {"U15", TeamCategory::u15},
        {"U15 Bezirksklasse", TeamCategory::u15}, {"U15 Kreisklasse", TeamCategory::u15},
        {"Oberliga", TeamCategory::adult},       {"Kreisklasse", TeamCategory::adult},
        {"Landesliga", TeamCategory::adult},     {"Bezirksliga", TeamCategory::adult},
        {"Liga Nord", TeamCategory::other},      // case-sensitive: "Liga" is not "liga"
        {"u19 Kreisliga", TeamCategory::adult},  // nor is "u19" "U19"
        {"u19 liga", TeamCategory::adult},
        {"Pokal", TeamCategory::other},
        {"", TeamCategory::other},               // separator and closing rows
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.category, team_category(c.league, std::strlen(c.league) + 1)) << c.league;
    }
}

TEST(TeamCategory, SearchStaysWithinTheField) {
    char league[50];
    std::memset(league, 'x', sizeof league);
    std::memcpy(league + sizeof league - 3, "U19", 3);  // no NUL: the word fills the field's end
    EXPECT_EQ(TeamCategory::u19, team_category(league, sizeof league));
    EXPECT_EQ(TeamCategory::other, team_category(league, sizeof league - 1));
}

}  // namespace
