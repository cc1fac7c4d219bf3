// The match days' analysis. Matches are sorted by day and time (a day's matches without a
// time after its timed ones, equal times in table order). A hall is a location text,
// compared without regard to letter case or runs of blanks. Two home matches of different
// club teams collide when they are in one hall, both have a time, and the later begins
// before the earlier ends; a called-off match stands in its week and its hall but collides
// with none. A match that stands in several rows (a derby in two teams' files, an old and a
// new download, a cup file beside a league file) is one match. Sorted once, then each hall
// swept in time order: the pairs are counted without walking them, and only the listed ones
// are walked, a match meeting the matches of its hall that begin before it ends.
#include "output/match_plan.h"

#include <algorithm>
#include <cstring>

#include "core/civil_date.h"
#include "core/hash.h"
#include "core/utf8.h"
#include "output/table_rows.h"
#include "output/team_category.h"

namespace {

constexpr int k_minutes_per_day = 24 * 60;
constexpr int k_adult_minutes = 90;
constexpr int k_u19_minutes = 75;
constexpr int k_u15_minutes = 60;

// A location as a hall compares it, into out: ASCII and Latin-1 capitals as small letters,
// leading and trailing blanks left out, a run of blanks as one blank; a byte that begins no
// character stays as it is. Returns its length.
size_t hall_text(const char* location, char (&out)[k_location_size]) {
    const size_t size = strnlen(location, k_location_size - 1);
    size_t length = 0;
    bool blank = false;
    for (size_t i = 0; i < size;) {
        const unsigned char byte = static_cast<unsigned char>(location[i]);
        const bool ascii = byte < 0x80;
        if (byte == ' ' || byte == '\t') {
            blank = length > 0;
            ++i;
            continue;
        }
        if (blank) out[length++] = ' ';
        blank = false;
        if (ascii) {
            out[length++] = static_cast<char>(small_ascii_letter(byte));
            ++i;
            continue;
        }
        uint32_t code_point = 0;
        const size_t bytes = std::max<size_t>(utf8_decode(location + i, size - i, code_point), 1);
        std::memcpy(out + length, location + i, bytes);
        // A Latin-1 letter's small form is two bytes too, its second one higher by the step.
        if (bytes == 2) out[length + 1] = static_cast<char>(out[length + 1] + (small_letter(code_point) - code_point));
        length += bytes;
        i += bytes;
    }
    return length;
}

// True when both locations are one hall.
bool same_hall(const char* a, const char* b) {
    if (std::strcmp(a, b) == 0) return true;  // most matches of a hall give it byte for byte alike
    char a_text[k_location_size];
    char b_text[k_location_size];
    const size_t length = hall_text(a, a_text);
    return hall_text(b, b_text) == length && std::memcmp(a_text, b_text, length) == 0;
}

// Minutes a match of a league of the category lasts: U19 75, U15 60, every other 90.
int category_minutes(TeamCategory category) {
    switch (category) {
        case TeamCategory::u19: return k_u19_minutes;
        case TeamCategory::u15: return k_u15_minutes;
        case TeamCategory::adult:
        case TeamCategory::other: break;
    }
    return k_adult_minutes;
}

}  // namespace

int match_minutes(const MatchRecord& row) { return category_minutes(team_category(row.league, sizeof row.league)); }

namespace {

// Dated matches by day, a day's timed ones before those without a time, then by time and
// table order; matches without a real date at the end in table order.
bool earlier(const PlannedMatch& a, const PlannedMatch& b) {
    if (a.dated != b.dated) return a.dated;
    if (a.dated && a.day != b.day) return a.day < b.day;
    if (a.dated && (a.start < 0) != (b.start < 0)) return a.start >= 0;
    if (a.dated && a.start != b.start) return a.start < b.start;
    return a.row < b.row;
}

bool is_home(const RunState& state, const PlannedMatch& match) { return state.match_table[match.row].is_home != 0; }

// The category of every row up to the end-of-table row, and every match row of the table, sorted.
void collect_matches(const RunState& state, MatchPlan& plan) {
    const int end = end_of_table_row(state);
    for (int row = 0; row <= end; ++row) {
        plan.categories[row] = team_category(state.match_table[row].league, sizeof state.match_table[row].league);
    }
    for (int row = 1; row < end; ++row) {
        const MatchRecord& match = state.match_table[row];
        if (match.day[0] == ' ') continue;
        PlannedMatch& item = plan.matches[plan.count++];
        const auto minutes = static_cast<int16_t>(category_minutes(plan.categories[row]));
        item = PlannedMatch{0, static_cast<int16_t>(row), -1, minutes, -1, -1, false};
        CivilTime when{};
        if (row_time(match, when)) {
            item.dated = true;
            item.day = days_from_civil(when.date);
            item.start = static_cast<int16_t>(when.hour >= 0 ? when.hour * 60 + when.minute : -1);
        }
    }
    std::sort(plan.matches, plan.matches + plan.count, earlier);
}

// The hall of every dated home match, and its halls in the order of their first home match.
// Sorted by the hash of the hall's text a hall's matches stand together (two texts of one
// hash are told apart whole); each match is keyed by the first match of its hall, and
// sorted by that key the halls stand in order, each with its matches in date order.
void collect_halls(const RunState& state, MatchPlan& plan) {
    uint64_t hashes[k_table_rows];  // by index into plan.matches, of the dated home matches
    int homes = 0;
    char text[k_location_size];
    for (int i = 0; i < plan.count; ++i) {
        const PlannedMatch& match = plan.matches[i];
        if (!match.dated || !is_home(state, match)) continue;
        hashes[i] = hash_bytes(k_hash_start, text, hall_text(location_of(state, match.row), text));
        plan.hall_matches[homes++] = static_cast<int16_t>(i);
    }
    int16_t* const begin = plan.hall_matches;
    int16_t* const end = plan.hall_matches + homes;
    std::sort(begin, end, [&](int16_t a, int16_t b) { return hashes[a] != hashes[b] ? hashes[a] < hashes[b] : a < b; });
    for (int16_t* run = begin; run != end;) {
        int16_t* const run_end = std::find_if(run, end, [&](int16_t i) { return hashes[i] != hashes[*run]; });
        for (int16_t* at = run; at != run_end; ++at) {
            PlannedMatch& match = plan.matches[*at];
            const int16_t* first = std::find_if(run, at, [&](int16_t i) {
                return plan.matches[i].hall == i && same_hall(location_of(state, plan.matches[i].row),
                                                              location_of(state, match.row));
            });
            match.hall = first != at ? *first : *at;
        }
        run = run_end;
    }
    std::sort(begin, end, [&](int16_t a, int16_t b) {
        return plan.matches[a].hall != plan.matches[b].hall ? plan.matches[a].hall < plan.matches[b].hall : a < b;
    });
    int key = -1;
    for (int k = 0; k < homes; ++k) {
        PlannedMatch& match = plan.matches[plan.hall_matches[k]];
        if (match.hall != key) {
            key = match.hall;
            plan.halls[plan.hall_count++] = PlannedHall{static_cast<int16_t>(k), 0};
        }
        ++plan.halls[plan.hall_count - 1].count;
        match.hall = static_cast<int16_t>(plan.hall_count - 1);
    }
}

// A home match with a time and a hall that takes place: one that can collide. A called-off
// match keeps its place in its hall, where it shows the slot free, but takes part in no collision.
bool can_collide(const RunState& state, const PlannedMatch& match) {
    return match.hall >= 0 && match.start >= 0 && location_of(state, match.row)[0] != '\0' &&
           !called_off(state, match.row);
}

// Minutes from day 0 to a timed match's start; a far year's minutes do not fit an int.
int64_t begins(const PlannedMatch& match) { return int64_t{match.day} * k_minutes_per_day + match.start; }

// Marks a collision at a match.
void add_mark(MatchPlan& plan, PlannedMatch& match, int collision) {
    plan.marks[plan.mark_count] = CollisionMark{static_cast<int16_t>(collision), -1};
    int16_t* last = &match.first_mark;
    while (*last >= 0) last = &plan.marks[*last].next;
    *last = static_cast<int16_t>(plan.mark_count++);
}

// The match of each match that can collide: a match that stands in several rows of one hall
// (an old and a new download of a team, a cup file beside a league file: the same day, time,
// home and away team) is its first row in date order. Sorted by the hash of that identity,
// a match's rows stand together; two identities of one hash are told apart whole.
void find_same_matches(const RunState& state, const MatchPlan& plan, int16_t (&same_as)[k_table_rows]) {
    uint64_t hashes[k_table_rows];  // by index into plan.matches, of the matches that can collide
    int16_t order[k_table_rows];
    int count = 0;
    for (int i = 0; i < plan.count; ++i) {
        const PlannedMatch& match = plan.matches[i];
        same_as[i] = static_cast<int16_t>(i);
        if (!can_collide(state, match)) continue;
        const int64_t when[] = {match.hall, begins(match)};
        const uint64_t hash = hash_bytes(k_hash_start, when, sizeof when);
        hashes[i] = hash_text(hash_text(hash, state.match_details[match.row].home), state.match_details[match.row].away);
        order[count++] = static_cast<int16_t>(i);
    }
    std::sort(order, order + count, [&](int16_t a, int16_t b) { return hashes[a] != hashes[b] ? hashes[a] < hashes[b] : a < b; });
    for (int k = 0; k < count; ++k) {
        const PlannedMatch& match = plan.matches[order[k]];
        // cppcheck-suppress uninitvar ; every index that order holds has its hash set above
        for (int e = k - 1; e >= 0 && hashes[order[e]] == hashes[order[k]]; --e) {
            const PlannedMatch& other = plan.matches[order[e]];
            if (other.hall == match.hall && begins(other) == begins(match) &&
                same_home_and_away(state, other.row, match.row)) {
                same_as[order[k]] = same_as[order[e]];
                break;
            }
        }
    }
}

// Pairs of the matches given (indices into plan.matches, in date order) in which the later
// begins before the earlier ends: a sweep that keeps the ends of the matches still running
// in a heap, so that it counts the pairs without walking them.
int32_t overlapping_pairs(const MatchPlan& plan, const int16_t* matches, int count) {
    int64_t ends[k_table_rows];  // a heap, the earliest end on top
    int running = 0;
    int32_t pairs = 0;
    const auto later = [](int64_t a, int64_t b) { return a > b; };
    for (int k = 0; k < count; ++k) {
        const PlannedMatch& match = plan.matches[matches[k]];
        while (running > 0 && ends[0] <= begins(match)) std::pop_heap(ends, ends + running--, later);
        pairs += running;
        ends[running++] = begins(match) + match.minutes;
        std::push_heap(ends, ends + running, later);
    }
    return pairs;
}

// Every colliding pair of one hall's matches (each match once, in date order): the
// overlapping pairs less those of one team.
int32_t count_collisions(const RunState& state, const MatchPlan& plan, int16_t* matches, int count) {
    int32_t pairs = overlapping_pairs(plan, matches, count);
    const auto team = [&](int16_t i) { return team_of(state, plan.matches[i].row); };
    std::sort(matches, matches + count, [&](int16_t a, int16_t b) { return team(a) != team(b) ? team(a) < team(b) : a < b; });
    for (int k = 0; k < count;) {
        int end = k + 1;
        while (end < count && team(matches[end]) == team(matches[k])) ++end;
        pairs -= overlapping_pairs(plan, matches + k, end - k);
        k = end;
    }
    return pairs;
}

// The count of every pair, then the first k_collisions_listed pairs in date order of their
// first match, then of their second. Each match that can collide is chained to the next of
// its hall; a match meets only the ones of its chain that begin before it ends, all others
// begin later. A match of several rows is marked at each of them.
void find_collisions(const RunState& state, MatchPlan& plan) {
    int16_t same_as[k_table_rows];  // by index into plan.matches: the first row of its match
    find_same_matches(state, plan, same_as);
    int16_t next[k_table_rows];  // by index into plan.matches: the next match that can collide in its hall, or -1
    for (int h = 0; h < plan.hall_count; ++h) {
        int16_t own[k_table_rows];  // the hall's matches, each once, in date order
        int count = 0;
        int16_t following = -1;
        for (int k = plan.halls[h].first + plan.halls[h].count - 1; k >= plan.halls[h].first; --k) {
            const int16_t i = plan.hall_matches[k];
            if (!can_collide(state, plan.matches[i]) || same_as[i] != i) continue;
            next[i] = following;
            following = i;
            own[count++] = i;
        }
        std::reverse(own, own + count);
        plan.collision_count += count_collisions(state, plan, own, count);
    }
    for (int i = 0; i < plan.count && plan.listed < k_collisions_listed; ++i) {
        const PlannedMatch& a = plan.matches[i];
        if (!can_collide(state, a) || same_as[i] != i) continue;
        const int64_t ends = begins(a) + a.minutes;
        for (int j = next[i]; j >= 0 && begins(plan.matches[j]) < ends && plan.listed < k_collisions_listed; j = next[j]) {
            if (team_of(state, a.row) == team_of(state, plan.matches[j].row)) continue;
            add_mark(plan, plan.matches[i], plan.listed);
            add_mark(plan, plan.matches[j], plan.listed);
            plan.collisions[plan.listed++] = Collision{static_cast<int16_t>(i), static_cast<int16_t>(j)};
        }
    }
    for (int i = 0; i < plan.count; ++i) plan.matches[i].first_mark = plan.matches[same_as[i]].first_mark;
}

}  // namespace

void plan_match_days(const RunState& state, MatchPlan& plan) {
    plan.count = 0;
    plan.hall_count = 0;
    plan.listed = 0;
    plan.collision_count = 0;
    plan.mark_count = 0;
    collect_matches(state, plan);
    collect_halls(state, plan);
    find_collisions(state, plan);
}
