#include "CPreIE.h"
#include "CPreMsi.h"
#include "CPreNetfx.h"
#include "CPreSoapToolkit.h"
#include "IInstallable.h"
#include "IPrerequisite.h"
#include "PrerequisiteRegistry.h"
#include "RegistryChecks.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

class FakePrerequisite : public IPrerequisite {
public:
    FakePrerequisite(int id, int kind, bool installed) : IPrerequisite(id), installed(installed), m_kind(kind) {}
    std::string GetBaseName() const override { return "Fake"; }
    int GetKind() const override { return m_kind; }

    bool installed;

protected:
    bool Detect() override { return installed; }

private:
    int m_kind;
};

class FakeInstallable : public IInstallable {
public:
    explicit FakeInstallable(bool wanted = false) : wanted(wanted) {}
    UINT Execute() override { return 0; }
    int GetInstallState() override { return 0; }
    bool IsWanted() override { return wanted; }

    bool wanted;
};

// An installer that is wanted when the prerequisite it installs is needed.
class FakeInstaller : public IInstallable {
public:
    explicit FakeInstaller(IPrerequisite& installs) : m_installs(installs) { installs.SetOwner(this); }
    UINT Execute() override { return 0; }
    int GetInstallState() override { return 0; }
    bool IsWanted() override { return m_installs.IsNeeded(); }

private:
    IPrerequisite& m_installs;
};

TEST(PrereqNames, EveryNameHasItsIdExactly)
{
    const char* names[] = {"Msi200",  "Msi301",        "IE4",     "IE501",   "IE55",    "IE6",
                           "IE7",     "IE8",           "Netfx10", "Netfx11", "Netfx20", "Netfx30",
                           "Netfx35", "Netfx40Client", "Netfx40", "Netfx45", "Soap30",  "VCRedist80"};
    for (int id = 0; id < 18; ++id)
        EXPECT_EQ(id, PrerequisiteFromName(names[id])) << names[id];

    EXPECT_EQ(-1, PrerequisiteFromName("ie6"));
    EXPECT_EQ(-1, PrerequisiteFromName("NETFX20"));
    EXPECT_EQ(-1, PrerequisiteFromName("IE6 "));
    EXPECT_EQ(-1, PrerequisiteFromName("Netfx40Clien"));
    EXPECT_EQ(-1, PrerequisiteFromName(""));
}

TEST(PrereqObject, KeepsTheFirstOwnerAndEachDependentOnce)
{
    FakePrerequisite prerequisite(kPrerequisiteIE6, kPrerequisiteKindIE, false);
    EXPECT_EQ(nullptr, prerequisite.GetOwner());
    EXPECT_EQ("", prerequisite.GetSupportAddress());
    FakeInstallable first, second;
    prerequisite.SetOwner(nullptr);
    prerequisite.SetOwner(&first);
    prerequisite.SetOwner(&second);
    EXPECT_EQ(&first, prerequisite.GetOwner());

    prerequisite.AddDependent(&first);
    prerequisite.AddDependent(nullptr);
    prerequisite.AddDependent(&second);
    prerequisite.AddDependent(&first);
    EXPECT_EQ((std::vector<IInstallable*>{&first, &second}), prerequisite.GetDependents());
}

TEST(PrereqNeeded, NeededWhenADependentIsWanted)
{
    FakePrerequisite prerequisite(kPrerequisiteNetfx35, kPrerequisiteKindNetfx, false);
    EXPECT_FALSE(prerequisite.IsNeeded());
    FakeInstallable unwanted(false), wanted(true);
    prerequisite.AddDependent(&unwanted);
    EXPECT_FALSE(prerequisite.IsNeeded());
    prerequisite.AddDependent(&wanted);
    EXPECT_TRUE(prerequisite.IsNeeded());
    wanted.wanted = false;
    EXPECT_FALSE(prerequisite.IsNeeded());
}

TEST(PrereqNeeded, MendedInstallersThatNeedEachOthersPrerequisitesEndTheQuestion)
{
    FakePrerequisite netfx20(kPrerequisiteNetfx20, kPrerequisiteKindNetfx, false);
    FakePrerequisite netfx35(kPrerequisiteNetfx35, kPrerequisiteKindNetfx, false);
    FakeInstaller installs20(netfx20), installs35(netfx35);
    netfx20.AddDependent(&installs35);
    netfx35.AddDependent(&installs20);
    EXPECT_FALSE(netfx20.IsNeeded());

    FakeInstallable product(true);
    netfx35.AddDependent(&product);
    EXPECT_TRUE(netfx20.IsNeeded()) << "a wanted product needs 3.5, whose installer needs 2.0";
    EXPECT_TRUE(netfx35.IsNeeded());
}

TEST(PrereqCollect, FollowsOwnersAndSortsById)
{
    FakePrerequisite netfx35(kPrerequisiteNetfx35, kPrerequisiteKindNetfx, false);
    FakePrerequisite netfx20(kPrerequisiteNetfx20, kPrerequisiteKindNetfx, false);
    FakePrerequisite ie6(kPrerequisiteIE6, kPrerequisiteKindIE, true);
    FakePrerequisite msi(kPrerequisiteMsi301, kPrerequisiteKindMsi, false);
    FakeInstallable installer35;
    netfx35.SetOwner(&installer35);
    installer35.Prerequisites = {&netfx20, &ie6, &msi, nullptr};

    std::vector<int> ids;
    EXPECT_EQ(2u, CollectMissing(&netfx35, ids));
    EXPECT_EQ((std::vector<int>{kPrerequisiteNetfx20, kPrerequisiteNetfx35}), ids);

    EXPECT_EQ(2u, CollectMissing(&netfx20, ids)) << "an id already listed is not added again";
    EXPECT_EQ(2u, CollectMissing(&msi, ids)) << "the engine upgrade handles Windows Installer";
    EXPECT_EQ(2u, CollectMissing(&ie6, ids));

    std::vector<int> none;
    EXPECT_EQ(0u, CollectMissing(&msi, none));
    EXPECT_EQ(0u, CollectMissing(nullptr, none));
}

TEST(PrereqCollect, MendedInstallersThatNeedEachOthersPrerequisitesEndTheWalk)
{
    FakePrerequisite netfx20(kPrerequisiteNetfx20, kPrerequisiteKindNetfx, false);
    FakePrerequisite netfx35(kPrerequisiteNetfx35, kPrerequisiteKindNetfx, false);
    FakeInstallable installs20, installs35;
    netfx20.SetOwner(&installs20);
    netfx35.SetOwner(&installs35);
    installs20.Prerequisites = {&netfx35};
    installs35.Prerequisites = {&netfx20, &netfx35};

    std::vector<int> ids;
    EXPECT_EQ(2u, CollectMissing(&netfx20, ids));
    EXPECT_EQ((std::vector<int>{kPrerequisiteNetfx20, kPrerequisiteNetfx35}), ids);

    std::vector<int> listed{kPrerequisiteNetfx35};
    EXPECT_EQ(2u, CollectMissing(&netfx35, listed)) << "a listed id still leads to its installer's needs";
    EXPECT_EQ((std::vector<int>{kPrerequisiteNetfx20, kPrerequisiteNetfx35}), listed);
}

// Redirects HKEY_LOCAL_MACHINE to a scratch key for the length of a test, so
// detection reads only what the test writes there.
class PrereqDetection : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_sandbox = "Software\\KwTests\\Prereq" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, m_sandbox.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &m_machine, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_machine));
    }
    void TearDown() override
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(m_machine);
        RegDeleteTreeA(HKEY_CURRENT_USER, m_sandbox.c_str());
    }
    void Set(const std::string& key, const char* name, DWORD type, const void* data, DWORD size)
    {
        HKEY handle = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(m_machine, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data), size));
        RegCloseKey(handle);
    }
    void SetText(const std::string& key, const char* name, const std::string& text)
    {
        Set(key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    void SetDword(const std::string& key, const char* name, DWORD number)
    {
        Set(key, name, REG_DWORD, &number, sizeof number);
    }
    void Remove(const std::string& key, const char* name) { RegDeleteKeyValueA(m_machine, key.c_str(), name); }

private:
    std::string m_sandbox;
    HKEY m_machine = nullptr;
};

// A fresh object each time, so no earlier answer is cached.
template <typename Prerequisite> bool Detected(int id)
{
    Prerequisite prerequisite(id);
    return prerequisite.IsInstalled();
}

const char kIEKey[] = "Software\\Microsoft\\Internet Explorer";
const std::string kNdp = "Software\\Microsoft\\NET Framework Setup\\NDP\\";

TEST_F(PrereqDetection, InternetExplorerComparesTheVersionPartByPart)
{
    EXPECT_FALSE(Detected<CPreIE>(kPrerequisiteIE4)) << "no version";
    SetText(kIEKey, "Version", "6.0.2900.2180");
    EXPECT_TRUE(Detected<CPreIE>(kPrerequisiteIE6));
    EXPECT_TRUE(Detected<CPreIE>(kPrerequisiteIE55));
    EXPECT_FALSE(Detected<CPreIE>(kPrerequisiteIE7));
    SetText(kIEKey, "Version", "5.00.2919.6307");
    EXPECT_TRUE(Detected<CPreIE>(kPrerequisiteIE501));
    EXPECT_FALSE(Detected<CPreIE>(kPrerequisiteIE55));
    SetText(kIEKey, "Version", "5.00.2614.3500");
    EXPECT_FALSE(Detected<CPreIE>(kPrerequisiteIE501));
    EXPECT_TRUE(Detected<CPreIE>(kPrerequisiteIE4));
    SetText(kIEKey, "Version", "7");
    EXPECT_TRUE(Detected<CPreIE>(kPrerequisiteIE7));
    EXPECT_FALSE(Detected<CPreIE>(kPrerequisiteIE8));
}

TEST_F(PrereqDetection, MendedVersionAndNumberChecksTreatOddValuesSafely)
{
    const char key[] = "Software\\Checks";
    EXPECT_FALSE(RegistryVersionAtLeast(key, "V", 0, 0, 0, 0)) << "unreadable";
    EXPECT_TRUE(RegistryDottedVersionAtLeast(key, "V", 0, 0, 0, 0)) << "unreadable reads 0.0.0.0";
    EXPECT_FALSE(RegistryDottedVersionAtLeast(key, "V", 0, 0, 0, 1));
    SetText(key, "V", "7");
    EXPECT_TRUE(RegistryVersionAtLeast(key, "V", 7, 0, 0, 1)) << "ran out of parts while equal";
    EXPECT_FALSE(RegistryDottedVersionAtLeast(key, "V", 7, 0, 0, 1)) << "missing parts read 0";
    SetText(key, "V", "99999999999.0");
    EXPECT_TRUE(RegistryVersionAtLeast(key, "V", 4000000000u, 0, 0, 0)) << "a huge part does not wrap";
    SetText(key, "V", std::string(300, '9'));
    EXPECT_FALSE(RegistryVersionAtLeast(key, "V", 1, 0, 0, 0)) << "longer than 260 bytes";

    SetText(key, "N", "1");
    EXPECT_FALSE(RegistryDwordEquals(key, "N", 1)) << "text is not a number";
    EXPECT_FALSE(RegistryDwordAtLeast(key, "Absent", -5));
    SetDword(key, "N", 0xFFFFFFFF);
    EXPECT_FALSE(RegistryDwordAtLeast(key, "N", 378389)) << "read as signed";
    EXPECT_TRUE(RegistryDwordAtLeast(key, "N", -1));
    EXPECT_TRUE(RegistryDwordEquals(key, "N", 0xFFFFFFFF));
}

TEST_F(PrereqDetection, OlderFrameworksNeedTheirFlagsAndVersions)
{
    SetText("Software\\Microsoft\\.NETFramework\\Policy\\v1.0", "3321", "3321-3705");
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx10));
    SetText("Software\\Microsoft\\.NETFramework\\Policy\\v1.0", "3705", "3321-3705");
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx10));

    SetDword(kNdp + "v1.1.4322", "Install", 1);
    SetDword(kNdp + "v2.0.50727", "Install", 0);
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx11));
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx20));
    SetDword(kNdp + "v2.0.50727", "Install", 1);
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx20));

    SetDword(kNdp + "v3.0\\Setup", "Install", 1);
    SetText(kNdp + "v3.0\\Setup", "Version", "3.0.4506.26");
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx30)) << "3.0 is flagged by InstallSuccess";
    SetDword(kNdp + "v3.0\\Setup", "InstallSuccess", 1);
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx30));
    SetText(kNdp + "v3.0\\Setup", "Version", "3.0.4506");
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx30));

    SetDword(kNdp + "v3.5", "Install", 1);
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx35)) << "no version";
    SetText(kNdp + "v3.5", "Version", "3.5.21022.08");
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx35));
    SetText(kNdp + "v3.5", "Version", "3.5.21022.7");
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx35));
}

TEST_F(PrereqDetection, Framework4FallsBackToLaterVersions)
{
    SetDword(kNdp + "v4\\Full", "Release", 378388);
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx45));
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx40));
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx40Client));
    SetDword(kNdp + "v4\\Full", "Release", 378389);
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx45));
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx40));
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx40Client)) << "4.5 without the Client key";

    Remove(kNdp + "v4\\Full", "Release");
    SetDword(kNdp + "v4\\Full", "Install", 1);
    SetText(kNdp + "v4\\Full", "Version", "4.0.30319");
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx40));
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx40Client));
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx45));

    SetDword(kNdp + "v4\\Full", "Install", 0);
    SetDword(kNdp + "v4\\Client", "Install", 1);
    SetText(kNdp + "v4\\Client", "Version", "4.0.30319.1");
    EXPECT_TRUE(Detected<CPreNetfx>(kPrerequisiteNetfx40Client));
    EXPECT_FALSE(Detected<CPreNetfx>(kPrerequisiteNetfx40));
}

TEST_F(PrereqDetection, SoapToolkitVersionNumber)
{
    const char key[] = "Software\\Microsoft\\MSSOAP\\30";
    SetText(key, "Version Number", "2.0.4508.0");
    EXPECT_FALSE(Detected<CPreSoapToolkit>(kPrerequisiteSoap30));
    SetText(key, "Version Number", "3.0.1325.2");
    EXPECT_TRUE(Detected<CPreSoapToolkit>(kPrerequisiteSoap30));
}

TEST_F(PrereqDetection, WindowsInstallerFromTheRegisteredFolder)
{
    const char key[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Installer";
    EXPECT_FALSE(Detected<CPreMsi>(kPrerequisiteMsi200)) << "no folder registered";

    char system[MAX_PATH] = "";
    ASSERT_NE(0u, GetSystemDirectoryA(system, MAX_PATH));
    SetText(key, "InstallerLocation", std::string(system) + "\\");
    EXPECT_TRUE(Detected<CPreMsi>(kPrerequisiteMsi200));
    EXPECT_TRUE(Detected<CPreMsi>(kPrerequisiteMsi301));

    TestFolder folder;
    SetText(key, "InstallerLocation", folder.Path() + "\\");
    EXPECT_FALSE(Detected<CPreMsi>(kPrerequisiteMsi200)) << "no msi.dll there";
    WriteWholeFile(folder.File("msi.dll"), "not a library");
    EXPECT_FALSE(Detected<CPreMsi>(kPrerequisiteMsi200)) << "no version record";
}

TEST_F(PrereqDetection, MendedAnInstallerFolderWithoutItsFinalBackslashIsFound)
{
    char system[MAX_PATH] = "";
    ASSERT_NE(0u, GetSystemDirectoryA(system, MAX_PATH));
    SetText("Software\\Microsoft\\Windows\\CurrentVersion\\Installer", "InstallerLocation", system);
    EXPECT_TRUE(Detected<CPreMsi>(kPrerequisiteMsi301));
}

TEST_F(PrereqDetection, AMissingPrerequisiteIsAskedAgainAnInstalledOneIsKept)
{
    CPreIE ie7(kPrerequisiteIE7);
    SetText(kIEKey, "Version", "6.0.2900.2180");
    EXPECT_FALSE(ie7.IsInstalled());
    SetText(kIEKey, "Version", "7.0.5730.13");
    EXPECT_TRUE(ie7.IsInstalled());
    Remove(kIEKey, "Version");
    EXPECT_TRUE(ie7.IsInstalled());
    EXPECT_FALSE(Detected<CPreIE>(kPrerequisiteIE7));
}

TEST_F(PrereqDetection, CollectsTheMissingPrerequisitesOfAnInstaller)
{
    CPreNetfx netfx35(kPrerequisiteNetfx35), netfx20(kPrerequisiteNetfx20);
    FakeInstallable installs35;
    installs35.Prerequisites = {&netfx20};
    netfx35.SetOwner(&installs35);
    std::vector<int> ids;
    EXPECT_EQ(2u, CollectMissing(&netfx35, ids));
    EXPECT_EQ((std::vector<int>{kPrerequisiteNetfx20, kPrerequisiteNetfx35}), ids);

    SetDword(kNdp + "v2.0.50727", "Install", 1);
    std::vector<int> after;
    EXPECT_EQ(1u, CollectMissing(&netfx35, after));
    EXPECT_EQ(std::vector<int>{kPrerequisiteNetfx35}, after);
}

TEST(PrereqRegistry, MendedAnObjectBuiltElsewhereIsNeverRegistered)
{
    IPrerequisite* registered = GetPrerequisite(kPrerequisiteIE7);
    {
        CPreIE local(kPrerequisiteIE7);
        EXPECT_EQ(registered, FindPrerequisite(kPrerequisiteIE7));
    }
    EXPECT_EQ(registered, FindPrerequisite(kPrerequisiteIE7)) << "no entry left behind";
}

TEST(PrereqRegistry, EachIdGetsOneObjectOfItsClass)
{
    const char* displayNames[] = {"Windows Installer v.2",   "Windows Installer v.3.01",
                                  "Internet Explorer v.4",   "Internet Explorer v.5.01",
                                  "Internet Explorer v.5.5", "Internet Explorer v.6",
                                  "Internet Explorer v.7",   "Internet Explorer v.8",
                                  ".Net Framework v.1.0",    ".Net Framework v.1.1",
                                  ".Net Framework v.2.0",    ".Net Framework v.3.0",
                                  ".Net Framework v.3.5",    ".Net Framework v.4.0 Client Profile",
                                  ".Net Framework v.4.0",    ".Net Framework v.4.5",
                                  "Soap Toolkit v.3.0"};
    for (int id = 0; id <= kPrerequisiteSoap30; ++id) {
        IPrerequisite* prerequisite = GetPrerequisite(id);
        ASSERT_NE(nullptr, prerequisite) << id;
        EXPECT_EQ(id, prerequisite->GetId());
        EXPECT_EQ(displayNames[id], prerequisite->GetDisplayName());
        EXPECT_EQ(prerequisite, GetPrerequisite(id));
        EXPECT_EQ(prerequisite, FindPrerequisite(id));
    }
    EXPECT_NE(nullptr, dynamic_cast<CPreMsi*>(GetPrerequisite(kPrerequisiteMsi301)));
    EXPECT_NE(nullptr, dynamic_cast<CPreIE*>(GetPrerequisite(kPrerequisiteIE8)));
    EXPECT_NE(nullptr, dynamic_cast<CPreNetfx*>(GetPrerequisite(kPrerequisiteNetfx10)));
    EXPECT_NE(nullptr, dynamic_cast<CPreSoapToolkit*>(GetPrerequisite(kPrerequisiteSoap30)));
    EXPECT_EQ(kPrerequisiteKindMsi, GetPrerequisite(kPrerequisiteMsi200)->GetKind());
    EXPECT_EQ(kPrerequisiteKindIE, GetPrerequisite(kPrerequisiteIE4)->GetKind());
    EXPECT_EQ(kPrerequisiteKindNetfx, GetPrerequisite(kPrerequisiteNetfx45)->GetKind());
    EXPECT_EQ(kPrerequisiteKindSoapToolkit, GetPrerequisite(kPrerequisiteSoap30)->GetKind());

    EXPECT_EQ(nullptr, GetPrerequisite(kPrerequisiteVCRedist80));
    EXPECT_EQ(nullptr, GetPrerequisite(-1));
    EXPECT_EQ(nullptr, GetPrerequisite(18));
    EXPECT_EQ(nullptr, FindPrerequisite(kPrerequisiteVCRedist80));

    std::vector<IPrerequisite*> registered = RegisteredPrerequisites();
    ASSERT_EQ(17u, registered.size());
    for (int id = 0; id <= kPrerequisiteSoap30; ++id)
        EXPECT_EQ(id, registered[id]->GetId());
}

TEST_F(PrereqDetection, AnInstallerAnswersThroughThePrerequisiteItInstalls)
{
    // The process-wide prerequisite keeps its owner and dependents for good,
    // so they live as long.
    static FakeInstallable installer, product;
    IPrerequisite* soap = GetPrerequisite(kPrerequisiteSoap30);
    soap->SetOwner(&installer);
    soap->AddDependent(&product);

    FakeInstallable stranger(true);
    EXPECT_EQ(-2, InstallStateThroughPrerequisite(&stranger));
    EXPECT_FALSE(IsWantedThroughPrerequisite(&stranger));
    EXPECT_EQ(-2, InstallStateThroughPrerequisite(nullptr));
    EXPECT_FALSE(IsWantedThroughPrerequisite(nullptr));

    EXPECT_EQ(0, InstallStateThroughPrerequisite(&installer));
    product.wanted = false;
    EXPECT_FALSE(IsWantedThroughPrerequisite(&installer));
    product.wanted = true;
    EXPECT_TRUE(IsWantedThroughPrerequisite(&installer));
    SetText("Software\\Microsoft\\MSSOAP\\30", "Version Number", "3.0.1325.2");
    EXPECT_EQ(1, InstallStateThroughPrerequisite(&installer));
}

} // namespace
