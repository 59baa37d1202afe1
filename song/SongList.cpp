// Reads the songs folder with one readdir pass and one stat per name, so a
// folder of ten thousand files lists in milliseconds.
#include "song/SongList.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "io/DataPath.h"

namespace {
constexpr String::CodePoint kReplacementMark = 0xFFFD;

// Length of the valid UTF-8 sequence at i, or 0 when it is not one.
size_t Utf8SequenceAt(const std::string& bytes, size_t i, String::CodePoint& codePoint) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    size_t length = 0;
    String::CodePoint value = 0;
    String::CodePoint smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (at(i + k) & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    codePoint = value;
    return length;
}
}  // namespace

namespace {
// UTF-8 decoded strictly; each byte of an invalid sequence becomes what
// invalidByte makes of it.
template <typename InvalidByte>
String DecodeFileName(const std::string& bytes, InvalidByte invalidByte) {
    std::vector<String::CodePoint> text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        String::CodePoint c = 0;
        const size_t length = Utf8SequenceAt(bytes, i, c);
        text.push_back(length == 0 ? invalidByte(static_cast<unsigned char>(bytes[i])) : c);
        i += length == 0 ? 1 : length;
    }
    return String::FromCodePoints(std::move(text));
}
}  // namespace

String ShownFileName(const std::string& bytes) {
    return DecodeFileName(bytes, [](unsigned char) { return kReplacementMark; });
}

String SongNameFromFileBytes(const std::string& bytes) {
    return DecodeFileName(bytes, [](unsigned char byte) { return static_cast<String::CodePoint>(0xDC00 + byte); });
}

void SortNewestFirst(std::vector<SongListEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const SongListEntry& a, const SongListEntry& b) {
        if (a.modifiedSeconds != b.modifiedSeconds) return a.modifiedSeconds > b.modifiedSeconds;
        if (a.modifiedNanoseconds != b.modifiedNanoseconds) return a.modifiedNanoseconds > b.modifiedNanoseconds;
        return a.bytes < b.bytes;
    });
}

std::vector<SongListEntry> ListSongFolder(const std::string& folderPath) {
    std::vector<SongListEntry> entries;
    DIR* dir = opendir(folderPath.c_str());
    if (dir == nullptr) return entries;
    const int dirFd = dirfd(dir);
    while (const dirent* item = readdir(dir)) {
        const std::string name = item->d_name;
        if (name.empty() || name[0] == '.') continue;  // ".", ".." and hidden files
        struct stat info {};
        if (fstatat(dirFd, name.c_str(), &info, 0) != 0) continue;
        SongListEntry entry;
        entry.folder = S_ISDIR(info.st_mode);
        if (!entry.folder && !S_ISREG(info.st_mode)) continue;  // no FIFOs or devices
        entry.bytes = name;
        entry.shown = ShownFileName(name);
        entry.size = static_cast<int64_t>(info.st_size);
        entry.modifiedSeconds = static_cast<int64_t>(info.st_mtim.tv_sec);
        entry.modifiedNanoseconds = static_cast<int64_t>(info.st_mtim.tv_nsec);
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    SortNewestFirst(entries);
    return entries;
}

std::vector<int> FilterSongList(const std::vector<SongListEntry>& entries, const String& filter) {
    std::vector<int> visible;
    visible.reserve(entries.size());
    const String wanted = filter.ToLower();
    for (size_t i = 0; i < entries.size(); ++i)
        if (wanted.Empty() || entries[i].shown.ToLower().Contains(wanted)) visible.push_back(static_cast<int>(i));
    return visible;
}

std::string SongFolderPath() { return MapToFilePath("korvanth://data/songs/").ToBytes(); }
