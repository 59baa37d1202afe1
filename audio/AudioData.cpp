// Sample decoding. The WAV parser reads through a small byte-source seam so the
// same chunk rules run on files and on memory. Ogg goes through stb_vorbis,
// whose implementation Debian's libstb already exports (so the header is used
// declarations-only here).
#include "audio/AudioData.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "io/DataPath.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <memory>
#include <vector>

namespace {

// Reads and skips, tracking end-of-input the way stdio does: the flag is set
// only when a read asks for more than is left.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual bool Read(void* into, size_t count) = 0;
    virtual void Skip(size_t count) = 0;
    virtual bool AtEnd() const = 0;
    virtual size_t Remaining() const = 0;
};

class FileSource : public ByteSource {
public:
    explicit FileSource(FILE* file) : file_(file) {
        const long start = std::ftell(file);
        if (start >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
            const long end = std::ftell(file);
            if (end >= start) size_ = static_cast<size_t>(end);
            std::fseek(file, start, SEEK_SET);
        }
    }
    bool Read(void* into, size_t count) override { return std::fread(into, 1, count, file_) == count; }
    void Skip(size_t count) override {
        // Skipping past the end leaves the position at the end; the next read
        // then reports the end, as a seek beyond it would.
        const size_t left = Remaining();
        std::fseek(file_, static_cast<long>(count < left ? count : left), SEEK_CUR);
    }
    bool AtEnd() const override { return std::feof(file_) != 0; }
    size_t Remaining() const override {
        const long position = std::ftell(file_);
        if (position < 0 || static_cast<size_t>(position) > size_) return 0;
        return size_ - static_cast<size_t>(position);
    }

private:
    FILE* file_;
    size_t size_ = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const unsigned char* bytes, size_t size) : bytes_(bytes), size_(size) {}
    bool Read(void* into, size_t count) override {
        if (count > size_ - position_) {
            if (size_ > position_) std::memcpy(into, bytes_ + position_, size_ - position_);
            position_ = size_;
            atEnd_ = true;
            return false;
        }
        if (count > 0) std::memcpy(into, bytes_ + position_, count);
        position_ += count;
        return true;
    }
    void Skip(size_t count) override { position_ += count < Remaining() ? count : Remaining(); }
    bool AtEnd() const override { return atEnd_; }
    size_t Remaining() const override { return size_ - position_; }

private:
    const unsigned char* bytes_;
    size_t size_;
    size_t position_ = 0;
    bool atEnd_ = false;
};

bool ReadTag(ByteSource& source, char tag[5]) {
    std::memset(tag, 0, 5);
    if (source.Read(tag, 4)) return true;
    tag[0] = 0;  // a failed read counts as an empty tag
    return false;
}

bool TagIs(const char tag[5], const char* expected) { return std::strcmp(tag, expected) == 0; }

bool ReadU16(ByteSource& source, uint32_t& value) {
    unsigned char b[2];
    if (!source.Read(b, 2)) return false;
    value = static_cast<uint32_t>(b[0] | (b[1] << 8));
    return true;
}

bool ReadU32(ByteSource& source, uint32_t& value) {
    unsigned char b[4];
    if (!source.Read(b, 4)) return false;
    value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
            static_cast<uint32_t>(b[3]) << 24;
    return true;
}

constexpr uint32_t kPcmFormat = 1;
constexpr uint32_t kBasicFormatChunkSize = 16;

bool DecodeWav(ByteSource& source, DecodedAudio& out) {
    char tag[5];
    uint32_t value = 0;
    if (!ReadTag(source, tag) || !TagIs(tag, "RIFF")) return false;
    ReadU32(source, value);
    if (!ReadTag(source, tag) || !TagIs(tag, "WAVE")) return false;
    if (!ReadTag(source, tag) || !TagIs(tag, "fmt ")) return false;
    uint32_t formatSize = 0;
    ReadU32(source, formatSize);
    uint32_t formatTag = 0;
    if (!ReadU16(source, formatTag) || formatTag != kPcmFormat) return false;

    uint32_t channelCount = 0, rate = 0, bits = 0;
    const int channels = ReadU16(source, channelCount) ? static_cast<int>(channelCount) : -1;
    const int sampleRate = ReadU32(source, rate) ? static_cast<int>(rate) : -1;
    ReadU32(source, value);  // byte rate
    ReadU16(source, value);  // block align
    const int bytesPerSample = ReadU16(source, bits) ? static_cast<int>(bits) / 8 : 0;
    // Nothing to divide the data size by: refuse rather than decode.
    if (channels <= 0 || bytesPerSample <= 0) return false;
    if (formatSize > kBasicFormatChunkSize) source.Skip(formatSize - kBasicFormatChunkSize);

    for (;;) {
        ReadTag(source, tag);
        if (source.AtEnd()) return false;
        uint32_t size = 0;
        if (!ReadU32(source, size)) size = 0xFFFFFFFFu;
        if (TagIs(tag, "data")) {
            // A claim beyond the end of the input could never be read; don't
            // allocate it. The read then fails as it would have.
            if (size > source.Remaining()) {
                source.Skip(source.Remaining());
                unsigned char probe;
                source.Read(&probe, 1);
                continue;
            }
            unsigned char* block = static_cast<unsigned char*>(std::malloc(size > 0 ? size : 1));
            if (!block) return false;
            if (source.Read(block, size)) {
                out.data = block;
                out.length = static_cast<int>(size / static_cast<uint32_t>(bytesPerSample * channels));
                out.channels = channels;
                out.bytesPerSample = bytesPerSample;
                out.sampleRate = sampleRate;
                return true;
            }
            std::free(block);
            continue;
        }
        source.Skip(size);
    }
}

// The interleaved 16-bit stream, in a block that doubles whenever less than
// one more 4096-frame read would fit.
bool DecodeVorbis(stb_vorbis* vorbis, DecodedAudio& out) {
    const stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    const int channels = info.channels;
    if (channels <= 0) {
        stb_vorbis_close(vorbis);
        return false;
    }
    const size_t chunk = static_cast<size_t>(channels) * 4096;
    size_t capacity = chunk;
    size_t used = 0;
    int frames = 0;
    short* block = static_cast<short*>(std::malloc(capacity * sizeof(short)));
    if (!block) {
        stb_vorbis_close(vorbis);
        return false;
    }
    for (;;) {
        const int got =
            stb_vorbis_get_samples_short_interleaved(vorbis, channels, block + used, static_cast<int>(capacity - used));
        if (got == 0) break;
        used += static_cast<size_t>(got) * static_cast<size_t>(channels);
        frames += got;
        if (capacity - used < chunk) {
            short* grown = static_cast<short*>(std::realloc(block, capacity * 2 * sizeof(short)));
            if (!grown) {
                std::free(block);
                stb_vorbis_close(vorbis);
                return false;
            }
            block = grown;
            capacity *= 2;
        }
    }
    out.data = reinterpret_cast<unsigned char*>(block);
    out.length = frames;
    out.channels = channels;
    out.bytesPerSample = 2;
    out.sampleRate = static_cast<int>(info.sample_rate);
    stb_vorbis_close(vorbis);
    return true;
}

// stb_vorbis loses blocks on some of its setup errors (a header cut short
// leaks its temporary tables). Given an arena it takes every block from
// there, so freeing the arena frees everything, whatever path it took. The
// arena starts at a size that fits ordinary files and doubles while the
// decoder says it ran out of room.
constexpr int kFirstArenaBytes = 256 * 1024;
constexpr int kLargestArenaBytes = 64 * 1024 * 1024;

struct FreeBlock {
    void operator()(char* block) const { std::free(block); }
};

// open(arena, &error) opens the stream with that arena; none on failure.
template <typename Open>
bool DecodeInArena(Open open, DecodedAudio& out) {
    for (int bytes = kFirstArenaBytes; bytes <= kLargestArenaBytes; bytes *= 2) {
        const std::unique_ptr<char, FreeBlock> block(static_cast<char*>(std::malloc(static_cast<size_t>(bytes))));
        if (!block) return false;
        const stb_vorbis_alloc arena{block.get(), bytes};
        int error = 0;
        // The decoder lives inside the arena: DecodeVorbis closes it first.
        if (stb_vorbis* vorbis = open(&arena, &error)) return DecodeVorbis(vorbis, out);
        if (error != VORBIS_outofmem) return false;
    }
    return false;
}

// stb_vorbis trusts the lengths in the comment header: a claim larger than
// the packet makes it allocate a huge block, fail, and then free slots it
// never filled. The tracker never reads comments, so a file whose comment
// header claims more than it holds is refused before the decoder sees it.
// Reassembles the first two packets of the first logical stream from the
// Ogg pages and checks the vendor length, the comment count and each length.
bool VorbisCommentHeaderFits(const unsigned char* bytes, size_t size) {
    std::vector<unsigned char> packets[2];
    int packet = 0;
    size_t at = 0;
    uint32_t serial = 0;
    bool firstPage = true;
    while (packet < 2 && at + 27 <= size) {
        if (std::memcmp(bytes + at, "OggS", 4) != 0) return false;
        const uint32_t pageSerial =
            static_cast<uint32_t>(bytes[at + 14]) | (static_cast<uint32_t>(bytes[at + 15]) << 8) |
            (static_cast<uint32_t>(bytes[at + 16]) << 16) | (static_cast<uint32_t>(bytes[at + 17]) << 24);
        const size_t segments = bytes[at + 26];
        const size_t lacing = at + 27;
        if (lacing + segments > size) return false;
        size_t payload = lacing + segments;
        if (firstPage) serial = pageSerial;
        const bool ours = firstPage || pageSerial == serial;
        firstPage = false;
        for (size_t k = 0; k < segments; ++k) {
            const size_t length = bytes[lacing + k];
            if (payload + length > size) return false;
            if (ours && packet < 2) {
                packets[packet].insert(packets[packet].end(), bytes + payload, bytes + payload + length);
                if (length < 255) ++packet;
            }
            payload += length;
        }
        at = payload;
    }
    if (packet < 2) return false;
    const std::vector<unsigned char>& comment = packets[1];
    size_t pos = 7;  // packet type 3 and "vorbis"
    auto readLength = [&](uint64_t& value) {
        if (pos + 4 > comment.size()) return false;
        value = static_cast<uint64_t>(comment[pos]) | (static_cast<uint64_t>(comment[pos + 1]) << 8) |
                (static_cast<uint64_t>(comment[pos + 2]) << 16) | (static_cast<uint64_t>(comment[pos + 3]) << 24);
        pos += 4;
        return true;
    };
    if (comment.size() < 7 || comment[0] != 3) return false;
    uint64_t vendor = 0, count = 0;
    if (!readLength(vendor) || vendor > comment.size() - pos) return false;
    pos += vendor;
    if (!readLength(count) || count > (comment.size() - pos) / 4) return false;
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t length = 0;
        if (!readLength(length) || length > comment.size() - pos) return false;
        pos += length;
    }
    return true;
}

}  // namespace

bool DecodeWavFile(FILE* file, DecodedAudio& out) {
    FileSource source(file);
    return DecodeWav(source, out);
}

bool DecodeWavBytes(const unsigned char* bytes, size_t size, DecodedAudio& out) {
    MemorySource source(bytes, size);
    return DecodeWav(source, out);
}

bool DecodeOggFile(FILE* file, DecodedAudio& out) {
    // The headers sit at the start of the stream; the whole file is read for
    // the check only when its comment header is that large.
    std::vector<unsigned char> start;
    const long origin = std::ftell(file);
    unsigned char chunk[65536];
    for (;;) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, file);
        start.insert(start.end(), chunk, chunk + got);
        if (got < sizeof chunk || VorbisCommentHeaderFits(start.data(), start.size())) break;
    }
    if (!VorbisCommentHeaderFits(start.data(), start.size())) return false;
    return DecodeInArena(
        [&](const stb_vorbis_alloc* arena, int* error) -> stb_vorbis* {
            if (std::fseek(file, origin, SEEK_SET) != 0) return nullptr;
            return stb_vorbis_open_file(file, 0, error, arena);
        },
        out);
}

bool DecodeOggBytes(const unsigned char* bytes, size_t size, DecodedAudio& out) {
    if (size > 0x7FFFFFFF || !VorbisCommentHeaderFits(bytes, size)) return false;
    return DecodeInArena(
        [&](const stb_vorbis_alloc* arena, int* error) {
            return stb_vorbis_open_memory(bytes, static_cast<int>(size), error, arena);
        },
        out);
}

unsigned char* LoadAudioData(const String& path, int& length, int& channels, int& bytesPerSample, int& sampleRate) {
    FILE* file = OpenRegularFile(path);
    if (!file) return nullptr;
    const String lower = path.ToLower();
    DecodedAudio decoded;
    bool ok = false;
    if (lower.EndsWith(".wav")) {
        ok = DecodeWavFile(file, decoded);
    } else if (lower.EndsWith(".ogg")) {
        ok = DecodeOggFile(file, decoded);
    }
    std::fclose(file);
    if (!ok) return nullptr;
    length = decoded.length;
    channels = decoded.channels;
    bytesPerSample = decoded.bytesPerSample;
    sampleRate = decoded.sampleRate;
    return decoded.data;
}
