#include "CoreTestSupport.h"
#include "EngineMessage.h"
#include "ReadFileVersion.h"
#include "SetupMsiEngine.h"

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

const char kUpgradeDone[] = "[Info] Windows Installer has been upgraded, or was already correct version\n";

std::string g_engineLibrary;

bool FakeEngineLibrary(std::string& path)
{
    path = g_engineLibrary;
    return true;
}

// An initialised core of an administrator on NT whose engine is version 1.0,
// with the stand-in redistributables beside the program.
class EngineUpgrade : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        SetupCoreState& core = GetSetupCore();
        core.initialised = true;
        core.IsWin9x = false;
        core.administrator = true;
        core.rebootNeeded = false;
        core.programPath = TestProgramFolder() + "\\setup.exe";
        core.CoreProperties = {{kCorePropertyRedistributable9x, "instmsi200.exe"},
                               {kCorePropertyRedistributableNT, "instmsi200.exe"},
                               {kCorePropertyRedistributable301, "instmsi301.exe"}};
        UseEngine(TestProgramFolder() + "\\kwstub.exe");
    }

    void UseEngine(const std::string& path)
    {
        g_engineLibrary = path;
        GetSetupCore().engineLibrary = FakeEngineLibrary;
    }

    UINT Run(const std::string& minimum, int answer = IDYES)
    {
        Answers().push_back(answer);
        GetSetupCore().CoreProperties[kCorePropertyMinimumMsi] = minimum;
        return SetupMsiEngine();
    }

    std::string Launched(const char* name, const char* options)
    {
        return "\"" + TestProgramFolder() + "\\" + name + "\" " + options + "\r\n";
    }

    StubLog m_launched;
};

} // namespace

TEST_F(EngineUpgrade, MinimumMsiMustBeDecimalAndAtLeast150)
{
    GetSetupCore().initialised = false;
    EXPECT_EQ(1627u, Run("200"));
    EXPECT_THAT(TakeTraces(), ElementsAre("ERROR: Setup core was not initialized"));
    GetSetupCore().initialised = true;
    EXPECT_EQ(87u, Run(""));
    EXPECT_THAT(TakeBoxTexts(), ElementsAre());
    for (const char* text : {"3.1", "abc", "149", " 200", "-200"}) {
        EXPECT_EQ(87u, Run(text)) << text;
        EXPECT_THAT(TakeBoxTexts(), ElementsAre(std::string("'") + text +
                                                "' is an invalid Msi version. Be sure that it is numeric and at "
                                                "least '150'."));
    }
    EXPECT_EQ("", m_launched.Text());
}

TEST_F(EngineUpgrade, MendedAMinimumBeyond32BitsIsInvalidNotWrappedRound)
{
    // 2^32 + 150 would wrap round to 150.
    EXPECT_EQ(87u, Run("4294967446"));
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("'4294967446' is an invalid Msi version. Be sure that it is numeric and at "
                                            "least '150'."));
    EXPECT_EQ("", m_launched.Text());
}

TEST_F(EngineUpgrade, TheMachinesOwnEngineIsCheckedAgainstTheMinimum)
{
    GetSetupCore().engineLibrary = nullptr;
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    FileVersion engine;
    ASSERT_TRUE(ReadFileVersion(std::string(system) + "\\MSI.DLL", engine));
    ASSERT_GE(engine.major, 2);
    TakeTraces();

    EXPECT_EQ(0u, Run("150"));
    EXPECT_THAT(TakeTraces(),
                ElementsAre("SetupMsiEngine - MinimumMsi = 150\n", "[Resource] Minimum Msi Value = 150\n",
                            StartsWith("[INFO] "),
                            "[Info] No upgrade is necessary.  System version meets minimum requirements\n",
                            kUpgradeDone));
    EXPECT_TRUE(IsEngineUpgradeRequired(9999));
    EXPECT_THAT(TakeTraces(),
                Contains("[Info] Windows Installer upgrade is required.  System Version = " +
                         std::to_string(engine.major * 100 + engine.minor) + ", Minimum Version = 9999.\n"));
}

TEST_F(EngineUpgrade, AnEngineThatCannotBeReadIsAssumedTooOld)
{
    UseEngine(TestProgramFolder() + "\\core_second_instance.exe"); // no version resource
    EXPECT_TRUE(IsEngineUpgradeRequired(150));
    EXPECT_THAT(TakeTraces(), Contains("[Info] Can't obtain version information; assuming upgrade is necessary"));
    UseEngine(TestProgramFolder() + "\\missing.dll");
    EXPECT_TRUE(IsEngineUpgradeRequired(150));
    EXPECT_THAT(TakeTraces(), Contains("[Info] Can't load msi.dll; assuming upgrade is necessary"));
}

TEST_F(EngineUpgrade, NtRunsItsRedistributableAndRemembersTheRestart)
{
    GetSetupCore().CoreProperties[kCorePropertyRedistributable9x] = "for9x.exe";
    ScopedEnvironment exitCode("KWSTUB_EXIT", "3010");
    EXPECT_EQ(0u, Run("200"));
    EXPECT_EQ(Launched("instmsi200.exe", "/c:\"msiinst /delayreboot\""), m_launched.Text());
    EXPECT_TRUE(GetSetupCore().rebootNeeded);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre(LoadEngineMessage(kMsgUpgradeQuestion)));
    std::vector<std::string> traces = TakeTraces();
    EXPECT_THAT(traces, Contains("[Info] Windows Installer upgrade is required.  System Version = 100, Minimum "
                                 "Version = 200.\n"));
    EXPECT_EQ(kUpgradeDone, LastOf(traces));
}

TEST_F(EngineUpgrade, Windows9xGetsEngine2AtMost)
{
    GetSetupCore().IsWin9x = true;
    GetSetupCore().CoreProperties[kCorePropertyRedistributableNT] = "forNT.exe";
    EXPECT_EQ(0u, Run("301"));
    EXPECT_EQ(200u, GetSetupCore().minimumEngineVersion);
    EXPECT_EQ(Launched("instmsi200.exe", "/c:\"msiinst /delayreboot\""), m_launched.Text());
    EXPECT_THAT(TakeTraces(), Not(Contains("[Info] Checking OS requirement for MSI 3 or greater.\n")));
}

TEST_F(EngineUpgrade, Engine301ChecksThePlatformAndRunsQuietly)
{
    EXPECT_EQ(0u, Run("301"));
    EXPECT_EQ(Launched("instmsi301.exe", "/quiet /norestart"), m_launched.Text());
    EXPECT_THAT(TakeTraces(), Contains(EndsWith(", requirements for MSI 3 succeeded.\n")));
}

TEST_F(EngineUpgrade, NothingRunsWithoutARedistributableConsentOrRights)
{
    std::string question = LoadEngineMessage(kMsgUpgradeQuestion);
    EXPECT_EQ(2u, Run("250"));
    EXPECT_THAT(TakeTraces(), Contains("Unexpected value for MINIMUM_MSI\n"));
    GetSetupCore().CoreProperties.erase(kCorePropertyRedistributableNT);
    EXPECT_EQ(2u, Run("200"));
    EXPECT_THAT(TakeBoxTexts(), ElementsAre(question, question));

    EXPECT_EQ(1602u, Run("200", IDNO));
    EXPECT_THAT(TakeBoxTexts(), ElementsAre(question, "Setup cancelled"));
    GetSetupCore().administrator = false;
    EXPECT_EQ(1603u, Run("200"));
    EXPECT_THAT(TakeBoxTexts(),
                ElementsAre(question, "Administrator privileges are required to upgrade Windows Installer."));

    GetSetupCore().administrator = true;
    GetSetupCore().CoreProperties[kCorePropertyRedistributableNT] = "instmsi200.exe";
    GetSetupCore().CoreProperties[kCorePropertySkipRedistributable] = "1";
    EXPECT_EQ(0u, Run("200"));
    EXPECT_EQ("", m_launched.Text());
}

TEST_F(EngineUpgrade, MendedAFailedUpgradeIsNotLoggedAsDone)
{
    ScopedEnvironment exitCode("KWSTUB_EXIT", "1603");
    EXPECT_EQ(1603u, Run("200"));
    EXPECT_THAT(TakeBoxTexts(),
                ElementsAre(LoadEngineMessage(kMsgUpgradeQuestion), "Setup was unable to upgrade Windows Installer."));
    EXPECT_THAT(TakeTraces(), Not(Contains(kUpgradeDone)));
    EXPECT_FALSE(GetSetupCore().rebootNeeded);
}

TEST_F(EngineUpgrade, Engine3NeedsWindows2000WithServicePack3)
{
    OSVERSIONINFOEXA version = {};
    version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    version.dwMajorVersion = 5;
    version.dwBuildNumber = 2195;
    version.wServicePackMajor = 2;
    EXPECT_EQ(1603u, CheckPlatformForMsi3(true, version, true));
    EXPECT_THAT(TakeTraces(), ElementsAre("[Error] OS is Win2k SP 2.0, service pack 3+ is required.\n"));
    EXPECT_EQ(1603u, CheckPlatformForMsi3(true, version, false));
    EXPECT_THAT(TakeTraces(), ElementsAre("[Error] OS is Win2k but unable to obtain service pack info.\n",
                                          "[Error] OS is Win2k, unable to obtain service pack info.\n"));
    EXPECT_EQ(1603u, CheckPlatformForMsi3(false, version, false));
    EXPECT_THAT(TakeTraces(), ElementsAre("[Error] Unable to obtain OS version info.\n"));
    version.wServicePackMajor = 3;
    EXPECT_EQ(0u, CheckPlatformForMsi3(true, version, true));
    EXPECT_THAT(TakeTraces(), ElementsAre("[Info] OS is Windows 5.0.2195 with Service Pack 3.0, requirements for MSI "
                                          "3 succeeded.\n"));
    version.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_EQ(1603u, CheckPlatformForMsi3(true, version, true));
    EXPECT_THAT(TakeTraces(), ElementsAre("[Error] Unsupported platform (1)\n"));
    EXPECT_EQ(std::vector<std::string>(4, "Windows Installer v.3 requires at least Windows 2000 with Service Pack 3."),
              TakeBoxTexts());
}
