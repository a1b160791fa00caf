#include "AfterUpdateFlags.h"
#include "CKWLogFile.h"
#include "CKWUpdateCompleteDlg.h"
#include "CKWUpdaterApp.h"
#include "CancelFlags.h"
#include "CoreTestSupport.h"
#include "ProductDescriptor.h"
#include "UpdaterWindows.h"
#include "UpdaterResources.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>

namespace {

// What a person saw in the completion window before pressing a button.
struct SeenWindow {
    std::string introText;
    std::string launchText;
    bool launchVisible = false;
    bool restartVisible = false;
    bool cancelEnabled = false;
};

BOOL CALLBACK KeepDialog(HWND window, LPARAM found)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Waits for the dialog the thread shows, reads it, lets the person act on
// it (pressing buttons as clicks) and returns what was seen.
SeenWindow ActOnCompletionWindow(DWORD thread, const std::function<void(HWND)>& act)
{
    SeenWindow seen;
    HWND window = nullptr;
    for (int tries = 0; tries < 200 && window == nullptr; ++tries) {
        EnumThreadWindows(thread, KeepDialog, reinterpret_cast<LPARAM>(&window));
        if (window == nullptr)
            Sleep(50);
    }
    if (window == nullptr)
        return seen;
    char text[1024] = "";
    GetWindowTextA(GetDlgItem(window, IDC_COMPLETE_INTRO), text, sizeof text);
    seen.introText = text;
    GetWindowTextA(GetDlgItem(window, IDC_LAUNCH_APP), text, sizeof text);
    seen.launchText = text;
    seen.launchVisible = IsWindowVisible(GetDlgItem(window, IDC_LAUNCH_APP)) != FALSE;
    seen.restartVisible = IsWindowVisible(GetDlgItem(window, IDC_REBOOT_NOW)) != FALSE;
    seen.cancelEnabled = IsWindowEnabled(GetDlgItem(window, IDCANCEL)) != FALSE;
    act(window);
    return seen;
}

void Click(HWND window, int id)
{
    SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0);
}

class UpdateCompleteDlg : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        g_language = kLanguageEnglish;
        g_launchAfterUpdate = 0;
        g_restartAfterUpdate = 0;
    }
    void TearDown() override
    {
        g_launchAfterUpdate = 0;
        g_restartAfterUpdate = 0;
        CoreTest::TearDown();
    }
};

// The product's folder read from a scratch machine hive holding only it.
void ReadInstallFolder(CKWUpdaterApp& app, const std::string& folder)
{
    const std::string scratch = "Software\\KwTests\\Complete" + std::to_string(GetCurrentProcessId());
    HKEY machine = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &machine, nullptr));
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine);
    const ProductDescriptor& product = GetProductDescriptor();
    const std::string key = product.SetupRegistryKey.substr(product.SetupRegistryKey.find('\\') + 1);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), product.InstallDirValueName.c_str(), REG_SZ, folder.c_str(),
                    static_cast<DWORD>(folder.size() + 1));
    app.GetInstallFolder();
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(machine);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
}

TEST_F(UpdateCompleteDlg, FinishWithLaunchTickedStartsTheMainProgramNamedWithItsAmpersand)
{
    TestFolder install;
    TestFolder logs;
    CopyFileA((TestProgramFolder() + "\\melvaro.exe").c_str(), install.File("melvaro.exe").c_str(), FALSE);
    ScopedEnvironment standInLog("KWMAIN_LOG", logs.File("melvaro.txt"));
    ScopedEnvironment hidden("KWMAIN_WINDOW", "hidden");
    g_logFile = new CKWLogFile(logs.File("updater.txt"), false);
    UpdaterWindows windows;
    CKWUpdaterApp app(&windows);
    ReadInstallFolder(app, install.Path());
    g_language = kLanguageEnglish;

    CKWUpdateCompleteDlg dialog("Melvaro & Co");
    ASSERT_EQ(CKWUpdateCompleteDlg::kModeSuccess, dialog.GetMode());
    std::future<SeenWindow> person = std::async(std::launch::async, [thread = GetCurrentThreadId()] {
        return ActOnCompletionWindow(thread, [](HWND window) {
            Click(window, IDOK);
        });
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    SeenWindow seen = person.get();
    EXPECT_EQ("Launch Melvaro && Co", seen.launchText) << "doubled, the ampersand shows as itself";
    EXPECT_TRUE(seen.launchVisible);
    EXPECT_FALSE(seen.restartVisible);
    EXPECT_FALSE(seen.cancelEnabled);
    EXPECT_EQ(1, g_launchAfterUpdate);
    EXPECT_EQ(0, g_restartAfterUpdate);

    app.LaunchMainApplication();
    delete g_logFile;
    g_logFile = nullptr;
    EXPECT_NE(std::string::npos,
              ReadWholeFile(logs.File("updater.txt")).find("Launched \"" + install.Path() + "\\melvaro.exe\""));
    EXPECT_NE(std::string::npos, ReadWholeFile(logs.File("melvaro.txt")).find("started"));
    if (HWND program = FindWindowA("KwMainStandIn", nullptr))
        PostMessageA(program, WM_CLOSE, 0, 0);
}

TEST_F(UpdateCompleteDlg, RestartLaterNeitherRestartsNorStartsTheProgram)
{
    GetSetupCore().rebootNeeded = true;
    CKWUpdateCompleteDlg dialog("Melvaro 2012");
    ASSERT_EQ(CKWUpdateCompleteDlg::kModeRestart, dialog.GetMode());
    std::future<SeenWindow> person = std::async(std::launch::async, [thread = GetCurrentThreadId()] {
        return ActOnCompletionWindow(thread, [](HWND window) {
            Click(window, IDC_REBOOT_LATER);
            Click(window, IDOK);
        });
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    SeenWindow seen = person.get();
    EXPECT_TRUE(seen.restartVisible);
    EXPECT_FALSE(seen.launchVisible);
    EXPECT_EQ(0, g_restartAfterUpdate);
    EXPECT_EQ(0, g_launchAfterUpdate);
}

TEST_F(UpdateCompleteDlg, DeliberatelyACancelledInstallationSaysSoOffersNoChoiceAndKeepsTheFlags)
{
    g_installCancelled = true;
    g_launchAfterUpdate = 1;
    CKWUpdateCompleteDlg dialog("Melvaro 2012");
    g_installCancelled = false;
    ASSERT_EQ(CKWUpdateCompleteDlg::kModeInterrupted, dialog.GetMode());
    std::future<SeenWindow> person = std::async(std::launch::async, [thread = GetCurrentThreadId()] {
        return ActOnCompletionWindow(thread, [](HWND window) {
            Click(window, IDOK);
        });
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    SeenWindow seen = person.get();
    EXPECT_EQ(0u, seen.introText.find("The update was interrupted before it could be completed.")) << seen.introText;
    EXPECT_NE(std::string::npos, seen.introText.find("Click Finish to exit."));
    EXPECT_FALSE(seen.launchVisible);
    EXPECT_FALSE(seen.restartVisible);
    EXPECT_EQ(1, g_launchAfterUpdate) << "Finish leaves the flags as they were";
}

} // namespace
