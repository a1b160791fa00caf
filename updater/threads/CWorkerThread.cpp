#include "CWorkerThread.h"

#include "CThreadException.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"

const char* const kWorkerSyncKey = "CDownloadThread";

namespace {

// The debugger convention for naming a thread. Raised only under a
// debugger: without one nothing handles the exception and it would end the
// process.
void NameThreadForDebugger(const char* name, DWORD threadId)
{
    if (!IsDebuggerPresent())
        return;
    const DWORD kNameThreadException = 0x406D1388;
    struct {
        DWORD type;
        LPCSTR name;
        DWORD threadId;
        DWORD flags;
    } info = {0x1000, name, threadId, 0};
    RaiseException(kNameThreadException, 0, sizeof(info) / sizeof(ULONG_PTR), reinterpret_cast<ULONG_PTR*>(&info));
}

} // namespace

CWorkerThread::CWorkerThread(HWND owner) : m_owner(owner)
{
    m_notifiable = true;
    m_synchronised = true;
    m_syncKey = kWorkerSyncKey;
}

BOOL CWorkerThread::PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (m_owner != nullptr && IsWindow(m_owner))
        return PostMessageA(m_owner, message, wParam, lParam);
    return TRUE;
}

void CWorkerThread::PostActionText(int target, const std::string& text) const
{
    if (m_owner == nullptr || !IsWindow(m_owner))
        return;
    LPARAM heapText = NewActionText(text);
    if (heapText != 0 && !PostToOwner(GetRegisteredMessages().progressSetActionText, target, heapText))
        TakeActionText(heapText);
}

void CWorkerThread::StopAndWait()
{
    DWORD exitCode = 0;
    try {
        Stop(exitCode, kNoTimeLimit);
    } catch (CThreadException* e) {
        delete e;
    }
}

void CWorkerThread::SetOwner(HWND owner)
{
    if (m_owner == nullptr && GetActivityStatus() == kIdle)
        m_owner = owner;
}

DWORD CWorkerThread::ThreadHandler()
{
    OnInitThread();
    for (;;) {
        DWORD command = kCommandNone;
        WaitForCommand(command, INFINITE);
        if (command == kCommandStart) {
            PostCommandFirst(kCommandWork);
        } else if (command == kCommandWork) {
            Lock();
            int result = DoWork();
            Unlock();
            if (result != 0)
                break;
        } else if (command == kCommandStop) {
            OnStop();
            OnExitThread();
            return 0;
        }
    }
    OnExitThread();
    return 0;
}

void CWorkerThread::OnInitThread()
{
    NameThreadForDebugger(GetThreadClassName(), GetCurrentThreadId());
    m_inHandler = 0;
    OutputDebugStringA((std::string(GetThreadClassName()) + "::OnInitThread()\n").c_str());
}

void CWorkerThread::OnExitThread()
{
    m_inHandler = -1;
    OutputDebugStringA((std::string(GetThreadClassName()) + "::OnExitThread()\n").c_str());
}
