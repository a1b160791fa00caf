// The installation package installable driving Wine's real engine with the
// packages built for the tests: first installation, skip, minor upgrade,
// feature lists, repair, removal and the package switches.
#include "CKWMsiDll.h"
#include "CKWMsiInstaller.h"
#include "CoreTestSupport.h"
#include "SetupCore.h"
#include "TestFolder.h"
#include "TestPackages.h"

#include <gtest/gtest.h>

using namespace TestPackages;

namespace {

// Silent engine, recorded boxes, and every test product removed afterwards
// so the prefix is left as it was found.
class RealInstaller : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        m_previousLevel = g_msi.MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    }
    void TearDown() override
    {
        for (const char* code : {kBaseProductCode, kElcProductCode, kPermanentProductCode}) {
            if (g_msi.MsiQueryProductStateA(code) != INSTALLSTATE_UNKNOWN) {
                EXPECT_EQ(0u, g_msi.MsiConfigureProductA(code, 0, INSTALLSTATE_ABSENT)) << code;
            }
        }
        g_msi.MsiSetInternalUI(m_previousLevel, nullptr);
        EXPECT_TRUE(Boxes().empty()) << "no engine error was shown";
        CoreTest::TearDown();
    }

    static UINT Run(const char* package, int installMode)
    {
        GetSetupCore().InstallMode = installMode;
        CKWMsiInstaller installer(Path(package));
        installer.SetProductState(INSTALLSTATE_DEFAULT);
        return installer.Execute();
    }
    bool EngineWasCalled()
    {
        for (const std::string& text : TakeTraces())
            if (text.rfind("[Info] MsiInstallProduct returned", 0) == 0)
                return true;
        return false;
    }
    static int FeatureState(const char* feature) { return g_msi.MsiQueryFeatureStateA(kBaseProductCode, feature); }
    // Wine reports a feature whose key path is a registry value as run from
    // source; either way it is installed.
    static bool FeatureInstalled(const char* feature)
    {
        int state = FeatureState(feature);
        return state == INSTALLSTATE_LOCAL || state == INSTALLSTATE_SOURCE;
    }

private:
    INSTALLUILEVEL m_previousLevel = INSTALLUILEVEL_DEFAULT;
};

} // namespace

TEST_F(RealInstaller, InstallSkipUpgradeRepairAndRemove)
{
    ASSERT_EQ(0u, Run(kBase100, kInstallModeInstall));
    EXPECT_EQ(INSTALLSTATE_DEFAULT, g_msi.MsiQueryProductStateA(kBaseProductCode));
    EXPECT_EQ("1.0.0", ProductValue(kBaseName, "Version"));
    EXPECT_EQ("table default", ProductValue(kBaseName, "Default")) << "the package's own defaults reach the engine";
    EXPECT_TRUE(EngineWasCalled());

    EXPECT_EQ(0u, Run(kBase100, kInstallModeInstall));
    EXPECT_FALSE(EngineWasCalled()) << "the same version is not installed again";

    TestFolder logs;
    std::string engineLog = logs.File("engine.log");
    g_msi.MsiEnableLogA(INSTALLLOGMODE_VERBOSE | INSTALLLOGMODE_PROPERTYDUMP, engineLog.c_str(), 0);
    ASSERT_EQ(0u, Run(kBase110, kInstallModeInstall));
    g_msi.MsiEnableLogA(0, nullptr, 0);
    EXPECT_TRUE(EngineWasCalled());
    std::string log = ReadWholeFile(engineLog);
    EXPECT_NE(std::string::npos, log.find("Property(S): REINSTALL = ALL")) << "a reinstall of the known product";
    EXPECT_NE(std::string::npos, log.find("Property(S): REINSTALLMODE = vomus"));
    EXPECT_EQ("1.1.0", ProductValue(kBaseName, "Version")) << "minor upgrade in place";
    EXPECT_EQ(INSTALLSTATE_LOCAL, FeatureState("Docs"));

    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\KWTest\\KWTestBase", "Version", REG_SZ, "damaged", 8);
    GetSetupCore().InstallMode = kInstallModeRepair;
    CKWMsiInstaller repair(Path(kBase110));
    EXPECT_EQ(0u, repair.Repair());
    EXPECT_EQ("1.1.0", ProductValue(kBaseName, "Version")) << "repair restores what was damaged";

    GetSetupCore().InstallMode = kInstallModeRemove;
    CKWMsiInstaller remove(Path(kBase110));
    EXPECT_EQ(0u, remove.Remove());
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, g_msi.MsiQueryProductStateA(kBaseProductCode));
    EXPECT_EQ("(absent)", ProductValue(kBaseName, "Version"));
}

TEST_F(RealInstaller, FeatureRequestsReachTheEngine)
{
    GetSetupCore().InstallMode = kInstallModeForcedInstall;
    {
        CKWMsiInstaller installer(Path(kBase100));
        installer.SetProductState(INSTALLSTATE_DEFAULT);
        installer.SetFeatureRequest("Core", INSTALLSTATE_LOCAL);
        installer.SetFeatureRequest("Docs", INSTALLSTATE_LOCAL);
        installer.SetFeatureRequest("Extras", INSTALLSTATE_ABSENT);
        ASSERT_EQ(0u, installer.Execute());
    }
    EXPECT_TRUE(FeatureInstalled("Core"));
    EXPECT_EQ(INSTALLSTATE_LOCAL, FeatureState("Docs"));
    EXPECT_EQ(INSTALLSTATE_ABSENT, FeatureState("Extras"));

    {
        CKWMsiInstaller installer(Path(kBase100));
        installer.SetForced(true);
        installer.SetFeatureRequest("Docs", INSTALLSTATE_ABSENT);
        installer.SetFeatureRequest("Extras", INSTALLSTATE_LOCAL);
        ASSERT_EQ(0u, installer.Execute());
    }
    EXPECT_TRUE(FeatureInstalled("Core"));
    EXPECT_EQ(INSTALLSTATE_ABSENT, FeatureState("Docs"));
    EXPECT_EQ(INSTALLSTATE_LOCAL, FeatureState("Extras"));
}

TEST_F(RealInstaller, FalseLaunchConditionKeepsThePackageOut)
{
    EXPECT_EQ(0u, Run(kElc, kInstallModeInstall));
    EXPECT_FALSE(EngineWasCalled());
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, g_msi.MsiQueryProductStateA(kElcProductCode));
}

TEST_F(RealInstaller, PermanentProductStaysWhenRemoved)
{
    ASSERT_EQ(0u, Run(kPermanent, kInstallModeInstall));
    ASSERT_EQ(INSTALLSTATE_DEFAULT, g_msi.MsiQueryProductStateA(kPermanentProductCode));
    GetSetupCore().InstallMode = kInstallModeRemove;
    CKWMsiInstaller remove(Path(kPermanent));
    EXPECT_EQ(0u, remove.Remove());
    EXPECT_EQ(INSTALLSTATE_DEFAULT, g_msi.MsiQueryProductStateA(kPermanentProductCode));
}
