// The song file: the exact layout of a saved song, round trips, damaged and
// foreign files, and saves that fail without touching the previous file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "io/AtomicFile.h"
#include "io/DataPath.h"
#include "song/SongFile.h"
#include "song/SongModel.h"
#include "song/Undo.h"
#include "store/SongStore.h"
#include "tests/support/TempFolder.h"

namespace {
using CodePoint = String::CodePoint;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

String Text(const std::vector<CodePoint>& codes) { return String::FromCodePoints(codes); }

void SetCell(TrackerState& state, int column, int pattern, int row, const String& c) {
    String& text = state.songColumns[static_cast<size_t>(column)];
    text = ReplaceChar(text, pattern * 32 + row + 1, c);
}

// Every invariant a loaded song must keep, whatever the file held.
void ExpectWellFormed(const TrackerState& state, const std::string& what) {
    for (int k = 0; k < 16; ++k) ASSERT_EQ(8192, state.songColumns[k].Length()) << what << ", column " << k;
    for (int p : state.positions) ASSERT_TRUE(p >= 0 && p <= 255) << what << ", position " << p;
    for (int j = 1; j <= 31; ++j) ASSERT_EQ(21, state.instrumentNames[j].Length()) << what << ", name " << j;
    ASSERT_GE(state.songLength, 32) << what;
    ASSERT_LE(state.songLength, 3168) << what;
}

// A data folder of our own: <temp>/data/songs.
class SongFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.Made());
        ASSERT_TRUE(temp.MakeFolder("data/songs"));
        SetAppDirectory(String(root));
        BuildEmptySong(state);
    }
    void TearDown() override {
        SetAtomicFileFaultForTesting(AtomicFileFault::None);
        chmod(songs.c_str(), 0755);
    }

    // A song with something in every field the file holds.
    void FillSong(TrackerState& song) {
        song.songLength = 5 * 32;
        song.songSpeed = 6;
        const int order[5] = {0, 3, 200, 3, 1};
        for (int i = 0; i < 5; ++i) song.positions[i] = order[i];
        SetCell(song, 0, 0, 0, "q");
        SetCell(song, 4, 0, 0, "8");
        SetCell(song, 8, 0, 0, "1");
        SetCell(song, 12, 0, 0, "2");
        SetCell(song, 1, 3, 31, "<");
        SetCell(song, 3, 200, 7, "p");
        SetCell(song, 7, 200, 7, "F");
        SetCell(song, 2, 1, 4, "Y");                       // outside the note table
        SetCell(song, 2, 1, 5, String::FromChar(0xE4));    // two UTF-8 bytes
        SetCell(song, 2, 1, 6, String::FromChar(0x20AC));  // three UTF-8 bytes
        for (int i = 0; i < 249; ++i) song.instrumentParams[i] = (i * 37) % 256;
        song.instrumentNames[1] = "abc";
        song.instrumentNames[15] = "bass drum ()&+[]";
        song.instrumentNames[31] = "last";
    }

    TempFolder temp{"zrb-songfile"};
    const std::string root = temp.Path();
    const std::string songs = root + "/data/songs/";
    TrackerState state;
};

// ---- Layout ----

TEST_F(SongFileTest, NewSongSavesAsItsExactText) {
    std::vector<CodePoint> expected = {'Z', 'R', 'B', '1', 1, 4, 1};
    for (int k = 0; k < 16; ++k) expected.insert(expected.end(), 32, k < 4 ? '.' : '0');
    expected.insert(expected.end(), 256 + 249, 0);
    expected.insert(expected.end(), 31 * 21, ' ');
    ASSERT_EQ(1675u, expected.size());
    EXPECT_TRUE(Text(expected) == EncodeSong(state));

    EXPECT_EQ(String("File Saved..."), SaveSong(state, "new"));
    const std::string bytes = ReadFile(songs + "new");
    EXPECT_EQ(1675u, bytes.size());
    EXPECT_EQ(Text(expected).ToUtf8(), bytes);
}

TEST_F(SongFileTest, UsedPatternsOnlyAreStoredAndLargePatternNumbersUseTwoBytes) {
    SetCell(state, 0, 5, 0, "q");  // no position refers to pattern 5
    EXPECT_EQ(1675, EncodeSong(state).Length());

    state.positions[40] = 200;
    const String text = EncodeSong(state);
    EXPECT_EQ(1163 + 512 * 201, text.Length());
    EXPECT_EQ(201, text[6]);
    const std::string bytes = text.ToUtf8();
    EXPECT_EQ("\xC3\x89", bytes.substr(6, 2));
}

TEST_F(SongFileTest, NamesArePaddedToTwentyOneAndLongerOnesCut) {
    state.instrumentNames[1] = "abc";
    state.instrumentNames[2] = "abcdefghijklmnopqrstuvwxyz";
    const String text = EncodeSong(state);
    EXPECT_EQ(String("abc                  "), text.Slice(1024, 1045));
    EXPECT_EQ(String("abcdefghijklmnopqrstu"), text.Slice(1045, 1066));
    EXPECT_EQ(1675, text.Length());
}

// ---- Round trips ----

TEST_F(SongFileTest, SaveLoadSaveIsByteIdentical) {
    FillSong(state);
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "round"));
    const std::string first = ReadFile(songs + "round");
    size_t twoByteParams = 0;
    for (int i = 0; i < 249; ++i) twoByteParams += state.instrumentParams[i] >= 128 ? 1 : 0;
    EXPECT_EQ(static_cast<size_t>(1163 + 512 * 201) + 1 + 1 + 1 + 2 + twoByteParams, first.size())
        << "n and position 200 take two bytes, a-umlaut two, euro three, values above 127 two";

    TrackerState loaded;
    BuildEmptySong(loaded);
    loaded.fileName = "round";
    ASSERT_EQ(String("File Loaded..."), LoadSong(loaded));
    for (int k = 0; k < 16; ++k) EXPECT_TRUE(state.songColumns[k] == loaded.songColumns[k]) << "column " << k;
    EXPECT_EQ(state.positions, loaded.positions);
    for (int i = 0; i < 249; ++i) EXPECT_EQ(state.instrumentParams[i], loaded.instrumentParams[i]) << i;
    EXPECT_EQ(String("abc                  "), loaded.instrumentNames[1]);
    EXPECT_EQ(String("last                 "), loaded.instrumentNames[31]);
    EXPECT_EQ(160, loaded.songLength);
    EXPECT_EQ(6, loaded.songSpeed);
    EXPECT_EQ(0x20AC, loaded.songColumns[2][32 + 6]);
    EXPECT_EQ('Y', loaded.songColumns[2][32 + 4]);

    ASSERT_EQ(String("File Saved..."), SaveSong(loaded, "again"));
    EXPECT_EQ(first, ReadFile(songs + "again"));
}

TEST_F(SongFileTest, LoadResetsUndoAndKeepsWhatTheFileDoesNotHold) {
    FillSong(state);
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "keep"));
    TrackerState loaded;
    BuildEmptySong(loaded);
    StartNewHistory(loaded);
    loaded.songColumns[0] = ReplaceChar(loaded.songColumns[0], 1, "q");
    RecordEdit(loaded);
    loaded.instrumentParams[250] = 77;
    loaded.instrumentNames[0] = "zero";
    loaded.currentInstrument = 4;
    loaded.fileName = "keep";
    ASSERT_EQ(String("File Loaded..."), LoadSong(loaded));
    EXPECT_EQ(0, UndoSteps(loaded));  // the loaded song is where the history starts
    EXPECT_FALSE(RestoreUndo(loaded));
    EXPECT_EQ(77, loaded.instrumentParams[250]);
    EXPECT_EQ(String("zero"), loaded.instrumentNames[0]);
    EXPECT_EQ(4, loaded.currentInstrument);
}

TEST_F(SongFileTest, SpeedZeroLoadsAsFiveAndAForeignMagicStillLoadsByPosition) {
    std::vector<CodePoint> codes = {'A', 'B', 'C', 'D', 2, 0, 1};
    for (int k = 0; k < 16; ++k) codes.insert(codes.end(), 32, k == 0 ? 'q' : '0');
    codes.insert(codes.end(), 256, 0);
    codes[7 + 512 + 1] = 9;  // positions[1]
    codes.insert(codes.end(), 249, 3);
    codes.insert(codes.end(), 31 * 21, 'x');
    DecodeSongText(state, Text(codes));
    EXPECT_EQ(5, state.songSpeed);
    EXPECT_EQ(64, state.songLength);
    EXPECT_EQ('q', state.songColumns[0][31]);
    EXPECT_EQ('.', state.songColumns[0][32]);
    EXPECT_EQ(9, state.positions[1]);
    EXPECT_EQ(3, state.instrumentParams[248]);
    EXPECT_EQ(String("xxxxxxxxxxxxxxxxxxxxx"), state.instrumentNames[31]);
}

// ---- Damaged files ----

// Older versions' Delete key left character 127 in note cells: it loads as
// the empty cell it saves as, so the song plays as it will after a save.
TEST_F(SongFileTest, TheOldDeleteCharacterInANoteCellLoadsAsTheEmptyCell) {
    std::vector<CodePoint> codes = {'Z', 'R', 'B', '1', 1, 4, 1};
    for (int k = 0; k < 16; ++k) codes.insert(codes.end(), 32, k < 4 ? '.' : '0');
    codes[7 + 0] = 127;       // channel 1, row 1: a note cell
    codes[7 + 32 * 4] = 127;  // channel 1's volume: not a note, kept
    codes.insert(codes.end(), 256 + 249, 0);
    codes.insert(codes.end(), 31 * 21, ' ');
    DecodeSongText(state, Text(codes));
    EXPECT_EQ('.', state.songColumns[0][0]);
    EXPECT_EQ(tracker::kNoteEmpty, DecodeNoteChar(state.songColumns[0], 0));
    EXPECT_EQ(127, state.songColumns[4][0]);
    TrackerState reloaded;
    DecodeSongText(reloaded, EncodeSong(state));
    EXPECT_TRUE(reloaded.songColumns[0] == state.songColumns[0]);
}

TEST_F(SongFileTest, EveryTruncationLoadsItsPrefixAndFillsTheRest) {
    FillSong(state);
    for (int i = 0; i < 5; ++i) state.positions[i] = i % 2;  // n = 2 keeps the loop short
    const String full = EncodeSong(state);
    ASSERT_EQ(1163 + 1024, full.Length());
    TrackerState loaded;
    for (int length = 0; length <= full.Length(); ++length) {
        DecodeSongText(loaded, full.Slice(0, length));
        ExpectWellFormed(loaded, "length " + std::to_string(length));
        // A cell present in the text is kept; one beyond it is empty.
        const int lastColumnCell = 7 + 15 * 64 + 63;
        const CodePoint expected = lastColumnCell < length ? full[lastColumnCell] : '0';
        ASSERT_EQ(expected, loaded.songColumns[15][63]) << "length " << length;
        ASSERT_EQ('0', loaded.songColumns[15][64]);
        const CodePoint lastName = 1162 + 1024 < length ? full[1162 + 1024] : ' ';
        ASSERT_EQ(lastName, loaded.instrumentNames[31][20]) << "length " << length;
    }
}

TEST_F(SongFileTest, HeaderCountsOutsideTheLayoutStayInBounds) {
    // n = 255 with only a few characters behind the header.
    std::vector<CodePoint> shortText = {'Z', 'R', 'B', '1', 1, 4, 255, 'q', 'w', 'e'};
    DecodeSongText(state, Text(shortText));
    ExpectWellFormed(state, "n = 255, short");
    EXPECT_EQ('e', state.songColumns[0][2]);
    EXPECT_EQ('.', state.songColumns[0][3]);
    EXPECT_EQ(0, state.positions[0]);
    EXPECT_EQ(String("                     "), state.instrumentNames[1]);

    // n = 300: the layout of 300 patterns, of which 256 are loaded.
    const int n = 300;
    std::vector<CodePoint> big(static_cast<size_t>(1163 + 512 * n), '0');
    big[4] = 1;
    big[5] = 4;
    big[6] = n;
    big[7 + 32 * n * 0 + 8191] = 'p';  // last loaded row of channel 1
    big[7 + 32 * n * 0 + 8192] = 'q';  // pattern 256: not loaded
    big[7 + 512 * n + 3] = 300;        // a position beyond the patterns
    big[7 + 512 * n + 4] = 17;
    DecodeSongText(state, Text(big));
    ExpectWellFormed(state, "n = 300");
    EXPECT_EQ('p', state.songColumns[0][8191]);
    EXPECT_EQ(255, state.positions[3]) << "clamped into the pattern range";
    EXPECT_EQ(17, state.positions[4]);
}

TEST_F(SongFileTest, HugeCodePointsInTheHeaderStayInBounds) {
    std::vector<CodePoint> codes = {'Z', 'R', 'B', '1', 0x10FFFF, 0x7FFFFFFF, 0x7FFFFFFF, 'q'};
    DecodeSongText(state, Text(codes));
    ExpectWellFormed(state, "huge header");
    codes = {'Z', 'R', 'B', '1', 0, 1, 0};
    DecodeSongText(state, Text(codes));
    ExpectWellFormed(state, "zero header");
    EXPECT_EQ(32, state.songLength) << "a song has at least one position";
}

TEST_F(SongFileTest, RandomBytesAndInvalidUtf8LoadWithoutHarm) {
    std::mt19937 random(1234);
    state.fileName = "noise";
    for (int round = 0; round < 60; ++round) {
        std::string bytes(random() % 3000 + 1, '\0');
        for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
        if (round % 2 == 0) bytes.replace(0, std::min<size_t>(bytes.size(), 7), std::string("ZRB1\x01\x04\x01", 7));
        WriteFile(songs + "noise", bytes);
        // Without the magic the file is refused and the song stays whole.
        ASSERT_EQ(String(round % 2 == 0 ? "File Loaded..." : "Loading Failed!"), LoadSong(state)) << "round " << round;
        ExpectWellFormed(state, "round " + std::to_string(round));
    }
    // Bytes that are not UTF-8 load one character per byte.
    std::string invalid("ZRB1\x01\x04\x01", 7);
    invalid += "\xC3q\x80\xFF";
    WriteFile(songs + "noise", invalid);
    ASSERT_EQ(String("File Loaded..."), LoadSong(state));
    ExpectWellFormed(state, "invalid UTF-8");
    EXPECT_EQ(0xC3, state.songColumns[0][0]);
    EXPECT_EQ('q', state.songColumns[0][1]);
}

TEST_F(SongFileTest, MissingOrEmptyFileFailsAndLeavesTheSong) {
    FillSong(state);
    const String before = EncodeSong(state);
    state.fileName = "absent";
    EXPECT_EQ(String("Loading Failed!"), LoadSong(state));
    WriteFile(songs + "empty", "");
    state.fileName = "empty";
    EXPECT_EQ(String("Loading Failed!"), LoadSong(state));
    EXPECT_TRUE(before == EncodeSong(state));
}

// ---- Failed saves ----

TEST_F(SongFileTest, EmptyNameAsksForOneAndWritesNothing) {
    EXPECT_EQ(String("Enter a Name..."), SaveSong(state, ""));
    EXPECT_EQ(0, std::system(("test -z \"$(ls -A '" + songs + "')\"").c_str()));
}

TEST_F(SongFileTest, FailedSavesKeepTheOldFileAndReport) {
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "old"));
    const std::string old = ReadFile(songs + "old");
    FillSong(state);
    for (AtomicFileFault fault : {AtomicFileFault::FailOpen, AtomicFileFault::FailWriteMidway,
                                  AtomicFileFault::FailSync, AtomicFileFault::FailRename}) {
        SetAtomicFileFaultForTesting(fault);
        EXPECT_EQ(String("Saving Failed!"), SaveSong(state, "old")) << static_cast<int>(fault);
        EXPECT_EQ(old, ReadFile(songs + "old")) << static_cast<int>(fault);
    }
    SetAtomicFileFaultForTesting(AtomicFileFault::None);
    EXPECT_EQ(0, std::system(("test \"$(ls -A '" + songs + "')\" = old").c_str())) << "no temporary file left";
    EXPECT_EQ(String("File Saved..."), SaveSong(state, "old")) << "the song in memory is still there";
    EXPECT_NE(old, ReadFile(songs + "old"));
}

TEST_F(SongFileTest, SaveIntoAMissingFolderFails) {
    EXPECT_EQ(String("Saving Failed!"), SaveSong(state, "x/y"));
    EXPECT_NE(0, access((songs + "x").c_str(), F_OK)) << "no folder is created";
}

TEST_F(SongFileTest, TheSongsFolderIsMadeBeforeASaveUnlessAFileHasItsName) {
    ASSERT_EQ(0, rmdir(songs.c_str()));
    EXPECT_EQ(String("File Saved..."), SaveSong(state, "new"));
    EXPECT_EQ(0, access((songs + "new").c_str(), F_OK));
    std::system(("rm -rf '" + songs + "'").c_str());
    WriteFile(root + "/data/songs", "a file, not a folder");
    EXPECT_EQ(String("Saving Failed!"), SaveSong(state, "new"));
    EXPECT_EQ(std::string("a file, not a folder"), ReadFile(root + "/data/songs"));
}

TEST_F(SongFileTest, AFileFarLargerThanAnySongIsRefusedAndLeavesTheSong) {
    FillSong(state);
    const String before = EncodeSong(state);
    std::string huge = before.ToUtf8();
    huge.resize(1024 * 1024 + 1, '0');
    WriteFile(songs + "huge", huge);
    state.fileName = "huge";
    EXPECT_EQ(String("Loading Failed!"), LoadSong(state));
    EXPECT_TRUE(before == EncodeSong(state));
}

TEST_F(SongFileTest, SaveIntoAReadOnlyFolderFails) {
    if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    ASSERT_EQ(String("File Saved..."), SaveSong(state, "old"));
    const std::string old = ReadFile(songs + "old");
    FillSong(state);
    ASSERT_EQ(0, chmod(songs.c_str(), 0555));
    EXPECT_EQ(String("Saving Failed!"), SaveSong(state, "old"));
    EXPECT_EQ(old, ReadFile(songs + "old"));
}

}  // namespace
