// Data paths: the ToDataPath rules and the mapping onto the app directory.
#include <cstdio>

#include "io/DataPath.h"
#include "tests/unit/io/IoTestSupport.h"

TEST(ToDataPath, BareNamesGoToTheDataFolder) {
    EXPECT_EQ(ToDataPath("ramp_64.wav"), "korvanth://data/ramp_64.wav");
    EXPECT_EQ(ToDataPath("songs/a"), "korvanth://data/songs/a");
    EXPECT_EQ(ToDataPath(""), "korvanth://data/");
}

TEST(ToDataPath, SchemesAndRootedPathsStay) {
    EXPECT_EQ(ToDataPath("korvanth://data/x"), "korvanth://data/x");
    EXPECT_EQ(ToDataPath("C:/a"), "C:/a");
    EXPECT_EQ(ToDataPath("/abs/file"), "/abs/file");
    EXPECT_EQ(ToDataPath("./rel"), "./rel");
    // A "/" before the first ":/" means it is a folder, not a scheme.
    EXPECT_EQ(ToDataPath("dir/x:/y"), "korvanth://data/dir/x:/y");
    EXPECT_EQ(ToDataPath("a:b"), "korvanth://data/a:b");
    EXPECT_EQ(ToDataPath("../up"), "korvanth://data/../up");
}

using MapToFilePathTest = TempAppDirectory;

TEST_F(MapToFilePathTest, KorvanthFoldersMapBesideTheExecutable) {
    EXPECT_EQ(AppDirectory(), String(dir_));
    EXPECT_EQ(MapToFilePath(ToDataPath("ramp_64.wav")), String(dir_ + "/data/ramp_64.wav"));
    EXPECT_EQ(MapToFilePath("korvanth://data/songs/x"), String(dir_ + "/data/songs/x"));
    EXPECT_EQ(MapToFilePath("korvanth://internal/i"), String(dir_ + "/internal/i"));
    EXPECT_EQ(MapToFilePath("korvanth://external/e"), String(dir_ + "/external/e"));
}

TEST_F(MapToFilePathTest, OtherPathsUnchangedOrUnmappable) {
    EXPECT_EQ(MapToFilePath("/abs"), "/abs");
    EXPECT_EQ(MapToFilePath("./rel"), "./rel");
    EXPECT_EQ(MapToFilePath("C:/a"), "C:/a");
    EXPECT_EQ(MapToFilePath("korvanth://other/x"), "");
    EXPECT_EQ(MapToFilePath("korvanth:data/x"), "");
    EXPECT_EQ(OpenFile("korvanth://other/x", "rb"), nullptr);
}

TEST_F(MapToFilePathTest, OpenFileReadsMappedFiles) {
    WriteBytes(Path("data/present.txt"), "hi");
    FILE* file = OpenFile("korvanth://data/present.txt", "rb");
    ASSERT_NE(file, nullptr);
    char bytes[3] = {};
    EXPECT_EQ(std::fread(bytes, 1, 2, file), 2u);
    EXPECT_STREQ(bytes, "hi");
    std::fclose(file);
    EXPECT_EQ(OpenFile("korvanth://data/missing.txt", "rb"), nullptr);
}
