#include "CKWMsiInstaller.h"
#include "CKWMsiPatch.h"
#include "CSetupInstallationData.h"
#include "CoreTestSupport.h"
#include "CKWLogFile.h"
#include "FakeMsi.h"
#include "PostInstallLaunches.h"
#include "PrepareInstallation.h"
#include "ProductDescriptor.h"
#include "SetupFlags.h"
#include "SetupTestSupport.h"

#include <sstream>

namespace {

const std::string kProperty = "SELECT `Value` FROM `Property` WHERE `Property` = '";

class InstallationData : public CoreTest {
protected:
    InstallationData()
    {
        product.MainUpgradeCode = "{main}";
        product.SetupRegistryKey = "HKEY_LOCAL_MACHINE\\Software\\Zentrel\\Test\\Setup";
        product.InstallDirValueName = "Program path";
        product.DefaultInstallDir = "C:\\Program Files\\Test\\";
    }

    // Packages of version 2.0.0 from a text such as "main=2.0.0 tools= once:1.0 fix":
    // name, then "=" (installed version, none when absent) or ":" (the same, with InstallOnce);
    // a bare name is a patch.
    void Add(const std::string& list)
    {
        std::istringstream words(list);
        for (std::string word; words >> word;) {
            size_t mark = word.find_first_of("=:");
            if (mark == std::string::npos) {
                data.Packages.push_back(std::make_unique<CKWMsiPatch>("C:\\media\\" + word + ".msp"));
                continue;
            }
            std::string name = word.substr(0, mark), path = "C:\\media\\" + name + ".msi", code = "{P-" + name + "}";
            FakeMsi::Package& scripted = fake.packages[path];
            scripted.queries[kProperty + "ProductCode'"] = {{code}};
            scripted.queries[kProperty + "UpgradeCode'"] = {{"{" + name + "}"}};
            scripted.queries[kProperty + "ProductVersion'"] = {{"2.0.0"}};
            scripted.queries["SELECT `Value` FROM `KWSetupProperty` WHERE `Property` = 'InstallOnce'"] = {
                {word[mark] == ':' ? "1" : "0"}};
            fake.productStates.erase(code);
            if (mark + 1 < word.size()) {
                fake.productStates[code] = INSTALLSTATE_DEFAULT;
                fake.productInfo[code] = {{"PackageCode", "{OTHER}"}, {"VersionString", word.substr(mark + 1)}};
            }
            data.Packages.push_back(std::make_unique<CKWMsiInstaller>(path));
            data.Packages.back()->DisplayName = name;
        }
    }
    int Mode(const std::string& list)
    {
        data.Packages.clear();
        Add(list);
        EXPECT_EQ(0u, data.DetectSetupMode(product, &wizard));
        EXPECT_EQ("SetState|" + std::to_string(data.SetupMode), wizard.calls.back());
        return data.SetupMode;
    }

    FakeMsi fake;
    ProductDescriptor product;
    RecordingWizard wizard;
    CSetupInstallationData data;
};

} // namespace

TEST_F(InstallationData, TheSetupModeFollowsWhatIsInstalled)
{
    EXPECT_EQ(1, Mode("main=2.0.0 tools="));
    EXPECT_FALSE(data.mainProductMissing);
    EXPECT_TRUE(data.Packages[1]->IsWanted()) << "an absent product must be installed, not skipped";
    EXPECT_EQ(1, Mode("main="));
    EXPECT_TRUE(data.mainProductMissing);
    EXPECT_EQ(1, Mode("main=1.0.0")) << "an older version is installed";
    EXPECT_EQ(2, Mode("main=2.0.0 tools=3.0"));
    EXPECT_EQ(3, Mode("fix"));
    EXPECT_EQ(3, Mode("once:1.0 fix"));
    EXPECT_EQ(1, Mode("once:1.0 absent= fix"));
    fake.Unbind();
    EXPECT_EQ(1603u, data.DetectSetupMode(product, nullptr));
}

TEST_F(InstallationData, TheDestinationIsTheInstalledFolderElseTheProductDefault)
{
    MachineSandbox machine;
    product.DefaultInstallDir = "{DEFAULT_DRIVE}:\\Program Files\\Test\\";
    std::string fallback = ExpandProductMacros(product.DefaultInstallDir);
    data.DetermineDestinationFolder(product, &wizard);
    EXPECT_EQ("SetDestinationFolder|" + fallback, wizard.calls.back()) << "key missing";
    machine.Set("Software\\Zentrel\\Test\\Setup", "Program path", "");
    data.DetermineDestinationFolder(product, nullptr);
    EXPECT_EQ(fallback, data.DestinationFolder) << "value empty";
    machine.Set("Software\\Zentrel\\Test\\Setup", "Program path", "D:\\Apps\\Melvaro");
    data.DetermineDestinationFolder(product, nullptr);
    EXPECT_EQ("D:\\Apps\\Melvaro\\", data.DestinationFolder);

    EXPECT_FALSE(data.ChangeDestinationFolder(""));
    EXPECT_FALSE(data.ChangeDestinationFolder("d:\\apps\\MELVARO\\"));
    Add("main= fix");
    EXPECT_TRUE(data.ChangeDestinationFolder("E:\\My Apps\\"));
    EXPECT_EQ("E:\\My Apps\\", data.DestinationFolder);
    EXPECT_EQ("E:\\My Apps\\", data.Packages[0]->GetProperty("INSTALLDIR", true, false));
    EXPECT_EQ("", data.Packages[1]->GetProperty("INSTALLDIR", true, false)) << "patches take no folder";
}

TEST_F(InstallationData, DisplayNamesFollowTheLanguageAndTheShortcutGoesToTheCompanion)
{
    Add("main= companion=");
    CKWMsiPackage &main = *data.Packages[0], &companion = *data.Packages[1];
    fake.packages["C:\\media\\main.msi"].queries["SELECT `Value`,`ValueF` FROM `KWSetupProperty` WHERE `Property` = "
                                                 "'SetupTypeName'"] = {{"Typical", "Typique"}};
    g_language = kLanguageFrench;
    data.GatherMiscInfo(product, true);
    EXPECT_EQ("Typique companion", main.DisplayName + " " + companion.DisplayName);
    EXPECT_FALSE(data.shortcutOfferable) << "no companion product";
    data.shortcutWanted = true;
    data.ApplyShortcutProperty(product, companion);
    EXPECT_EQ("", companion.GetProperty("CREATEDESKTOPSHORTCUT", true, false));

    product.CompanionProductCode = "{companion}";
    data.GatherMiscInfo(product, true);
    EXPECT_TRUE(data.shortcutOfferable && data.shortcutWanted);
    data.shortcutWanted = false;
    data.ApplyShortcutProperty(product, main);
    data.ApplyShortcutProperty(product, companion);
    EXPECT_EQ("", main.GetProperty("CREATEDESKTOPSHORTCUT", true, false));
    EXPECT_EQ("0", companion.GetProperty("CREATEDESKTOPSHORTCUT", true, false));
    data.GatherMiscInfo(product, false);
    EXPECT_FALSE(data.shortcutOfferable) << "nothing to offer it without a wizard";
}

TEST_F(InstallationData, AfterTheWizardTheChosenProgramsStartInTheInstalledFolder)
{
    product.ReadmeFrench = "\"[INSTALLDIR]lisezmoi.txt\"";
    product.MainProgramCommand = "\"[INSTALLDIR]melvaro.exe\" [InstallLang] /dir:[INSTALLDIR]";
    data.DestinationFolder = "D:\\Apps\\";
    data.launchWanted = data.readmeWanted = true;
    g_language = kLanguageFrench;
    EXPECT_EQ((std::vector<std::string>{"notepad.exe \"D:\\Apps\\lisezmoi.txt\"",
                                        "\"D:\\Apps\\melvaro.exe\" /LF /dir:D:\\Apps\\"}),
              PostInstallCommands(data, product));
    g_rebootScheduled = true;
    EXPECT_TRUE(PostInstallCommands(data, product).empty());
    g_rebootScheduled = false;
}

TEST_F(InstallationData, StartUpLogsAndStepsEachStageOnTheWayToTheWizard)
{
    TestFolder folder;
    g_logFile = new CKWLogFile(folder.File("setup.log"), false);
    GetSetupCore().initialised = true;
    MachineSandbox machine;
    int steps = 0;
    auto prepare = [&](const std::string& ini) {
        data.Packages.clear();
        return PrepareInstallation(TestIni(ini), data, product, &wizard, g_logFile->GetPath(), [&] {
            ++steps;
        });
    };
    fake.packages["C:\\media\\fix.msp"].validPatch = true;
    EXPECT_TRUE(prepare("[Package1]\r\nPatch=C:\\media\\fix.msp\r\n"));
    std::string log = ReadWholeFile(g_logFile->GetPath());
    for (const char* line : {"Value for MINIMUM_MSI is 150", "INI file contains 1 packages", "All packages are valid",
                             "Setup mode detected 3", "Default destination folder is: C:\\Program Files\\Test\\",
                             "Gathered setup misc info successfully"})
        EXPECT_NE(std::string::npos, log.find(line)) << line << "\n" << log;
    EXPECT_EQ(12, steps) << "3 per package and 9 more fit the wait dialog's range";
    EXPECT_EQ(1, fake.CountCalls("MsiEnableLogA")) << "the engine logs into setup's log";

    EXPECT_FALSE(prepare("[Package1]\r\nDatabase=C:\\media\\broken.msi\r\n"));
    EXPECT_NE(std::string::npos, ReadWholeFile(g_logFile->GetPath()).find("Not all packages are valid"));
    EXPECT_EQ(1u, TakeBoxTexts().size()) << "the user is told why";
    delete g_logFile;
    g_logFile = nullptr;
}
