#include "MakeFullPath.h"
#include "TestFolder.h"
#include "Version.h"

#include <gtest/gtest.h>

TEST(Version, PacksTheEnginesEncoding)
{
    EXPECT_EQ(0x0F020022, PackVersion("15.2.34"));
    EXPECT_EQ(0x0F020000, PackVersion("15.2"));
    EXPECT_EQ(0x0F000000, PackVersion("15"));
    EXPECT_EQ(0, PackVersion(""));
    EXPECT_EQ(0x01000003, PackVersion("1.x.3b.4")) << "leading digits; a fourth part is ignored";
    // Oversized parts shift the digits: minor 256 reads as major 17, build
    // 65536 carries into the minor number.
    EXPECT_EQ(PackVersion("17.0.0"), PackVersion("1.256.0"));
    EXPECT_EQ(0x10010000, PackVersion("1.0.65536"));
    EXPECT_EQ(2147483647, PackVersion("128.0.0"));
    EXPECT_EQ(2147483647, PackVersion("4294967295.99999.99999"));
}

TEST(Version, FormatsAndCompares)
{
    EXPECT_EQ("15.02.0034", FormatVersion(0x0F020022));
    EXPECT_EQ("0.01.0001", FormatVersion(0x00010001));
    EXPECT_EQ("0.00.0000", FormatVersion(0));
    EXPECT_EQ("127.255.65535", FormatVersion(2147483647));

    EXPECT_EQ(0, CompareVersions("1.2.3", "1.02.3"));
    EXPECT_LT(CompareVersions("1.0.0", "1.1.0"), 0);
    EXPECT_GT(CompareVersions("1.0.65536", "1.1.0"), 0) << "digit shifting orders differently";
    EXPECT_GT(CompareVersions("128.0.0", "0"), 0);
}

TEST(Version, ReadsAFilesFixedVersionRecord)
{
    // The test program's own record is 15.2.34.9: the fourth part is dropped.
    char self[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameA(nullptr, self, MAX_PATH));
    EXPECT_EQ(0x0F020022, GetFileVersionPacked(self));
    TestFolder folder;
    WriteWholeFile(folder.File("plain.txt"), "no version here");
    EXPECT_EQ(0, GetFileVersionPacked(folder.File("plain.txt")));
    EXPECT_EQ(0, GetFileVersionPacked(folder.File("missing.dll")));
}

TEST(MakeFullPath, MakesRelativePathsAbsolute)
{
    std::string empty;
    EXPECT_TRUE(MakeFullPath(empty));
    EXPECT_EQ("", empty);

    TestFolder folder;
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    std::string relative = "sub\\..\\p.msi";
    bool made = MakeFullPath(relative);
    // 258 characters do not fit the first 256; beyond MAX_PATH the ANSI
    // function gives up.
    std::string longName(257 - folder.Path().size(), 'n');
    std::string longPath = longName;
    bool madeLong = MakeFullPath(longPath);
    std::string tooLong(MAX_PATH, 't');
    bool madeTooLong = MakeFullPath(tooLong);
    SetCurrentDirectoryA(saved);

    EXPECT_TRUE(made);
    EXPECT_EQ(folder.File("p.msi"), relative);
    EXPECT_TRUE(madeLong);
    EXPECT_EQ(folder.File(longName), longPath);
    EXPECT_FALSE(madeTooLong);
    EXPECT_EQ(std::string(MAX_PATH, 't'), tooLong);
}
