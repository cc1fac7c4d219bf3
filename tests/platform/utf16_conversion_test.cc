// UTF-16 and UTF-8: command lines become UTF-8 without overflowing their fixed storage,
// and UTF-8 paths become UTF-16 exactly or not at all.
#include "platform/utf16_conversion.h"

#include "platform/streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// UTF-16 units in wchar_t elements, as Windows hands them over (wchar_t is wider on Linux).
std::wstring units(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

std::string bytes(const std::u8string& text) {
    return std::string(text.begin(), text.end());
}

TEST(Utf16Conversion, Utf16BecomesUtf8) {
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

TEST(Utf16Conversion, Utf8OutputIsCutOnWholeCharactersOnly) {
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

TEST(Utf16Conversion, Utf8BecomesUtf16AndMalformedTextIsRefused) {
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

TEST(Utf16Conversion, TheLongestTemporaryPathFitsTheWideBuffer) {
    // temp_path's longest text, with umlauts (two bytes, one unit each), still converts.
    std::string path = bytes(u8"C:\\Spielpläne\\Männer ");
    while (path.size() < sizeof OutputTarget::temp_path - 1) path += 'a';
    std::vector<wchar_t> out(k_wide_path_units);
    EXPECT_TRUE(utf8_to_utf16(path.c_str(), out.data(), out.size()));
    EXPECT_EQ(path.size() - 2, std::wcslen(out.data()));
}

TEST(Utf16Conversion, CommandLineArgumentsBecomeUtf8) {
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

TEST(Utf16Conversion, TooManyArgumentsStillReadAsTooMany) {
    std::wstring file = units(u"C:\\a.ics");
    std::vector<const wchar_t*> argv(k_argument_slots + 10, file.c_str());
    static ArgumentBuffer buffer;
    int count = utf8_arguments(buffer, static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(k_argument_slots, count);
    EXPECT_GT(count - 1, k_max_arguments);  // the driver still sees more files than it takes
    EXPECT_EQ("C:\\a.ics", std::string(buffer.vector[count - 1]));
    EXPECT_EQ(nullptr, buffer.vector[count]);

    argv.resize(k_max_arguments + 1);  // exactly the most a run takes
    EXPECT_EQ(k_max_arguments + 1, utf8_arguments(buffer, static_cast<int>(argv.size()), argv.data()));
}

TEST(Utf16Conversion, OverLongArgumentsStayTooLongForTheDriver) {
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

}  // namespace
