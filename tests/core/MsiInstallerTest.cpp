#include "CKWMsiInstaller.h"
#include "CKWMsiProperty.h"
#include "CoreTestSupport.h"
#include "FakeMsi.h"
#include "SetupCore.h"

#include <gtest/gtest.h>

namespace {

const char kPackage[] = "C:\\media\\melvaro.msi";
const char kProduct[] = "{11111111-2222-3333-4444-555555555555}";
const std::string kPropertyQuery = "SELECT `Value` FROM `Property` WHERE `Property` = '";
const std::string kSetupQuery = "SELECT `Value` FROM `KWSetupProperty` WHERE `Property` = '";
const char kFeatureQuery[] = "SELECT * FROM `Feature` ORDER BY `Feature_Parent`";
const char kSequenceQuery[] = "SELECT * FROM `InstallExecuteSequence` WHERE `Action` = 'LaunchConditions'";
const char kLaunchQuery[] = "SELECT * FROM `LaunchCondition`";

// A package of three features, scripted in the fake engine; the core state,
// run kind and traces are restored or drained around each test.
class MsiInstallerTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        GetSetupCore().InstallMode = kInstallModeInstall;
        GetSetupCore().rebootNeeded = false;

        FakeMsi::Package& package = m_fake.packages[kPackage];
        package.packageCode = "{AAAAAAAA-0000-0000-0000-000000000002}";
        SetPackageProperty("ProductCode", kProduct);
        SetPackageProperty("ProductVersion", "1.1.0");
        package.queries[kFeatureQuery] = {{"Main", ""}, {"Help", "Main"}, {"Samples", "Main"}};
    }
    void TearDown() override
    {
        EXPECT_EQ(0u, m_fake.OpenHandles()) << "every engine handle is closed";
        CoreTest::TearDown();
    }

    void SetPackageProperty(const std::string& name, const std::string& value)
    {
        m_fake.packages[kPackage].queries[kPropertyQuery + name + "'"] = {{value}};
    }
    void SetSetupProperty(const std::string& name, const std::string& value)
    {
        m_fake.packages[kPackage].queries[kSetupQuery + name + "'"] = {{value}};
    }
    void Install(const char* version, const char* packageCode = "{AAAAAAAA-0000-0000-0000-000000000001}")
    {
        m_fake.productStates[kProduct] = INSTALLSTATE_DEFAULT;
        m_fake.productInfo[kProduct]["VersionString"] = version;
        m_fake.productInfo[kProduct]["PackageCode"] = packageCode;
        m_fake.productInfo[kProduct]["ProductName"] = "Melvaro 2012";
        for (const char* feature : {"Main", "Help", "Samples"})
            m_fake.featureStates[std::string(kProduct) + "|" + feature] = INSTALLSTATE_LOCAL;
    }
    std::vector<std::string> Installs() const { return m_fake.CallsTo("MsiInstallProductA"); }
    std::string OnlyCommandLine() const
    {
        std::vector<std::string> installs = Installs();
        if (installs.size() != 1)
            return "<" + std::to_string(installs.size()) + " installs>";
        return installs[0].substr(installs[0].find('|') + 1);
    }

    FakeMsi m_fake;
};

} // namespace

TEST(MsiProperty, KeepsOrderWithoutEmptiesOrDuplicates)
{
    CKWMsiProperty list("ADDLOCAL", ",", "B,,A,B,");
    EXPECT_EQ("B,A", list.Join());
    list.Add("C");
    list.Add("A");
    list.Add("");
    EXPECT_EQ("B,A,C", list.Join());
    EXPECT_EQ(3u, list.Count());
    list.Reset("ALL");
    EXPECT_EQ("ALL", list.Join());
    EXPECT_TRUE(CKWMsiProperty("REMOVE", ",", "").IsEmpty());
}

TEST_F(MsiInstallerTest, InstalledSameOrNewerVersionIsSkippedInInstallMode)
{
    CKWMsiInstaller same(kPackage);
    Install("1.1.0");
    EXPECT_EQ(0u, same.Execute());
    CKWMsiInstaller older(kPackage);
    Install("2.0.0");
    EXPECT_EQ(0u, older.Execute());
    EXPECT_TRUE(Installs().empty());
}

TEST_F(MsiInstallerTest, ProductNotWantedIsSkippedInInstallMode)
{
    CKWMsiInstaller installer(kPackage);
    EXPECT_EQ(0u, installer.Execute()) << "until the caller asks for it, the wanted state is the installed one";
    EXPECT_TRUE(Installs().empty());
}

TEST_F(MsiInstallerTest, FreshInstallInInstallModeAddsEveryFeatureByDefault)
{
    CKWMsiInstaller installer(kPackage);
    installer.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_EQ(0u, installer.Execute());
    EXPECT_EQ("ADDDEFAULT=ALL", OnlyCommandLine());
    std::vector<std::string> traces = TakeTraces();
    EXPECT_NE(traces.end(), std::find(traces.begin(), traces.end(),
                                      "[Info] The product code '" + std::string(kProduct) +
                                          "' is unknown. Will use first time install logic...\n"));
    EXPECT_EQ("[Info] MsiInstallProduct returned 0\n", LastOf(traces));
}

TEST_F(MsiInstallerTest, FeatureRequestsBecomeFeatureLists)
{
    GetSetupCore().InstallMode = kInstallModeForcedInstall;
    {
        CKWMsiInstaller all(kPackage);
        all.SetProductState(INSTALLSTATE_DEFAULT);
        for (const char* feature : {"Main", "Help", "Samples"})
            all.SetFeatureRequest(feature, INSTALLSTATE_LOCAL);
        EXPECT_EQ(0u, all.Execute());
        EXPECT_EQ("ADDLOCAL=ALL", OnlyCommandLine());
    }
    m_fake.calls.clear();
    {
        CKWMsiInstaller two(kPackage);
        two.SetProductState(INSTALLSTATE_DEFAULT);
        two.SetFeatureRequest("Main", INSTALLSTATE_LOCAL);
        two.SetFeatureRequest("Help", INSTALLSTATE_LOCAL);
        two.SetFeatureRequest("Samples", INSTALLSTATE_ABSENT);
        EXPECT_EQ(0u, two.Execute());
        EXPECT_EQ("ADDLOCAL=Main,Help", OnlyCommandLine()) << "an absent feature that is not installed needs no REMOVE";
    }
    m_fake.calls.clear();
    {
        CKWMsiInstaller mixed(kPackage);
        mixed.SetProductState(INSTALLSTATE_DEFAULT);
        mixed.SetPropertyLine("ADDLOCAL=Samples INSTALLDIR=\"C:\\Program Files\\M\"");
        mixed.SetFeatureRequest("Main", INSTALLSTATE_LOCAL);
        mixed.SetFeatureRequest("Help", INSTALLSTATE_SOURCE);
        mixed.SetFeatureRequest("Samples", INSTALLSTATE_LOCAL);
        EXPECT_EQ(0u, mixed.Execute());
        EXPECT_EQ("ADDLOCAL=Samples,Main INSTALLDIR=\"C:\\Program Files\\M\" ADDSOURCE=Help", OnlyCommandLine())
            << "a feature already listed stays first and is not repeated";
    }
}

TEST_F(MsiInstallerTest, OnlyTheOneFilledListThatNamesEveryFeatureBecomesAll)
{
    GetSetupCore().InstallMode = kInstallModeForcedInstall;
    {
        CKWMsiInstaller advertised(kPackage);
        advertised.SetProductState(INSTALLSTATE_DEFAULT);
        advertised.SetPropertyLine("ADVERTISE=Samples");
        for (const char* feature : {"Main", "Help", "Samples"})
            advertised.SetFeatureRequest(feature, INSTALLSTATE_LOCAL);
        EXPECT_EQ(0u, advertised.Execute());
        EXPECT_EQ("ADVERTISE=Samples ADDLOCAL=Main,Help,Samples", OnlyCommandLine())
            << "another list is filled from the property line";
    }
    m_fake.calls.clear();
    {
        m_fake.packages[kPackage].queries[kFeatureQuery] = {};
        CKWMsiInstaller featureless(kPackage);
        featureless.SetProductState(INSTALLSTATE_DEFAULT);
        featureless.SetPropertyLine("ADDLOCAL=Core");
        EXPECT_EQ(0u, featureless.Execute());
        EXPECT_EQ("ADDLOCAL=Core", OnlyCommandLine()) << "no feature rows: an empty list must not become ALL";
    }
}

TEST_F(MsiInstallerTest, InstalledFeaturesAreReinstalledOrRemoved)
{
    GetSetupCore().InstallMode = kInstallModeForcedInstall;
    Install("1.0.0");
    CKWMsiInstaller installer(kPackage);
    installer.SetFeatureRequest("Help", INSTALLSTATE_UNKNOWN);
    installer.SetFeatureRequest("Samples", INSTALLSTATE_ABSENT);
    EXPECT_EQ(kCompareNewer, installer.GetInstallState());
    EXPECT_EQ(0u, installer.Execute());
    EXPECT_EQ("REMOVE=Help,Samples REINSTALL=Main REINSTALLMODE=vomus", OnlyCommandLine())
        << "an unknown request removes an installed feature like an absent one";
}

TEST_F(MsiInstallerTest, UnrequestedFeaturesKeepTheirInstalledState)
{
    Install("1.0.0");
    m_fake.featureStates[std::string(kProduct) + "|Help"] = INSTALLSTATE_ABSENT;
    CKWMsiInstaller installer(kPackage);
    EXPECT_EQ(INSTALLSTATE_LOCAL, installer.GetFeatureRequest("Main"));
    EXPECT_EQ(INSTALLSTATE_ABSENT, installer.GetFeatureRequest("Help"));
    EXPECT_EQ(INSTALLSTATE_ABSENT, installer.GetFeatureRequest("Unknown")) << "unknown maps to absent";
    installer.SetFeatureRequest("Help", INSTALLSTATE_LOCAL);
    EXPECT_EQ(INSTALLSTATE_LOCAL, installer.GetFeatureRequest("Help"));
}

TEST_F(MsiInstallerTest, KnownProductWithEmptyLineIsReinstalledInPlace)
{
    GetSetupCore().InstallMode = kInstallModeForcedInstall;
    m_fake.packages[kPackage].queries[kFeatureQuery] = {};
    Install("1.1.0");
    CKWMsiInstaller installer(kPackage);
    installer.SetForced(true);
    EXPECT_EQ(kCompareSame, installer.GetInstallState());
    EXPECT_EQ(0u, installer.Execute());
    EXPECT_EQ("REINSTALL=ALL REINSTALLMODE=vomus", OnlyCommandLine());
    std::vector<std::string> traces = TakeTraces();
    EXPECT_NE(traces.end(), std::find(traces.begin(), traces.end(),
                                      "[Info] The product code '" + std::string(kProduct) +
                                          "' is known. Will use QFE recache and reinstall upgrade logic...\n"));
}

TEST_F(MsiInstallerTest, SameVersionNeedsForcingInForcedInstallMode)
{
    GetSetupCore().InstallMode = kInstallModeForcedInstall;
    Install("1.1.0");
    CKWMsiInstaller installer(kPackage);
    EXPECT_EQ(0u, installer.Execute());
    EXPECT_TRUE(Installs().empty());
}

TEST_F(MsiInstallerTest, InstallOnceSkipsAnyInstalledVersion)
{
    GetSetupCore().InstallMode = kInstallModeForcedInstall;
    m_fake.packages[kPackage].queries[kSetupQuery + "InstallOnce'"] = {{"1"}};
    Install("1.0.0");
    CKWMsiInstaller installer(kPackage);
    EXPECT_EQ(0u, installer.Execute());
    EXPECT_TRUE(Installs().empty());
}

TEST_F(MsiInstallerTest, FalseLaunchConditionSkipsThePackageWhenAsked)
{
    FakeMsi::Package& package = m_fake.packages[kPackage];
    package.queries[kSequenceQuery] = {{"LaunchConditions", "NOT Installed", "100"}};
    package.queries[kLaunchQuery] = {{"VersionNT >= 600", "needs Vista"}, {"Privileged", "needs admin"}};
    package.conditions["Privileged"] = MSICONDITION_FALSE;

    CKWMsiInstaller ignored(kPackage);
    ignored.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_TRUE(ignored.CheckLaunchConditions()) << "without KWELC=1 the conditions are the engine's business";

    CKWMsiInstaller checked(kPackage);
    checked.SetProductState(INSTALLSTATE_DEFAULT);
    checked.SetPropertyLine("KWELC=1 A=1");
    EXPECT_EQ(0u, checked.Execute());
    EXPECT_TRUE(Installs().empty());
    EXPECT_EQ("A=1", checked.GetPropertyLine()) << "KWELC never reaches the engine";

    package.conditions["NOT Installed"] = MSICONDITION_FALSE;
    CKWMsiInstaller notRun(kPackage);
    notRun.SetPropertyLine("KWELC=1");
    EXPECT_TRUE(notRun.CheckLaunchConditions()) << "the engine would not run them either";

    package.conditions.erase("NOT Installed");
    package.openPackageFails = true;
    CKWMsiInstaller unopened(kPackage);
    unopened.SetPropertyLine("KWELC=1");
    EXPECT_TRUE(unopened.CheckLaunchConditions());
}

TEST_F(MsiInstallerTest, UnknownOperationIsRefused)
{
    CKWMsiInstaller installer(kPackage);
    installer.SetProductState(INSTALLSTATE_DEFAULT);
    installer.Operation = "MINPATCH";
    EXPECT_EQ(87u, installer.Execute());
    EXPECT_TRUE(Installs().empty());
    std::vector<std::string> traces = TakeTraces();
    ASSERT_FALSE(traces.empty());
    EXPECT_EQ("[Error] Operation MINPATCH is not valid on package 'C:\\media\\melvaro.msi'\n", LastOf(traces));
}

TEST_F(MsiInstallerTest, AdministrativeInstallationDeliberatelySendsTheAdminActionAndItsTarget)
{
    g_runKind = kRunKindAdministrative;
    CKWMsiInstaller plain(kPackage);
    plain.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_EQ(0u, plain.Execute());
    EXPECT_EQ(" ACTION=ADMIN", OnlyCommandLine());

    m_fake.calls.clear();
    g_adminInstallPoint = "D:\\Admin Image";
    CKWMsiInstaller pointed(kPackage);
    pointed.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_EQ(0u, pointed.Execute());
    EXPECT_EQ("TARGETDIR=\"D:\\Admin Image\" ACTION=ADMIN", OnlyCommandLine());
}

TEST_F(MsiInstallerTest, TransformOfTheCurrentLanguageIsApplied)
{
    CKWMsiInstaller installer(kPackage);
    installer.SetProductState(INSTALLSTATE_DEFAULT);
    installer.SetTransform(LANG_ENGLISH, "C:\\media\\en.mst");
    installer.SetTransform(LANG_FRENCH, "C:\\media\\fr.mst");
    installer.SetTransform(LANG_GERMAN, "C:\\media\\de.mst");
    g_language = kLanguageFrench;
    EXPECT_EQ(0u, installer.Execute());
    EXPECT_EQ("ADDDEFAULT=ALL TRANSFORMS=C:\\media\\fr.mst", OnlyCommandLine());
}

TEST_F(MsiInstallerTest, RestartRequestBecomesSuccessAndOtherErrorsAreShownOnce)
{
    CKWMsiInstaller installer(kPackage);
    installer.SetProductState(INSTALLSTATE_DEFAULT);
    m_fake.installResult = 3010;
    EXPECT_EQ(0u, installer.Execute());
    EXPECT_TRUE(GetSetupCore().rebootNeeded);
    EXPECT_TRUE(Boxes().empty());

    m_fake.installResult = 1620;
    CKWMsiInstaller failing(kPackage);
    failing.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_EQ(1620u, failing.Execute());
    EXPECT_EQ(1u, Boxes().size());
    EXPECT_EQ("[Info] MsiInstallProduct returned 1620\n", LastOf(TakeTraces()));
}

TEST_F(MsiInstallerTest, UnwantedInstalledProductIsRemovedOutsideInstallMode)
{
    GetSetupCore().InstallMode = kInstallModeForcedInstall;
    Install("1.0.0");
    CKWMsiInstaller installer(kPackage);
    installer.SetProductState(INSTALLSTATE_ABSENT);
    EXPECT_EQ(0u, installer.Execute());
    EXPECT_EQ("REMOVE=ALL", OnlyCommandLine());
}

TEST_F(MsiInstallerTest, RepairAndRemoveOnlyInTheirModes)
{
    Install("1.1.0");
    CKWMsiInstaller installer(kPackage);
    EXPECT_EQ(0u, installer.Repair());
    EXPECT_EQ(0u, installer.Remove());
    EXPECT_EQ(0, m_fake.CountCalls("MsiReinstallProductA") + m_fake.CountCalls("MsiConfigureProductA"));

    GetSetupCore().InstallMode = kInstallModeRepair;
    EXPECT_EQ(0u, installer.Repair());
    EXPECT_EQ(std::vector<std::string>{std::string(kProduct) + "|1924"}, m_fake.CallsTo("MsiReinstallProductA"));
    EXPECT_EQ("[Info] MsiReinstallProduct returned 0\n", LastOf(TakeTraces()));

    GetSetupCore().InstallMode = kInstallModeRemove;
    EXPECT_EQ(0u, installer.Remove());
    EXPECT_EQ(std::vector<std::string>{std::string(kProduct) + "|0|2"}, m_fake.CallsTo("MsiConfigureProductA"));
    EXPECT_EQ("[Info] MsiConfigureProduct returned 0\n", LastOf(TakeTraces()));
}

TEST_F(MsiInstallerTest, RepairAndRemoveDeliberatelyFailWithoutTheEngine)
{
    Install("1.1.0");
    CKWMsiInstaller installer(kPackage);
    m_fake.Unbind();
    EXPECT_EQ(1603u, installer.Repair()) << "even outside its mode";
    GetSetupCore().InstallMode = kInstallModeRemove;
    EXPECT_EQ(1603u, installer.Remove());
}

TEST_F(MsiInstallerTest, PermanentProductIsNeverRemoved)
{
    GetSetupCore().InstallMode = kInstallModeRemove;
    Install("1.1.0");
    SetPackageProperty("KWPermanent", "1");
    CKWMsiInstaller installer(kPackage);
    EXPECT_EQ(0u, installer.Remove());
    EXPECT_EQ(0, m_fake.CountCalls("MsiConfigureProductA"));
}

TEST_F(MsiInstallerTest, NothingHappensWithoutTheEngineOrAnInstalledProduct)
{
    GetSetupCore().InstallMode = kInstallModeRepair;
    CKWMsiInstaller absent(kPackage);
    EXPECT_EQ(0u, absent.Repair()) << "nothing installed, nothing to repair";
    GetSetupCore().InstallMode = kInstallModeRemove;
    EXPECT_EQ(0u, absent.Remove());
    EXPECT_TRUE(m_fake.calls.end() ==
                std::find_if(m_fake.calls.begin(), m_fake.calls.end(), [](const std::string& call) {
                    return call.rfind("MsiReinstallProductA", 0) == 0 || call.rfind("MsiConfigureProductA", 0) == 0;
                }));
}
