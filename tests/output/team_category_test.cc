// The team category of a league text, decided once for both writers: a youth word
// decides before a league word and U19 before U15, wherever each stands in the text;
// the words of other sports' leagues count too; letters count as written; the search
// stays inside the field.
#include "output/team_category.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TeamCategory category_of(const std::string& league) { return team_category(league.c_str(), league.size() + 1); }

TEST(TeamCategory, TheFirstMarkInPrecedenceDecidesWhereverItStands) {
    const struct {
        const char* mark;
        TeamCategory category;
    } marks[] = {  // in precedence
        {"U19", TeamCategory::u19}, {"A-Junioren", TeamCategory::u19}, {"U15", TeamCategory::u15},
        {"C-Jugend", TeamCategory::u15}, {"liga", TeamCategory::adult}, {"Klasse", TeamCategory::adult},
    };
    for (size_t i = 0; i < std::size(marks); ++i) {
        EXPECT_EQ(marks[i].category, category_of(std::string("Bezirks") + marks[i].mark + " Nord"));
        for (size_t j = i + 1; j < std::size(marks); ++j) {
            const std::string first = marks[i].mark;
            const std::string second = marks[j].mark;
            EXPECT_EQ(marks[i].category, category_of(first + " " + second)) << first << " " << second;
            EXPECT_EQ(marks[i].category, category_of(second + " " + first)) << second << " " << first;
        }
    }
    for (const char* other : {"", "Pokal", "KLASSE", "LIGA", "u19", "a-jugend", "Freundschaftsspiel"}) {
        EXPECT_EQ(TeamCategory::other, category_of(other)) << other;
    }
    EXPECT_EQ(TeamCategory::adult, category_of("u19 liga"));
    // Leagues as handball, football and table-tennis sites name them.
    EXPECT_EQ(TeamCategory::adult, category_of("3. Liga Frauen"));
    EXPECT_EQ(TeamCategory::u15, category_of("Regionsoberliga m\xC3\xA4nnliche C"));
    EXPECT_EQ(TeamCategory::u19, category_of("Oberliga m\xC3\xA4nnliche Jugend A"));
    EXPECT_EQ(TeamCategory::u19, category_of("Bezirksliga M\xC3\xA4" "dchen 19"));
    EXPECT_EQ(TeamCategory::u15, category_of("Kreisklasse C-Juniorinnen"));
}

TEST(TeamCategory, SearchStaysWithinTheField) {
    char league[50];
    std::memset(league, 'x', sizeof league);
    std::memcpy(league + sizeof league - 3, "U19", 3);  // no NUL: the word fills the field's end
    EXPECT_EQ(TeamCategory::u19, team_category(league, sizeof league));
    EXPECT_EQ(TeamCategory::other, team_category(league, sizeof league - 1));
}

}  // namespace
