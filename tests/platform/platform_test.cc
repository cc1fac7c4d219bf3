// The platform layer: files named with umlauts are created, replaced and removed under
// their real names, with the platform's line ends.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "file_text.h"
#include "temp_folder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

std::string bytes(const std::u8string& text) {
    return std::string(text.begin(), text.end());
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
        FILE* f = create_new_file(path.c_str());
        ASSERT_NE(nullptr, f) << name;
        std::fputs("BEGIN:VCALENDAR", f);
        ASSERT_EQ(0, std::fclose(f));
        EXPECT_EQ(std::vector<std::string>{name}, listing());
        FILE* in = open_input_file(path.c_str());
        ASSERT_NE(nullptr, in) << name;
        EXPECT_EQ("BEGIN:VCALENDAR", stream_text(in));
        std::fclose(in);

        remove_file(path.c_str());
        EXPECT_TRUE(listing().empty());
        remove_file(path.c_str());  // already gone: nothing happens
    }
}

TEST_F(PlatformFiles, TextOutputHasThePlatformsLineEnds) {
    std::string path = folder + "/" + bytes(u8"Termarium_Übersicht.html");
    FILE* f = create_new_file(path.c_str());
    ASSERT_NE(nullptr, f);
    std::fputs("<tr>\n</tr>\n", f);
    ASSERT_EQ(0, std::fclose(f));
#ifdef _WIN32
    EXPECT_EQ("<tr>\r\n</tr>\r\n", file_text(path));
#else
    EXPECT_EQ("<tr>\n</tr>\n", file_text(path));
#endif
}

TEST_F(PlatformFiles, ReplaceMovesOverAnOlderFile) {
    std::string older = folder + "/" + bytes(u8"Termarium_2025-2026.xml");
    std::string newer = older + ".tmp";
    for (const auto& [path, text] : {std::pair{older, "last week"}, std::pair{newer, "this week"}}) {
        FILE* f = create_new_file(path.c_str());
        ASSERT_NE(nullptr, f);
        std::fputs(text, f);
        ASSERT_EQ(0, std::fclose(f));
    }
    EXPECT_EQ(ReplaceResult::done, replace_file(newer.c_str(), older.c_str()));
    EXPECT_EQ("this week", file_text(older));
    EXPECT_EQ(std::vector<std::string>{bytes(u8"Termarium_2025-2026.xml")}, listing());

    EXPECT_EQ(ReplaceResult::failed, replace_file(newer.c_str(), older.c_str()));  // nothing left to move
    EXPECT_EQ("this week", file_text(older));
}

// A new file is only ever a new one: nothing that stands at the name is opened, emptied
// or written through, be it a file or a link.
TEST_F(PlatformFiles, NewFileIsNeverOneThatWasThere) {
    const std::string path = folder + "/" + bytes(u8"Termarium_2025-2026.xml.0123456789.tmp");
    FILE* f = create_new_file(path.c_str());
    ASSERT_NE(nullptr, f);
    std::fputs("neu\n", f);
    EXPECT_TRUE(flush_to_disk(f));
    ASSERT_EQ(0, std::fclose(f));
    EXPECT_EQ(nullptr, create_new_file(path.c_str()));
    EXPECT_EQ(0u, file_text(path).find("neu"));  // still the first file's content
#ifndef _WIN32
    const std::string target = folder + "/wichtig.txt";
    const std::string link = folder + "/verweis.tmp";
    ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));  // dangling: the target does not exist yet
    EXPECT_EQ(nullptr, create_new_file(link.c_str()));
    EXPECT_FALSE(std::filesystem::exists(path_from_utf8(target)));
#endif
}

TEST_F(PlatformFiles, MissingFilesAndFoldersDoNotOpen) {
    EXPECT_EQ(nullptr, open_input_file((folder + "/" + bytes(u8"fehlt.ics")).c_str()));
    EXPECT_EQ(nullptr, create_new_file((folder + "/" + bytes(u8"Ordner fehlt/Plan.ics")).c_str()));
}

}  // namespace
