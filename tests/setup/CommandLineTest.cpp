#include "CIniFile.h"
#include "CKWLogFile.h"
#include "CoreTestSupport.h"
#include "SetupCommandLine.h"
#include "SetupTestSupport.h"
#include "SetupLog.h"

#include <gtest/gtest.h>

namespace {

class CommandLine : public CoreTest {};

} // namespace

TEST_F(CommandLine, OptionsWorkWithOrWithoutSlashAndTheLastLanguageWins)
{
    g_language = kLanguageEnglish;
    TestIni ini("[Startup]\r\nCmdLine=/l:1033\r\n");
    CIniFile file;
    file.SetFile(ini.Path());
    SetupCommandLine line = ParseSetupCommandLine(EffectiveCommandLine(file, "l:3084 /log\t/a"));
    EXPECT_TRUE(line.valid);
    EXPECT_TRUE(line.languageGiven);
    EXPECT_EQ(kLanguageFrench, g_language);
    EXPECT_TRUE(line.loggingRequested);
    EXPECT_EQ("", line.logPath);
    EXPECT_EQ(kRunKindAdministrative, g_runKind);
    EXPECT_EQ("", g_adminInstallPoint);

    line = ParseSetupCommandLine("/l /l:1036 /a:");
    EXPECT_TRUE(line.valid);
    EXPECT_FALSE(line.languageGiven) << "an unknown language is ignored";
    EXPECT_EQ(kRunKindAdministrative, g_runKind);
}

TEST_F(CommandLine, UnknownOrMalformedOptionsAskForUsage)
{
    const char* invalid[] = {"/?", "/LOG", "/a:\"\"", "/log C:\\x.txt", "/l:1033 :", "/L:1033"};
    for (const char* text : invalid) {
        g_runKind = 0;
        EXPECT_FALSE(ParseSetupCommandLine(text).valid) << text;
        EXPECT_EQ(kRunKindUsage, g_runKind) << text;
    }
    EXPECT_TRUE(ParseSetupCommandLine(" / /\t").valid) << "empty tokens are skipped";
    EXPECT_EQ(0, g_runKind);
}

TEST_F(CommandLine, QuotedPathsMayHoldBlanks)
{
    TestFolder folder;
    std::string log = folder.File("my log.txt");
    WriteWholeFile(log, "");
    SetupCommandLine line = ParseSetupCommandLine("/a:\"C:\\Admin Point\\sub\" /log:\"" + log + "\"");
    EXPECT_TRUE(line.valid);
    EXPECT_EQ("C:\\Admin Point\\sub", g_adminInstallPoint);
    EXPECT_EQ(log, line.logPath);

    line = ParseSetupCommandLine("/log:\"" + folder.File("not there.txt") + "\"");
    EXPECT_TRUE(line.valid);
    EXPECT_TRUE(line.loggingRequested);
    EXPECT_EQ("", line.logPath) << "a file that does not exist yet leaves the default location";
}

TEST(SetupLog, TheDefaultLogKeepsThePreviousOneAsBak)
{
    TestFolder temp;
    ScopedEnvironment tmp("TMP", temp.Path());
    ScopedEnvironment tempVariable("TEMP", temp.Path());
    std::string path = temp.File("KW#SETUP.txt");
    WriteWholeFile(path, "previous run\r\n");
    WriteWholeFile(path + ".bak", "older run\r\n");

    EXPECT_EQ(path, StartSetupLog("", "Melvaro Test"));
    EndSetupLog("Melvaro Test");
    EXPECT_EQ(nullptr, g_logFile);

    EXPECT_EQ("previous run\r\n", ReadWholeFile(path + ".bak"));
    std::string text = ReadWholeFile(path);
    EXPECT_EQ(std::string::npos, text.find("previous run"));
    EXPECT_NE(std::string::npos, text.find("===== Starting SETUP_TESTS.EXE v.")) << text;
    EXPECT_NE(std::string::npos, text.find("[Melvaro Test] =====")) << text;
    EXPECT_NE(std::string::npos, text.find("Running on Microsoft Windows")) << text;
    EXPECT_NE(std::string::npos, text.find("===== Ending SETUP_TESTS.EXE [Melvaro Test] =====")) << text;
}
