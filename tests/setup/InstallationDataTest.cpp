#include "CKWMsiInstaller.h"
#include "CKWMsiPatch.h"
#include "CSetupInstallationData.h"
#include "CoreTestSupport.h"
#include "FakeMsi.h"
#include "PostInstallLaunches.h"
#include "ProductDescriptor.h"
#include "SetupFlags.h"
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string kProperty = "SELECT `Value` FROM `Property` WHERE `Property` = '";
const std::string kSetup = "SELECT `Value`,`ValueF` FROM `KWSetupProperty` WHERE `Property` = '";
const std::string kSetupInt = "SELECT `Value` FROM `KWSetupProperty` WHERE `Property` = '";

class InstallationData : public CoreTest {
protected:
    InstallationData()
    {
        product.MainUpgradeCode = "{MAIN}";
        product.SetupRegistryKey = "HKEY_LOCAL_MACHINE\\Software\\Zentrel\\Test\\Setup";
        product.InstallDirValueName = "Program path";
        product.DefaultInstallDir = "{DEFAULT_DRIVE}:\\Program Files\\Test\\";
        product.ReadmeEnglish = "readme.txt";
    }
    void TearDown() override
    {
        CoreTest::TearDown();
        EXPECT_EQ(0u, fake.OpenHandles());
    }

    // An installation package of version 2.0.0; an empty installed version
    // means its product is absent.
    CKWMsiPackage& Add(const std::string& name, const std::string& upgradeCode, const std::string& installedVersion,
                       bool installOnce = false)
    {
        std::string path = "C:\\media\\" + name + ".msi";
        std::string productCode = "{PRODUCT-" + name + "}";
        FakeMsi::Package& scripted = fake.packages[path];
        scripted.packageCode = "{PACKAGE-" + name + "}";
        scripted.queries[kProperty + "ProductCode'"] = {{productCode}};
        scripted.queries[kProperty + "UpgradeCode'"] = {{upgradeCode}};
        scripted.queries[kProperty + "ProductVersion'"] = {{"2.0.0"}};
        scripted.queries[kSetupInt + "InstallOnce'"] = {{installOnce ? "1" : "0"}};
        if (!installedVersion.empty()) {
            fake.productStates[productCode] = INSTALLSTATE_DEFAULT;
            fake.productInfo[productCode] = {{"PackageCode", "{OTHER}"}, {"VersionString", installedVersion}};
        }
        data.Packages.push_back(std::make_unique<CKWMsiInstaller>(path));
        data.Packages.back()->DisplayName = name;
        return *data.Packages.back();
    }
    void AddPatch() { data.Packages.push_back(std::make_unique<CKWMsiPatch>("C:\\media\\fix.msp")); }
    int Mode()
    {
        EXPECT_EQ(0u, data.DetectSetupMode(product, &wizard));
        return data.SetupMode;
    }

    FakeMsi fake;
    ProductDescriptor product;
    RecordingWizard wizard;
    CSetupInstallationData data;
};

} // namespace

TEST_F(InstallationData, AnAbsentPackageAfterAPresentOneMeansInstallation)
{
    Add("main", "{MAIN}", "2.0.0");
    CKWMsiPackage& absent = Add("tools", "{TOOLS}", "");
    EXPECT_EQ(1, Mode());
    EXPECT_EQ("SetState|1", wizard.calls.back());
    EXPECT_FALSE(data.mainProductMissing);
    EXPECT_TRUE(absent.IsWanted()) << "an absent product must be installed, not skipped";
    EXPECT_TRUE(data.readmeAvailable);
}

TEST_F(InstallationData, AnOlderInstalledVersionMeansInstallationAndMarksTheMainProduct)
{
    Add("main", "{MAIN}", "");
    EXPECT_EQ(1, Mode());
    EXPECT_TRUE(data.mainProductMissing);
    data.Packages.clear();
    Add("older", "{MAIN}", "1.0.0");
    EXPECT_EQ(1, Mode());
    EXPECT_FALSE(data.mainProductMissing);
}

TEST_F(InstallationData, PresentInstallOncePackagesLeaveOnlyThePatches)
{
    Add("once", "{ONCE}", "1.0.0", true);
    AddPatch();
    EXPECT_EQ(3, Mode());
    Add("absent", "{ABSENT}", "");
    EXPECT_EQ(1, Mode());
}

TEST_F(InstallationData, EverythingPresentIsMaintenanceAndOnlyPatchesPatchMode)
{
    Add("main", "{MAIN}", "2.0.0");
    EXPECT_EQ(2, Mode());
    data.Packages.clear();
    AddPatch();
    EXPECT_EQ(3, Mode());
    fake.Unbind();
    EXPECT_EQ(1603u, data.DetectSetupMode(product, nullptr));
}

TEST_F(InstallationData, TheDestinationIsTheInstalledFolderElseTheProductDefault)
{
    MachineSandbox machine;
    std::string fallback = ExpandProductMacros(product.DefaultInstallDir);
    data.DetermineDestinationFolder(product, &wizard);
    EXPECT_EQ(fallback, data.DestinationFolder) << "key missing";
    EXPECT_EQ("SetDestinationFolder|" + fallback, wizard.calls.back());

    machine.SetString("Software\\Zentrel\\Test\\Setup", "Program path", "");
    data.DetermineDestinationFolder(product, nullptr);
    EXPECT_EQ(fallback, data.DestinationFolder) << "value empty";

    machine.SetString("Software\\Zentrel\\Test\\Setup", "Program path", "D:\\Apps\\Melvaro");
    data.DetermineDestinationFolder(product, nullptr);
    EXPECT_EQ("D:\\Apps\\Melvaro\\", data.DestinationFolder);

    product.SetupRegistryKey = "HKEY_LOCAL_MACHINE";
    data.DetermineDestinationFolder(product, nullptr);
    EXPECT_EQ("", data.DestinationFolder);
}

TEST_F(InstallationData, DisplayNamesFollowTheLanguageAndTheShortcutGoesToTheCompanion)
{
    CKWMsiPackage& main = Add("main", "{MAIN}", "");
    CKWMsiPackage& companion = Add("companion", "{COMPANION}", "");
    fake.packages["C:\\media\\main.msi"].queries[kSetup + "SetupTypeName'"] = {{"Typical", "Typique"}};
    g_language = kLanguageFrench;

    data.GatherMiscInfo(product, true);
    EXPECT_EQ("Typique", main.DisplayName);
    EXPECT_EQ("companion", companion.DisplayName);
    EXPECT_FALSE(data.shortcutOfferable) << "no companion product";
    data.shortcutWanted = true;
    data.ApplyShortcutProperty(product, companion);
    EXPECT_EQ("", companion.GetProperty("CREATEDESKTOPSHORTCUT", true, false));

    product.CompanionProductCode = "{COMPANION}";
    data.GatherMiscInfo(product, true);
    EXPECT_TRUE(data.shortcutOfferable);
    EXPECT_TRUE(data.shortcutWanted);
    data.shortcutWanted = false;
    data.ApplyShortcutProperty(product, main);
    data.ApplyShortcutProperty(product, companion);
    EXPECT_EQ("", main.GetProperty("CREATEDESKTOPSHORTCUT", true, false));
    EXPECT_EQ("0", companion.GetProperty("CREATEDESKTOPSHORTCUT", true, false));

    data.GatherMiscInfo(product, false);
    EXPECT_FALSE(data.shortcutOfferable) << "nothing to offer it without a wizard";
}

TEST_F(InstallationData, ANewDestinationGoesToEveryInstallationPackageOnce)
{
    CKWMsiPackage& main = Add("main", "{MAIN}", "");
    AddPatch();
    data.DestinationFolder = "C:\\Program Files\\Test\\";
    EXPECT_FALSE(data.ChangeDestinationFolder(""));
    EXPECT_FALSE(data.ChangeDestinationFolder("c:\\program files\\TEST\\"));
    EXPECT_EQ("", main.GetProperty("INSTALLDIR", true, false));

    EXPECT_TRUE(data.ChangeDestinationFolder("D:\\My Apps\\"));
    EXPECT_EQ("D:\\My Apps\\", data.DestinationFolder);
    EXPECT_EQ("D:\\My Apps\\", main.GetProperty("INSTALLDIR", true, false));
    EXPECT_EQ("", data.Packages[1]->GetProperty("INSTALLDIR", true, false));
}

TEST_F(InstallationData, AfterTheWizardTheChosenProgramsStartInTheInstalledFolder)
{
    product.ReadmeFrench = "\"[INSTALLDIR]lisezmoi.txt\"";
    product.MainProgramCommand = "\"[INSTALLDIR]melvaro.exe\" [InstallLang] /dir:[INSTALLDIR]";
    data.DestinationFolder = "D:\\Apps\\";
    data.launchWanted = true;
    data.readmeWanted = true;
    g_language = kLanguageFrench;
    EXPECT_EQ((std::vector<std::string>{"notepad.exe \"D:\\Apps\\lisezmoi.txt\"",
                                        "\"D:\\Apps\\melvaro.exe\" /LF /dir:D:\\Apps\\"}),
              PostInstallCommands(data, product));

    g_rebootScheduled = true;
    EXPECT_TRUE(PostInstallCommands(data, product).empty());
    g_rebootScheduled = false;
    g_cancelRequested = true;
    EXPECT_TRUE(PostInstallCommands(data, product).empty());
    g_cancelRequested = false;
    product.ReadmeFrench.clear();
    data.launchWanted = false;
    EXPECT_TRUE(PostInstallCommands(data, product).empty());
}
