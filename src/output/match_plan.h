// The match days worked out from the match table before any of it is written: the match
// rows in date order, the hall of each home match, and the home matches of different club
// teams that collide in one hall, and the category of each row's league, which the writers
// colour by. The plan holds row indices only; the texts stay in the table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/run_state.h"
#include "output/team_category.h"

constexpr int k_collisions_listed = 200;  // pairs listed and marked; more are counted only

// Every index of the plan is an int16_t, so that a plan stays near 23 bytes a table row.
static_assert(k_table_rows <= INT16_MAX, "rows and match indices of the plan fit int16_t");

// One match row, with what the match days show beside its texts.
struct PlannedMatch {
    int32_t day;         // days_from_civil of its date; 0 when the date is no real one
    int16_t row;         // its row of the match table
    int16_t start;       // minutes of the day, -1 for a match without a time
    int16_t minutes;     // how long it lasts, by its league's category
    int16_t hall;        // its hall (index into MatchPlan::halls) for a dated home match, else -1
    int16_t first_mark;  // its first collision mark (index into MatchPlan::marks), or -1
    bool dated;          // the row's date is a real one
};

// A hall: a location text compared without regard to letter case or runs of blanks.
struct PlannedHall {
    int16_t first;  // its first home match in MatchPlan::hall_matches
    int16_t count;  // its home matches there, in date order
};

// Two home matches in one hall that overlap, as indices into MatchPlan::matches.
struct Collision {
    int16_t first;   // the one that begins first
    int16_t second;  // the one that begins before the first ends
};

// One collision a match takes part in, and the match's next.
struct CollisionMark {
    int16_t collision;  // index into MatchPlan::collisions
    int16_t next;       // the match's next mark, -1 after its last
};

// All that the match days show, in the order they show it.
struct MatchPlan {
    PlannedMatch matches[k_table_rows];           // every match row: by day, the timed first, by time, by row
    int32_t count;                                // matches used
    PlannedHall halls[k_table_rows];              // in the order of their first home match
    int32_t hall_count;                           // halls used
    int16_t hall_matches[k_table_rows];           // indices into matches: hall by hall, each in date order
    Collision collisions[k_collisions_listed];    // the first pairs in date order, numbered from 1
    int32_t listed;                               // collisions listed
    int32_t collision_count;                      // every colliding pair, listed or not
    CollisionMark marks[2 * k_collisions_listed]; // each listed collision at both its matches
    int32_t mark_count;                           // marks used
    TeamCategory categories[k_table_rows];        // by table row up to the end-of-table row: its league's category
};
// Kept on the caller's stack: 5,000 rows would take some 115 KB.
static_assert(sizeof(MatchPlan) <= 24 * static_cast<size_t>(k_table_rows) + 4096, "a plan is about 23 bytes a row");

// Minutes a match lasts, by its league's category (90, U19 75, U15 60): the match days and the club calendar.
int match_minutes(const MatchRecord& row);

// Works out the match days of state's match table into plan, which it fills afresh.
void plan_match_days(const RunState& state, MatchPlan& plan);
