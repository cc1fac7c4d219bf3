// Time zones of starts. The zone names compare without regard to case; a name that a
// calendar program puts behind a prefix of its own ("/freeassociation.sourceforge.net/
// Europe/Berlin") counts by its last parts. A file's own definition counts as German time
// when one of its STANDARD parts goes to +0100 and one of its DAYLIGHT parts to +0200.
#include "import/time_zones.h"

#include <cstring>
#include <iterator>

namespace {

constexpr char k_tzid[] = "TZID=";
constexpr char k_zone_begin[] = "BEGIN:VTIMEZONE";
constexpr char k_zone_end[] = "END:VTIMEZONE";
constexpr char k_standard_begin[] = "BEGIN:STANDARD";
constexpr char k_daylight_begin[] = "BEGIN:DAYLIGHT";
constexpr char k_zone_name[] = "TZID";
constexpr char k_offset_to[] = "TZOFFSETTO";
constexpr char k_winter_offset[] = "+0100";
constexpr char k_summer_offset[] = "+0200";

// Places whose clocks switch with Germany's (central European time since 1996), and the
// other names of that time.
constexpr const char* k_german_zones[] = {
    "Europe/Berlin", "Europe/Amsterdam", "Europe/Andorra", "Europe/Belgrade", "Europe/Bratislava",
    "Europe/Brussels", "Europe/Budapest", "Europe/Busingen", "Europe/Copenhagen", "Europe/Gibraltar",
    "Europe/Ljubljana", "Europe/Luxembourg", "Europe/Madrid", "Europe/Malta", "Europe/Monaco", "Europe/Oslo",
    "Europe/Paris", "Europe/Podgorica", "Europe/Prague", "Europe/Rome", "Europe/San_Marino", "Europe/Sarajevo",
    "Europe/Skopje", "Europe/Stockholm", "Europe/Tirane", "Europe/Vaduz", "Europe/Vatican", "Europe/Vienna",
    "Europe/Warsaw", "Europe/Zagreb", "Europe/Zurich", "Arctic/Longyearbyen", "Africa/Ceuta", "CET", "MET",
    // The Windows names, as Outlook writes them.
    "W. Europe Standard Time", "Romance Standard Time", "Central Europe Standard Time",
    "Central European Standard Time",
};
// Zones that are UTC under another name.
constexpr const char* k_utc_zones[] = {"UTC", "Etc/UTC", "GMT", "Etc/GMT", "Zulu", "Etc/Zulu"};

// True when the zone is name, or ends in "/" and name.
bool names_zone(TextSpan zone, const char* name) {
    const int length = static_cast<int>(std::strlen(name));
    if (zone.length < length) return false;
    const TextSpan tail{zone.bytes + zone.length - length, length};
    return equals_ignoring_case(tail, name) && (zone.length == length || zone.bytes[zone.length - length - 1] == '/');
}

bool in_list(TextSpan zone, const char* const* names, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (names_zone(zone, names[i])) return true;
    }
    return false;
}

// True when the offset is the one given, seconds ("00") at most behind it.
bool is_offset(TextSpan value, const char* offset) {
    const int length = static_cast<int>(std::strlen(offset));
    if (value.length != length && !(value.length == length + 2 && value.bytes[length] == '0' && value.bytes[length + 1] == '0')) {
        return false;
    }
    return std::memcmp(value.bytes, offset, static_cast<size_t>(length)) == 0;
}

// The TZID parameter of a start line, its quotes taken off; empty when it has none.
TextSpan zone_parameter(TextSpan text, const ContentLine& line) {
    const int parameters_end = line.value > line.name_end ? line.value - 1 : line.name_end;
    for (int i = line.name_end; i < parameters_end; ++i) {
        if (text.bytes[i] != ';' || !marker_at(text, i + 1, k_tzid)) continue;
        int zone = i + 1 + static_cast<int>(sizeof k_tzid - 1);
        int zone_end = zone;
        bool quoted = false;
        while (zone_end < parameters_end && (quoted || text.bytes[zone_end] != ';')) {
            if (text.bytes[zone_end] == '"') quoted = !quoted;
            ++zone_end;
        }
        if (zone_end - zone >= 2 && text.bytes[zone] == '"' && text.bytes[zone_end - 1] == '"') {
            ++zone;
            --zone_end;
        }
        return {text.bytes + zone, zone_end - zone};
    }
    return {text.bytes, 0};
}

// Finds the file's VTIMEZONE definitions of German time, wherever they stand in it.
void find_declared_zones(TextSpan text, DeclaredZones& zones) {
    zones.count = 0;
    zones.searched = true;
    TextSpan name{text.bytes, 0};
    bool in_zone = false;
    bool in_standard = false;
    bool winter = false;
    bool summer = false;
    for (int line = 0; line >= 0 && line < text.length;) {
        const int feed = line_end(text, line);
        const char first = ascii_upper(text.bytes[line]);
        if (first == 'B' && marker_at(text, line, k_zone_begin)) {
            in_zone = true;
            name.length = 0;
            winter = summer = false;
        } else if (in_zone && first == 'B' && marker_at(text, line, k_standard_begin)) {
            in_standard = true;
        } else if (in_zone && first == 'B' && marker_at(text, line, k_daylight_begin)) {
            in_standard = false;
        } else if (in_zone && first == 'T') {
            ContentLine content{};
            if (read_content_line(text, line, content)) {
                if (is_named(text, content, k_zone_name)) name = trimmed_value(text, content);
                if (is_named(text, content, k_offset_to)) {
                    const TextSpan offset = trimmed_value(text, content);
                    winter = winter || (in_standard && is_offset(offset, k_winter_offset));
                    summer = summer || (!in_standard && is_offset(offset, k_summer_offset));
                }
            }
        } else if (in_zone && first == 'E' && marker_at(text, line, k_zone_end)) {
            in_zone = false;
            if (winter && summer && name.length > 0 && zones.count < k_declared_zones) zones.names[zones.count++] = name;
        }
        line = feed < 0 ? -1 : feed + 1;
    }
}

}  // namespace

StartClock start_clock(TextSpan text, const ContentLine& line, DeclaredZones& zones) {
    const TextSpan zone = zone_parameter(text, line);
    if (zone.length == 0) return StartClock::german;
    // German time first: the zone of nearly every start.
    if (in_list(zone, k_german_zones, std::size(k_german_zones))) return StartClock::german;
    if (in_list(zone, k_utc_zones, std::size(k_utc_zones))) return StartClock::utc;
    if (!zones.searched) find_declared_zones(text, zones);
    for (int i = 0; i < zones.count; ++i) {
        const TextSpan declared = zones.names[i];
        if (declared.length == zone.length && std::memcmp(declared.bytes, zone.bytes, static_cast<size_t>(zone.length)) == 0) {
            return StartClock::german;
        }
    }
    return StartClock::unknown;
}
