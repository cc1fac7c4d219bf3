// The program-wide run state: the match table and every buffer the import and the
// writers share. One zero-filled instance lives for the whole run; several text
// terminators are that zero fill, so a fresh state must always start from zeros.
#pragma once

#include <cstdint>
#include <cstdio>

// Limits of the fixed fields. Every write into one of them is bounded by these.
constexpr int k_table_rows = 5001;         // match table rows; the last used row must be followed by an empty one
constexpr int k_max_used_rows = 5000;      // rows 0..4999 may be used (40 teams of 124 matches), row 5000 stays the end mark
constexpr int k_max_input_files = 40;      // calendars one run reads
constexpr int k_max_arguments = 80;        // files one run takes, skipped ones included (argument count at most 81)
constexpr int k_path_size = 200;           // path buffers; a path holds at most 199 bytes
constexpr int k_display_name_size = 150;   // base name of an input file, at most 149 bytes
constexpr int k_season_size = 12;          // season text: at most nine bytes plus NUL
constexpr int k_season_length = 9;         // bytes of the file name taken as season text
constexpr int k_file_buffer_size = 1 << 20;  // one calendar file's text and its NUL: a file of up to 1 MiB - 1 bytes
constexpr int k_team_name_size = 30;       // the club's own team name: at most 29 bytes plus NUL
constexpr int k_venue_size = 50;           // shortened venue: at most 49 bytes plus NUL
constexpr int k_league_size = 50;          // league text: at most 49 bytes plus NUL
constexpr int k_opponent_size = 52;        // opponent, and any team name read: at most 51 bytes plus NUL
constexpr int k_temp_suffix_size = 16;     // room for ".<10 random hex digits>.tmp" behind an output path
constexpr int k_location_size = 150;       // a match's whole location text: at most 149 bytes plus NUL
constexpr int k_stamp_size = 17;           // a UTC time stamp "YYYYMMDDTHHMMSSZ" plus NUL
constexpr int k_run_time_size = 21;        // the run's German time "Di, 09.12.2025 07:45" plus NUL
constexpr int k_uid_size = 120;            // a source event's UID kept whole: at most 119 bytes plus NUL
constexpr int k_max_blocks = 80;           // team blocks of a run: each of the 40 files with two of the club's teams, as a league's file may hold
constexpr int k_max_league_clubs = 100;
constexpr int k_max_changes = 2 * k_table_rows;  // changes since the last run: each row new, each earlier match called off    // clubs of the league files that the question lists: ten leagues of ten clubs

// The separator between the home and the away team in a summary.
inline constexpr char summary_separator[] = " - ";

// The maker's name that the club calendar gives in its PRODID, by which a later run knows
// its own output whatever the file is named.
inline constexpr char k_own_product[] = "-//Termarium//";

// The club calendar's name in front of the club and the season ("Spielplan SV Ost
// 2025-2026"), by which a later run knows the club.
inline constexpr char k_calendar_title[] = "Spielplan ";

// Behind the source's UID of a match in the club calendar, which keeps it once.
inline constexpr char k_uid_domain[] = "@termarium";

// Between the club's team and the league in a club calendar event's description.
inline constexpr char k_team_league_separator[] = ", ";

// In front of the run's German time in the club calendar's description and the match days.
inline constexpr char k_stand_title[] = "Stand: ";

// In front of the summary of a called-off match in the club calendar.
inline constexpr char k_cancelled_title[] = "Abgesagt: ";

// The club calendar's own property for the venue as the table shows it, so that the
// calendar read back gives the same venue.
inline constexpr char k_venue_property[] = "X-TERMARIUM-VENUE";

// One row of the match table. day[0] tells the row kind: a digit for a match, a blank
// for the separator in front of each file's block, NUL for the end of the table.
struct MatchRecord {
    int32_t day_number;              // day of month as a number
    int32_t month_number;            // month as a number, 1..12
    int32_t year_number;             // four-digit year as a number
    char day[4];                     // two digit characters; day[0] is the row-kind marker
    char month[4];                   // two digit characters
    char year[6];                    // four digit characters
    char weekday[4];                 // "Mo" .. "So"
    char hour[4];                    // two digit characters
    char minute[4];                  // two digit characters
    char venue[k_venue_size];        // shortened venue name
    char is_home;                    // 1 for a home match, 0 for an away match
    char team_digit;                 // number of the club's team: '1', '2', ...
    char league[k_league_size];      // league or class name as the calendar states it
    char opponent[k_opponent_size];  // name of the other team
};
static_assert(sizeof(MatchRecord) == 192, "a match row is 192 bytes");

// What the club calendar and the match days need of a match beyond its table row.
struct MatchDetails {
    uint8_t block;                    // index of the team block the row belongs to (blocks of RunState)
    char home[k_opponent_size];       // home team as the event's summary names it
    char away[k_opponent_size];       // away team as the event's summary names it
    char location[k_location_size];   // the event's whole location text
    char uid[k_uid_size];             // the source event's UID; empty when it had none
    int32_t sequence;                 // the source event's SEQUENCE; 0 when it had none
    bool cancelled;                   // the match is called off: kept in the club calendar and the match days only
};

// A match of the earlier club calendar (the last run's), as the table would show it.
struct EarlierMatch {
    MatchRecord row;                  // date, time, venue, league, the club's side, opponent
    MatchDetails details;             // home, away, location, the calendar's UID, SEQUENCE, called off
    char own_team[k_team_name_size];  // the club's team it was written for
    bool taken;                       // a match of this run is the same match
};

// What changed since the last run for one match.
enum class ChangeKind : uint8_t {
    added,       // new: the earlier club calendar does not hold it
    moved,       // another date, time or location
    called_off,  // marked called off now, or gone from its team's files before its date
};

// One change: the match row of this run (-1 for none) and the earlier match (-1 for none).
struct MatchChange {
    ChangeKind kind;
    int16_t row;      // index into match_table
    int16_t earlier;  // index into EarlierRun::matches
};
static_assert(k_table_rows <= INT16_MAX, "rows and earlier matches fit int16_t");

// The earlier club calendar and what changed since: read before the outputs are written.
struct EarlierRun {
    bool compared;                        // an earlier club calendar was read and compared
    char since[k_run_time_size];          // its run's date, "Di, 09.12.2025"
    EarlierMatch matches[k_table_rows];   // its matches in file order
    int32_t count;                        // matches in use
    MatchChange changes[k_max_changes];   // by date: new and moved of this run's rows, called-off earlier ones
    int32_t change_count;                 // changes in use
    int32_t added;                        // changes of each kind
    int32_t moved;
    int32_t called_off;
    int16_t missing[k_max_blocks];        // an earlier match of each team that no file of this run holds
    int32_t missing_count;                // entries of missing in use
};

// What the driver made of one argument before the import.
enum class InputKind : uint8_t {
    calendar,      // read by the import
    not_calendar,  // a folder, or a file that is no calendar by its name and its first bytes: skipped
    own_output,    // a club calendar this program wrote, given beside other calendars: skipped
    too_long,      // its path or its name is too long to be opened: named by the driver
    failed,        // it could not be opened: named by the driver
};

// One team of one file: the rows of one of the club's teams behind their separator row,
// and what the team's line on the console says. A team's file gives one block, a
// league's file one block for each of the club's teams in it.
struct TeamBlock {
    char own_team[k_team_name_size];   // the club's team of the block
    char league[k_league_size];        // league of the block's last match row
    int32_t matches;                   // events read, called-off ones aside
    int32_t cancelled;                 // events marked as called off
    int32_t also_in;                   // 1 + index of an earlier block of the same team and league; 0 for none
    int32_t file;                      // index of the input file the block comes from
    char tied_home[k_team_name_size];  // the home candidate where both were sides equally often (decided after all files); else empty
};

// What the import found out about one input file beyond its blocks.
struct FileReport {
    int32_t failed_event;        // 1-based number of the event that broke the layout or named an unknown zone
    int32_t same_as;             // 1 + index of an earlier input with the same bytes (then nothing was read); 0 for none
    int32_t text_length;         // bytes of the loaded text
    int32_t first_block;         // index of the file's first block
    int32_t blocks;              // blocks the file gave
    bool league_file;            // neither side of its first event plays in every event: a whole league's matches
};

// The whole run's state. Zero-filled at start; reset_run_state makes a fresh one.
struct RunState {
    MatchRecord match_table[k_table_rows];                        // rows 0..5000
    int32_t current_row;                                          // next row to fill (import) or row being written (output)
    FILE* input_files[k_max_arguments];                           // open input files in argument order
    char file_display_names[k_max_arguments][k_display_name_size]; // base name of each input file
    InputKind input_kinds[k_max_arguments];                       // which arguments the import reads
    char season[k_season_size];                                   // season text from the first file name
    char output_path[k_path_size];                                // working buffer for paths
    char file_buffer[k_file_buffer_size];                         // text of the calendar file being read
    char candidate_home[k_opponent_size];                         // home team of a file's first summary
    char candidate_away[k_opponent_size];                         // away team of a file's first summary
    char own_team[k_team_name_size];                              // the club's team of the current block
    int32_t home_candidate_count;                                 // occurrences of candidate_home in the file
    int32_t away_candidate_count;                                 // occurrences of candidate_away in the file
    FILE* spreadsheet_file;                                       // the open workbook output
    int32_t row_styles[4];                                        // styles of the current workbook row: number, date, middle, opponent
    char html_class_index;                                        // 0..6: cell opener of the current HTML row

    // Driver: the output streams beyond the workbook's, open while one output is written.
    FILE* html_file;                                              // the open HTML output
    FILE* calendar_file;                                          // the open club calendar output
    FILE* match_days_file;                                        // the open match days output
    char run_stamp[k_stamp_size];                                 // the run's time in UTC, stamped into the club calendar
    char run_time[k_run_time_size];                               // the run's time in German time, the outputs' "Stand:"

    // Import: where the loaded text ends.
    int32_t file_length;                                          // bytes of text loaded into file_buffer, NUL excluded

    // Import, per input file and per team block: what the console lines say; the
    // arguments the import went through.
    FileReport file_reports[k_max_arguments];                     // what the import found out about each argument
    TeamBlock blocks[k_max_blocks];                               // the run's team blocks in table order
    int32_t block_count;                                          // blocks in use
    int32_t files_read;

    // The club: known from an earlier club calendar or the user's answer before the import,
    // else worked out from the own teams; named in the club calendar.
    char club[k_team_name_size];                                  // the club's name without a team number; empty while unknown
    char league_clubs[k_max_league_clubs][k_team_name_size];      // clubs of the league files' teams, in the order they first appear
    int32_t league_club_count;                                    // entries of league_clubs in use

    // Import, beside each match row: what the club calendar and the match days need of it.
    MatchDetails match_details[k_table_rows];

    // The last run's club calendar and the changes since, for the console and the match days.
    EarlierRun earlier;
};

// The browser build holds the state beside its 5 MiB stack in 32 MiB of memory.
static_assert(sizeof(RunState) < (8 << 20), "the run state stays below 8 MiB");

// Fills the whole state with zero bytes, as at program start.
void reset_run_state(RunState& state);
