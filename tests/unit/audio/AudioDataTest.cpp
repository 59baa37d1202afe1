// Sample decoding: WAV chunk rules on files the tests write, malformed and
// truncated input, extension matching, and real WAV/Ogg files from the
// system's sound themes checked against what soxi reports.
#include <AL/al.h>
#include <dirent.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/AudioData.h"
#include "audio/gxtkAudio.h"
#include "tests/unit/audio/WavBuilder.h"

namespace {

struct Loaded {
    unsigned char* data = nullptr;
    int length = -7, channels = -7, bytesPerSample = -7, sampleRate = -7;
    ~Loaded() { std::free(data); }
};

void Load(const std::string& path, Loaded& out) {
    out.data = LoadAudioData(String(path), out.length, out.channels, out.bytesPerSample, out.sampleRate);
}

std::string Written(const WavBuilder& wav, const std::string& name) {
    const std::string path = TestFolder() + "/" + name;
    EXPECT_TRUE(wav.WriteTo(path));
    return path;
}

bool DecodesFromMemory(const std::vector<unsigned char>& bytes, DecodedAudio& out) {
    return DecodeWavBytes(bytes.data(), bytes.size(), out);
}

TEST(WavDecoding, EightBitMonoIsMono8WithLengthEqualToDataSize) {
    WavBuilder wav;
    wav.Header().Format(1, 11025, 8).Chunk("data", WavBuilder::Ramp(101));
    Loaded loaded;
    Load(Written(wav, "mono8.wav"), loaded);
    ASSERT_NE(loaded.data, nullptr);
    EXPECT_EQ(loaded.length, 101);
    EXPECT_EQ(loaded.channels, 1);
    EXPECT_EQ(loaded.bytesPerSample, 1);
    EXPECT_EQ(loaded.sampleRate, 11025);
    EXPECT_EQ(BufferFormatFor(loaded.bytesPerSample, loaded.channels), AL_FORMAT_MONO8);
    EXPECT_EQ(std::memcmp(loaded.data, WavBuilder::Ramp(101).data(), 101), 0);
}

TEST(WavDecoding, SixteenBitStereoIsStereo16WithLengthQuarterOfDataSize) {
    WavBuilder wav;
    wav.Header().Format(2, 48000, 16).Chunk("data", WavBuilder::Ramp(402));  // 2 stray bytes at the end
    Loaded loaded;
    Load(Written(wav, "stereo16.wav"), loaded);
    ASSERT_NE(loaded.data, nullptr);
    EXPECT_EQ(loaded.length, 100);
    EXPECT_EQ(loaded.channels, 2);
    EXPECT_EQ(loaded.bytesPerSample, 2);
    EXPECT_EQ(loaded.sampleRate, 48000);
    EXPECT_EQ(BufferFormatFor(loaded.bytesPerSample, loaded.channels), AL_FORMAT_STEREO16);
}

TEST(WavDecoding, FormatTableGivesNoFormatForOtherLayouts) {
    EXPECT_EQ(BufferFormatFor(1, 2), AL_FORMAT_STEREO8);
    EXPECT_EQ(BufferFormatFor(2, 1), AL_FORMAT_MONO16);
    EXPECT_EQ(BufferFormatFor(3, 1), 0);
    EXPECT_EQ(BufferFormatFor(2, 6), 0);
}

TEST(WavDecoding, ExtendedFormatChunksAreSkippedByTheirSize) {
    for (uint32_t size : {16u, 18u, 40u}) {
        WavBuilder wav;
        wav.Header().Format(1, 22050, 16, size).Chunk("data", WavBuilder::Ramp(64));
        DecodedAudio out;
        ASSERT_TRUE(DecodesFromMemory(wav.bytes, out)) << "fmt size " << size;
        EXPECT_EQ(out.length, 32);
        EXPECT_EQ(out.data[0], WavBuilder::Ramp(64)[0]) << "fmt size " << size;
        std::free(out.data);
    }
}

TEST(WavDecoding, ChunksBeforeDataAreSkippedUnpadded) {
    WavBuilder wav;
    wav.Header().Format(1, 8000, 8).Chunk("fact", {1, 2, 3, 4}).Chunk("LIST", WavBuilder::Ramp(13));
    wav.Chunk("data", {9, 8, 7});
    DecodedAudio out;
    ASSERT_TRUE(DecodesFromMemory(wav.bytes, out));
    EXPECT_EQ(out.length, 3);
    EXPECT_EQ(out.data[0], 9);
    EXPECT_EQ(out.data[2], 7);
    std::free(out.data);
}

TEST(WavDecoding, MalformedHeadersAreRefused) {
    const std::vector<unsigned char> body = WavBuilder::Ramp(16);
    WavBuilder notRiff, notWave, listFirst, notPcm, noChannels, fourBits, noData;
    notRiff.Tag("RIFX").U32(0).Tag("WAVE").Format(1, 8000, 8).Chunk("data", body);
    notWave.Tag("RIFF").U32(0).Tag("AVI ").Format(1, 8000, 8).Chunk("data", body);
    listFirst.Header().Chunk("LIST", {1, 2}).Format(1, 8000, 8).Chunk("data", body);
    notPcm.Header().Format(1, 8000, 16, 16, 3).Chunk("data", body);
    noChannels.Header().Format(0, 8000, 8).Chunk("data", body);
    fourBits.Header().Format(1, 8000, 4).Chunk("data", body);
    noData.Header().Format(1, 8000, 8).Chunk("fact", {0, 0, 0, 0});
    const struct {
        const char* what;
        const WavBuilder& wav;
    } cases[] = {{"not RIFF", notRiff},       {"not WAVE", notWave},      {"list chunk first", listFirst},
                 {"not PCM", notPcm},         {"0 channels", noChannels}, {"4 bits", fourBits},
                 {"ends before data", noData}};
    for (const auto& c : cases) {
        DecodedAudio out;
        EXPECT_FALSE(DecodesFromMemory(c.wav.bytes, out)) << c.what;
        EXPECT_EQ(out.data, nullptr) << c.what;
        Loaded loaded;
        Load(Written(c.wav, "bad.wav"), loaded);
        EXPECT_EQ(loaded.data, nullptr) << c.what;
    }
}

// Every prefix of a valid file, on disk and in memory: none, never a crash,
// and never a block for a file that lost part of its data.
TEST(WavDecoding, TruncationAtEveryOffsetIsRefused) {
    WavBuilder wav;
    wav.Header().Format(2, 44100, 16, 18).Chunk("LIST", {1, 2, 3}).Chunk("data", WavBuilder::Ramp(24));
    for (size_t cut = 0; cut < wav.bytes.size(); ++cut) {
        const std::vector<unsigned char> prefix(wav.bytes.begin(), wav.bytes.begin() + static_cast<long>(cut));
        DecodedAudio out;
        EXPECT_FALSE(DecodeWavBytes(prefix.data(), prefix.size(), out)) << "cut at " << cut;
        WavBuilder truncated;
        truncated.bytes = prefix;
        Loaded loaded;
        Load(Written(truncated, "cut.wav"), loaded);
        EXPECT_EQ(loaded.data, nullptr) << "cut at " << cut;
    }
    DecodedAudio whole;
    EXPECT_TRUE(DecodesFromMemory(wav.bytes, whole));
    std::free(whole.data);
}

TEST(WavDecoding, SizeClaimsBeyondTheFileAllocateNothing) {
    WavBuilder hugeData, hugeChunk, hugeFormat;
    hugeData.Header().Format(1, 8000, 8).Tag("data").U32(0xFFFFFFF0u).Raw(WavBuilder::Ramp(40));
    hugeChunk.Header().Format(1, 8000, 8).Tag("junk").U32(0xFFFFFFFFu).Chunk("data", WavBuilder::Ramp(8));
    hugeFormat.Header().Format(1, 8000, 8).Chunk("data", WavBuilder::Ramp(8));
    hugeFormat.bytes[16] = 0x00;  // the "fmt " size field: 0xFFFFFF00
    for (int i = 17; i < 20; ++i) hugeFormat.bytes[static_cast<size_t>(i)] = 0xFF;
    for (const WavBuilder* wav : {&hugeData, &hugeChunk, &hugeFormat}) {
        DecodedAudio out;
        EXPECT_FALSE(DecodesFromMemory(wav->bytes, out));
        Loaded loaded;
        Load(Written(*wav, "huge.wav"), loaded);
        EXPECT_EQ(loaded.data, nullptr);
    }
}

TEST(LoadAudioData, ExtensionIgnoresCaseAndMustMatchExactly) {
    WavBuilder wav;
    wav.Header().Format(1, 8000, 8).Chunk("data", WavBuilder::Ramp(5));
    for (const char* name : {"a.wav", "b.WAV", "c.WaV"}) {
        Loaded loaded;
        Load(Written(wav, name), loaded);
        EXPECT_NE(loaded.data, nullptr) << name;
        EXPECT_EQ(loaded.length, 5) << name;
    }
    for (const char* name : {"d.wave", "e.raw", "fwav", "g.wav.bak", "h.ogg"}) {
        Loaded loaded;
        Load(Written(wav, name), loaded);
        EXPECT_EQ(loaded.data, nullptr) << name;
        EXPECT_EQ(loaded.length, -7) << "outputs untouched for " << name;
    }
}

TEST(LoadAudioData, MissingFileIsNone) {
    Loaded loaded;
    Load(TestFolder() + "/does_not_exist.wav", loaded);
    EXPECT_EQ(loaded.data, nullptr);
}

TEST(OggDecoding, GarbageIsRefused) {
    const std::vector<unsigned char> junk = WavBuilder::Ramp(3000);
    DecodedAudio out;
    EXPECT_FALSE(DecodeOggBytes(junk.data(), junk.size(), out));
    WavBuilder file;
    file.bytes = junk;
    Loaded loaded;
    Load(Written(file, "junk.ogg"), loaded);
    EXPECT_EQ(loaded.data, nullptr);
}

// Inputs the fuzzer found, kept as hex text beside the fuzz targets.
std::vector<unsigned char> RegressionInput(const std::string& name) {
    const char* root = std::getenv("ZRB_SOURCE_DIR");
    std::vector<unsigned char> bytes;
    FILE* file = std::fopen((std::string(root ? root : ".") + "/tests/fuzz/regressions/" + name).c_str(), "r");
    if (!file) return bytes;
    char line[512];
    while (std::fgets(line, sizeof line, file)) {
        std::string digits;
        for (char* c = line; *c && *c != '#'; ++c)
            if (std::isxdigit(static_cast<unsigned char>(*c))) digits += *c;
        for (size_t i = 0; i + 1 < digits.size(); i += 2)
            bytes.push_back(static_cast<unsigned char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    std::fclose(file);
    return bytes;
}

TEST(OggDecoding, CommentHeaderClaimingMoreThanItHoldsIsRefused) {
    const std::vector<unsigned char> crafted = RegressionInput("fuzz_ogg/comment_length_overflow.hex");
    ASSERT_EQ(crafted.size(), 105u);  // two pages: 28 + 30 and 28 + 19 bytes
    DecodedAudio out;
    EXPECT_FALSE(DecodeOggBytes(crafted.data(), crafted.size(), out));
    WavBuilder file;
    file.bytes = crafted;
    Loaded loaded;
    Load(Written(file, "crafted.ogg"), loaded);
    EXPECT_EQ(loaded.data, nullptr);
}

// ---- real files, checked against soxi

std::string Run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
    return out;
}

bool HaveSoxi() { return !Run("command -v soxi 2>/dev/null").empty(); }

long Soxi(const char* option, const std::string& path) {
    return std::strtol(Run(std::string("soxi ") + option + " '" + path + "' 2>/dev/null").c_str(), nullptr, 10);
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> files;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                files.push_back(folder + "/" + name);
        }
        closedir(dir);
    }
    return files;
}

void ExpectMatchesSoxi(const std::string& path, const DecodedAudio& out) {
    EXPECT_EQ(out.length, Soxi("-s", path)) << path;
    EXPECT_EQ(out.channels, Soxi("-c", path)) << path;
    EXPECT_EQ(out.sampleRate, Soxi("-r", path)) << path;
}

TEST(RealFiles, SystemWavFilesMatchSoxi) {
    const std::vector<std::string> files = FilesIn("/usr/share/sounds/alsa", ".wav");
    if (files.empty() || !HaveSoxi()) GTEST_SKIP() << "alsa-utils sounds or soxi not installed";
    for (const std::string& path : files) {
        Loaded loaded;
        Load(path, loaded);
        ASSERT_NE(loaded.data, nullptr) << path;
        DecodedAudio out;
        out.length = loaded.length;
        out.channels = loaded.channels;
        out.sampleRate = loaded.sampleRate;
        ExpectMatchesSoxi(path, out);
        EXPECT_EQ(loaded.bytesPerSample * 8, Soxi("-b", path)) << path;
    }
}

TEST(RealFiles, SystemOggVorbisFilesMatchSoxi) {
    const std::vector<std::string> files = FilesIn("/usr/share/sounds/freedesktop/stereo", ".oga");
    if (files.empty() || !HaveSoxi()) GTEST_SKIP() << "sound-theme-freedesktop or soxi not installed";
    bool sawLongFile = false;
    for (const std::string& path : files) {
        FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr) << path;
        DecodedAudio out;
        ASSERT_TRUE(DecodeOggFile(file, out)) << path;
        std::fclose(file);
        EXPECT_EQ(out.bytesPerSample, 2);
        ExpectMatchesSoxi(path, out);
        sawLongFile = sawLongFile || out.length > 4096 * 2;  // grew the block at least twice
        std::free(out.data);
    }
    EXPECT_TRUE(sawLongFile);
}

// The ".ogg" route of LoadAudioData gives the same result as decoding directly.
TEST(RealFiles, OggThroughLoadAudioData) {
    const std::string source = "/usr/share/sounds/freedesktop/stereo/bell.oga";
    FILE* file = std::fopen(source.c_str(), "rb");
    if (!file) GTEST_SKIP() << "sound-theme-freedesktop not installed";
    DecodedAudio direct;
    ASSERT_TRUE(DecodeOggFile(file, direct));
    std::fclose(file);
    const std::string copy = TestFolder() + "/Bell.OGG";
    ASSERT_EQ(std::system(("cp '" + source + "' '" + copy + "'").c_str()), 0);
    Loaded loaded;
    Load(copy, loaded);
    ASSERT_NE(loaded.data, nullptr);
    EXPECT_EQ(loaded.length, direct.length);
    EXPECT_EQ(loaded.channels, direct.channels);
    EXPECT_EQ(std::memcmp(loaded.data, direct.data, static_cast<size_t>(direct.length * direct.channels * 2)), 0);
    std::free(direct.data);
}

}  // namespace
