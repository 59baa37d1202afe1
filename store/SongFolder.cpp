// The songs folder: created on demand, and cleared of stale temporary files.
#include "store/SongFolder.h"

#include "io/AtomicFile.h"
#include "io/DataPath.h"

namespace {
const String kSongFolder = "korvanth://data/songs/";
// A temporary younger than this may belong to a save another tracker is
// making right now.
constexpr int kStaleTemporarySeconds = 60;
}  // namespace

bool MakeSongFolder() { return MakeFolder(kSongFolder); }

void PrepareSongFolder() {
    if (MakeSongFolder()) RemoveStaleTemporaryFiles(kSongFolder, kStaleTemporarySeconds);
}
