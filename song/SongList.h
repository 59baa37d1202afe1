// The songs folder as a list: its files and sub-folders, newest first, with
// size and time, and the narrowing of that list by a typed text. File names
// are kept as the bytes the file system gave, so any name can be loaded back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/String.h"

struct SongListEntry {
    std::string bytes;  // the name as stored on disk
    String shown;       // the name as text; bytes that are not UTF-8 become U+FFFD
    bool folder = false;
    int64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
};

// The entries of a folder (hidden names skipped), newest first and by name
// among equals; empty when the folder can't be read.
std::vector<SongListEntry> ListSongFolder(const std::string& folderPath);
// Newest first, then by name.
void SortNewestFirst(std::vector<SongListEntry>& entries);
// Indices of the entries whose shown name contains filter, letter case aside.
std::vector<int> FilterSongList(const std::vector<SongListEntry>& entries, const String& filter);
// UTF-8 decoded strictly: every byte of an invalid sequence becomes U+FFFD.
String ShownFileName(const std::string& bytes);
// The name the load road reads for a file's bytes: valid UTF-8 decoded, every
// other byte kept as a lone low surrogate (U+DC80..U+DCFF), which no typed
// name holds and the name resolver writes back as that very byte.
String SongNameFromFileBytes(const std::string& bytes);
// The songs folder on disk, ending in "/".
std::string SongFolderPath();
