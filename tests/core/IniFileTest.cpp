#include "CIniFile.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

TEST(IniFile, ReadsValuesAndFallsBackToDefaults)
{
    TestFolder folder;
    std::string path = folder.File("setup.ini");
    WriteWholeFile(path, "[Startup]\r\n"
                         "Name=Melvaro\r\n"
                         "Spaced =  padded value  \r\n"
                         "Empty=\r\n"
                         "Count=42\r\n"
                         "NotANumber=abc\r\n"
                         "\r\n"
                         "[Other]\r\n"
                         "Name=Second\r\n");
    CIniFile ini;
    ini.SetFile(path);
    EXPECT_TRUE(ini.Exists());
    EXPECT_EQ("Melvaro", ini.GetString("Startup", "Name", "dflt"));
    EXPECT_EQ("Second", ini.GetString("Other", "Name", "dflt"));
    EXPECT_EQ("padded value", ini.GetString("Startup", "Spaced", "dflt"));
    EXPECT_EQ("dflt", ini.GetString("Startup", "Empty", "dflt")) << "present but empty reads as the default";
    EXPECT_EQ("dflt", ini.GetString("Startup", "Missing", "dflt"));
    EXPECT_EQ("dflt", ini.GetString("Missing", "Name", "dflt"));
    EXPECT_EQ(42, ini.GetInt("Startup", "Count", 7));
    EXPECT_EQ(7, ini.GetInt("Startup", "Missing", 7));
    EXPECT_EQ(0, ini.GetInt("Startup", "NotANumber", 7));
}

TEST(IniFile, MendedLongValuesComeBackWhole)
{
    TestFolder folder;
    std::string path = folder.File("setup.ini");
    std::string longValue(3000, 'v');
    WriteWholeFile(path, "[Startup]\r\nLong=" + longValue + "\r\n");
    CIniFile ini;
    ini.SetFile(path);
    EXPECT_EQ(longValue, ini.GetString("Startup", "Long", "dflt"));
}

TEST(IniFile, MissingFileGivesEveryDefault)
{
    TestFolder folder;
    CIniFile ini;
    ini.SetFile(folder.File("absent.ini"));
    EXPECT_FALSE(ini.Exists());
    EXPECT_EQ("dflt", ini.GetString("Startup", "Name", "dflt"));
    EXPECT_EQ(5, ini.GetInt("Startup", "Count", 5));
}

TEST(IniFile, ExistenceIsRecordedWhenThePathIsSet)
{
    TestFolder folder;
    std::string path = folder.File("late.ini");
    CIniFile ini;
    ini.SetFile(path);
    WriteWholeFile(path, "[s]\r\nk=v\r\n");
    EXPECT_EQ("dflt", ini.GetString("s", "k", "dflt"));
    ini.SetFile(path);
    EXPECT_EQ("v", ini.GetString("s", "k", "dflt"));
}
