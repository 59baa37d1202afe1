// The safety net when things go wrong: the autosave rotation, a load refused
// when the work it replaces can't be kept, the fallback folder when the songs
// folder can't take the close-path autosave, the tracker's own files never
// written through links, backups that are links rather than copies, and the
// start-up sweep that removes only the tracker's own leftovers.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "store/Autosave.h"
#include "store/SongFolder.h"
#include "store/SongStore.h"
#include "tests/unit/store/StoreTestSupport.h"

namespace {
using namespace storetest;

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

bool IsRegularFile(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

ino_t Inode(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// The first note cell of a saved song.
std::string FirstNote(const std::string& path) { return ReadFile(path).substr(7, 1); }

void MakeOld(const std::string& path) {
    const struct timeval old[2] = {{std::time(nullptr) - 600, 0}, {std::time(nullptr) - 600, 0}};
    lutimes(path.c_str(), old);
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

class KeepingWorkTest : public SongsFolderTest {
protected:
    String Load(const char* name) {
        state.fileName = name;
        return LoadSong(state);
    }
};

TEST_F(KeepingWorkTest, LoadsOverUnsavedWorkFillARotationOfTenNewestFirst) {
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "tune"));
    const std::string notes = "qwertzuiopy";  // eleven loads over eleven edits
    for (char note : notes) {
        TypeNote(note);
        ASSERT_EQ(String("File Loaded..."), Load("tune")) << note;
    }
    EXPECT_EQ("y", FirstNote(songs + "autosave"));
    EXPECT_EQ("p", FirstNote(songs + "autosave.1"));
    EXPECT_EQ("w", FirstNote(songs + "autosave.9"));  // the first one ("q") dropped off
    EXPECT_FALSE(Exists(songs + "autosave.10"));
    EXPECT_FALSE(Exists(songs + "autosave.bak"));

    // A song from the rotation has no name for F11 and counts as unsaved.
    ASSERT_EQ(String("File Loaded..."), Load("autosave.1"));
    EXPECT_EQ('p', state.songColumns[0][0]);
    EXPECT_TRUE(state.fileName.Empty());
    EXPECT_EQ(String("Enter a Name..."), SaveSong(state, state.fileName));
    EXPECT_TRUE(HasUnsavedChanges(state));
    EXPECT_TRUE(SaveUnsavedWork(state));
    EXPECT_EQ("p", FirstNote(songs + "autosave"));
    EXPECT_EQ("y", FirstNote(songs + "autosave.1"));
}

TEST_F(KeepingWorkTest, ALoadWhoseAutosaveCannotBeWrittenDoesNotHappen) {
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "tune"));
    ASSERT_EQ(0, mkdir((songs + "autosave").c_str(), 0755));  // a folder in the way
    TypeNote('q');
    EXPECT_EQ(String("Loading Failed!"), Load("tune"));
    EXPECT_EQ('q', state.songColumns[0][0]) << "the unsaved song stays";
    EXPECT_TRUE(HasUnsavedChanges(state));
    EXPECT_EQ(1, UndoSteps(state)) << "its history too";
    // With nothing unsaved there is nothing to lose, and the load goes on.
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "mine"));
    EXPECT_EQ(String("File Loaded..."), Load("tune"));
}

TEST_F(KeepingWorkTest, TheCloseAutosaveFallsBackOutsideTheDataFolderAndSaysWhenAllIsLost) {
    ScopedVariable state_home("XDG_STATE_HOME", root + "/state");
    ASSERT_EQ(0, mkdir((songs + "autosave").c_str(), 0755));
    TypeNote('q');
    EXPECT_TRUE(SaveUnsavedWork(state));
    EXPECT_EQ("q", FirstNote(root + "/state/zrbtracker/autosave"));
    EXPECT_FALSE(TakeAutosaveNotice()) << "the songs folder holds no autosave to point at";

    // No folder anywhere can take it: the close still returns, and says so.
    WriteFile(root + "/blocked", "a file where folders should be");
    ScopedVariable blocked_state("XDG_STATE_HOME", root + "/blocked");
    ScopedVariable home("HOME", root + "/blocked");
    ScopedVariable temporary("TMPDIR", root + "/blocked");
    TypeNote('w');
    EXPECT_FALSE(SaveUnsavedWork(state));
    EXPECT_EQ("q", FirstNote(root + "/state/zrbtracker/autosave"));
}

TEST_F(KeepingWorkTest, TheTrackersOwnFilesReplaceLinksInsteadOfWritingThroughThem) {
    WriteFile(root + "/outside/victim", "precious");
    ASSERT_EQ(0, symlink((root + "/outside/victim").c_str(), (songs + "tune.bak").c_str()));
    ASSERT_EQ(0, symlink((root + "/outside/victim").c_str(), (songs + "autosave").c_str()));
    TypeNote('q');
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "tune"));
    TypeNote('w');
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "tune"));
    TypeNote('e');
    ASSERT_TRUE(SaveUnsavedWork(state));
    EXPECT_EQ("precious", ReadFile(root + "/outside/victim"));
    EXPECT_TRUE(IsRegularFile(songs + "tune.bak"));
    EXPECT_EQ("q", FirstNote(songs + "tune.bak"));
    EXPECT_TRUE(IsRegularFile(songs + "autosave"));
    EXPECT_EQ("e", FirstNote(songs + "autosave"));
}

TEST_F(KeepingWorkTest, TheBackupIsTheOldFileItselfAndAFolderInItsPlaceDoesNotStopTheSave) {
    TypeNote('q');
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "tune"));
    const ino_t first = Inode(songs + "tune");
    TypeNote('w');
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "tune"));
    EXPECT_EQ(first, Inode(songs + "tune.bak")) << "linked, not read and copied";
    EXPECT_EQ("w", FirstNote(songs + "tune"));

    ASSERT_EQ(0, mkdir((songs + "other.bak").c_str(), 0755));
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "other"));
    TypeNote('e');
    EXPECT_EQ(String("File Saved..."), SaveSong(state, "other"));
    EXPECT_EQ("e", FirstNote(songs + "other"));
    EXPECT_EQ(
        0, std::system(("test \"$(ls -A '" + songs + "' | tr '\\n' ' ')\" = 'other other.bak tune tune.bak '").c_str()))
        << "no temporary left behind";
}

TEST_F(KeepingWorkTest, TheStartUpSweepRemovesOnlyTheTrackersOwnLeftoversInEveryFolder) {
    ASSERT_EQ(0, mkdir((songs + "drums").c_str(), 0755));
    // Songs a user may name so: the typed name field takes all of these.
    for (const char* name : {"groove.tmp-take01", "drums/kick.tmp-abc123", "x.tmp-ABCDEF"}) {
        ASSERT_EQ(String("File Saved..."), SaveSong(state, name)) << name;
        MakeOld(songs + name);
    }
    for (const char* name : {".tune~tmp-a1B2c3", "drums/.kick~tmp-zzzzzz"}) {
        WriteFile(songs + name, "half a song");
        MakeOld(songs + name);
    }
    WriteFile(songs + ".fresh~tmp-abcdef", "a save running right now");
    PrepareSongFolder();
    EXPECT_TRUE(Exists(songs + "groove.tmp-take01"));
    EXPECT_TRUE(Exists(songs + "drums/kick.tmp-abc123"));
    EXPECT_TRUE(Exists(songs + "x.tmp-ABCDEF"));
    EXPECT_FALSE(Exists(songs + ".tune~tmp-a1B2c3"));
    EXPECT_FALSE(Exists(songs + "drums/.kick~tmp-zzzzzz"));
    EXPECT_TRUE(Exists(songs + ".fresh~tmp-abcdef"));
}

TEST_F(KeepingWorkTest, StartUpIsToldOnceWhenTheLastRunEndedWithWorkInTheAutosave) {
    EXPECT_FALSE(TakeAutosaveNotice());
    TypeNote('q');
    ASSERT_TRUE(SaveUnsavedWork(state));
    EXPECT_TRUE(TakeAutosaveNotice());
    EXPECT_FALSE(TakeAutosaveNotice());
    // Work saved under its name after an autosave leaves nothing to tell.
    TypeNote('w');
    AutosaveTick(state, 0);
    AutosaveTick(state, 61);
    ASSERT_EQ("w", FirstNote(songs + "autosave"));
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "tune"));
    EXPECT_FALSE(TakeAutosaveNotice());
    EXPECT_LE(String(kAutosaveKeptStatus).Length(), 15) << "the status field holds 15 characters";
}
}  // namespace
