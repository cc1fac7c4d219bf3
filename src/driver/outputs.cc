// The table of the program's outputs: each output's name, its stream, its writer and its
// console texts (from the messages), in the order the driver writes them.
#include "driver/outputs.h"

#include "driver/messages.h"

#include "output/club_calendar.h"
#include "output/html_writer.h"
#include "output/match_days.h"
#include "output/spreadsheet_writer.h"

namespace {

constexpr char k_xml_extension[] = ".xml";
constexpr char k_html_extension[] = ".html";
constexpr char k_match_days_extension[] = "_Spieltage.html";

}  // namespace

const Output k_outputs[k_output_count] = {
    {k_xml_extension, WriteMode::text, &RunState::spreadsheet_file, write_spreadsheet, k_output_failures[0].open_failed,
     k_output_failures[0].write_failed, "\n"},
    {k_html_extension, WriteMode::text, &RunState::html_file, write_html_table, k_output_failures[1].open_failed,
     k_output_failures[1].write_failed, ""},
    // Calendar programs read CR LF on every platform; the writer puts it there itself.
    {k_calendar_extension, WriteMode::bytes, &RunState::calendar_file, write_club_calendar, k_output_failures[2].open_failed,
     k_output_failures[2].write_failed, ""},
    {k_match_days_extension, WriteMode::text, &RunState::match_days_file, write_match_days, k_output_failures[3].open_failed,
     k_output_failures[3].write_failed, ""},
};
