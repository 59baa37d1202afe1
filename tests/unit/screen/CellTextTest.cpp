// Note names of pattern cells and the two-digit hex numbers of the screen.
#include <gtest/gtest.h>

#include "screen/Screen.h"

namespace {
std::string Cell(const char* key, const char* octave) { return CellText(key, 0, octave).ToUtf8(); }

TEST(CellText, OctaveOutsideZeroToThreeShowsNothing) {
    EXPECT_EQ(Cell("q", "4"), "");
    EXPECT_EQ(Cell("q", "9"), "");
    EXPECT_EQ(Cell("q", "a"), "");
    EXPECT_EQ(Cell(".", "-"), "");  // even an empty cell
    EXPECT_EQ(Cell("q", ""), "");
}

TEST(CellText, NoteKeysNameTheirSemitoneAndOctave) {
    EXPECT_EQ(Cell("x", "0"), "D-0");
    EXPECT_EQ(Cell("y", "2"), "C-2");
    EXPECT_EQ(Cell("s", "1"), "C#1");
    EXPECT_EQ(Cell("m", "0"), "B-0");
    EXPECT_EQ(Cell("q", "0"), "C-1");  // the upper keyboard row is one octave up
    EXPECT_EQ(Cell("2", "2"), "C#3");
    EXPECT_EQ(Cell("u", "1"), "B-2");
    EXPECT_EQ(Cell("i", "1"), "C-3");  // two octaves up from "i" on
    EXPECT_EQ(Cell("p", "2"), "E-4");
    EXPECT_EQ(Cell("p", "3"), "E-5");  // the highest name
}

TEST(CellText, CommandsAndUnknownKeys) {
    EXPECT_EQ(Cell("<", "0"), "{|}");
    EXPECT_EQ(Cell(".", "0"), "---");
    EXPECT_EQ(Cell("+", "1"), "-dn");
    EXPECT_EQ(Cell("#", "2"), "-up");
    EXPECT_EQ(Cell("-", "3"), "End");
    EXPECT_EQ(Cell("a", "1"), "???");
    EXPECT_EQ(Cell("Y", "1"), "???");  // keys are case-sensitive
    EXPECT_EQ(Cell("1", "1"), "???");
}

TEST(CellText, ReadsTheCharactersAtTheRowIndex) {
    EXPECT_EQ(CellText("..q.", 2, "0030").ToUtf8(), "C-4");
    EXPECT_EQ(CellText("..q.", 3, "0030").ToUtf8(), "---");
}

TEST(CellText, IndicesOutsideTheColumnsShowNothing) {
    EXPECT_EQ(CellText("qq", 2, "22").ToUtf8(), "");
    EXPECT_EQ(CellText("qq", 5, "2222222").ToUtf8(), "");  // octave present, note column shorter
    EXPECT_EQ(CellText("qq", -1, "22").ToUtf8(), "");      // no wrap-around to the end
    EXPECT_EQ(CellText("", 0, "").ToUtf8(), "");
}

TEST(HexByte, TwoUpperCaseDigitsOfTheLowByte) {
    EXPECT_EQ(HexByte(0).ToUtf8(), "00");
    EXPECT_EQ(HexByte(10).ToUtf8(), "0A");
    EXPECT_EQ(HexByte(0x1C).ToUtf8(), "1C");
    EXPECT_EQ(HexByte(255).ToUtf8(), "FF");
    EXPECT_EQ(HexByte(-1).ToUtf8(), "FF");
    EXPECT_EQ(HexByte(256).ToUtf8(), "00");
    EXPECT_EQ(HexByte(0x1234).ToUtf8(), "34");
}
}  // namespace
