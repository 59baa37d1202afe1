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
    int error = 0;
    stb_vorbis* vorbis = stb_vorbis_open_file(file, 0, &error, nullptr);
    return vorbis && DecodeVorbis(vorbis, out);
}

bool DecodeOggBytes(const unsigned char* bytes, size_t size, DecodedAudio& out) {
    if (size > 0x7FFFFFFF) return false;
    int error = 0;
    stb_vorbis* vorbis = stb_vorbis_open_memory(bytes, static_cast<int>(size), &error, nullptr);
    return vorbis && DecodeVorbis(vorbis, out);
}

unsigned char* LoadAudioData(const String& path, int& length, int& channels, int& bytesPerSample, int& sampleRate) {
    FILE* file = OpenFile(path, "rb");
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
