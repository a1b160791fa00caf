#include "CSetupInstallationData.h"
#include "CoreTestSupport.h"
#include "CIniFile.h"
#include "IInstallable.h"
#include "MinimumBrowser.h"
#include "PrerequisiteRegistry.h"
#include "SetupPrerequisites.h"
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const char kNetfx20[] = "Software\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727";
const char kNetfx35[] = "Software\\Microsoft\\NET Framework Setup\\NDP\\v3.5";
const char kExplorer[] = "Software\\Microsoft\\Internet Explorer";

class Product : public IInstallable {
public:
    explicit Product(bool wanted) : m_wanted(wanted) {}
    UINT Execute() override { return 0; }
    int GetInstallState() override { return 0; }
    bool IsWanted() override { return m_wanted; }

private:
    bool m_wanted;
};

// A prerequisite's installer: runs its effect on the machine and returns a code.
class Installer : public IInstallable {
public:
    Installer(UINT result, std::function<void()> effect) : m_result(result), m_effect(std::move(effect)) {}
    UINT Execute() override
    {
        ++runs;
        if (m_effect)
            m_effect();
        return m_result;
    }
    int GetInstallState() override { return InstallStateThroughPrerequisite(this); }
    bool IsWanted() override { return IsWantedThroughPrerequisite(this); }

    int runs = 0;

private:
    UINT m_result;
    std::function<void()> m_effect;
};

class Prerequisites : public CoreTest {
protected:
    // Registers the prerequisite as needed by the wanted product.
    IPrerequisite& Need(int id, IInstallable* installer)
    {
        IPrerequisite* prerequisite = GetPrerequisite(id);
        prerequisite->AddDependent(&product);
        if (installer != nullptr)
            prerequisite->SetOwner(installer);
        return *prerequisite;
    }
    void InstallNetfx35()
    {
        machine.SetNumber(kNetfx35, "Install", 1);
        machine.SetString(kNetfx35, "Version", "3.5.30729.1");
    }

    MachineSandbox machine;
    Product product{true};
    RecordingWizard wizard;
    CSetupInstallationData data;
};

} // namespace

TEST_F(Prerequisites, OnlyTheHighestOfAKindIsInstalledAndARestartCountsAsSuccess)
{
    Installer netfx20(0, nullptr);
    Installer netfx35(3010, [this] {
        InstallNetfx35();
    });
    Installer explorer(0, [this] {
        machine.SetString(kExplorer, "Version", "6.0.2900.2180");
    });
    Need(kPrerequisiteNetfx20, &netfx20);
    Need(kPrerequisiteNetfx35, &netfx35);
    Need(kPrerequisiteIE6, &explorer);
    data.Packages.push_back(std::make_unique<CKWMsiPackage>("C:\\p\\a.msi", CKWMsiPackage::kKindInstaller));

    EXPECT_EQ(0u, ProcessPrerequisites(data, &wizard));
    EXPECT_EQ(0, netfx20.runs);
    EXPECT_EQ(1, netfx35.runs);
    EXPECT_EQ(1, explorer.runs);
    EXPECT_TRUE(GetSetupCore().rebootNeeded);
    EXPECT_EQ((std::vector<std::string>{"SetProgressRange|1|0|3", "SetStatusText|1|Internet Explorer v.6",
                                        "SetStatusText|2|Initializing...", "SetStatusText|1|.Net Framework v.3.5",
                                        "SetStatusText|2|Initializing..."}),
              wizard.calls);
}

TEST_F(Prerequisites, AnInstallerThatLeavesItMissingFailsAndAFailureStopsThePass)
{
    Installer silent(0, nullptr);
    Need(kPrerequisiteIE6, &silent);
    EXPECT_EQ(1603u, ProcessPrerequisites(data, &wizard));

    ClearPrerequisites();
    Installer refused(1602, nullptr);
    Installer later(0, [this] {
        InstallNetfx35();
    });
    Need(kPrerequisiteIE6, &refused);
    Need(kPrerequisiteNetfx35, &later);
    EXPECT_EQ(1602u, ProcessPrerequisites(data, &wizard)) << "only 0 and 3010 are success";
    EXPECT_EQ(0, later.runs);
}

TEST_F(Prerequisites, OneWithoutInstallerShowsTheMissingPage)
{
    Need(kPrerequisiteNetfx35, nullptr).SetSupportAddress("http://help/netfx");
    EXPECT_EQ(2u, ProcessPrerequisites(data, &wizard));
    EXPECT_EQ("SetState|8", wizard.calls.back());
    EXPECT_EQ(".Net Framework v.3.5", data.missingPrerequisiteName);
    EXPECT_EQ("http://help/netfx", data.missingPrerequisiteAddress);
}

TEST_F(Prerequisites, NothingNeededLeavesTheProgressAlone)
{
    Product unwanted(false);
    GetPrerequisite(kPrerequisiteNetfx20)->AddDependent(&unwanted);
    InstallNetfx35();
    Need(kPrerequisiteNetfx35, nullptr);
    EXPECT_EQ(0u, ProcessPrerequisites(data, &wizard));
    EXPECT_TRUE(wizard.calls.empty());
}

TEST_F(Prerequisites, TheMinimumBrowserIsIE4UnlessSetupIniNamesAnother)
{
    machine.SetString(kExplorer, "Version", "6.0.2900.2180");
    std::string message;
    auto check = [&message](const char* minimum) {
        TestIni ini(std::string("[Properties]\r\nMINIMUM_IE=") + minimum + "\r\n");
        CIniFile file;
        file.SetFile(ini.Path());
        return CheckMinimumBrowser(file, message);
    };
    EXPECT_TRUE(check("Bogus"));
    EXPECT_FALSE(check("IE7"));
    EXPECT_EQ("Internet Explorer v.7 or greater must be installed.", message);
    EXPECT_FALSE(check("VCRedist80"));
    EXPECT_EQ("", message) << "no prerequisite exists for it";
}
