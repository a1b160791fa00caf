#include "CKWUpdaterApp.h"

#include "AfterUpdateFlags.h"
#include "CApplyThread.h"
#include "CCheckThread.h"
#include "CDownloadThread.h"
#include "CKWInstallationData.h"
#include "CKWLogFile.h"
#include "CKWMsiDll.h"
#include "CKWMsiProduct.h"
#include "CKWUpdateCatalog.h"
#include "CResString.h"
#include "CStringTokenizer.h"
#include "CThreadException.h"
#include "FolderTree.h"
#include "IUpdaterWindows.h"
#include "InitializeSetupCore.h"
#include "IsTerminalServer.h"
#include "LaunchProcess.h"
#include "OsInfo.h"
#include "ProductDescriptor.h"
#include "RebootSystem.h"
#include "MainProgramFile.h"
#include "SetupCore.h"
#include "Version.h"

#include <io.h>

namespace {

enum UpdaterString {
    kStringAlreadyRunning = 206,
    kStringWorkingFolderUnusable = 207,
    kStringOlderCopy = 210,
    kStringUpdateAvailable = 211,
    kStringUpdaterNotInstalled = 212,
    kStringUpToDate = 222,
    kStringInstallFolderMissing = 226,
};

const char kLockName[] = "_ZENTRELUPDATER_{20CCAFC7-ADB5-4a77-8845-035CF331E80A}";
const char kGlobalPrefix[] = "Global\\";

std::string WithBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

bool FolderExists(const std::string& folder)
{
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

CKWUpdaterApp::CKWUpdaterApp(IUpdaterWindows* windows) : m_windows(windows)
{
    g_language = kLanguageFrench;
}

CKWUpdaterApp::~CKWUpdaterApp() = default;

int CKWUpdaterApp::Box(const std::string& text, UINT type)
{
    const SetupCoreState& core = GetSetupCore();
    if (core.messageBox != nullptr)
        return core.messageBox(nullptr, text.c_str(), GetAppName().c_str(), type);
    return MessageBoxA(nullptr, text.c_str(), GetAppName().c_str(), type);
}

int CKWUpdaterApp::BoxFormatted(int stringId, UINT type, const std::string& argument)
{
    std::string text;
    LoadFormatted(text, stringId, argument.c_str());
    return Box(text, type);
}

BOOL CKWUpdaterApp::InitInstance()
{
    const ProductDescriptor& product = GetProductDescriptor();
    m_comInitialised = SUCCEEDED(CoInitialize(nullptr));
    if (GetWorkingFolder().empty())
        return FALSE;
    m_logPath = GetInstallFolder() + "log\\KW#UPDATER.txt";

    m_ownVersion = GetFileVersionPacked(GetExePath());
    CKWInstallationData::GetInstance().SetOwnVersion(m_ownVersion);
    const std::string versionText = FormatVersion(m_ownVersion);

    if (!ReadParameters()) {
        ShowUsage();
        OpenLog();
        LogMessage("Unable to read parameters (%s).", GetCommandLineText().c_str());
        return FALSE;
    }
    OpenLog();
    LogMessage("Starting %s updater v.%s", product.AppTitle.c_str(), versionText.c_str());
    LogMessage("Running on %s", GetOsDescription().c_str());

    UINT core = InitializeSetupCore(GetInstance(), nullptr);
    if (core != ERROR_SUCCESS) {
        // The core's mutex is taken by any installation; when it is another
        // updater that holds it, the user is told what really happened.
        if (core == ERROR_INSTALL_ALREADY_RUNNING && AcquireSingleInstance()) {
            EndStartup();
            return FALSE;
        }
        LogMessage("Unable to initialize setup core");
        return FALSE;
    }
    GetSetupCore().caption = GetAppName();

    if (!CheckUpdaterVersion())
        return FALSE;
    if (AcquireSingleInstance()) {
        EndStartup();
        return FALSE;
    }
    if (!CheckForUpdates())
        return FALSE;

    CKWInstallationData& data = CKWInstallationData::GetInstance();
    if (data.GetUpdateCount() == 0) {
        if ((m_mode & (kModeSilent | kModeAuto)) == 0)
            BoxFormatted(kStringUpToDate, MB_ICONINFORMATION, product.AppTitle);
        LogMessage("No updates necessary");
        return FALSE;
    }
    if (data.HasUpdates(product.UpdaterCode)) {
        if (BoxFormatted(kStringUpdateAvailable, MB_YESNO | MB_ICONINFORMATION, product.AppTitle) != IDYES) {
            LogMessage("The updater upgrade has been cancelled.");
            return FALSE;
        }
        LogMessage("Found updates for the updater engine");
        data.KeepOnlyUpdater();
        m_mode |= kModeSilent;
    } else {
        LogMessage("Using the latest updater engine");
    }
    CKWUpdateCatalog::GetInstance().ResolveDependencies();

    if (m_mode & kModeMinimal) {
        m_windows->RunMinimal();
    } else if (m_mode & kModeSilent) {
        if (DownloadSilently())
            InstallSilently();
    } else {
        if (m_mode & kModeAuto) {
            if (BoxFormatted(kStringUpdateAvailable, MB_YESNO | MB_ICONINFORMATION, product.AppTitle) != IDYES) {
                LogMessage("Doing auto-check, updates were found but user declined. Cancelling.");
                return FALSE;
            }
        }
        if (m_windows->RunUpdater() == IDOK && m_windows->RunCompletion() == IDOK && g_launchAfterUpdate != 0)
            LaunchMainApplication();
    }
    return FALSE;
}

void CKWUpdaterApp::EndStartup()
{
    if ((m_mode & kModeSilent) == 0)
        BoxFormatted(kStringAlreadyRunning, MB_OK, GetAppName());
    LogMessage("Application %s is already running.", GetAppName().c_str());
}

void CKWUpdaterApp::OpenLog()
{
    if (g_logFile != nullptr || m_logPath.empty())
        return;
    // A first run creates the log folder rather than log nothing at all.
    CreateFolderTree(m_logPath.substr(0, m_logPath.rfind('\\')), nullptr);
    g_logFile = new CKWLogFile(m_logPath, m_logAppend);
}

int CKWUpdaterApp::ExitInstance()
{
    if (m_instanceLock.IsValid())
        m_instanceLock.Reset();
    CKWInstallationData::DestroyInstance();
    CKWUpdateCatalog::DestroyInstance();
    g_msi.Unload();
    GetSetupCore().singleInstanceMutex.reset();
    if (m_comInitialised)
        CoUninitialize();
    m_comInitialised = false;
    if (g_restartAfterUpdate == 1) {
        LogMessage("Rebooting");
        RebootSystem();
    }
    LogMessage("Ending updater");
    delete g_logFile;
    g_logFile = nullptr;
    return CWinApplication::ExitInstance();
}

bool CKWUpdaterApp::ReadParameters()
{
    const std::string& line = GetCommandLineText();
    if (line.empty()) {
        m_mode = kModeInteractive;
        return true;
    }
    bool sawLanguageOrLog = false;
    bool accepted = true;
    CStringTokenizer tokens(line, " \t\n/", CStringTokenizer::kQuoteAware);
    for (std::string token = tokens.NextToken(); accepted && !token.empty(); token = tokens.NextToken()) {
        CStringTokenizer parts(token, ":", CStringTokenizer::kQuoteAware);
        const std::string name = parts.NextToken();
        const std::string value = parts.NextToken();
        accepted = ReadOption(name, !value.empty(), value, sawLanguageOrLog);
    }
    if (accepted && m_mode == 0 && sawLanguageOrLog)
        m_mode = kModeInteractive;
    if (!accepted || m_mode == 0) {
        m_mode = 0;
        return false;
    }
    return true;
}

bool CKWUpdaterApp::ReadOption(const std::string& name, bool hasValue, const std::string& value, bool& sawLanguageOrLog)
{
    const bool takesValue = name == "l" || name == "only" || name == "pid" || name == "hwnd";
    if (name == "?" || hasValue != takesValue)
        return false;
    if (name == "auto") {
        m_mode |= kModeAuto;
    } else if (name == "silent") {
        m_mode |= kModeSilent;
    } else if (name == "mingui") {
        m_mode |= kModeMinimal;
    } else if (name == "loga") {
        m_logAppend = true;
        sawLanguageOrLog = true;
    } else if (name == "l") {
        if (value == "1033")
            g_language = kLanguageEnglish;
        else if (value == "3084")
            g_language = kLanguageFrench;
        else
            return false;
        sawLanguageOrLog = true;
    } else if (name == "only") {
        // The records read the installed versions from the engine, which
        // start-up binds only later.
        g_msi.EnsureLoaded();
        CStringTokenizer codes(value, ",", CStringTokenizer::kQuoteAware);
        for (std::string code = codes.NextToken(); !code.empty(); code = codes.NextToken())
            CKWInstallationData::GetInstance().AddInstalledProduct(code, true);
    } else if (name != "pid" && name != "hwnd") {
        return false;
    }
    return true;
}

void CKWUpdaterApp::ShowUsage()
{
    std::string text;
    for (const char* key : {"line1", "line2", "line3", "line4", "line5"})
        text += CResString("IDD_UPDATER_USAGE", key, "").GetText() + "\n";
    Box(text, MB_ICONINFORMATION);
}

const std::string& CKWUpdaterApp::GetInstallFolder()
{
    if (!m_installFolderRead) {
        m_installFolder = WithBackslash(InstalledFolder());
        m_installFolderRead = true;
    }
    return m_installFolder;
}

const std::string& CKWUpdaterApp::GetWorkingFolder()
{
    if (m_workingFolderRead)
        return m_workingFolder;
    m_workingFolderRead = true;
    const std::string& install = GetInstallFolder();
    if (install.empty() || !FolderExists(install)) {
        BoxFormatted(kStringInstallFolderMissing, MB_ICONWARNING, GetProductDescriptor().AppTitle);
        LogMessage("Unable to locate application's directory, expecting %s", install.c_str());
        m_workingFolder.clear();
        return m_workingFolder;
    }
    std::string folder = install + "updates";
    if (!FolderExists(folder))
        CreateDirectoryA(folder.c_str(), nullptr);
    if (_access(folder.c_str(), 6) != 0) {
        BoxFormatted(kStringWorkingFolderUnusable, MB_ICONWARNING, folder);
        LogMessage("Unable to create working directory (%s)", folder.c_str());
        m_workingFolder.clear();
        return m_workingFolder;
    }
    m_workingFolder = WithBackslash(folder);
    CKWInstallationData::GetInstance().SetWorkingFolder(m_workingFolder);
    return m_workingFolder;
}

bool CKWUpdaterApp::CheckUpdaterVersion()
{
    const ProductDescriptor& product = GetProductDescriptor();
    if (product.UpdaterCode.empty())
        return false;
    UINT result = g_msi.EnsureLoaded();
    if (result != ERROR_SUCCESS) {
        LogMessage("Error %u while trying to load MSI.DLL", result);
        return false;
    }
    CKWMsiProduct updater(product.UpdaterCode);
    if (updater.IsInstalled() != 1) {
        std::string text;
        LoadFormatted(text, kStringUpdaterNotInstalled);
        Box(text, MB_ICONWARNING);
        LogMessage("Updater is not installed");
        return false;
    }
    int installed = updater.GetVersion();
    if (installed > m_ownVersion) {
        std::string text;
        LoadFormatted(text, kStringOlderCopy);
        Box(text, MB_ICONINFORMATION);
        LogMessage("This copy of updater is older than the one currently installed (v.%s).",
                   FormatVersion(installed).c_str());
        return false;
    }
    return true;
}

std::string CKWUpdaterApp::SingleInstanceName()
{
    const SetupCoreState& core = GetSetupCore();
    if ((!core.IsWin9x && core.windowsMajor >= 5) || IsTerminalServer())
        return std::string(kGlobalPrefix) + kLockName;
    return kLockName;
}

bool CKWUpdaterApp::AcquireSingleInstance()
{
    if (m_instanceLock.IsValid())
        return false;
    KwHandle lock(CreateMutexA(nullptr, FALSE, SingleInstanceName().c_str()));
    if (!lock.IsValid() || GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    m_instanceLock = std::move(lock);
    return false;
}

bool CKWUpdaterApp::RunWithoutWindow(CWorkerThread& worker)
{
    DWORD exitCode = 0;
    try {
        worker.Start();
        worker.SetPriority(THREAD_PRIORITY_NORMAL);
        worker.WaitForActivityStatus(CThread::kIdle, kNoTimeLimit);
        worker.Stop(exitCode, kNoTimeLimit);
    } catch (CThreadException* e) {
        if (!e->GetMessageText().empty())
            LogMessage("Thread exception: %s", e->GetMessageText().c_str());
        delete e;
    }
    return exitCode == 0;
}

bool CKWUpdaterApp::CheckForUpdates()
{
    if (m_mode & (kModeSilent | kModeAuto)) {
        CCheckThread check;
        return RunWithoutWindow(check);
    }
    return m_windows->RunCheckProgress() != IDCANCEL;
}

bool CKWUpdaterApp::DownloadSilently()
{
    CDownloadThread download;
    return RunWithoutWindow(download);
}

bool CKWUpdaterApp::InstallSilently()
{
    CApplyThread apply;
    return RunWithoutWindow(apply);
}

void CKWUpdaterApp::LaunchMainApplication()
{
    if (g_launchAfterUpdate == 0)
        return;
    std::string command = GetProductDescriptor().MainProgramCommand;
    if (command.empty())
        return;
    ReplaceAll(command, "[INSTALLDIR]", GetInstallFolder());
    ReplaceAll(command, "[InstallLang]", g_language == kLanguageFrench ? "/LF" : "/LE");
    if (LaunchProcess(command, kLaunchWaitForInputIdle, false, GetInstallFolder()))
        LogMessage("Launched %s", command.c_str());
    else
        LogMessage("Unable to launched %s", command.c_str());
}
