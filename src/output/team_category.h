// Which kind of club team a match row belongs to, decided from its league text. Both
// writers colour a row by this category and the row's team number.
#pragma once

#include <cstddef>
#include <cstdint>

// Team categories in the order their league-text tests are made.
enum class TeamCategory : uint8_t { u19, u15, adult, other };

// Category of a league text (at most size bytes): a U19 word, else a U15 word, else a league word.
TeamCategory team_category(const char* league, size_t size);
