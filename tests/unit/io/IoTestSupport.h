// Helpers for the io tests: a fresh temporary app directory with a data/songs
// folder, and whole-file byte access.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "io/DataPath.h"
#include "tests/support/TempFolder.h"

class TempAppDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.Made());
        folder_.MakeFolder("data/songs");
        SetAppDirectory(String(dir_));
    }

    std::string Path(const std::string& relative) const { return dir_ + "/" + relative; }

    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }
    static std::vector<std::string> Entries(const std::string& folder) { return FolderEntries(folder); }

    TempFolder folder_{"zrb_app"};
    const std::string dir_ = folder_.Path();
};
