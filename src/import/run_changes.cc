// The comparison of this run with the last one, while the earlier club calendar is read:
// rows are found by the hash of their UID, the earlier matches kept by that of home, away
// and league, so that the work grows with the matches times their logarithm. Rows with a UID are matched first, so that a match without
// one cannot take an earlier match that a UID names.
#include "import/run_changes.h"

#include <algorithm>
#include <iterator>
#include <cstring>

#include "core/bounded_text.h"
#include "core/civil_date.h"
#include "core/hash.h"
#include "import/earlier_calendar.h"
#include "import/german_time.h"

namespace {

constexpr int k_max_teams = 4 * k_max_blocks;  // a team's leagues: a league and a cup file each

// A moment to compare: the day count and the minute of the day (-1 for a match without a time).
struct Moment {
    int day;
    int minute;
};

bool operator<(const Moment& a, const Moment& b) { return a.day != b.day ? a.day < b.day : a.minute < b.minute; }

// The row's moment; false when its date is no real date.
bool moment_of(const MatchRecord& row, Moment& moment) {
    CivilTime when{};
    if (!row_time(row, when)) return false;
    moment = Moment{days_from_civil(when.date), when.hour < 0 ? -1 : when.hour * 60 + when.minute};
    return true;
}

// The run's German time as a moment, from its UTC stamp.
Moment moment_of_stamp(const char* stamp) {
    MatchRecord now{};
    Moment moment{0, 0};
    if (german_row_of_stamp(stamp, now)) moment_of(now, moment);
    return moment;
}

// The teams this run holds: a club team's name and a league, with its first block.
struct HeldTeams {
    const char* team[k_max_teams];
    const char* league[k_max_teams];
    int block[k_max_teams];
    int count;
};

// The block of the team and league among the held ones, or -1.
int held_block(const HeldTeams& held, const char* team, const char* league) {
    for (int k = 0; k < held.count; ++k) {
        if (std::strcmp(held.team[k], team) == 0 && std::strcmp(held.league[k], league) == 0) return held.block[k];
    }
    return -1;
}

// Every team and league of the table's match rows.
void collect_held(const RunState& state, HeldTeams& held) {
    held.count = 0;
    for (int row = 1; row < state.current_row && row < k_table_rows; ++row) {
        const MatchRecord& match = state.match_table[row];
        const int block = state.match_details[row].block;
        if (match.day[0] == ' ' || block >= k_max_blocks) continue;
        const char* team = state.blocks[block].own_team;
        if (held.count > 0 && held.team[held.count - 1] == team && std::strcmp(held.league[held.count - 1], match.league) == 0) {
            continue;  // the rows of a block mostly share their league
        }
        if (held_block(held, team, match.league) >= 0 || held.count >= k_max_teams) continue;
        held.team[held.count] = team;
        held.league[held.count] = match.league;
        held.block[held.count] = block;
        ++held.count;
    }
}

// The earlier matches kept after the reading, ordered by the hash of their home and away
// team and league; equal hashes are compared whole.
struct EarlierOrder {
    uint64_t key_hash[k_table_rows];
    int16_t by_key[k_table_rows];
};

// The hash of a match's home and away team and league.
uint64_t key_hash(const MatchDetails& details, const char* league) {
    constexpr char k_apart = '\x1F';  // between the parts; no name holds it
    uint64_t hash = hash_bytes(hash_text(k_hash_start, details.home), &k_apart, 1);
    hash = hash_bytes(hash_text(hash, details.away), &k_apart, 1);
    return hash_text(hash, league);
}

bool same_key(const MatchDetails& a, const char* a_league, const MatchDetails& b, const char* b_league) {
    return std::strcmp(a.home, b.home) == 0 && std::strcmp(a.away, b.away) == 0 && std::strcmp(a_league, b_league) == 0;
}

// Sorts the indices by their hash, then by index, so that equal identities stand in file order.
void sort_by_hash(int16_t* order, int count, const uint64_t* hashes) {
    std::sort(order, order + count, [&](int16_t a, int16_t b) {
        return hashes[a] != hashes[b] ? hashes[a] < hashes[b] : a < b;
    });
}

void sort_earlier(const EarlierRun& earlier, EarlierOrder& order) {
    for (int k = 0; k < earlier.count; ++k) {
        order.key_hash[k] = key_hash(earlier.matches[k].details, earlier.matches[k].row.league);
        order.by_key[k] = static_cast<int16_t>(k);
    }
    sort_by_hash(order.by_key, earlier.count, order.key_hash);
}

// The first of the sorted indices whose hash is hash.
const int16_t* first_of_hash(const int16_t* begin, const int16_t* end, const uint64_t* hashes, uint64_t hash) {
    return std::lower_bound(begin, end, hash, [&](int16_t k, uint64_t wanted) { return hashes[k] < wanted; });
}

// The earlier match of the row's home, away and league, one no row took yet where there
// is one; -1 for none. A taken one is the same match only for a row without a UID (the
// derby in both teams' files); a row with a UID the earlier match lacks is another match.
int find_by_key(const RunState& state, const EarlierOrder& order, int row) {
    const MatchDetails& details = state.match_details[row];
    const char* league = state.match_table[row].league;
    const auto& matches = state.earlier.matches;
    const uint64_t hash = key_hash(details, league);
    const int16_t* end = order.by_key + state.earlier.count;
    int first = -1;
    for (const int16_t* at = first_of_hash(order.by_key, end, order.key_hash, hash); at != end && order.key_hash[*at] == hash; ++at) {
        if (!same_key(matches[*at].details, matches[*at].row.league, details, league)) continue;
        if (!matches[*at].taken) return *at;
        if (first < 0) first = *at;
    }
    return details.uid[0] == '\0' ? first : -1;
}

// True when the row's date, time or location is another than the earlier match's.
bool moved(const RunState& state, int row, const EarlierMatch& match) {
    const MatchRecord& now = state.match_table[row];
    const MatchRecord& before = match.row;
    const char* location = state.match_details[row].location;
    return std::memcmp(now.day, before.day, 2) != 0 || std::memcmp(now.month, before.month, 2) != 0 ||
           std::memcmp(now.year, before.year, 4) != 0 || std::memcmp(now.hour, before.hour, 2) != 0 ||
           std::memcmp(now.minute, before.minute, 2) != 0 ||
           (location[0] != '\0' && std::strcmp(location, match.details.location) != 0);
}

void add_change(EarlierRun& earlier, ChangeKind kind, int row, int match) {
    if (earlier.change_count >= k_max_changes) return;
    earlier.changes[earlier.change_count++] = MatchChange{kind, static_cast<int16_t>(row), static_cast<int16_t>(match)};
}

// Whether the row changed against the same match of the earlier calendar, and how.
bool changed_since(const RunState& state, int row, const EarlierMatch& before, ChangeKind& kind) {
    if (state.match_details[row].cancelled) {
        kind = ChangeKind::called_off;
        return !before.details.cancelled;
    }
    kind = before.details.cancelled ? ChangeKind::added : ChangeKind::moved;  // called off before, on again
    return before.details.cancelled || moved(state, row, before);
}

// The row as the same match as the earlier one: its identity, its SEQUENCE, and the change.
void take_match(RunState& state, int row, int match) {
    EarlierMatch& before = state.earlier.matches[match];
    MatchDetails& details = state.match_details[row];
    ChangeKind kind = ChangeKind::moved;
    const bool changed = changed_since(state, row, before, kind);
    // A phone replaces its copy of an event only for a higher SEQUENCE.
    const int32_t sequence = before.details.sequence + (changed ? 1 : 0);
    if (details.sequence < sequence) details.sequence = sequence;
    if (details.uid[0] == '\0') copy_text(details.uid, sizeof details.uid, before.details.uid);
    if (changed && !before.taken) add_change(state.earlier, kind, row, match);
    before.taken = true;
}

// True when both rows are one match: the same source UID, or the same home and away team.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the two rows are alike; the order does not matter
bool same_match(const RunState& state, int a, int b) {
    const MatchDetails& first = state.match_details[a];
    const MatchDetails& second = state.match_details[b];
    if (first.uid[0] != '\0' && second.uid[0] != '\0') return std::strcmp(first.uid, second.uid) == 0;
    return std::strcmp(first.home, second.home) == 0 && std::strcmp(first.away, second.away) == 0;
}

// The moment a change is listed at: the new one, for a called-off match the earlier one.
Moment change_moment(const RunState& state, const MatchChange& change) {
    Moment moment{0, 0};
    if (change.kind == ChangeKind::called_off || change.row < 0) {
        moment_of(state.earlier.matches[change.earlier].row, moment);
    } else {
        moment_of(state.match_table[change.row], moment);
    }
    return moment;
}

// Sorts the changes by date, drops a new match listed twice (a derby in both teams'
// files), and counts each kind.
void finish_changes(RunState& state) {
    EarlierRun& earlier = state.earlier;
    // Some 160 KiB for a full list: kept off the stack, every entry set before it is read.
    static Moment moments[k_max_changes];
    static int16_t order[k_max_changes];
    for (int k = 0; k < earlier.change_count; ++k) {
        moments[k] = change_moment(state, earlier.changes[k]);
        order[k] = static_cast<int16_t>(k);
    }
    std::sort(order, order + earlier.change_count, [&](int16_t a, int16_t b) {
        if (moments[a] < moments[b] || moments[b] < moments[a]) return moments[a] < moments[b];
        return a < b;
    });
    // The changes in that order, a new match left out where one of its moment stands already.
    static MatchChange sorted[k_max_changes];
    static int16_t sorted_from[k_max_changes];  // the index in order of each sorted change
    int count = 0;
    for (int k = 0; k < earlier.change_count; ++k) {
        const MatchChange& change = earlier.changes[order[k]];
        bool twice = false;
        for (int before = count - 1; change.kind == ChangeKind::added && before >= 0 && !twice; --before) {
            if (moments[order[sorted_from[before]]] < moments[order[k]]) break;
            twice = sorted[before].kind == ChangeKind::added && same_match(state, sorted[before].row, change.row);
        }
        if (twice) continue;
        sorted_from[count] = static_cast<int16_t>(k);
        sorted[count++] = change;
    }
    earlier.change_count = count;
    earlier.added = earlier.moved = earlier.called_off = 0;
    for (int k = 0; k < count; ++k) {
        earlier.changes[k] = sorted[k];
        switch (sorted[k].kind) {
            case ChangeKind::added: ++earlier.added; break;
            case ChangeKind::moved: ++earlier.moved; break;
            case ChangeKind::called_off: ++earlier.called_off; break;
        }
    }
}

// Adds the called-off earlier match to the table as a called-off row of the block; -1 when the table is full.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): named at every call, where each comes from its own record
int carry(RunState& state, int match, int block, int32_t sequence) {
    const int row = state.current_row;
    if (row < 1 || row >= k_max_used_rows) return -1;
    const EarlierMatch& before = state.earlier.matches[match];
    state.match_table[row] = before.row;
    MatchDetails& details = state.match_details[row];
    details = before.details;
    details.block = static_cast<uint8_t>(block);
    details.cancelled = true;
    details.sequence = sequence;
    ++state.current_row;
    return row;
}

// The earlier team of the match noted as missing from this run, once.
void note_missing(EarlierRun& earlier, int match) {
    const EarlierMatch& missing = earlier.matches[match];
    for (int k = 0; k < earlier.missing_count; ++k) {
        const EarlierMatch& noted = earlier.matches[earlier.missing[k]];
        if (std::strcmp(noted.own_team, missing.own_team) == 0 && std::strcmp(noted.row.league, missing.row.league) == 0) return;
    }
    if (earlier.missing_count < k_max_blocks) earlier.missing[earlier.missing_count++] = static_cast<int16_t>(match);
}

// The rows with a source UID, ordered by its hash, and what the reading of the earlier
// calendar found for each: the SEQUENCE of the earlier match of its UID, and the earlier
// match kept because the row changed against it.
struct RowUids {
    uint64_t hash[k_table_rows];
    int16_t by_hash[k_table_rows];
    int count;
    int32_t earlier_sequence[k_table_rows];  // -1: no earlier match has the row's UID
    int16_t kept[k_table_rows];              // -1: none kept for the row
};

void index_row_uids(const RunState& state, RowUids& uids) {
    uids.count = 0;
    for (int row = 0; row < state.current_row && row < k_table_rows; ++row) {
        uids.earlier_sequence[row] = -1;
        uids.kept[row] = -1;
        const char* uid = state.match_details[row].uid;
        if (state.match_table[row].day[0] == ' ' || uid[0] == '\0') continue;
        uids.hash[row] = hash_text(k_hash_start, uid);
        uids.by_hash[uids.count++] = static_cast<int16_t>(row);
    }
    sort_by_hash(uids.by_hash, uids.count, uids.hash);
}

// Keeps an earlier match unless rows of its UID stand unchanged in this run: such a match
// needs no more than its SEQUENCE, noted for its rows. So the earlier calendar takes memory
// for what changed and what no row names, not for every match of the season.
bool keep_unless_unchanged(RunState& state, int match, void* context) {
    RowUids& uids = *static_cast<RowUids*>(context);
    const EarlierMatch& before = state.earlier.matches[match];
    const char* uid = before.details.uid;
    if (uid[0] == '\0') return true;
    const uint64_t hash = hash_text(k_hash_start, uid);
    const int16_t* end = uids.by_hash + uids.count;
    const int16_t* first = first_of_hash(uids.by_hash, end, uids.hash, hash);
    bool named = false;
    bool changed = false;
    for (const int16_t* at = first; at != end && uids.hash[*at] == hash; ++at) {
        if (std::strcmp(state.match_details[*at].uid, uid) != 0) continue;
        named = true;
        uids.earlier_sequence[*at] = before.details.sequence;
        ChangeKind kind = ChangeKind::moved;
        changed = changed_since(state, *at, before, kind) || changed;
    }
    if (!named) return true;  // known by its teams, called off, or of a missing team
    for (const int16_t* at = first; changed && at != end && uids.hash[*at] == hash; ++at) {
        if (std::strcmp(state.match_details[*at].uid, uid) == 0) uids.kept[*at] = static_cast<int16_t>(match);
    }
    return changed;
}

}  // namespace

EarlierRead compare_with_earlier(RunState& state, FILE* stream, const char* utc_stamp) {
    EarlierRun& earlier = state.earlier;
    earlier.compared = false;
    earlier.change_count = 0;
    earlier.missing_count = 0;
    static RowUids uids;  // some 80 KiB, beside the rows' own state
    index_row_uids(state, uids);
    const EarlierRead read = read_earlier_calendar(state, stream, keep_unless_unchanged, &uids);
    if (read != EarlierRead::done) return read;
    earlier.compared = true;
    static EarlierOrder order;
    sort_earlier(earlier, order);
    // The rows of a UID the earlier calendar holds first, then the others by their teams
    // and league; a row whose date is no real date has no place in the club calendar and
    // none here.
    const int end = state.current_row;
    int unmatched[k_table_rows];  // NOLINT(cppcoreguidelines-pro-type-member-init): filled before it is read
    int unmatched_count = 0;
    for (int row = 1; row < end && row < k_table_rows; ++row) {
        Moment moment{0, 0};
        if (state.match_table[row].day[0] == ' ' || !moment_of(state.match_table[row], moment)) continue;
        MatchDetails& details = state.match_details[row];
        if (details.uid[0] != '\0' && uids.kept[row] >= 0) {
            take_match(state, row, uids.kept[row]);
        } else if (details.uid[0] != '\0' && uids.earlier_sequence[row] >= 0) {
            if (details.sequence < uids.earlier_sequence[row]) details.sequence = uids.earlier_sequence[row];
        } else {
            unmatched[unmatched_count++] = row;
        }
    }
    for (int k = 0; k < unmatched_count; ++k) {
        const int row = unmatched[k];
        const int match = find_by_key(state, order, row);
        if (match >= 0) {
            take_match(state, row, match);
        } else if (!state.match_details[row].cancelled) {
            add_change(earlier, ChangeKind::added, row, -1);
        }
    }
    // Earlier matches no row took: called off, played, or of a team missing from this run.
    static HeldTeams held;
    collect_held(state, held);
    const Moment now = moment_of_stamp(utc_stamp);
    for (int match = 0; match < earlier.count; ++match) {
        const EarlierMatch& before = earlier.matches[match];
        if (before.taken) continue;
        const int block = held_block(held, before.own_team, before.row.league);
        Moment moment{0, 0};
        if (block < 0) {
            note_missing(earlier, match);
        } else if (before.details.cancelled) {
            carry(state, match, block, before.details.sequence);
        } else if (moment_of(before.row, moment) && !(moment.minute < 0 ? moment.day < now.day : moment < now)) {
            add_change(earlier, ChangeKind::called_off, carry(state, match, block, before.details.sequence + 1), match);
        }
    }
    finish_changes(state);
    return EarlierRead::done;
}
