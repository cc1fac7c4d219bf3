// The workbook's fixed texts and its table of 75 cell styles, kept as data in the order
// the document carries them, one element per source line, and written out piece by
// piece. Only the declared row count of Sheet1 and of its filter varies with the table.
#include "output/workbook_template.h"

#include <iterator>

namespace {

// Child elements a style may hold; whichever it holds are written in this order.
enum StyleChild : unsigned {
    k_alignment = 1u << 0,
    k_borders = 1u << 1,
    k_font = 1u << 2,
    k_interior = 1u << 3,
    k_number_format = 1u << 4,
    k_protection = 1u << 5,
};
constexpr unsigned k_cell_children = k_borders | k_font | k_interior | k_number_format;
constexpr unsigned k_normal_children = k_alignment | k_cell_children | k_protection;

// The three fonts of the workbook.
enum class Face { times, arial, unicode };

struct FontFace {
    const char* name;     // ss:FontName
    const char* charset;  // x:CharSet
    const char* size;     // ss:Size
};

// Border weights at the bottom, left and right edge of a cell; 0 for no border there.
struct Edges {
    int bottom;
    int left;
    int right;
};

// One style of the Styles element.
struct StyleEntry {
    const char* id;             // ss:ID
    const char* name;           // ss:Name, nullptr for none
    unsigned children;          // StyleChild bits
    Edges edges;                // the Border elements inside Borders
    Face face;                  // the font, when the style has one
    bool bold;                  // ss:Bold="1"
    const char* font_color;     // ss:Color of the font, nullptr for none
    const char* fill;           // ss:Color of a solid Interior, nullptr for an empty Interior
    const char* number_format;  // ss:Format, nullptr for an empty NumberFormat
};

// What a coloured style is for: the borders and weight of its column.
enum class Role { number, date, middle, opponent };

struct Column {
    const char* style;  // ss:StyleID
    const char* width;  // ss:Width
};

constexpr FontFace k_faces[] = {
    {"Times New Roman", "134", "12"},  // Face::times
    {"Arial", "0", "9"},               // Face::arial
    {"Arial Unicode MS", "134", "9"},  // Face::unicode
};

constexpr Edges k_no_edges = {0, 0, 0};
constexpr Edges k_number_edges = {0, 1, 2};    // Left 1, Right 2
constexpr Edges k_date_edges = {0, 0, 1};      // Right 1
constexpr Edges k_middle_edges = {0, 1, 1};    // Left 1, Right 1
constexpr Edges k_opponent_edges = {0, 1, 0};  // Left 1
constexpr bool k_bold = true;
constexpr bool k_plain = false;

// A named style that holds only a number format.
constexpr StyleEntry number_format_style(const char* id, const char* name, const char* format) {
    return {id, name, k_number_format, k_no_edges, Face::unicode, k_plain, nullptr, nullptr, format};
}

// The normal style and its unnamed copy: every child empty, Times New Roman 12.
constexpr StyleEntry normal_style(const char* id, const char* name) {
    return {id, name, k_normal_children, k_no_edges, Face::times, k_plain, nullptr, nullptr, nullptr};
}

// The number format of the styles that row-number cells use. Without it one spreadsheet
// program guesses the percent format of another style and shows 100% for the number 1;
// "General" is what any reader would show anyway.
constexpr char k_number_cell_format[] = "General";

// An unfilled cell style in Arial Unicode MS 9.
constexpr StyleEntry cell_style(const char* id, bool bold, Edges edges) {
    return {id, nullptr, k_cell_children, edges, Face::unicode, bold, nullptr, nullptr, nullptr};
}

// An unfilled style of a row-number cell.
constexpr StyleEntry number_cell_style(const char* id, Face face, unsigned extra_children) {
    return {id, nullptr, extra_children | k_cell_children, k_number_edges, face, k_bold, nullptr, nullptr,
            k_number_cell_format};
}

// A filled cell style with the borders of its column; the number cell is bold.
constexpr StyleEntry coloured_style(const char* id, Role role, const char* fill) {
    constexpr Edges role_edges[] = {k_number_edges, k_date_edges, k_middle_edges, k_opponent_edges};
    const bool number = role == Role::number;  // bold, and shown as a plain number
    return {id, nullptr, k_cell_children, role_edges[static_cast<int>(role)], Face::unicode, number, nullptr, fill,
            number ? k_number_cell_format : nullptr};
}

// The Styles element's content, in document order.
constexpr StyleEntry k_styles[] = {
    number_format_style("s1", "千位分隔", "_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * &quot;-&quot;??_ ;_ @_ "),
    normal_style("Default", "Normal"),
    number_format_style("s3", "千位分隔[0]", "_ * #,##0_ ;_ * \\-#,##0_ ;_ * &quot;-&quot;_ ;_ @_ "),
    number_format_style("s2", "货币",
                        "_(&quot;$&quot;* #,##0.00_);_(&quot;$&quot;* \\(#,##0.00\\);_(&quot;$&quot;* &quot;-&quot;??_);_(@_)"),
    number_format_style("s5", "货币[0]",
                        "_(&quot;$&quot;* #,##0_);_(&quot;$&quot;* \\(#,##0\\);_(&quot;$&quot;* &quot;-&quot;_);_(@_)"),
    number_format_style("s4", "百分比", "0%"),
    normal_style("s6", nullptr),
    cell_style("s7", k_bold, k_no_edges),
    {"s8", nullptr, k_alignment | k_borders | k_font | k_interior, k_no_edges, Face::arial, k_plain, nullptr, nullptr,
     nullptr},
    cell_style("s9", k_bold, k_no_edges),
    cell_style("s10", k_plain, k_no_edges),
    cell_style("s11", k_plain, k_no_edges),
    {"s12", nullptr, k_font, k_no_edges, Face::unicode, k_plain, nullptr, nullptr, nullptr},
    cell_style("s13", k_bold, {2, 1, 2}),
    cell_style("s14", k_bold, {2, 0, 1}),
    cell_style("s15", k_bold, {2, 1, 1}),
    {"s16", nullptr, k_alignment | k_cell_children, {2, 1, 1}, Face::unicode, k_bold, nullptr, nullptr, nullptr},
    cell_style("s17", k_bold, {2, 1, 0}),
    number_cell_style("s18", Face::unicode, 0),
    cell_style("s19", k_plain, k_date_edges),
    cell_style("s20", k_plain, k_middle_edges),
    cell_style("s21", k_plain, k_opponent_edges),
    {"s22", nullptr, k_cell_children, k_no_edges, Face::unicode, k_plain, "#FF0000", nullptr, nullptr},
    coloured_style("s23", Role::date, "#3366FF"),      // adult team 3
    coloured_style("s24", Role::middle, "#00CCFF"),    // selected by no row
    coloured_style("s25", Role::middle, "#CCFFFF"),    // adult team 2
    coloured_style("s26", Role::middle, "#33CCCC"),    // adult team 1
    coloured_style("s27", Role::date, "#008000"),      // U15 team 4
    coloured_style("s28", Role::middle, "#339966"),    // U15 team 3
    coloured_style("s29", Role::middle, "#99CC00"),    // U15 team 2
    coloured_style("s30", Role::middle, "#00FF00"),    // U15 team 1
    coloured_style("s31", Role::date, "#FF0000"),      // U19 team 4
    coloured_style("s32", Role::middle, "#FF6600"),    // U19 team 3
    coloured_style("s33", Role::middle, "#FF9900"),    // selected by no row
    coloured_style("s34", Role::middle, "#FFFF00"),    // U19 team 1
    number_cell_style("s35", Face::arial, k_alignment),
    coloured_style("s36", Role::number, "#33CCCC"),    // adult team 1
    coloured_style("s37", Role::date, "#33CCCC"),      // adult team 1
    coloured_style("s38", Role::opponent, "#33CCCC"),  // adult team 1
    coloured_style("s39", Role::number, "#CCFFFF"),    // adult team 2
    coloured_style("s40", Role::date, "#CCFFFF"),      // adult team 2
    coloured_style("s41", Role::opponent, "#CCFFFF"),  // adult team 2
    coloured_style("s42", Role::number, "#3366FF"),    // adult team 3
    coloured_style("s43", Role::middle, "#3366FF"),    // adult team 3
    coloured_style("s44", Role::opponent, "#3366FF"),  // adult team 3
    coloured_style("s45", Role::number, "#00FFFF"),    // adult team 4
    coloured_style("s46", Role::date, "#00FFFF"),      // adult team 4
    coloured_style("s47", Role::middle, "#00FFFF"),    // adult team 4
    coloured_style("s48", Role::opponent, "#00FFFF"),  // adult team 4
    coloured_style("s49", Role::number, "#008000"),    // U15 team 4
    coloured_style("s50", Role::middle, "#008000"),    // U15 team 4
    coloured_style("s51", Role::opponent, "#008000"),  // U15 team 4
    coloured_style("s52", Role::number, "#339966"),    // U15 team 3
    coloured_style("s53", Role::date, "#339966"),      // U15 team 3
    coloured_style("s54", Role::opponent, "#339966"),  // U15 team 3
    coloured_style("s55", Role::number, "#99CC00"),    // U15 team 2
    coloured_style("s56", Role::date, "#99CC00"),      // U15 team 2
    coloured_style("s57", Role::opponent, "#99CC00"),  // U15 team 2
    coloured_style("s58", Role::number, "#00FF00"),    // U15 team 1
    coloured_style("s59", Role::date, "#00FF00"),      // U15 team 1
    coloured_style("s60", Role::opponent, "#00FF00"),  // U15 team 1
    coloured_style("s61", Role::number, "#FFFF00"),    // U19 team 1
    coloured_style("s62", Role::date, "#FFFF00"),      // U19 team 1
    coloured_style("s63", Role::opponent, "#FFFF00"),  // U19 team 1
    coloured_style("s64", Role::number, "#FF9900"),    // U19 team 2
    coloured_style("s65", Role::date, "#FF9900"),      // U19 team 2
    coloured_style("s66", Role::middle, "#FF9900"),    // U19 team 2
    coloured_style("s67", Role::opponent, "#FF9900"),  // U19 team 2
    coloured_style("s68", Role::number, "#FF6600"),    // U19 team 3
    coloured_style("s69", Role::date, "#FF6600"),      // U19 team 3
    coloured_style("s70", Role::opponent, "#FF6600"),  // U19 team 3
    coloured_style("s71", Role::number, "#FF0000"),    // U19 team 4
    coloured_style("s72", Role::middle, "#FF0000"),    // U19 team 4
    coloured_style("s73", Role::opponent, "#FF0000"),  // U19 team 4
    coloured_style("s74", Role::opponent, "#33CCCC"),  // selected by no row
};
static_assert(std::size(k_styles) == 75, "the workbook defines 75 styles");

// The two prolog lines (the workbook's only line breaks) up to the opening of Styles.
constexpr char k_head_prolog[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<?mso-application progid=\"Excel.Sheet\"?>\n"
    "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\""
    " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\""
    " xmlns:o=\"urn:schemas-microsoft-com:office:office\""
    " xmlns:x=\"urn:schemas-microsoft-com:office:excel\""
    " xmlns:html=\"http://www.w3.org/TR/REC-html40\""
    " xmlns:dt=\"uuid:C2F41010-65B3-11d1-A29F-00AA00C14882\">"
    "<DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\">"
    "<Author>Termarium</Author>"
    "<Created>2014-02-27T13:57:09</Created>"
    "</DocumentProperties>"
    "<CustomDocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\">"
    "<KSOProductBuildVer dt:dt=\"string\">1033-9.1.0.4246</KSOProductBuildVer>"
    "</CustomDocumentProperties>"
    "<ExcelWorkbook xmlns=\"urn:schemas-microsoft-com:office:excel\">"
    "<WindowWidth>20400</WindowWidth>"
    "<WindowHeight>8320</WindowHeight>"
    "<ProtectStructure>False</ProtectStructure>"
    "<ProtectWindows>False</ProtectWindows>"
    "</ExcelWorkbook>"
    "<Styles>";

// From the end of Styles to the declared row count of Sheet1.
constexpr char k_head_sheet_open[] =
    "</Styles>"
    "<Worksheet ss:Name=\"Sheet1\">"
    "<Table ss:ExpandedColumnCount=\"8\" ss:ExpandedRowCount=\"";

// The rest of the Table tag after the row count.
constexpr char k_head_table_rest[] =
    "\" x:FullColumns=\"1\" x:FullRows=\"1\" ss:StyleID=\"s12\" ss:DefaultColumnWidth=\"54\""
    " ss:DefaultRowHeight=\"13.5\">";

// Column 1 numbers the rows, 2 to 7 hold a match, 8 a trailing empty cell.
constexpr Column k_columns[] = {
    {"s9", "18.75"}, {"s10", "72"}, {"s10", "31.5"}, {"s10", "109.5"},
    {"s10", "48"},   {"s10", "107.25"}, {"s10", "137.25"}, {"s11", "118.5"},
};

// The header row, the fixed row 1 (standing for the first file's separator) and the
// opening of the first generated row, up to its style digits.
constexpr char k_head_rows[] =
    "<Row ss:StyleID=\"s7\">"
    "<Cell ss:StyleID=\"s13\"/>"
    "<Cell ss:StyleID=\"s14\"><Data ss:Type=\"String\">Datum</Data></Cell>"
    "<Cell ss:StyleID=\"s15\"><Data ss:Type=\"String\">Zeit</Data></Cell>"
    "<Cell ss:StyleID=\"s15\"><Data ss:Type=\"String\">Spielort</Data></Cell>"
    "<Cell ss:StyleID=\"s15\"><Data ss:Type=\"String\">Heim/Auswärts</Data></Cell>"
    "<Cell ss:StyleID=\"s16\"><Data ss:Type=\"String\">Liga / Mannschaft</Data></Cell>"
    "<Cell ss:StyleID=\"s17\"><Data ss:Type=\"String\">Gegner</Data></Cell>"
    "</Row>"
    "<Row>"
    "<Cell ss:StyleID=\"s18\"><Data ss:Type=\"Number\">1</Data></Cell>"
    "<Cell ss:StyleID=\"s19\"/>"
    "<Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s21\"/>"
    "<Cell ss:StyleID=\"s22\"/>"
    "</Row>"
    "<Row><Cell ss:StyleID=\"s";

// The closing row's empty cells, the end of the table and Sheet1's options, up to the
// row count of the filter range.
constexpr char k_tail_sheet_close[] =
    "</Data></Cell>"
    "<Cell ss:StyleID=\"s19\"/>"
    "<Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s21\"/>"
    "</Row>"
    "</Table>"
    "<WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\">"
    "<PageSetup>"
    "<Header x:Margin=\"0.511805555555556\"/>"
    "<Footer x:Margin=\"0.511805555555556\"/>"
    "<PageMargins x:Left=\"0.196527777777778\" x:Right=\"0.196527777777778\""
    " x:Top=\"0.196527777777778\" x:Bottom=\"0.196527777777778\"/>"
    "</PageSetup>"
    "<Print>"
    "<ValidPrinterInfo/>"
    "<PaperSizeIndex>9</PaperSizeIndex>"
    "<HorizontalResolution>600</HorizontalResolution>"
    "</Print>"
    "<Selected/>"
    "<TopRowVisible>0</TopRowVisible>"
    "<LeftColumnVisible>0</LeftColumnVisible>"
    "<PageBreakZoom>100</PageBreakZoom>"
    "<Panes>"
    "<Pane>"
    "<Number>3</Number>"
    "<ActiveRow>21</ActiveRow>"
    "<ActiveCol>3</ActiveCol>"
    "<RangeSelection>R22C4</RangeSelection>"
    "</Pane>"
    "</Panes>"
    "<ProtectObjects>False</ProtectObjects>"
    "<ProtectScenarios>False</ProtectScenarios>"
    "</WorksheetOptions>"
    "<AutoFilter xmlns=\"urn:schemas-microsoft-com:office:excel\" x:Range=\"R1C1:R";

// The rest of the filter range after its row count, and the end of Sheet1.
constexpr char k_tail_filter_rest[] =
    "C7\"/>"
    "</Worksheet>";

// Sheet2 and Sheet3 alike, each behind its name.
constexpr char k_empty_sheet_open[] = "<Worksheet ss:Name=\"";
constexpr char k_empty_sheet[] =
    "\">"
    "<Table ss:ExpandedColumnCount=\"1\" ss:ExpandedRowCount=\"1\" x:FullColumns=\"1\" x:FullRows=\"1\""
    " ss:DefaultColumnWidth=\"54\" ss:DefaultRowHeight=\"15.75\"/>"
    "<WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\">"
    "<PageSetup>"
    "<Header x:Margin=\"0.511805555555556\"/>"
    "<Footer x:Margin=\"0.511805555555556\"/>"
    "</PageSetup>"
    "<TopRowVisible>0</TopRowVisible>"
    "<LeftColumnVisible>0</LeftColumnVisible>"
    "<PageBreakZoom>100</PageBreakZoom>"
    "<ProtectObjects>False</ProtectObjects>"
    "<ProtectScenarios>False</ProtectScenarios>"
    "</WorksheetOptions>"
    "</Worksheet>";

constexpr const char* k_empty_sheet_names[] = {"Sheet2", "Sheet3"};

constexpr char k_workbook_end[] = "</Workbook>";

// Borders as Bottom, Left, Right, each only where its weight is not 0.
void write_borders(OutputBuffer& out, const Edges& edges) {
    if (edges.bottom == 0 && edges.left == 0 && edges.right == 0) {
        put_text(out, "<Borders/>");
        return;
    }
    const struct {
        const char* position;
        int weight;
    } borders[] = {{"Bottom", edges.bottom}, {"Left", edges.left}, {"Right", edges.right}};
    put_text(out, "<Borders>");
    for (const auto& border : borders) {
        if (border.weight == 0) continue;
        put_text(out, "<Border ss:Position=\"");
        put_text(out, border.position);
        put_text(out, "\" ss:LineStyle=\"Continuous\" ss:Weight=\"");
        put_number(out, border.weight);
        put_text(out, "\"/>");
    }
    put_text(out, "</Borders>");
}

// Writes lead, the value and a closing quote: one attribute behind its name.
void put_attribute(OutputBuffer& out, const char* lead, const char* value) {
    put_text(out, lead);
    put_text(out, value);
    put_text(out, "\"");
}

void write_font(OutputBuffer& out, const StyleEntry& style) {
    const FontFace& face = k_faces[static_cast<int>(style.face)];
    put_attribute(out, "<Font ss:FontName=\"", face.name);
    put_attribute(out, " x:CharSet=\"", face.charset);
    put_attribute(out, " ss:Size=\"", face.size);
    if (style.font_color != nullptr) put_attribute(out, " ss:Color=\"", style.font_color);
    if (style.bold) put_text(out, " ss:Bold=\"1\"");
    put_text(out, "/>");
}

void write_style(OutputBuffer& out, const StyleEntry& style) {
    put_attribute(out, "<Style ss:ID=\"", style.id);
    if (style.name != nullptr) put_attribute(out, " ss:Name=\"", style.name);
    put_text(out, ">");
    if (style.children & k_alignment) put_text(out, "<Alignment/>");
    if (style.children & k_borders) write_borders(out, style.edges);
    if (style.children & k_font) write_font(out, style);
    if (style.children & k_interior) {
        if (style.fill != nullptr) {
            put_attribute(out, "<Interior ss:Color=\"", style.fill);
            put_text(out, " ss:Pattern=\"Solid\"/>");
        } else {
            put_text(out, "<Interior/>");
        }
    }
    if (style.children & k_number_format) {
        if (style.number_format != nullptr) {
            put_attribute(out, "<NumberFormat ss:Format=\"", style.number_format);
            put_text(out, "/>");
        } else {
            put_text(out, "<NumberFormat/>");
        }
    }
    if (style.children & k_protection) put_text(out, "<Protection/>");
    put_text(out, "</Style>");
}

}  // namespace

void write_workbook_head(OutputBuffer& out, int row_count) {
    put_text(out, k_head_prolog);
    for (const StyleEntry& style : k_styles) write_style(out, style);
    put_text(out, k_head_sheet_open);
    put_number(out, row_count);
    put_text(out, k_head_table_rest);
    for (const Column& column : k_columns) {
        put_attribute(out, "<Column ss:StyleID=\"", column.style);
        put_attribute(out, " ss:AutoFitWidth=\"0\" ss:Width=\"", column.width);
        put_text(out, "/>");
    }
    put_text(out, k_head_rows);
}

void write_workbook_tail(OutputBuffer& out, int row_count) {
    put_text(out, k_tail_sheet_close);
    put_number(out, row_count);
    put_text(out, k_tail_filter_rest);
    for (const char* name : k_empty_sheet_names) {
        put_text(out, k_empty_sheet_open);
        put_text(out, name);
        put_text(out, k_empty_sheet);
    }
    put_text(out, k_workbook_end);
}
