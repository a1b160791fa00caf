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
    EXPECT_EQ(0x01020003, PackVersion("1.2.3.4")) << "a fourth part is ignored";
    EXPECT_EQ(0x01000003, PackVersion("1.x.3b")) << "parts read their leading digits";
    EXPECT_EQ(0x01020000, PackVersion("1.2."));
}

TEST(Version, OversizedPartsShiftDigitsAndOverflowSaturates)
{
    // Minor 256 writes three hex digits: the text reads as major 17.
    EXPECT_EQ(0x11000000, PackVersion("1.256.0"));
    EXPECT_EQ(PackVersion("17.0.0"), PackVersion("1.256.0"));
    // Build 65536 carries into the minor number, so 1.0.65536 sorts after
    // 1.1.0 although it is numerically older.
    EXPECT_EQ(0x10010000, PackVersion("1.0.65536"));
    EXPECT_GT(CompareVersions("1.0.65536", "1.1.0"), 0);
    EXPECT_EQ(2147483647, PackVersion("128.0.0"));
    EXPECT_EQ(2147483647, PackVersion("4294967295.99999.99999"));
    EXPECT_EQ(2147483647, PackVersion("-1"));
}

TEST(Version, FormatsMajorMinorBuild)
{
    EXPECT_EQ("15.02.0034", FormatVersion(0x0F020022));
    EXPECT_EQ("0.01.0001", FormatVersion(0x00010001));
    EXPECT_EQ("0.00.0000", FormatVersion(0));
    EXPECT_EQ("127.255.65535", FormatVersion(2147483647));
    EXPECT_EQ("1.00.0000", FormatVersion(PackVersion("1")));
}

TEST(Version, ComparesPackedValuesUnlessTheTextsAreEqual)
{
    EXPECT_EQ(0, CompareVersions("1.2.3", "1.02.3"));
    EXPECT_EQ(0, CompareVersions("same text", "same text"));
    EXPECT_LT(CompareVersions("1.0.0", "1.1.0"), 0);
    EXPECT_GT(CompareVersions("2.0", "1.9.9999"), 0);
    EXPECT_EQ(0x00010000, CompareVersions("1.1.0", "1.0.0"));
    EXPECT_GT(CompareVersions("128.0.0", "0"), 0) << "saturated values still compare without overflow";
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
    // A full path of 258 characters does not fit the first 256.
    std::string longName(257 - folder.Path().size(), 'n');
    std::string longPath = longName;
    bool madeLong = MakeFullPath(longPath);
    // The ANSI function stops at MAX_PATH.
    std::string tooLong(MAX_PATH, 't');
    std::string tooLongPath = tooLong;
    bool madeTooLong = MakeFullPath(tooLongPath);
    SetCurrentDirectoryA(saved);

    EXPECT_TRUE(made);
    EXPECT_EQ(folder.File("p.msi"), relative);
    EXPECT_TRUE(madeLong);
    EXPECT_EQ(258u, longPath.size());
    EXPECT_EQ(folder.File(longName), longPath);
    EXPECT_FALSE(madeTooLong);
    EXPECT_EQ(tooLong, tooLongPath);
}
