#include "CApplyThread.h"

#include "UpdateDates.h"

#include "CKWLogFile.h"
#include "CKWMsiDll.h"
#include "CKWMsiInstaller.h"
#include "CResString.h"
#include "CUpdateItem.h"
#include "CacheFile.h"
#include "CancelFlags.h"
#include "FolderTree.h"
#include "IInstallable.h"
#include "InstallUIHandler.h"
#include "KwRegistryException.h"
#include "LaunchProcess.h"
#include "MakeFullPath.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "RegistrySetting.h"
#include "TraceMessage.h"

#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

enum Step {
    kStepList = 0,
    kStepBind = 1,
    kStepUserInterface = 2,
    kStepMsiLog = 3,
    kStepInstall = 4,
    kStepCompleted = 5,
};

const int kStringInitializing = 203;
const int kStringEngineMissing = 215;
const int kStringExtracting = 221;
const int kStringInstallFailed = 229;
const int kStringExecuting = 232;

const char kMsiLogName[] = "KW#MSI.TXT";
// Fatal exit, error, warning, user, info, out of disk space, action start,
// action data, property dump, common data and verbose.
const DWORD kMsiLogMode = 0x1F9F;
// The product a full package brings counts as wanted whatever the engine
// answers.
const int kStateInstalled = 5;
// The full package's progress: extraction, launch, the package and its
// two transforms.
const int kFullPackageSteps = 5;

UINT BindLibraryEngine()
{
    return g_msi.EnsureLoaded();
}

std::string WithBackslash(const std::string& folder)
{
    return folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}

std::string CurrentFolder()
{
    DWORD length = GetCurrentDirectoryA(0, nullptr);
    if (length == 0)
        return std::string();
    std::string folder(length, '\0');
    length = GetCurrentDirectoryA(length, &folder[0]);
    folder.resize(length);
    return folder;
}

bool EndsWithNoCase(const std::string& name, const char* suffix)
{
    size_t length = std::strlen(suffix);
    return name.size() >= length && _stricmp(name.c_str() + name.size() - length, suffix) == 0;
}

// The names in a folder (ending with a backslash), without "." and "..".
std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string SystemMsiexec()
{
    char folder[MAX_PATH] = "";
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder, length < sizeof folder ? length : 0) + "\\msiexec.exe";
}

} // namespace

CApplyThread::CApplyThread(HWND owner, CKWInstallationData& data)
    : CWorkerThread(owner), m_data(data), m_bindEngine(BindLibraryEngine), m_installerProgram(SystemMsiexec())
{
}

CApplyThread::~CApplyThread()
{
    StopAndWait();
}

void CApplyThread::OnInitThread()
{
    CWorkerThread::OnInitThread();
    LogMessage("Starting thread A");
    m_step = kStepList;
    m_installedCount = 0;
    m_lastCheckError = 0;
    m_handedOver = false;
    m_interruptions.clear();
    m_workingFolder = WithBackslash(m_data.GetWorkingFolder());
    m_previousFolder = CurrentFolder();
    SetCurrentDirectoryA(m_workingFolder.c_str());
}

void CApplyThread::OnExitThread()
{
    SetCurrentDirectoryA(m_previousFolder.c_str());
    LogMessage("Ending thread A");
    CWorkerThread::OnExitThread();
}

int CApplyThread::DoWork()
{
    if (PeekCommand() != kCommandNone)
        return 0;
    int result = 0;
    do {
        if (g_installCancelled) {
            LogMessage("Installation was cancelled");
            PostInterrupted(0, 0);
            result = -1;
            break;
        }
        result = RunStep();
    } while (result == 0 && PeekCommand() == kCommandNone);

    if (m_handedOver)
        return result;
    if (result == 1) {
        WriteDateLast();
    } else if (result == -1) {
        if (g_installCancelled)
            PostInterrupted(0, 0);
        else if (m_lastCheckError != 0)
            PostToOwner(GetRegisteredMessages().taskInterruptedWinErr, m_lastCheckError, 0);
        else
            PostInterrupted(kStringInstallFailed, 0);
    }
    return result;
}

int CApplyThread::RunStep()
{
    const RegisteredMessages& messages = GetRegisteredMessages();
    switch (m_step) {
    case kStepList: {
        const std::vector<CUpdateItem*>& updates = m_data.GetSelectedUpdates();
        if (updates.empty()) {
            LogMessage("Empty list of updates");
            return -1;
        }
        PostToOwner(messages.progressSetMax, kProgressTargetList, static_cast<LPARAM>(updates.size()));
        PostToOwner(messages.progressSetPos, kProgressTargetList, 0);
        m_step = kStepBind;
        return 0;
    }
    case kStepBind: {
        UINT error = m_bindEngine();
        if (error != 0) {
            LogMessage("Error %d while trying to load MSI.DLL", static_cast<int>(error));
            PostInterrupted(kStringEngineMissing, MB_ICONWARNING);
            return -1;
        }
        m_step = kStepUserInterface;
        return 0;
    }
    case kStepUserInterface:
        if (!g_msi.IsBound())
            return -1;
        TraceMessage("[Info] Setting Internal UI level to NONE...\n");
        g_msi.MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
        if (GetOwner() != nullptr && IsWindow(GetOwner()))
            SetInstallUIHandler(GetOwner(), &g_installCancelled);
        m_step = kStepMsiLog;
        return 0;
    case kStepMsiLog:
        EnableMsiLog();
        m_step = kStepInstall;
        return 0;
    case kStepInstall:
        return InstallNext();
    case kStepCompleted:
        PostToOwner(messages.taskCompleted, 0, 0);
        return 1;
    default:
        return -1;
    }
}

int CApplyThread::InstallNext()
{
    const RegisteredMessages& messages = GetRegisteredMessages();
    const std::vector<CUpdateItem*>& updates = m_data.GetSelectedUpdates();
    if (m_installedCount >= static_cast<int>(updates.size())) {
        m_step = kStepCompleted;
        return 0;
    }
    CUpdateItem& update = *updates[m_installedCount];
    const char* name = update.GetFileName().c_str();
    PostToOwner(messages.progressSetPos, kProgressTargetCurrent, 0);
    if (!VerifyCacheFile(update, m_workingFolder, m_lastCheckError)) {
        LogMessage("File %s is missing or invalid. Windows error %d.", name, static_cast<int>(m_lastCheckError));
        return -1;
    }

    int result = -1;
    switch (update.GetFormat()) {
    case kFormatPatch:
    case kFormatPackage:
        result = InstallPackage(update);
        break;
    case kFormatFullPackage:
        result = InstallFullPackage(update);
        break;
    case kFormatExecutable:
        result = InstallExecutable(update);
        break;
    case kFormatUpdaterUpdate:
        m_handedOver = true;
        return LaunchUpdaterPatch(update);
    default:
        LogMessage("No way to install %s", name);
        break;
    }
    if (result != 0) {
        if (g_installCancelled)
            PostInterrupted(0, 0);
        else
            PostInterrupted(kStringInstallFailed, 0);
        return result;
    }

    const std::string cached = m_workingFolder + update.GetFileName();
    if (DeleteFileA(cached.c_str()))
        LogMessage("Removed %s from the cache directory", name);
    else
        LogMessage("Unable to remove %s from the cache directory (error=%d)", name, static_cast<int>(GetLastError()));
    PostToOwner(messages.progressStepIt, kProgressTargetList, 0);
    ++m_installedCount;
    // The executable ran with the engine released: bind it, set up its
    // interface and its log again before the next update.
    if (update.GetFormat() == kFormatExecutable)
        m_step = kStepBind;
    return 0;
}

int CApplyThread::InstallPackage(CUpdateItem& update)
{
    const bool patch = update.GetFormat() == kFormatPatch;
    const char* name = update.GetFileName().c_str();
    LogMessage("About to install %s", name);
    PostActionString(kStringInitializing);
    PostToOwner(GetRegisteredMessages().progressSetPos, kProgressTargetCurrent, 0);
    IInstallable* installable = update.GetInstallable();
    UINT code = installable != nullptr ? installable->Execute() : ERROR_FILE_NOT_FOUND;
    if (code == 0) {
        LogMessage(patch ? "Patch installation succeeded" : "Full installation succeeded");
        return 0;
    }
    if (patch)
        LogMessage("Patch installation failed with error code %d (%s)", static_cast<int>(code), name);
    else
        LogMessage("Full installation failed with error code %d (%s)", static_cast<int>(code), name);
    return -1;
}

int CApplyThread::InstallExecutable(CUpdateItem& update)
{
    const RegisteredMessages& messages = GetRegisteredMessages();
    const char* name = update.GetFileName().c_str();
    LogMessage("About to install %s", name);
    PostActionString(kStringExecuting);
    PostToOwner(messages.progressSetPos, kProgressTargetCurrent, 0);
    // The executable may replace the engine itself.
    g_msi.Unload();
    PostToOwner(messages.enableCancelButton, 0, 0);
    IInstallable* installable = update.GetInstallable();
    UINT code = installable != nullptr ? installable->Execute() : ERROR_FILE_NOT_FOUND;
    if (code == 0)
        LogMessage("Installation of executable succeeded");
    else
        LogMessage("Installation of executable failed with error code %d (%s)", static_cast<int>(code), name);
    m_bindEngine();
    PostToOwner(messages.enableCancelButton, 1, 0);
    return code == 0 ? 0 : -1;
}

int CApplyThread::LaunchUpdaterPatch(CUpdateItem& update)
{
    LogMessage("About to install %s", update.GetFileName().c_str());
    std::string path = m_workingFolder + update.GetFileName();
    if (path.find(' ') != std::string::npos) {
        if (path.front() != '"')
            path.insert(0, "\"");
        if (path.back() != '"')
            path += '"';
    }
    std::string properties = update.GetParameters();
    if (properties.find("KWSELFUPDATE") == std::string::npos)
        properties += properties.empty() ? "KWSELFUPDATE=1" : " KWSELFUPDATE=1";
    const std::string command = "msiexec /p " + path + " " + properties + " /qb";
    // Named by its full path: the current folder is the cache, where the
    // catalog decides which files lie.
    if (!LaunchProcess(command, kLaunchNoWait, false, m_workingFolder, m_installerProgram)) {
        LogMessage("Unable to launch process %s", command.c_str());
        return -1;
    }
    LogMessage("Launched %s successfully", command.c_str());
    return 1;
}

int CApplyThread::InstallFullPackage(CUpdateItem& update)
{
    const RegisteredMessages& messages = GetRegisteredMessages();
    const char* name = update.GetFileName().c_str();
    LogMessage("About to install %s", name);
    PostActionString(kStringExtracting);
    PostToOwner(messages.progressSetMax, kProgressTargetCurrent, kFullPackageSteps);

    const std::string folder = ExtractionFolder();
    ClearTmpFolder(folder, false);
    LogMessage("tmp directory for extraction is %s", folder.c_str());
    bool created = false;
    if (_access(folder.c_str(), 6) != 0) {
        if (!CreateFolderTree(folder, nullptr)) {
            LogMessage("Failed to create tmp directory (error=%d)", static_cast<int>(GetLastError()));
            return -1;
        }
        created = true;
    }
    PostToOwner(messages.progressStepIt, kProgressTargetCurrent, 0);

    const std::string command = "\"" + m_workingFolder + update.GetFileName() + "\" /C /T:\"" + folder + "\"";
    if (!LaunchProcess(command, kLaunchWaitForExit, false, folder)) {
        LogMessage("Unable to launch extraction process %s", command.c_str());
        ClearTmpFolder(folder, created);
        return -1;
    }
    PostToOwner(messages.progressStepIt, kProgressTargetCurrent, 0);
    LogMessage("Successfully launched extraction process %s", command.c_str());
    if (g_installCancelled) {
        ClearTmpFolder(folder, created);
        return -1;
    }

    LogMessage("Validating content of FMC package");
    int packages = 0;
    std::string package;
    bool english = false;
    bool french = false;
    for (const std::string& entry : FolderEntries(folder)) {
        if (EndsWithNoCase(entry, ".msi")) {
            ++packages;
            package = folder + entry;
            PostToOwner(messages.progressStepIt, kProgressTargetCurrent, 0);
        } else if (EndsWithNoCase(entry, ".mst")) {
            if (_stricmp(entry.c_str(), "1033.mst") == 0) {
                english = true;
                PostToOwner(messages.progressStepIt, kProgressTargetCurrent, 0);
            } else if (_stricmp(entry.c_str(), "3084.mst") == 0) {
                french = true;
                PostToOwner(messages.progressStepIt, kProgressTargetCurrent, 0);
            } else {
                LogMessage("Unexpected file in FMC package, skipping... (%s)", entry.c_str());
            }
        } else {
            LogMessage("Unexepected file in FMC package, skipping... (%s)", entry.c_str());
        }
    }
    PostToOwner(messages.progressSetPos, kProgressTargetCurrent, 0);
    if (packages != 1) {
        LogMessage("Expecting one msi file, found %d", packages);
        ClearTmpFolder(folder, created);
        return -1;
    }
    if (g_installCancelled) {
        ClearTmpFolder(folder, created);
        return -1;
    }

    SetCurrentDirectoryA(folder.c_str());
    UINT code = 0;
    {
        CKWMsiInstaller installer(package);
        const std::string frenchTransform = folder + "3084.mst";
        const std::string englishTransform = folder + "1033.mst";
        if (french && _access(frenchTransform.c_str(), 4) == 0)
            installer.SetTransform(kLanguageFrench, frenchTransform);
        if (english && _access(englishTransform.c_str(), 4) == 0)
            installer.SetTransform(kLanguageEnglish, englishTransform);
        installer.SetPropertyLine(update.GetParameters());
        installer.GetProductState(false);
        installer.SetProductState(kStateInstalled);
        PostActionString(kStringInitializing);
        PostToOwner(messages.progressSetPos, kProgressTargetCurrent, 0);
        LogMessage("Beginning full installation...");
        code = installer.Execute();
    }
    SetCurrentDirectoryA(m_workingFolder.c_str());

    int result = 0;
    if (code == 0) {
        LogMessage("Full installation succeeded");
    } else {
        LogMessage("Full installation failed with error code %d (%s)", static_cast<int>(code), name);
        result = -1;
    }
    ClearTmpFolder(folder, created);
    return result;
}

void CApplyThread::ClearTmpFolder(const std::string& folder, bool remove)
{
    if (folder.empty() || GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    const std::string prefix = WithBackslash(folder);
    for (const std::string& entry : FolderEntries(prefix)) {
        if (DeleteFileA((prefix + entry).c_str()))
            LogMessage("Successfully removed %s from tmp directory", entry.c_str());
        else
            LogMessage("Unable to remove %s from tmp directory", entry.c_str());
    }
    if (!remove)
        return;
    // A folder that still holds a sub-folder stays.
    if (RemoveDirectoryA(prefix.c_str()))
        LogMessage("Successfully removed tmp directory");
    else
        LogMessage("Unable to remove tmp directory (error=%d)", static_cast<int>(GetLastError()));
}

void CApplyThread::EnableMsiLog()
{
    if (!g_msi.IsBound())
        return;
    std::string folder = m_workingFolder;
    if (g_logFile != nullptr) {
        std::string path = g_logFile->GetPath();
        if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
            path = path.substr(1, path.size() - 2);
        size_t slash = path.find_last_of('\\');
        if (slash != std::string::npos)
            folder = path.substr(0, slash);
    }
    const std::string log = WithBackslash(folder) + kMsiLogName;
    RotateToBackup(log);
    LogMessage("Enabling MSI log to %s", log.c_str());
    g_msi.MsiEnableLogA(kMsiLogMode, log.c_str(), INSTALLLOGATTRIBUTES_APPEND);
}

std::string CApplyThread::ExtractionFolder() const
{
    std::string folder = ReadRegistrySetting("HKEY_CURRENT_USER\\" + GetProductDescriptor().UpdatesStateKey,
                                             "Extraction path", std::string());
    if (folder.empty())
        return m_workingFolder + "tmp\\";
    MakeFullPath(folder);
    return WithBackslash(folder);
}

void CApplyThread::WriteDateLast()
{
    WriteUpdateDate(kDateLast);
}

void CApplyThread::PostActionString(int stringId)
{
    std::string text;
    LoadFormatted(text, stringId);
    PostActionText(kProgressTargetCurrent, text);
}

void CApplyThread::PostInterrupted(WPARAM stringId, LPARAM flags)
{
    const std::pair<WPARAM, LPARAM> interruption(stringId, flags);
    if (std::find(m_interruptions.begin(), m_interruptions.end(), interruption) != m_interruptions.end())
        return;
    m_interruptions.push_back(interruption);
    PostToOwner(GetRegisteredMessages().taskInterrupted, stringId, flags);
}
