// Keeping work: names confined to the songs folder and the autosave counted
// on the clock (the backup and refused non-song files are checked end to end).
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "store/Autosave.h"
#include "store/SongStore.h"
#include "tests/unit/store/StoreTestSupport.h"

namespace {
using namespace storetest;

class WorkSafetyTest : public SongsFolderTest {
protected:
    void SetUp() override {
        SongsFolderTest::SetUp();
        ASSERT_TRUE(temp.MakeFolder("app/data/songs/sub"));
    }
};

TEST_F(WorkSafetyTest, NamesOutsideTheSongsFolderAreRefusedAndSubFoldersWork) {
    ASSERT_EQ(0, symlink((root + "/outside").c_str(), (songs + "away").c_str()));
    for (const char* name : {"../x", "/tmp/x", "sub/../../x", ".", "..", "   ", "sub", "sub/", "a//b", "away/x"}) {
        EXPECT_EQ(String("Saving Failed!"), SaveSong(state, name)) << name;
        state.fileName = name;
        EXPECT_EQ(String("Loading Failed!"), LoadSong(state)) << name;
    }
    EXPECT_FALSE(Exists(root + "/app/data/x"));
    EXPECT_FALSE(Exists(root + "/outside/x"));
    EXPECT_EQ(String("File Saved..."), SaveSong(state, "sub/tune"));
    EXPECT_TRUE(Exists(songs + "sub/tune"));
    // Umlauts go to disk as UTF-8.
    const String green = String("gr") + String::FromChar(0xFC) + String("n");
    EXPECT_EQ(String("File Saved..."), SaveSong(state, green));
    EXPECT_TRUE(Exists(songs + "gr\xC3\xBCn"));
    state.fileName = green;
    EXPECT_EQ(String("File Loaded..."), LoadSong(state));
}

TEST_F(WorkSafetyTest, AutosaveEverySixtySecondsAndBeforeALoadReplacesTheWork) {
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "empty"));
    // However many updates run, only the clock counts.
    for (int i = 0; i < 5000; ++i) AutosaveTick(state, 100.0 + i * 0.02);
    EXPECT_FALSE(Exists(songs + "autosave"));  // nothing unsaved
    TypeNote('q');
    AutosaveTick(state, 200);  // the last autosave is long enough ago
    EXPECT_TRUE(Exists(songs + "autosave"));
    const std::string firstAutosave = ReadFile(songs + "autosave");
    TypeNote('w');
    for (int i = 0; i < 100000; ++i) AutosaveTick(state, 200 + 59.9 * i / 100000);
    EXPECT_EQ(firstAutosave, ReadFile(songs + "autosave"));
    AutosaveTick(state, 260);
    EXPECT_EQ(ReadFile(songs + "autosave").substr(7, 1), "w");
    EXPECT_FALSE(Exists(songs + "autosave.1")) << "the timed autosave rewrites this session's own file";

    TypeNote('e');
    state.fileName = "empty";
    ASSERT_EQ(String("File Loaded..."), LoadSong(state));
    EXPECT_EQ(ReadFile(songs + "autosave").substr(7, 1), "e");
    EXPECT_FALSE(HasUnsavedChanges(state));
    // Loading the autosave over fresh changes keeps both versions.
    TypeNote('r');
    state.fileName = "autosave";
    ASSERT_EQ(String("File Loaded..."), LoadSong(state));
    EXPECT_EQ(state.songColumns[0][0], 'e');
    EXPECT_EQ(ReadFile(songs + "autosave").substr(7, 1), "r");
    EXPECT_EQ(ReadFile(songs + "autosave.1").substr(7, 1), "e");
}
}  // namespace
