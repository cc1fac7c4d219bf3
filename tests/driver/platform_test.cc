// The platform layer: UTF-16 command lines become UTF-8 without overflowing their fixed
// storage, UTF-8 paths become UTF-16 exactly, and files named with umlauts are created,
// replaced and removed under their real names, with the platform's line ends.
#include "driver/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace {

// UTF-16 units in wchar_t elements, as Windows hands them over (wchar_t is wider on Linux).
std::wstring units(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

std::string bytes(const std::u8string& text) {
    return std::string(text.begin(), text.end());
}

std::string read_bytes(const std::string& path) {
    FILE* f = open_file(path.c_str(), "rb");
    if (f == nullptr) return "<missing>";
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

TEST(Platform, Utf16BecomesUtf8) {
    struct Case {
        std::wstring input;
        std::string expected;
    };
    const Case cases[] = {
        {units(u"C:\\Vereine\\Plan.ics"), "C:\\Vereine\\Plan.ics"},
        {units(u"Z:\\Spielpläne\\Männer 1.ics"), bytes(u8"Z:\\Spielpläne\\Männer 1.ics")},
        {units(u"Łódź €"), bytes(u8"Łódź €")},
        {units(u"Ball \U0001F3D0"), "Ball \xF0\x9F\x8F\x90"},                // surrogate pair, 4 bytes
        {units(u"") + L'a' + wchar_t(0xD83C) + L'b', "a\xEF\xBF\xBD" "b"},   // lone high surrogate
        {units(u"") + wchar_t(0xDC00) + L'c', "\xEF\xBF\xBD" "c"},           // lone low surrogate
        {units(u"") + L'x' + wchar_t(0xD83C), "x\xEF\xBF\xBD"},              // high surrogate at the end
        {units(u""), ""},
    };
    for (const Case& c : cases) {
        char out[64];
        EXPECT_TRUE(utf16_to_utf8(c.input.c_str(), out, sizeof out));
        EXPECT_EQ(c.expected, std::string(out));
    }
}

TEST(Platform, Utf8OutputIsCutOnWholeCharactersOnly) {
    std::wstring text = units(u"aä\U0001F3D0");  // 1 + 2 + 4 bytes
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_TRUE(utf16_to_utf8(text.c_str(), out, 8));  // exactly fits with its NUL
    EXPECT_EQ("a\xC3\xA4\xF0\x9F\x8F\x90", std::string(out));

    const struct {
        size_t size;
        std::string kept;
    } cuts[] = {{7, "a\xC3\xA4"}, {4, "a\xC3\xA4"}, {3, "a"}, {2, "a"}, {1, ""}};
    for (const auto& cut : cuts) {
        std::memset(out, 'x', sizeof out);
        EXPECT_FALSE(utf16_to_utf8(text.c_str(), out, cut.size));
        EXPECT_EQ(cut.kept, std::string(out)) << "size " << cut.size;
        EXPECT_EQ('x', out[cut.size]) << "wrote past size " << cut.size;
    }
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(utf16_to_utf8(text.c_str(), out, 0));
    EXPECT_EQ('x', out[0]);
}

TEST(Platform, Utf8BecomesUtf16AndMalformedTextIsRefused) {
    wchar_t out[16];
    ASSERT_TRUE(utf8_to_utf16(bytes(u8"Männer \U0001F3D0").c_str(), out, 16));
    EXPECT_EQ(units(u"Männer \U0001F3D0"), std::wstring(out));

    const char* malformed[] = {
        "\xC3",              // sequence cut by the end
        "a\xC3(",            // continuation byte missing
        "\x80",              // stray continuation byte
        "\xC0\x80",          // overlong NUL
        "\xE0\x80\xAF",      // overlong slash
        "\xED\xA0\x80",      // encoded surrogate
        "\xF4\x90\x80\x80",  // beyond U+10FFFF
        "\xFF",
    };
    for (const char* text : malformed) {
        out[0] = L'x';
        EXPECT_FALSE(utf8_to_utf16(text, out, 16)) << text;
        EXPECT_EQ(0, out[0]);  // nothing half-converted is left to use
    }

    // Room for exactly three units and the NUL; a pair needs two units.
    EXPECT_TRUE(utf8_to_utf16("abc", out, 4));
    EXPECT_FALSE(utf8_to_utf16("abcd", out, 4));
    EXPECT_TRUE(utf8_to_utf16("a\xF0\x9F\x8F\x90", out, 4));
    EXPECT_FALSE(utf8_to_utf16("ab\xF0\x9F\x8F\x90", out, 4));
    EXPECT_FALSE(utf8_to_utf16("", out, 0));
}

TEST(Platform, TheLongestTemporaryPathFitsTheWideBuffer) {
    // temp_path's longest text, with umlauts (two bytes, one unit each), still converts.
    std::string path = bytes(u8"C:\\Spielpläne\\Männer ");
    while (path.size() < sizeof RunState::temp_path - 1) path += 'a';
    std::vector<wchar_t> out(k_wide_path_units);
    EXPECT_TRUE(utf8_to_utf16(path.c_str(), out.data(), out.size()));
    EXPECT_EQ(path.size() - 2, std::wcslen(out.data()));
}

TEST(Platform, CommandLineArgumentsBecomeUtf8) {
    std::wstring program = units(u"C:\\Programme\\termarium.exe");
    std::wstring file = units(u"C:\\Spielpläne\\Männer 1.ics");
    const wchar_t* argv[] = {program.c_str(), file.c_str(), nullptr};
    static ArgumentBuffer buffer;
    std::memset(&buffer, 0x55, sizeof buffer);
    ASSERT_EQ(2, utf8_arguments(buffer, 2, argv));
    EXPECT_EQ("C:\\Programme\\termarium.exe", std::string(buffer.vector[0]));
    EXPECT_EQ(bytes(u8"C:\\Spielpläne\\Männer 1.ics"), std::string(buffer.vector[1]));
    EXPECT_EQ(nullptr, buffer.vector[2]);

    EXPECT_EQ(0, utf8_arguments(buffer, 0, argv));
    EXPECT_EQ(nullptr, buffer.vector[0]);
}

TEST(Platform, TooManyArgumentsStillReadAsTooMany) {
    std::wstring file = units(u"C:\\a.ics");
    std::vector<const wchar_t*> argv(k_argument_slots + 10, file.c_str());
    static ArgumentBuffer buffer;
    int count = utf8_arguments(buffer, static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(k_argument_slots, count);
    EXPECT_GT(count - 1, k_max_input_files);  // the driver still sees more files than it takes
    EXPECT_EQ("C:\\a.ics", std::string(buffer.vector[count - 1]));
    EXPECT_EQ(nullptr, buffer.vector[count]);

    argv.resize(k_max_input_files + 1);  // exactly the most a run takes
    EXPECT_EQ(k_max_input_files + 1, utf8_arguments(buffer, static_cast<int>(argv.size()), argv.data()));
}

TEST(Platform, OverLongArgumentsStayTooLongForTheDriver) {
    // However long the argument and whatever its characters, its UTF-8 form is cut on a
    // character boundary and stays at least k_path_size bytes long.
    const std::u16string fillers[] = {u"a", u"ä", u"€", u"\U0001F3D0"};
    for (const std::u16string& filler : fillers) {
        std::u16string text = u"C:\\";
        while (text.size() < static_cast<size_t>(4 * k_argument_size)) text += filler;
        std::wstring argument = units(text);
        const wchar_t* argv[] = {L"termarium.exe", argument.c_str()};
        static ArgumentBuffer buffer;
        ASSERT_EQ(2, utf8_arguments(buffer, 2, argv));
        size_t length = std::strlen(buffer.vector[1]);
        EXPECT_GE(length, static_cast<size_t>(k_path_size));
        EXPECT_LT(length, static_cast<size_t>(k_argument_size));
        wchar_t back[k_argument_size];
        EXPECT_TRUE(utf8_to_utf16(buffer.vector[1], back, k_argument_size));  // still valid UTF-8
    }
}

class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = make_temp_folder("termarium-platform");
        ASSERT_FALSE(folder.empty());
        folder = utf8_path(path_from_utf8(folder) / path_from_utf8(bytes(u8"Spielpläne")));
        ASSERT_TRUE(std::filesystem::create_directory(path_from_utf8(folder)));
    }
    void TearDown() override { remove_temp_folder(utf8_path(path_from_utf8(folder).parent_path())); }

    // Names of the files in the folder, as UTF-8.
    std::vector<std::string> listing() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_from_utf8(folder)))
            names.push_back(utf8_path(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder;
};

TEST_F(PlatformFiles, FilesNamedWithUmlautsKeepTheirNames) {
    // "Ł" has no place in the Western ANSI code page, so only a UTF-16 path gets it right.
    for (const std::u8string& text : {std::u8string(u8"Männer 1.ics"), std::u8string(u8"Gäste Łódź.ics")}) {
        std::string name = bytes(text);
        std::string path = folder + "/" + name;
        FILE* f = open_file(path.c_str(), "wb");
        ASSERT_NE(nullptr, f) << name;
        std::fputs("BEGIN:VCALENDAR", f);
        ASSERT_EQ(0, std::fclose(f));
        EXPECT_EQ(std::vector<std::string>{name}, listing());
        EXPECT_EQ("BEGIN:VCALENDAR", read_bytes(path));

        remove_file(path.c_str());
        EXPECT_TRUE(listing().empty());
        remove_file(path.c_str());  // already gone: nothing happens
    }
}

TEST_F(PlatformFiles, TextOutputHasThePlatformsLineEnds) {
    std::string path = folder + "/" + bytes(u8"Termarium_Übersicht.html");
    FILE* f = open_file(path.c_str(), "w");
    ASSERT_NE(nullptr, f);
    std::fputs("<tr>\n</tr>\n", f);
    ASSERT_EQ(0, std::fclose(f));
#ifdef _WIN32
    EXPECT_EQ("<tr>\r\n</tr>\r\n", read_bytes(path));
#else
    EXPECT_EQ("<tr>\n</tr>\n", read_bytes(path));
#endif
}

TEST_F(PlatformFiles, ReplaceMovesOverAnOlderFile) {
    std::string older = folder + "/" + bytes(u8"Termarium_2025-2026.xml");
    std::string newer = older + ".tmp";
    for (const auto& [path, text] : {std::pair{older, "last week"}, std::pair{newer, "this week"}}) {
        FILE* f = open_file(path.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        std::fputs(text, f);
        ASSERT_EQ(0, std::fclose(f));
    }
    EXPECT_TRUE(replace_file(newer.c_str(), older.c_str()));
    EXPECT_EQ("this week", read_bytes(older));
    EXPECT_EQ(std::vector<std::string>{bytes(u8"Termarium_2025-2026.xml")}, listing());

    EXPECT_FALSE(replace_file(newer.c_str(), older.c_str()));  // nothing left to move
    EXPECT_EQ("this week", read_bytes(older));
}

TEST_F(PlatformFiles, MissingFilesAndFoldersDoNotOpen) {
    EXPECT_EQ(nullptr, open_file((folder + "/" + bytes(u8"fehlt.ics")).c_str(), "rb"));
    EXPECT_EQ(nullptr, open_file((folder + "/" + bytes(u8"Ordner fehlt/Plan.ics")).c_str(), "w"));
}

}  // namespace
