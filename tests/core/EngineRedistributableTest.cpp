#include "CoreTestSupport.h"
#include "EngineRedistributable.h"
#include "ReadFileVersion.h"
#include "TestFolder.h"

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

// The stand-in redistributables beside the test program; the command lines
// they are run with are logged.
class Redistributable : public CoreTest {
protected:
    std::vector<std::string> Launched() { return ReadLines(m_folder.File("launched.txt")); }
    std::string Path(const char* name) { return TestProgramFolder() + "\\" + name; }

    TestFolder m_folder;
    ScopedEnvironment m_log{"KWSTUB_LOG", m_folder.File("launched.txt")};
};

} // namespace

TEST_F(Redistributable, CommandLineDependsOnTheEngineVersion)
{
    std::string program = TestProgramFolder() + "\\setup.exe";
    EXPECT_EQ(0u, ResolveRedistributable(program, "sub\\..\\instmsi301.exe", 301));
    EXPECT_EQ(0u, ResolveRedistributable(program, "instmsi200.exe", 200));
    EXPECT_THAT(Launched(), ElementsAre("\"" + Path("instmsi301.exe") + "\" /quiet /norestart",
                                        "\"" + Path("instmsi200.exe") + "\" /c:\"msiinst /delayreboot\""));
    EXPECT_THAT(TakeTraces(), Contains("[Info] Running instmsi from --> " + Path("instmsi301.exe") + "\n"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Redistributable, ExitCodesAreReturnedAndFailuresShownOnce)
{
    struct Case {
        const char* exitCode;
        const char* box;
    };
    std::string missing = "Setup was unable to find the instmsi file '" + Path("instmsi200.exe") + "'.";
    for (const Case& c : {Case{"3010", nullptr}, Case{"1641", nullptr}, Case{"1602", "Setup cancelled"},
                          Case{"2", missing.c_str()}, Case{"1603", "Setup was unable to upgrade Windows Installer."}}) {
        Boxes().clear();
        ScopedEnvironment exitCode("KWSTUB_EXIT", c.exitCode);
        EXPECT_EQ(std::stoul(c.exitCode), ExecuteUpgradeMsi(Path("instmsi200.exe"), 200));
        if (c.box == nullptr) {
            EXPECT_TRUE(Boxes().empty()) << c.exitCode;
        } else {
            ASSERT_EQ(1u, Boxes().size()) << c.exitCode;
            EXPECT_EQ(c.box, Boxes()[0].text);
        }
        EXPECT_THAT(TakeTraces(), Contains(std::string("ExecuteUpgradeMsi return code: ") + c.exitCode + "\n"));
    }
}

TEST_F(Redistributable, AMissingFileIsNotRun)
{
    EXPECT_EQ(2u, ResolveRedistributable(TestProgramFolder() + "\\setup.exe", "missing.exe", 200));
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ("Setup was unable to find the instmsi file '" + Path("missing.exe") + "'.", Boxes()[0].text);
    EXPECT_EQ(2u, RunRedistributable(Path("missing.exe"), 200));
    EXPECT_TRUE(Launched().empty());
}

TEST_F(Redistributable, OnlyARedistributableOfTheNeededVersionIsRun)
{
    EXPECT_EQ(87u, ExecuteUpgradeMsi(Path("instmsi300.exe"), 301));
    EXPECT_THAT(TakeTraces(), Contains("[Info] InstMsi is improper version for upgrade. InstMsi Version = 300, "
                                       "Minimum Version = 301.\n"));
    // Version 1.0 gives -900, which must not pass as a large unsigned number.
    EXPECT_EQ(87u, ExecuteUpgradeMsi(Path("kwstub.exe"), 200));
    EXPECT_EQ(87u, ExecuteUpgradeMsi(Path("core_second_instance.exe"), 200));
    EXPECT_THAT(TakeTraces(), Contains("[Info] Can't obtain version information for instmsi; assuming it is not the "
                                       "proper version\n"));
    ASSERT_EQ(3u, Boxes().size());
    EXPECT_EQ("The provided instmsi upgrade executable '" + Path("instmsi300.exe") + "' is invalid.", Boxes()[0].text);
    EXPECT_TRUE(Launched().empty());
    EXPECT_TRUE(IsRedistributableVersionOk(Path("instmsi301.exe"), 200));
}

TEST_F(Redistributable, FileVersionsAreReadAndTraced)
{
    FileVersion version;
    ASSERT_TRUE(ReadFileVersion(Path("instmsi301.exe"), version));
    EXPECT_EQ(13, version.major);
    EXPECT_EQ(1, version.minor);
    EXPECT_FALSE(ReadFileVersion(Path("missing.exe"), version));
    EXPECT_EQ(65535, version.major);
    EXPECT_EQ(65535, version.revision);
    EXPECT_THAT(TakeTraces(), ElementsAre("[INFO] " + Path("instmsi301.exe") + " is version 13.1.0.0\n",
                                          "[INFO] " + Path("missing.exe") + " is version 65535.65535.65535.65535\n"));
}
