#include "CoreTestSupport.h"
#include "EngineRedistributable.h"
#include "ReadFileVersion.h"

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

// The stand-in redistributables beside the test program.
class Redistributable : public CoreTest {
protected:
    std::string Path(const char* name) { return TestProgramFolder() + "\\" + name; }

    StubLog m_launched;
};

} // namespace

TEST_F(Redistributable, CommandLineDependsOnTheEngineVersion)
{
    std::string program = Path("setup.exe");
    EXPECT_EQ(0u, ResolveRedistributable(program, "sub\\..\\instmsi301.exe", 301));
    EXPECT_EQ(0u, ResolveRedistributable(program, "instmsi200.exe", 200));
    EXPECT_EQ("\"" + Path("instmsi301.exe") + "\" /quiet /norestart\r\n\"" + Path("instmsi200.exe") +
                  "\" /c:\"msiinst /delayreboot\"\r\n",
              m_launched.Text());
    EXPECT_THAT(TakeTraces(), Contains("[Info] Running instmsi from --> " + Path("instmsi301.exe") + "\n"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Redistributable, ExitCodesAreReturnedAndFailuresShownOnce)
{
    std::string missing = "Setup was unable to find the instmsi file '" + Path("instmsi200.exe") + "'.";
    std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        {"3010", {}},
        {"1641", {}},
        {"1602", {"Setup cancelled"}},
        {"2", {missing}},
        {"1603", {"Setup was unable to upgrade Windows Installer."}}};
    for (const auto& c : cases) {
        ScopedEnvironment exitCode("KWSTUB_EXIT", c.first);
        EXPECT_EQ(std::stoul(c.first), ExecuteUpgradeMsi(Path("instmsi200.exe"), 200));
        EXPECT_EQ(c.second, TakeBoxTexts()) << c.first;
        EXPECT_THAT(TakeTraces(), Contains(std::string("ExecuteUpgradeMsi return code: ") + c.first + "\n"));
    }
}

TEST_F(Redistributable, OnlyAnExistingRedistributableOfTheNeededVersionIsRun)
{
    EXPECT_EQ(2u, ResolveRedistributable(Path("setup.exe"), "missing.exe", 200));
    EXPECT_EQ(2u, RunRedistributable(Path("missing.exe"), 200));
    EXPECT_EQ(87u, ExecuteUpgradeMsi(Path("instmsi300.exe"), 301));
    EXPECT_THAT(TakeTraces(), Contains("[Info] InstMsi is improper version for upgrade. InstMsi Version = 300, "
                                       "Minimum Version = 301.\n"));
    EXPECT_EQ(87u, ExecuteUpgradeMsi(Path("core_second_instance.exe"), 200));
    EXPECT_THAT(TakeTraces(), Contains("[Info] Can't obtain version information for instmsi; assuming it is not the "
                                       "proper version\n"));
    std::vector<std::string> boxes = TakeBoxTexts();
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ("Setup was unable to find the instmsi file '" + Path("missing.exe") + "'.", boxes[0]);
    EXPECT_EQ("The provided instmsi upgrade executable '" + Path("instmsi300.exe") + "' is invalid.", boxes[1]);
    EXPECT_EQ("", m_launched.Text());
    EXPECT_TRUE(IsRedistributableVersionOk(Path("instmsi301.exe"), 200));
}

TEST_F(Redistributable, MendedAVersionBelowTenIsComparedSignedAndRefused)
{
    // Version 1.0 gives -900, which must not pass as a large unsigned number.
    EXPECT_EQ(87u, ExecuteUpgradeMsi(Path("kwstub.exe"), 200));
    EXPECT_THAT(TakeBoxTexts(),
                ElementsAre("The provided instmsi upgrade executable '" + Path("kwstub.exe") + "' is invalid."));
    EXPECT_EQ("", m_launched.Text());
}

TEST_F(Redistributable, FileVersionsAreReadAndTraced)
{
    FileVersion version;
    ASSERT_TRUE(ReadFileVersion(Path("instmsi301.exe"), version));
    EXPECT_EQ(13, version.major);
    EXPECT_EQ(1, version.minor);
    EXPECT_FALSE(ReadFileVersion(Path("missing.exe"), version));
    EXPECT_EQ(65535, version.major);
    EXPECT_THAT(TakeTraces(), ElementsAre("[INFO] " + Path("instmsi301.exe") + " is version 13.1.0.0\n",
                                          "[INFO] " + Path("missing.exe") + " is version 65535.65535.65535.65535\n"));
}
