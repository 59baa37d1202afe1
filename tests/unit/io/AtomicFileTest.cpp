// Atomic saves: the new bytes replace the file only when every step worked;
// each injected fault leaves the old file byte-identical and no temporary.
// Links: a symbolic link stays a link, a hard-linked file keeps its links.
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "io/AtomicFile.h"
#include "tests/unit/io/IoTestSupport.h"

class AtomicFileTest : public TempAppDirectory {
protected:
    void TearDown() override {
        SetAtomicFileFaultForTesting(AtomicFileFault::None);
        TempAppDirectory::TearDown();
    }
};

TEST_F(AtomicFileTest, CreatesAndReplacesThroughDataPaths) {
    EXPECT_TRUE(SaveFileAtomically("korvanth://data/songs/x", std::string("ZRB1\0\x01", 6)));
    EXPECT_EQ(ReadBytes(Path("data/songs/x")), std::string("ZRB1\0\x01", 6));
    EXPECT_TRUE(SaveFileAtomically("korvanth://data/songs/x", "second"));
    EXPECT_EQ(ReadBytes(Path("data/songs/x")), "second");
    EXPECT_TRUE(SaveFileAtomically("korvanth://data/songs/x", ""));
    EXPECT_EQ(ReadBytes(Path("data/songs/x")), "");
    EXPECT_EQ(Entries(Path("data/songs")), std::vector<std::string>{"x"});
}

TEST_F(AtomicFileTest, RealPathsAndPermissions) {
    const std::string target = Path("plain.txt");
    EXPECT_TRUE(SaveFileAtomically(String(target), "a"));
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & 0044, 0u) << "readable like a file made by fopen";
    chmod(target.c_str(), 0640);
    EXPECT_TRUE(SaveFileAtomically(String(target), "b"));
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(AtomicFileTest, EveryFaultKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string old = std::string("old song \0 bytes", 16);
    WriteBytes(Path("data/songs/keep"), old);
    for (AtomicFileFault fault : {AtomicFileFault::FailOpen, AtomicFileFault::FailWriteMidway,
                                  AtomicFileFault::FailSync, AtomicFileFault::FailRename}) {
        SetAtomicFileFaultForTesting(fault);
        EXPECT_FALSE(SaveFileAtomically("korvanth://data/songs/keep", "a new and longer text"))
            << static_cast<int>(fault);
        EXPECT_EQ(ReadBytes(Path("data/songs/keep")), old) << static_cast<int>(fault);
        EXPECT_EQ(Entries(Path("data/songs")), std::vector<std::string>{"keep"}) << static_cast<int>(fault);
    }
    SetAtomicFileFaultForTesting(AtomicFileFault::None);
    EXPECT_TRUE(SaveFileAtomically("korvanth://data/songs/keep", "new"));
    EXPECT_EQ(ReadBytes(Path("data/songs/keep")), "new");
}

TEST_F(AtomicFileTest, FaultsOnANewNameCreateNothing) {
    SetAtomicFileFaultForTesting(AtomicFileFault::FailRename);
    EXPECT_FALSE(SaveFileAtomically("korvanth://data/songs/fresh", "x"));
    EXPECT_TRUE(Entries(Path("data/songs")).empty());
}

TEST_F(AtomicFileTest, RealFailuresReturnFalse) {
    EXPECT_FALSE(SaveFileAtomically("korvanth://other/x", "x"));
    EXPECT_FALSE(SaveFileAtomically("korvanth://data/no/such/folder/x", "x"));
    // A folder in the way: rename over it fails and the temporary goes away.
    mkdir(Path("data/songs/dir").c_str(), 0755);
    EXPECT_FALSE(SaveFileAtomically("korvanth://data/songs/dir", "x"));
    EXPECT_EQ(Entries(Path("data/songs")), std::vector<std::string>{"dir"});
}

TEST_F(AtomicFileTest, SavesThroughLinksAndKeepsThem) {
    mkdir(Path("data/songs/real").c_str(), 0755);
    WriteBytes(Path("data/songs/real/a"), "old");
    ASSERT_EQ(symlink("real/a", Path("data/songs/to_a").c_str()), 0);
    ASSERT_EQ(symlink("to_a", Path("data/songs/to_to_a").c_str()), 0);  // a chain
    EXPECT_TRUE(SaveFileAtomically("korvanth://data/songs/to_to_a", "new"));
    EXPECT_EQ(ReadBytes(Path("data/songs/real/a")), "new");
    char target[64] = {};
    ASSERT_GT(readlink(Path("data/songs/to_a").c_str(), target, sizeof target - 1), 0);
    EXPECT_STREQ(target, "real/a");
    EXPECT_EQ(Entries(Path("data/songs/real")), std::vector<std::string>{"a"});

    // A dangling link is saved through by creating what it names.
    ASSERT_EQ(symlink("real/b", Path("data/songs/to_b").c_str()), 0);
    EXPECT_TRUE(SaveFileAtomically("korvanth://data/songs/to_b", "b"));
    EXPECT_EQ(ReadBytes(Path("data/songs/real/b")), "b");
    // A loop of links fails and creates nothing.
    ASSERT_EQ(symlink("loop2", Path("data/songs/loop1").c_str()), 0);
    ASSERT_EQ(symlink("loop1", Path("data/songs/loop2").c_str()), 0);
    EXPECT_FALSE(SaveFileAtomically("korvanth://data/songs/loop1", "x"));

    // Hard links: both names see the new song, shorter than the old one.
    WriteBytes(Path("data/songs/h1"), "a longer old song");
    ASSERT_EQ(link(Path("data/songs/h1").c_str(), Path("data/songs/h2").c_str()), 0);
    EXPECT_TRUE(SaveFileAtomically("korvanth://data/songs/h1", "short"));
    EXPECT_EQ(ReadBytes(Path("data/songs/h2")), "short");
    struct stat info;
    ASSERT_EQ(stat(Path("data/songs/h1").c_str(), &info), 0);
    EXPECT_EQ(info.st_nlink, 2u);
}

// A hard-linked song is rewritten in place; when the disk can't take the new
// size (here a file-size limit), the save fails before the first byte
// changes and both names keep the old song.
TEST_F(AtomicFileTest, AFailedInPlaceSaveLeavesTheOldBytes) {
    const std::string old(4000, 'o');
    WriteBytes(Path("data/songs/h1"), old);
    ASSERT_EQ(link(Path("data/songs/h1").c_str(), Path("data/songs/h2").c_str()), 0);
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const sighandler_t previous = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 6000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    SaveReport report;
    const bool saved_ok = SaveFileAtomically("korvanth://data/songs/h1", std::string(9000, 'n'), {}, &report);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved_ok);
    EXPECT_NE(report.failure.find("data/songs/h1: "), std::string::npos) << report.failure;
    EXPECT_EQ(ReadBytes(Path("data/songs/h2")), old);
    EXPECT_EQ(ReadBytes(Path("data/songs/h1")), old);
}
