// Whole-file reads: the bytes of a file, and text with encoding detection
// (UTF-16 by byte-order mark, UTF-8, or one code point per byte).
#include "io/TextFile.h"

#include <cstdio>

#include "io/DataPath.h"

namespace {
constexpr size_t kReadChunkBytes = 4096;

String DecodeUtf16(const std::string& bytes, bool bigEndian) {
    std::vector<String::CodePoint> text;
    text.reserve(bytes.size() / 2);
    // Pairs after the mark; a last odd byte has no partner and is dropped.
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned first = static_cast<unsigned char>(bytes[i]);
        const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<String::CodePoint>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return String::FromCodePoints(std::move(text));
}

bool StartsWithBytes(const std::string& bytes, const char* mark, size_t markLength) {
    return bytes.size() >= markLength && bytes.compare(0, markLength, mark, markLength) == 0;
}

// A read error counts as a failed read rather than a shorter file, and so
// does a file that grew past the limit after it was opened.
bool ReadWholeFile(FILE* file, std::string& bytes, long long maxBytes) {
    bytes.clear();
    char chunk[kReadChunkBytes];
    bool withinLimit = true;
    for (;;) {
        const size_t count = std::fread(chunk, 1, sizeof chunk, file);
        bytes.append(chunk, count);
        if (maxBytes >= 0 && static_cast<long long>(bytes.size()) > maxBytes) {
            withinLimit = false;
            break;
        }
        if (count < sizeof chunk) break;
    }
    const bool ok = !std::ferror(file) && withinLimit;
    std::fclose(file);
    if (!ok) bytes.clear();
    return ok;
}
}  // namespace

String DecodeText(const std::string& bytes) {
    if (StartsWithBytes(bytes, "\xFE\xFF", 2)) return DecodeUtf16(bytes, true);
    if (StartsWithBytes(bytes, "\xFF\xFE", 2)) return DecodeUtf16(bytes, false);
    if (StartsWithBytes(bytes, "\xEF\xBB\xBF", 3)) return String::FromUtf8(bytes.substr(3));
    return String::FromUtf8(bytes);
}

bool LoadData(const String& path, std::string& bytes, long long maxBytes) {
    FILE* file = OpenRegularFile(path, maxBytes);
    if (!file) {
        bytes.clear();
        return false;
    }
    return ReadWholeFile(file, bytes, maxBytes);
}

String LoadString(const String& path, long long maxBytes) {
    std::string bytes;
    if (!LoadData(ToDataPath(path), bytes, maxBytes)) return String();
    return DecodeText(bytes);
}
