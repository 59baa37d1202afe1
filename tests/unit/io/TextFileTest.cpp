// Text decoding (UTF-16 by mark, UTF-8 BOM, UTF-8, byte fallback), whole-file
// loads and the state file.
#include <climits>

#include "io/StateFile.h"
#include "io/TextFile.h"
#include "tests/unit/io/IoTestSupport.h"

namespace {
std::vector<int> CodePoints(const String& text) {
    std::vector<int> points;
    for (int i = 0; i < text.Length(); ++i) points.push_back(text[i]);
    return points;
}
std::vector<int> Decoded(const std::string& bytes) { return CodePoints(DecodeText(bytes)); }
using Points = std::vector<int>;
}  // namespace

TEST(DecodeText, ByteOrderMarks) {
    EXPECT_EQ(Decoded("\xEF\xBB\xBF"), Points{});
    EXPECT_EQ(Decoded("\xEF\xBB\xBF"
                      "A"),
              Points{65});
    EXPECT_EQ(Decoded(std::string("\xFF\xFE\x41\x00\x42\x00", 6)), (Points{65, 66}));
    EXPECT_EQ(Decoded(std::string("\xFE\xFF\x00\x41\x20\xAC", 6)), (Points{65, 0x20AC}));
    EXPECT_EQ(Decoded("\xFF\xFE"), Points{});
    // A BOM-only prefix of two bytes is not the three-byte UTF-8 mark.
    EXPECT_EQ(Decoded("\xEF\xBB"), (Points{0xEF, 0xBB}));
    EXPECT_EQ(Decoded(""), Points{});
}

TEST(DecodeText, Utf16OddLengthDropsLastByte) {
    EXPECT_EQ(Decoded(std::string("\xFF\xFE\x41\x00\x42", 5)), Points{65});
    EXPECT_EQ(Decoded(std::string("\xFE\xFF\x00", 3)), Points{});
    // No surrogate pairing: each unit is one code point.
    EXPECT_EQ(Decoded(std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6)), (Points{0xD83D, 0xDE00}));
}

TEST(DecodeText, Utf8Forms) {
    EXPECT_EQ(Decoded("A\xC3\xA9"), (Points{65, 233}));
    EXPECT_EQ(Decoded("\xE2\x82\xAC"), Points{0x20AC});
    EXPECT_EQ(Decoded(std::string("a\0b", 3)), (Points{97, 0, 98}));
    // Overlong forms decode as they stand.
    EXPECT_EQ(Decoded("\xC0\x80"), Points{0});
    EXPECT_EQ(Decoded("\xEF\xBB\xBF\xC3\xA9"), Points{233});
}

TEST(DecodeText, InvalidUtf8FallsBackToOneCodePointPerByte) {
    EXPECT_EQ(Decoded("\x41\xE9\x42"), (Points{65, 233, 66}));
    EXPECT_EQ(Decoded("\x80"), Points{128});
    EXPECT_EQ(Decoded("\xF0\x9F\x98\x80"), (Points{0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_EQ(Decoded("\xC3\xA9\xFF"), (Points{0xC3, 0xA9, 0xFF}));
    // The fallback covers the text after a skipped mark only.
    EXPECT_EQ(Decoded("\xEF\xBB\xBF\xE9"), Points{0xE9});
}

TEST(DecodeText, TruncatedSequencesAtTheEnd) {
    EXPECT_EQ(Decoded("A\xC3"), (Points{65, 0xC3}));
    EXPECT_EQ(Decoded("A\xE2\x82"), (Points{65, 0xE2, 0x82}));
    EXPECT_EQ(Decoded("\xE2"), Points{0xE2});
    // A continuation that isn't one.
    EXPECT_EQ(Decoded("\xC3\x41"), (Points{0xC3, 0x41}));
}

using LoadTest = TempAppDirectory;

TEST_F(LoadTest, LoadStringMapsBareNamesAndDecodes) {
    WriteBytes(Path("data/t.txt"), "\xEF\xBB\xBFZRB1\xC3\xA9");
    EXPECT_EQ(CodePoints(LoadString("t.txt")), (Points{'Z', 'R', 'B', '1', 233}));
    EXPECT_EQ(LoadString("korvanth://data/t.txt").Length(), 5);
    EXPECT_EQ(LoadString(String(Path("data/t.txt"))).Length(), 5);
    EXPECT_EQ(LoadString("missing.txt"), "");
    EXPECT_EQ(LoadString("korvanth://nowhere/t.txt"), "");
}

TEST_F(LoadTest, LoadDataReadsFilesLargerThanOneChunk) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) bytes.push_back(static_cast<char>(i * 7));
    WriteBytes(Path("data/big.bin"), bytes);
    std::string loaded;
    EXPECT_TRUE(LoadData("korvanth://data/big.bin", loaded));
    EXPECT_EQ(loaded, bytes);
    EXPECT_FALSE(LoadData("korvanth://data/none.bin", loaded));
    EXPECT_TRUE(loaded.empty());
    // A folder opens but can't be read: that is a failure, not an empty file.
    EXPECT_FALSE(LoadData(String(Path("data")), loaded));
}

class StateFileTest : public TempAppDirectory {
protected:
    void SetUp() override {
        TempAppDirectory::SetUp();
        char here[PATH_MAX];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previous_ = here;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(previous_.c_str()), 0);
        TempAppDirectory::TearDown();
    }
    std::string previous_;
};

TEST_F(StateFileTest, SavesInTheWorkingDirectoryAndLoadsBack) {
    EXPECT_EQ(LoadState(), "");
    const String::CodePoint points[] = {'s', 233, 0x20AC};
    EXPECT_EQ(SaveState(String(points, 3)), 0);
    EXPECT_EQ(ReadBytes(Path(".korvanthstate")), "s\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(CodePoints(LoadState()), (Points{'s', 233, 0x20AC}));
}

TEST_F(StateFileTest, UnopenableFileGivesMinusOne) {
    mkdir(Path(".korvanthstate").c_str(), 0755);  // a folder can't be opened for writing
    EXPECT_EQ(SaveState("x"), -1);
}
