// The style sheet of the match days: a week's table kept on one printed page, each hall on
// a page of its own, home matches bold with a thick rule at their left (no colour needed),
// called-off matches struck through, each match a card of its own on a phone, and A4 pages in print.
#include "output/match_days_style.h"

const char k_match_days_style[] =
    "body { margin: 16px auto; max-width: 1100px; padding: 0 12px; color: #000; background: #fff;"
    " font: 15px/1.35 \"DejaVu Sans\", Arial, sans-serif; }\n"
    "h1 { font-size: 24px; margin: 0 0 4px; }\n"
    "h2 { font-size: 19px; margin: 22px 0 6px; border-bottom: 2px solid #000; }\n"
    "h3 { font-size: 16px; margin: 0; text-align: left; }\n"
    "section.block { margin: 12px 0 18px; break-inside: avoid; page-break-inside: avoid; }\n"
    "table { width: 100%; border-collapse: collapse; table-layout: fixed; }\n"
    "col.zeit { width: 14%; } col.team { width: 24%; } col.ha { width: 11%; } col.gegner { width: 22%; }"
    " col.ort { width: 29%; } col.bis { width: 9%; } col.halle-team { width: 36%; } col.halle-gegner { width: 36%; }\n"
    "table.halle col.zeit { width: 18%; }\n"
    ".tag, .uhr { white-space: nowrap; }\n"
    "caption { text-align: left; padding: 4px 0; }\n"
    "th, td { border: 1px solid #555; padding: 3px 6px; text-align: left; vertical-align: top;"
    " overflow-wrap: break-word; }\n"
    "th { background: #eee; }\n"
    "thead { display: table-header-group; }\n"
    "tr { break-inside: avoid; page-break-inside: avoid; }\n"
    "tr.heim td { font-weight: bold; }\n"
    "tr.heim td:first-child { border-left: 5px solid #000; }\n"
    ".liga { font-weight: normal; font-size: 90%; }\n"
    ".ue { display: inline-block; margin-left: 4px; padding: 0 4px; border: 2px solid #000; font-weight: bold; }\n"
    ".regel { font-size: 90%; }\n"
    // A called-off match: a line through its row, which print keeps as it keeps the text; its
    // word an inline box, which the line does not cross.
    "tr.abgesagt td { text-decoration: line-through; }\n"
    ".absage { display: inline-block; text-decoration: none; font-style: italic; }\n"

    "ol.kollisionen { list-style: none; padding-left: 0; }\n"
    "ol.kollisionen li { margin: 4px 0; }\n"
    // On a phone each match is a card of its own, the columns named where they need it.
    "@media (max-width: 600px) {\n"
    "  body { font-size: 14px; margin: 8px auto; padding: 0 6px; }\n"
    "  table, caption, tbody, tr, td { display: block; }\n"
    "  colgroup, thead { display: none; }\n"
    "  tr { border: 1px solid #555; margin: 0 0 6px; padding: 3px 6px; }\n"
    "  td { border: 0; padding: 1px 0; }\n"
    "  tr.heim { border-left: 5px solid #000; }\n"
    "  tr.heim td:first-child { border-left: 0; }\n"
    "  table.tage td:nth-child(4)::before, table.halle td:nth-child(4)::before { content: \"gegen \"; font-weight: normal; }\n"
    "  table.tage td:nth-child(5)::before { content: \"Ort: \"; font-weight: normal; }\n"
    "  table.halle td:nth-child(2):not(:empty)::before { content: \"bis etwa \"; font-weight: normal; }\n"
    "}\n"
    "@page { size: A4; margin: 12mm 10mm 14mm; }\n"
    "@media print {\n"
    "  body { margin: 0; max-width: none; padding: 0; font-size: 9pt; line-height: 1.25; }\n"
    "  th, td { padding: 2px 4px; }\n"
    "  h2 { break-after: avoid; page-break-after: avoid; }\n"
    // Each hall on a page of its own, for the hall's caretaker: every hall's block but the first.
    "  #hallen ~ section.block ~ section.block { break-before: page; page-break-before: always; }\n"
    "  a { color: #000; text-decoration: none; }\n"
    "}\n";
