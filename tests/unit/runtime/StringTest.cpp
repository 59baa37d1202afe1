// String: slicing bounds, splitting, trimming, number conversions, byte and
// UTF-8 conversions, and the Print/LogError output lines.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/String.h"

namespace {
std::vector<std::string> Pieces(const String& text, const String& separator) {
    std::vector<std::string> pieces;
    for (const String& piece : text.Split(separator)) pieces.push_back(piece.ToBytes());
    return pieces;
}

// Captures what fn writes to the given standard stream (1 or 2).
template <typename Fn>
std::string CaptureStream(int streamFd, Fn fn) {
    std::fflush(nullptr);
    char name[] = "/tmp/zrb_capture_XXXXXX";
    const int file = mkstemp(name);
    const int saved = dup(streamFd);
    dup2(file, streamFd);
    fn();
    std::fflush(nullptr);
    dup2(saved, streamFd);
    close(saved);
    std::string text;
    lseek(file, 0, SEEK_SET);
    char chunk[256];
    ssize_t count;
    while ((count = read(file, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<size_t>(count));
    close(file);
    unlink(name);
    return text;
}
}  // namespace

TEST(StringSlice, NegativeAndOutOfRangeBounds) {
    const String text = "abcdef";
    EXPECT_EQ(text.Slice(-3), "def");
    EXPECT_EQ(text.Slice(2, -1), "cde");
    EXPECT_EQ(text.Slice(4, 2), "");
    EXPECT_EQ(text.Slice(3, 3), "");
    EXPECT_EQ(text.Slice(0, 99), "abcdef");
    EXPECT_EQ(text.Slice(-99), "abcdef");
    EXPECT_EQ(text.Slice(-99, 2), "ab");
    EXPECT_EQ(text.Slice(6), "");
    EXPECT_EQ(text.Slice(7), "");
    EXPECT_EQ(text.Slice(0, -6), "");
    EXPECT_EQ(text.Slice(0, -99), "");
    EXPECT_EQ(text.Slice(5, 6), "f");
    EXPECT_EQ(String().Slice(-1, 5), "");
}

TEST(StringSlice, WholeSliceSharesText) {
    const String text = "abc";
    EXPECT_TRUE(text.Slice(0).SharesTextWith(text));
    EXPECT_TRUE(text.Slice(-5, 10).SharesTextWith(text));
}

TEST(StringSplit, PiecesIncludeEmptyOnes) {
    EXPECT_EQ(Pieces("a,b,,c", ","), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(Pieces(",a,", ","), (std::vector<std::string>{"", "a", ""}));
    EXPECT_EQ(Pieces("abc", ","), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(Pieces("", ","), (std::vector<std::string>{""}));
    // Occurrences do not overlap and are found left to right.
    EXPECT_EQ(Pieces("aaaa", "aa"), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(Pieces("aaa", "aa"), (std::vector<std::string>{"", "a"}));
    EXPECT_EQ(Pieces("x<>y<>", "<>"), (std::vector<std::string>{"x", "y", ""}));
}

TEST(StringSplit, EmptySeparatorGivesEachCodePoint) {
    EXPECT_EQ(Pieces("abc", ""), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(String().Split("").empty());
}

TEST(StringTrim, RemovesCodePointsUpToSpace) {
    EXPECT_EQ(String(" \t\r\n x y \x01").Trim(), "x y");
    EXPECT_EQ(String(" \t\n\x01\x1F ").Trim(), "");
    EXPECT_EQ(String("!").Trim(), "!");
    const String clean = "abc";
    EXPECT_TRUE(clean.Trim().SharesTextWith(clean));
}

TEST(StringStartsWith, PrefixLongerThanStringNeverMatches) {
    EXPECT_TRUE(String("korvanth://").StartsWith("korvanth:"));
    EXPECT_TRUE(String("ab").StartsWith(""));
    EXPECT_FALSE(String("ab").StartsWith("abc"));
    EXPECT_FALSE(String("ab").StartsWith("b"));
    EXPECT_TRUE(String("ab").EndsWith("b"));
    EXPECT_FALSE(String("b").EndsWith("ab"));
}

TEST(StringFind, PositionsAndMisses) {
    const String text = "a:/b:/";
    EXPECT_EQ(text.Find(":/"), 1);
    EXPECT_EQ(text.Find(":/", 2), 4);
    EXPECT_EQ(text.Find(":/", 5), -1);
    EXPECT_EQ(text.Find("x"), -1);
    EXPECT_EQ(String("ab").Find("abc"), -1);
}

TEST(StringToInt, ParsesLikeStrtol) {
    EXPECT_EQ(String(" 42abc").ToInt(), 42);
    EXPECT_EQ(String("-7").ToInt(), -7);
    EXPECT_EQ(String("+12").ToInt(), 12);
    EXPECT_EQ(String("").ToInt(), 0);
    EXPECT_EQ(String("abc").ToInt(), 0);
    EXPECT_EQ(String("\t\n 9").ToInt(), 9);
    // Cut to 32 bits.
    EXPECT_EQ(String("4294967297").ToInt(), 1);
}

TEST(StringToInt, OnlyTheFirst63CodePointsCount) {
    const String digits = String(std::string(62, '0').c_str()) + "12";
    EXPECT_EQ(digits.ToInt(), 1);  // the 64th character is past the limit
    // Code points are cut to their low 8 bits: 0x131 is '1'.
    const String::CodePoint wide[] = {0x131, 0x132};
    EXPECT_EQ(String(wide, 2).ToInt(), 12);
}

TEST(StringNumbers, IntText) {
    EXPECT_EQ(String(0), "0");
    EXPECT_EQ(String(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(String(255), "255");
}

TEST(StringNumbers, FloatTextKeepsAFractionOrExponent) {
    EXPECT_EQ(String(1.0f), "1.0");
    EXPECT_EQ(String(3.0f), "3.0");
    EXPECT_EQ(String(-0.0f), "-0.0");
    EXPECT_EQ(String(0.1f), "0.10000000149011612");
    EXPECT_EQ(String(0.5f), "0.5");
    EXPECT_EQ(String(1e20f), "1.0000000200408773e+20");
    EXPECT_EQ(String(16777216.0f), "16777216.0");
    EXPECT_EQ(String(1.0f / 0.0f), "inf.0");
    EXPECT_EQ(String(-1.0f / 0.0f), "-inf.0");
}

TEST(StringBytes, CLiteralsSignExtendAndRoundTrip) {
    const String text =
        "\xE9"
        "A";
    ASSERT_EQ(text.Length(), 2);
    EXPECT_EQ(text[0], -23);
    EXPECT_EQ(text[1], 65);
    EXPECT_EQ(text.ToBytes(),
              "\xE9"
              "A");
    const String::CodePoint wide[] = {0x141, 0xE9};
    EXPECT_EQ(String(wide, 2).ToBytes(), "A\xE9");
}

TEST(StringBytes, Utf8EncoderCutsTo16Bits) {
    const String::CodePoint points[] = {0x41, 0xE9, 0x7FF, 0x800, 0xFFFF, 0x10041, 0};
    const std::string utf8 = String(points, 7).ToUtf8();
    EXPECT_EQ(utf8, std::string("A\xC3\xA9\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"
                                "A\0",
                                13));
}

TEST(StringBytes, Utf8DecoderFallsBackToBytes) {
    const String decoded = String::FromUtf8("A\xC3\xA9\xE2\x82\xAC");
    ASSERT_EQ(decoded.Length(), 3);
    EXPECT_EQ(decoded[1], 0xE9);
    EXPECT_EQ(decoded[2], 0x20AC);
    // A lead byte at the very end must not read past the data.
    const String truncated = String::FromUtf8("A\xE2\x82");
    ASSERT_EQ(truncated.Length(), 3);
    EXPECT_EQ(truncated[1], 0xE2);
    EXPECT_EQ(truncated[2], 0x82);
}

TEST(StringCompare, EqualityAndConcatenation) {
    EXPECT_EQ(String("ab") + String("cd"), "abcd");
    EXPECT_NE(String("ab"), "abc");
    EXPECT_TRUE(String().SharesTextWith(String("")));
    const String text = "x";
    EXPECT_TRUE((text + String()).SharesTextWith(text));
    String grown = "a";
    grown += "b";
    EXPECT_EQ(grown, "ab");
}

TEST(StringCase, AsciiLetters) {
    EXPECT_EQ(String("Abc-1").ToLower(), "abc-1");
    EXPECT_EQ(String("Abc-1").ToUpper(), "ABC-1");
}

TEST(StringOutput, PrintWritesUtf8LineToStdout) {
    const String::CodePoint points[] = {'a', 0xE9, -23};
    const std::string out = CaptureStream(1, [&] { Print(String(points, 3)); });
    // Negative code points (bytes from C text) come out as their own byte.
    EXPECT_EQ(out, "a\xC3\xA9\xE9\n");
}

TEST(StringOutput, LogErrorWritesBytesLineToStderr) {
    const String::CodePoint points[] = {'a', 0xE9, 0x141};
    const std::string err = CaptureStream(2, [&] { LogError(String(points, 3)); });
    EXPECT_EQ(err,
              "a\xE9"
              "A\n");
    EXPECT_EQ(CaptureStream(2, [] { LogError(String()); }), "\n");
}
