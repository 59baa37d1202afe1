// Writes the seed corpora for the fuzz targets and turns the hex regression
// inputs into files:
//   zrb_fuzz_seeds OUT_DIR [REGRESSIONS_DIR]
// makes OUT_DIR/{text,song,wav,ogg,image}/ and, when a regressions folder is
// given, OUT_DIR/regressions/<target>/<name> from each <target>/<name>.hex.
// Ogg seeds are copied (whole and cut short) from the system's sound themes.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/String.h"
#include "song/SongFile.h"
#include "song/SongModel.h"
#include "song/TrackerState.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma clang diagnostic pop

namespace {
using Bytes = std::string;
using namespace std::string_literals;  // literals below hold NUL bytes

void MakeFolder(const std::string& path) { mkdir(path.c_str(), 0755); }

bool WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool ReadFile(const std::string& path, Bytes& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return true;
}

// ---- text ----
void TextSeeds(const std::string& dir) {
    const std::vector<Bytes> seeds = {
        "plain ascii text",
        "\xEF\xBB\xBF" "after a byte-order mark",
        "\xFF\xFE" "A\0B\0\xE9\0"s,
        "\xFE\xFF\0A\0B\x01\x00\x7F"s,
        "caf\xC3\xA9 \xE2\x82\xAC \xE0\x80\x80",  // two- and three-byte forms, one overlong
        "A\xE9" "B",                               // not UTF-8: one code point per byte
        "\xF0\x9F\x8E\xB5 four-byte lead",
        "\xEF\xBB\xBF",
        Bytes("\0\x01\x7F\xC2\x80", 5),
    };
    for (size_t i = 0; i < seeds.size(); ++i) WriteFile(dir + "/text" + std::to_string(i), seeds[i]);
}

// ---- songs ----
void PutNote(TrackerState& s, int column, int row, const char* cell) {
    s.songColumns[column] = ReplaceChar(s.songColumns[column], row + 1, String(cell));
}

void SongSeeds(const std::string& dir) {
    TrackerState s;
    BuildEmptySong(s);
    WriteFile(dir + "/empty.zrb", EncodeSong(s).ToUtf8());

    for (int ch = 0; ch < 4; ++ch) {
        PutNote(s, ch, ch * 3, "q");
        PutNote(s, 4 + ch, ch * 3, "8");
        PutNote(s, 8 + ch, ch * 3, "1");
        PutNote(s, 12 + ch, ch * 3, "3");
        PutNote(s, ch, 32 + ch, "<");
        PutNote(s, ch, 64 + ch, "+");
    }
    s.positions[0] = 0;
    s.positions[1] = 1;
    s.positions[2] = 2;
    s.songLength = 3 * 32;
    s.songSpeed = 6;
    s.instrumentNames[1] = "Lead";
    s.instrumentNames[2] = String::FromCodePoints({0xE9, 0x20AC, 'x'});
    for (int i = 0; i < 249; ++i) s.instrumentParams[i] = (i * 7) % 64;
    const Bytes three = EncodeSong(s).ToUtf8();
    WriteFile(dir + "/three_patterns.zrb", three);
    WriteFile(dir + "/cut_short.zrb", three.substr(0, three.size() / 3));
    WriteFile(dir + "/header_only.zrb", three.substr(0, 7));

    s.positions[5] = 200;  // n = 201: a two-byte header character
    s.songSpeed = 0;
    WriteFile(dir + "/pattern_200.zrb", EncodeSong(s).ToUtf8());

    Bytes foreign = three;
    foreign.replace(0, 4, "XXXX");
    WriteFile(dir + "/wrong_magic.zrb", foreign);
    Bytes bom = "\xEF\xBB\xBF" + three.substr(0, 600);
    WriteFile(dir + "/bom_prefix.zrb", bom);
}

// ---- WAV ----
void PutU16(Bytes& b, unsigned v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}
void PutU32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void PutChunk(Bytes& b, const char* tag, const Bytes& body) {
    b.append(tag, 4);
    PutU32(b, static_cast<uint32_t>(body.size()));
    b += body;
}

Bytes Wav(int bits, int channels, int formatSize, const std::vector<std::pair<const char*, Bytes>>& before, int frames) {
    const int bytesPerSample = bits / 8;
    Bytes format;
    PutU16(format, 1);
    PutU16(format, static_cast<unsigned>(channels));
    PutU32(format, 22050);
    PutU32(format, static_cast<uint32_t>(22050 * channels * bytesPerSample));
    PutU16(format, static_cast<unsigned>(channels * bytesPerSample));
    PutU16(format, static_cast<unsigned>(bits));
    if (formatSize >= 18) PutU16(format, static_cast<unsigned>(formatSize - 18));
    while (static_cast<int>(format.size()) < formatSize) format += '\x11';
    Bytes samples;
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            for (int k = 0; k < bytesPerSample; ++k) samples += static_cast<char>((f * 37 + c * 11 + k) & 0xFF);
    Bytes body = "WAVE";
    PutChunk(body, "fmt ", format);
    for (const auto& chunk : before) PutChunk(body, chunk.first, chunk.second);
    PutChunk(body, "data", samples);
    Bytes file;
    PutChunk(file, "RIFF", body);
    return file;
}

void WavSeeds(const std::string& dir) {
    Bytes fact;
    PutU32(fact, 16);
    const Bytes list = "INFOISFT\x05\0\0\0test\0"s;
    int index = 0;
    for (int bits : {8, 16})
        for (int channels : {1, 2})
            for (int formatSize : {16, 18, 40}) {
                std::vector<std::pair<const char*, Bytes>> before;
                if (formatSize == 18) before.push_back({"fact", fact});
                if (formatSize == 40) before = {{"fact", fact}, {"LIST", list}};
                const std::string name = "w" + std::to_string(index++) + "_" + std::to_string(bits) + "bit_" +
                                         std::to_string(channels) + "ch_fmt" + std::to_string(formatSize) + ".wav";
                WriteFile(dir + "/" + name, Wav(bits, channels, formatSize, before, 16));
            }
    // Refused shapes, so the fuzzer starts near each failure road.
    Bytes listFirst = Wav(16, 1, 16, {}, 4);
    WriteFile(dir + "/no_data.wav", listFirst.substr(0, 36));
    WriteFile(dir + "/zero_channels.wav", Wav(16, 0, 16, {}, 4));
    WriteFile(dir + "/four_bits.wav", Wav(4, 1, 16, {}, 4));
    // Real recordings shipped with the system's sound packages.
    const char* systemWavs[] = {"/usr/share/sounds/alsa/Noise.wav", "/usr/share/sounds/alsa/Front_Center.wav"};
    for (const char* path : systemWavs) {
        Bytes bytes;
        if (ReadFile(path, bytes)) WriteFile(dir + "/system_" + std::to_string(index++) + ".wav", bytes.substr(0, 4096));
    }
}

// ---- Ogg ----
void OggSeeds(const std::string& dir) {
    const char* sources[] = {"/usr/share/sounds/freedesktop/stereo/phone-outgoing-calling.oga",
                             "/usr/share/sounds/freedesktop/stereo/audio-volume-change.oga",
                             "/usr/share/sounds/freedesktop/stereo/dialog-information.oga"};
    int index = 0;
    for (const char* path : sources) {
        Bytes bytes;
        if (!ReadFile(path, bytes)) continue;
        WriteFile(dir + "/ogg" + std::to_string(index) + ".ogg", bytes);
        WriteFile(dir + "/ogg" + std::to_string(index) + "_cut.ogg", bytes.substr(0, bytes.size() / 3));
        ++index;
    }
    if (index == 0) std::fprintf(stderr, "no Ogg seeds found (sound-theme-freedesktop missing)\n");
}

// ---- images ----
void AppendToBytes(void* context, void* data, int size) {
    static_cast<Bytes*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

void ImageSeeds(const std::string& dir) {
    for (int depth = 1; depth <= 4; ++depth) {
        const int width = 5 + depth, height = 3 + depth;
        std::vector<unsigned char> pixels(static_cast<size_t>(width * height * depth));
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 29 + depth);
        const std::string stem = dir + "/d" + std::to_string(depth);
        Bytes png, bmp, tga, jpg;
        stbi_write_png_to_func(AppendToBytes, &png, width, height, depth, pixels.data(), width * depth);
        WriteFile(stem + ".png", png);
        if (depth == 3 || depth == 4) {
            stbi_write_bmp_to_func(AppendToBytes, &bmp, width, height, depth, pixels.data());
            WriteFile(stem + ".bmp", bmp);
            stbi_write_jpg_to_func(AppendToBytes, &jpg, width, height, depth, pixels.data(), 80);
            WriteFile(stem + ".jpg", jpg);
        }
        stbi_write_tga_to_func(AppendToBytes, &tga, width, height, depth, pixels.data());
        WriteFile(stem + ".tga", tga);
    }
    const std::vector<float> hdr(4 * 4 * 3, 0.5f);
    Bytes hdrBytes;
    stbi_write_hdr_to_func(AppendToBytes, &hdrBytes, 4, 4, 3, hdr.data());
    WriteFile(dir + "/d3.hdr", hdrBytes);
    WriteFile(dir + "/netpbm.ppm", Bytes("P6\n2 2\n255\n") + Bytes(12, '\x7F'));
    // One white pixel: header, two-colour table, image descriptor, LZW data.
    WriteFile(dir + "/gif.gif", "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF,"
                                "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;"s);
}

// ---- regressions: hex text to bytes ----
bool HexToBytes(const Bytes& text, Bytes& out) {
    std::istringstream lines(text);
    std::string line;
    int high = -1;
    while (std::getline(lines, line)) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        for (char c : line) {
            int v;
            if (c >= '0' && c <= '9') v = c - '0';
            else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
            else if (c == ' ' || c == '\t' || c == '\r') continue;
            else return false;
            if (high < 0) {
                high = v;
            } else {
                out += static_cast<char>(high * 16 + v);
                high = -1;
            }
        }
    }
    return high < 0;
}

std::vector<std::string> ListFolder(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') names.push_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

bool Regressions(const std::string& from, const std::string& to) {
    bool ok = true;
    MakeFolder(to);
    for (const std::string& target : ListFolder(from)) {
        MakeFolder(to + "/" + target);
        for (const std::string& name : ListFolder(from + "/" + target)) {
            if (name.size() < 5 || name.compare(name.size() - 4, 4, ".hex") != 0) continue;
            Bytes text, bytes;
            if (!ReadFile(from + "/" + target + "/" + name, text) || !HexToBytes(text, bytes)) {
                std::fprintf(stderr, "bad regression file %s/%s\n", target.c_str(), name.c_str());
                ok = false;
                continue;
            }
            WriteFile(to + "/" + target + "/" + name.substr(0, name.size() - 4), bytes);
        }
    }
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR [REGRESSIONS_DIR]\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    MakeFolder(out);
    for (const char* kind : {"text", "song", "wav", "ogg", "image"}) MakeFolder(out + "/" + kind);
    TextSeeds(out + "/text");
    SongSeeds(out + "/song");
    WavSeeds(out + "/wav");
    OggSeeds(out + "/ogg");
    ImageSeeds(out + "/image");
    if (argc >= 3 && !Regressions(argv[2], out + "/regressions")) return 1;
    return 0;
}
