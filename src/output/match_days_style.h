// The style sheet of the match days, apart from the code that writes their rows.
#pragma once

// The CSS that stands between the document's <style> tags.
extern const char k_match_days_style[];
