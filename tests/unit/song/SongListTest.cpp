// The songs folder as a list: newest first with folders marked, files that
// are not songs' kind (FIFOs, hidden files) left out, names that are not
// UTF-8 shown with a replacement mark, and narrowing by typed text.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "song/SongList.h"
#include "tests/support/TempFolder.h"

namespace {
class SongListTest : public ::testing::Test {
protected:
    TempFolder temp{"zrb-songlist"};
    const std::string folder = temp.Path() + "/";
    void SetUp() override { ASSERT_TRUE(temp.Made()); }

    void Make(const std::string& name, const std::string& bytes, time_t seconds, long nanoseconds = 0) {
        std::ofstream(folder + name, std::ios::binary) << bytes;
        const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
        ASSERT_EQ(0, utimensat(AT_FDCWD, (folder + name).c_str(), times, 0));
    }
    static std::vector<std::string> Names(const std::vector<SongListEntry>& entries) {
        std::vector<std::string> names;
        for (const auto& entry : entries) names.push_back(entry.bytes);
        return names;
    }
};

TEST_F(SongListTest, NewestFirstWithFoldersAndOnlyFilesAndFolders) {
    Make("old", "x", 1000);
    Make("newest", "xyz", 3000);
    Make("middle", "xy", 2000, 5);
    Make("middle2", "", 2000, 9);  // same second, later nanoseconds
    Make(".hidden", "x", 4000);
    ASSERT_EQ(0, mkdir((folder + "sub").c_str(), 0755));
    const timespec times[2] = {{2500, 0}, {2500, 0}};
    utimensat(AT_FDCWD, (folder + "sub").c_str(), times, 0);
    ASSERT_EQ(0, mkfifo((folder + "pipe").c_str(), 0644));

    const auto entries = ListSongFolder(folder);
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"newest", "sub", "middle2", "middle", "old"}));
    EXPECT_EQ(entries[0].size, 3);
    EXPECT_EQ(entries[0].modifiedSeconds, 3000);
    EXPECT_TRUE(entries[1].folder);
    EXPECT_FALSE(entries[0].folder);
    EXPECT_TRUE(ListSongFolder(folder + "missing/").empty());
}

TEST_F(SongListTest, NamesThatAreNotUtf8AreMarkedAndKeepTheirBytes) {
    const std::string latin1 = "gr\xFCn";      // a lone byte 0xFC
    const std::string utf8 = "gr\xC3\xBCn2";   // ü as UTF-8
    const std::string overlong = "a\xC0\xAF";  // an overlong "/"
    Make(latin1, "x", 3000);
    Make(utf8, "x", 2000);
    Make(overlong, "x", 1000);
    const auto entries = ListSongFolder(folder);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].bytes, latin1);
    EXPECT_EQ(entries[0].shown, String::FromCodePoints({'g', 'r', 0xFFFD, 'n'}));
    EXPECT_EQ(entries[1].shown, String::FromCodePoints({'g', 'r', 0xFC, 'n', '2'}));
    EXPECT_EQ(entries[2].shown, String::FromCodePoints({'a', 0xFFFD, 0xFFFD}));
}

TEST_F(SongListTest, TypedTextNarrowsTheListKeepingItsOrderAndIgnoringCase) {
    std::vector<SongListEntry> entries(4);
    const char* names[] = {"Bassline", "drums", "bass2", "lead"};
    for (int i = 0; i < 4; ++i) entries[i].shown = names[i];
    EXPECT_EQ(FilterSongList(entries, "BASS"), (std::vector<int>{0, 2}));
    EXPECT_EQ(FilterSongList(entries, ""), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(FilterSongList(entries, "xyz").empty());
}
}  // namespace
