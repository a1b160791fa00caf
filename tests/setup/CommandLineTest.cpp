#include "CKWLogFile.h"
#include "CoreTestSupport.h"
#include "SetupCommandLine.h"
#include "SetupLog.h"
#include "SetupTestSupport.h"

using CommandLine = CoreTest;

TEST_F(CommandLine, OptionsWorkWithOrWithoutSlashAndTheRealLineComesLast)
{
    TestIni ini("[Startup]\r\nCmdLine=/l:1033\r\n");
    SetupCommandLine line = ParseSetupCommandLine(EffectiveCommandLine(ini, "l:3084 /log\t/a"));
    EXPECT_TRUE(line.valid && line.languageGiven && line.loggingRequested);
    EXPECT_EQ(kLanguageFrench, g_language);
    EXPECT_EQ("", line.logPath);
    EXPECT_EQ(kRunKindAdministrative, g_runKind);

    line = ParseSetupCommandLine("/l /l:1036 /a: / /");
    EXPECT_TRUE(line.valid);
    EXPECT_FALSE(line.languageGiven) << "an unknown language is ignored";
    EXPECT_EQ(kRunKindAdministrative, g_runKind);
    EXPECT_EQ("", g_adminInstallPoint);

    for (const char* text : {"/?", "/LOG", "/a:\"\"", "/log C:\\x.txt", "/l:1033 :"}) {
        EXPECT_FALSE(ParseSetupCommandLine(text).valid) << text;
        EXPECT_EQ(kRunKindUsage, g_runKind) << text;
    }
}

TEST_F(CommandLine, QuotedPathsMayHoldBlanksAndTheLogMustExist)
{
    TestFolder folder;
    WriteWholeFile(folder.File("my log.txt"), "");
    SetupCommandLine line = ParseSetupCommandLine("/a:\"C:\\Admin Point\" /log:\"" + folder.File("my log.txt") + "\"");
    EXPECT_TRUE(line.valid);
    EXPECT_EQ("C:\\Admin Point", g_adminInstallPoint);
    EXPECT_EQ(folder.File("my log.txt"), line.logPath);

    line = ParseSetupCommandLine("/log:\"" + folder.File("new.txt") + "\"");
    EXPECT_TRUE(line.valid && line.loggingRequested);
    EXPECT_EQ("", line.logPath) << "a file that does not exist yet leaves the default location";
}

TEST(SetupLog, TheDefaultLogKeepsThePreviousOneAsBakAndFramesTheRun)
{
    TestFolder temp;
    ScopedEnvironment tmp("TMP", temp.Path()), alsoTemp("TEMP", temp.Path());
    std::string path = temp.File("KW#SETUP.txt");
    WriteWholeFile(path, "previous run\r\n");
    EXPECT_EQ(path, StartSetupLog("", "Melvaro Test"));
    EndSetupLog("Melvaro Test");
    EXPECT_EQ("previous run\r\n", ReadWholeFile(path + ".bak"));
    std::string text = ReadWholeFile(path);
    for (const char* line : {"Starting SETUP_TESTS.EXE v.", "Running on Microsoft", "Ending SETUP_TESTS.EXE [Melvaro"})
        EXPECT_NE(std::string::npos, text.find(line)) << line << "\n" << text;
}
