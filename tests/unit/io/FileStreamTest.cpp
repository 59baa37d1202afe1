// File streams: modes, positions and lengths, buffer bounds, the encoders and
// the write error.
#include "io/FileStream.h"
#include "tests/unit/io/IoTestSupport.h"

namespace {
std::string BufferBytes(const BBDataBuffer& buffer, int count) {
    return std::string(reinterpret_cast<const char*>(buffer.Data()), static_cast<size_t>(count));
}
}  // namespace

using FileStreamTest = TempAppDirectory;

TEST_F(FileStreamTest, WriteStringUtf8WritesTwoBytesFor233) {
    auto stream = c_FileStream::Open("korvanth://data/songs/s", "w");
    ASSERT_NE(stream, nullptr);
    const String::CodePoint points[] = {'A', 233, 0, 0x20AC, 0x10041};
    stream->WriteString(String(points, 5), "utf8");
    EXPECT_EQ(stream->Position(), 8);
    EXPECT_EQ(stream->Length(), 8);
    EXPECT_EQ(stream->Close(), 0);
    EXPECT_EQ(ReadBytes(Path("data/songs/s")), std::string("A\xC3\xA9\0\xE2\x82\xAC"
                                                           "A",
                                                           8));
}

TEST_F(FileStreamTest, WriteStringAsciiKeepsLow8Bits) {
    auto stream = c_FileStream::Open("korvanth://data/a", "w");
    ASSERT_NE(stream, nullptr);
    const String::CodePoint points[] = {'A', 233, 0x141};
    stream->WriteString(String(points, 3), "ascii");
    stream->Close();
    EXPECT_EQ(ReadBytes(Path("data/a")),
              "A\xE9"
              "A");
}

TEST_F(FileStreamTest, ModesReadUpdateAppend) {
    WriteBytes(Path("data/m"), "abcdef");
    c_DataBuffer buffer(16);

    auto reader = c_FileStream::Open("korvanth://data/m", "r");
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->Length(), 6);
    EXPECT_EQ(reader->Eof(), 0);
    EXPECT_EQ(reader->Read(buffer, 2, 10), 6);
    EXPECT_EQ(BufferBytes(buffer, 8).substr(2), "abcdef");
    EXPECT_EQ(reader->Eof(), 1);
    EXPECT_EQ(reader->Seek(3), 3);
    EXPECT_EQ(reader->Read(buffer, 0, 2), 2);
    EXPECT_EQ(BufferBytes(buffer, 2), "de");
    reader->Close();
    EXPECT_EQ(reader->Eof(), -1);
    EXPECT_EQ(reader->Read(buffer, 0, 2), 0);

    // "u" keeps the contents and starts at 0; "a" starts at the end.
    auto updater = c_FileStream::Open("korvanth://data/m", "u");
    ASSERT_NE(updater, nullptr);
    EXPECT_EQ(updater->Position(), 0);
    updater->WriteString("XY", "ascii");
    updater->Close();
    EXPECT_EQ(ReadBytes(Path("data/m")), "XYcdef");

    auto appender = c_FileStream::Open("korvanth://data/m", "a");
    ASSERT_NE(appender, nullptr);
    EXPECT_EQ(appender->Position(), 6);
    appender->WriteString("gh", "ascii");
    EXPECT_EQ(appender->Length(), 8);
    appender->Close();
    EXPECT_EQ(ReadBytes(Path("data/m")), "XYcdefgh");
}

TEST_F(FileStreamTest, UpdateCreatesMissingFileAndSwitchesReadToWrite) {
    auto stream = c_FileStream::Open("korvanth://data/new", "u");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Length(), 0);
    stream->WriteString("12345", "ascii");
    stream->Seek(1);
    c_DataBuffer buffer(2);
    EXPECT_EQ(stream->Read(buffer, 0, 2), 2);
    stream->WriteString("x", "ascii");  // after a read, on the same stream
    stream->Close();
    EXPECT_EQ(ReadBytes(Path("data/new")), "123x5");
}

TEST_F(FileStreamTest, FailuresGiveNone) {
    EXPECT_EQ(c_FileStream::Open("korvanth://data/missing", "r"), nullptr);
    EXPECT_EQ(c_FileStream::Open("korvanth://data/x", "rw"), nullptr);
    EXPECT_EQ(c_FileStream::Open("korvanth://data/x", ""), nullptr);
    EXPECT_EQ(c_FileStream::Open("korvanth://other/x", "w"), nullptr);
    EXPECT_EQ(c_FileStream::Open("korvanth://data/no/such/folder", "w"), nullptr);
    EXPECT_FALSE(Exists(Path("data/x")));

    BBFileStream stream;
    ASSERT_TRUE(stream.Open("korvanth://data/x", "w"));
    EXPECT_FALSE(stream.Open("korvanth://data/x", "w"));  // already open
    EXPECT_EQ(stream.Close(), 0);
    EXPECT_EQ(stream.Close(), 0);
}

TEST_F(FileStreamTest, RangesOutsideTheBufferTransferNothing) {
    auto stream = c_FileStream::Open("korvanth://data/r", "w");
    ASSERT_NE(stream, nullptr);
    c_DataBuffer buffer(4);
    EXPECT_EQ(stream->Write(buffer, 0, 5), 0);
    EXPECT_EQ(stream->Write(buffer, 3, 2), 0);
    EXPECT_EQ(stream->Write(buffer, -1, 2), 0);
    EXPECT_EQ(stream->Write(buffer, 4, 0), 0);
    EXPECT_EQ(stream->Write(buffer, 2, 2), 2);
    EXPECT_EQ(stream->Length(), 2);
}

TEST_F(FileStreamTest, WriteWithoutProgressThrowsStreamWriteError) {
    WriteBytes(Path("data/ro"), "abc");
    auto stream = c_FileStream::Open("korvanth://data/ro", "r");
    ASSERT_NE(stream, nullptr);
    try {
        stream->WriteString("x", "utf8");
        FAIL() << "no exception";
    } catch (const c_StreamWriteError& error) {
        EXPECT_EQ(error.Stream(), stream);
        const ThrowableObject& asThrowable = error;
        EXPECT_NE(dynamic_cast<const c_StreamError*>(&asThrowable), nullptr);
    }
    // Nothing to write is no failure.
    EXPECT_NO_THROW(stream->WriteString("", "utf8"));
}

TEST(DataBuffer, PutStringBytesCountsEverythingCopiesWhatFits) {
    c_DataBuffer buffer(3);
    const String::CodePoint points[] = {233, 233};
    EXPECT_EQ(buffer.PutStringBytes(0, String(points, 2), "utf8"), 4);
    EXPECT_EQ(BufferBytes(buffer, 3), "\xC3\xA9\xC3");
    EXPECT_EQ(buffer.PutStringBytes(2, "xyz", "ascii"), 3);
    EXPECT_EQ(buffer.PeekByte(2), 'x');
    EXPECT_EQ(buffer.PutStringBytes(3, "q", "ascii"), 1);
    EXPECT_EQ(buffer.PutStringBytes(-1, "q", "ascii"), 1);
    EXPECT_EQ(BufferBytes(buffer, 3), "\xC3\xA9x");
    EXPECT_EQ(buffer.PeekByte(3), 0);
    EXPECT_EQ(buffer.PeekByte(-1), 0);
}

TEST(DataBuffer, NegativeCodePointsEncodeThroughTheir16LowBits) {
    c_DataBuffer buffer(3);
    EXPECT_EQ(buffer.PutStringBytes(0, "\xE9", "utf8"), 3);  // -23 -> U+FFE9
    EXPECT_EQ(BufferBytes(buffer, 3), "\xEF\xBF\xA9");
}

TEST(DataBuffer, AllocateOnlyOnce) {
    BBDataBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(0));
    EXPECT_FALSE(buffer.Allocate(4));
    EXPECT_EQ(buffer.Length(), 0);
    BBDataBuffer negative;
    EXPECT_FALSE(negative.Allocate(-1));
}

TEST(DataBufferDeathTest, UnknownEncodingIsARuntimeError) {
    c_DataBuffer buffer(4);
    EXPECT_EXIT(
        {
            // The report goes to standard output; show it where the matcher looks.
            dup2(2, 1);
            std::fclose(stdin);
            buffer.PutStringBytes(0, "x", "utf16");
        },
        ::testing::ExitedWithCode(255), "Korvanth Runtime Error : Invalid string encoding:utf16");
}
