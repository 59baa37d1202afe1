// The store tests' common ground: a program folder of their own
// (<temp>/app/data/songs, and <temp>/outside for names that try to leave it),
// an empty song with a fresh history, and the file reads they check with.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>

#include "io/DataPath.h"
#include "song/SongChanges.h"
#include "song/SongModel.h"
#include "song/Undo.h"
#include "tests/support/TempFolder.h"

namespace storetest {
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Whether anything has the name; a link counts as itself.
inline bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

class SongsFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.Made());
        ASSERT_TRUE(temp.MakeFolder("app/data/songs"));
        ASSERT_TRUE(temp.MakeFolder("outside"));
        SetAppDirectory(String(root + "/app"));
        BuildEmptySong(state);
        StartNewHistory(state);
    }

    // An edit: a note in the first cell.
    void TypeNote(char c) {
        state.songColumns[0] = ReplaceChar(state.songColumns[0], 1, String::FromChar(c));
        RecordEdit(state);
    }

    TempFolder temp{"zrb-store"};
    const std::string root = temp.Path();
    const std::string songs = root + "/app/data/songs/";
    TrackerState state;
};
}  // namespace storetest
