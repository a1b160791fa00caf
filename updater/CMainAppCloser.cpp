#include "CMainAppCloser.h"

#include "CEnumProcess.h"
#include "CKWLogFile.h"
#include "ShutdownRequest.h"

namespace {

std::string FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

struct CMainAppCloser::Asking {
    CMainAppCloser* self;
    HWND dialog;
    DWORD processId;
    const std::string* mainProgramPath;
};

CMainAppCloser::CMainAppCloser(const std::string& updaterCode, const ShutdownTimeouts& timeouts)
    : m_updaterCode(updaterCode), m_timeouts(timeouts)
{
}

bool CMainAppCloser::PrepareEvent(KwHandle& event, const std::string& name, const char* failure)
{
    if (event.IsValid())
        return ResetEvent(event.Get()) != FALSE;
    event.Reset(CreateEventA(nullptr, TRUE, FALSE, name.c_str()));
    if (!event.IsValid()) {
        LogMessage("%s", failure);
        return false;
    }
    // Another copy of the updater may have left the named event signalled.
    ResetEvent(event.Get());
    return true;
}

bool CMainAppCloser::CloseMainApplication(HWND dialog, const std::string& mainProgramPath)
{
    LogMessage("Detecting whether main application is running");
    if (!PrepareEvent(m_acceptedEvent, ShutdownAcceptedEventName(m_updaterCode),
                      "Unable to create SHUTDOWN_ACCEPTED event") ||
        !PrepareEvent(m_refusedEvent, ShutdownRefusedEventName(m_updaterCode),
                      "Unable to create SHUTDOWN_REFUSED event"))
        return false;
    if (!FileExists(mainProgramPath)) {
        LogMessage("Unable to find main application's main file");
        return true;
    }
    LogMessage("Main application is %s", mainProgramPath.c_str());

    const std::string programName = FileNameOf(mainProgramPath);
    CEnumProcess processes;
    CEnumProcess::CProcessEntry process;
    for (bool more = processes.FirstProcess(process); more; more = processes.NextProcess(process)) {
        m_delivered = false;
        m_accepted = false;
        if (_stricmp(FileNameOf(process.fileName).c_str(), programName.c_str()) != 0)
            continue;
        LogMessage("Found process %s running", process.fileName.c_str());
        CEnumProcess::CModuleEntry module;
        for (bool next = processes.FirstModule(process.processId, module); next;
             next = processes.NextModule(process.processId, module)) {
            if (_stricmp(module.fullPath.c_str(), mainProgramPath.c_str()) != 0)
                continue;
            LogMessage("Process %s is running from the Installation directory", mainProgramPath.c_str());
            AskProcess(dialog, process.processId, mainProgramPath);
            if (!m_delivered)
                break;
            LogMessage("Sent shutdown request to main application");
            if (m_accepted) {
                LogMessage("Main application accepted shutdown request");
                LogMessage("Waiting for main application to shutdown");
                WaitForExit(process.processId);
                LogMessage("Main application shutdown complete");
            } else {
                LogMessage("Main application refused to shutdown, cancelling update");
            }
            return m_accepted;
        }
    }
    LogMessage("%s is not running.", mainProgramPath.c_str());
    return true;
}

void CMainAppCloser::AskProcess(HWND dialog, DWORD processId, const std::string& mainProgramPath)
{
    Asking asking{this, dialog, processId, &mainProgramPath};
    EnumWindows(&CMainAppCloser::AskWindow, reinterpret_cast<LPARAM>(&asking));
}

BOOL CALLBACK CMainAppCloser::AskWindow(HWND window, LPARAM context)
{
    const Asking& asking = *reinterpret_cast<const Asking*>(context);
    CMainAppCloser& self = *asking.self;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (!IsWindowVisible(window) || owner != asking.processId)
        return TRUE;

    ResetEvent(self.m_acceptedEvent.Get());
    ResetEvent(self.m_refusedEvent.Get());
    ShutdownRequest request = MakeShutdownRequest(self.m_updaterCode, *asking.mainProgramPath);
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    COPYDATASTRUCT data = {kShutdownRequestId, sizeof request, &request};
    DWORD_PTR taken = 0;
    SetLastError(0);
    if (SendMessageTimeoutA(window, WM_COPYDATA, reinterpret_cast<WPARAM>(asking.dialog),
                            reinterpret_cast<LPARAM>(&data), SMTO_BLOCK | SMTO_ABORTIFHUNG, self.m_timeouts.sendMs,
                            &taken) == 0) {
        // Windows reports a time-out as ERROR_TIMEOUT, older systems as no error.
        DWORD error = GetLastError();
        if (error != 0 && error != ERROR_TIMEOUT)
            LogMessage("Error %lu while requesting shutdown", error);
        else
            LogMessage("Shutdown request timed out (Delay = %lu)", self.m_timeouts.sendMs);
        return FALSE;
    }
    if (taken == 0)
        return TRUE;

    self.m_delivered = true;
    HANDLE answers[] = {self.m_acceptedEvent.Get(), self.m_refusedEvent.Get()};
    DWORD answer = WaitForMultipleObjects(2, answers, FALSE, self.m_timeouts.answerMs);
    self.m_accepted = answer == WAIT_OBJECT_0;
    if (answer != WAIT_OBJECT_0 && answer != WAIT_OBJECT_0 + 1)
        LogMessage("Timeout expired while waiting for application's response to shutdown (Delay = %lu)",
                   self.m_timeouts.answerMs);
    return FALSE;
}

void CMainAppCloser::WaitForExit(DWORD processId)
{
    KwHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process.IsValid())
        return;
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD code = 0;
    if (!GetExitCodeProcess(process.Get(), &code))
        code = STILL_ACTIVE;
    LogMessage("Main application signaled exit with code %lu", code);
}
