#include "CWaiterThread.h"

#include "CThreadException.h"
#include "MakeFullPath.h"
#include "RegisteredMessages.h"

#include <share.h>

#include <cstdio>

namespace {

const int kWaitForFile = 2;

} // namespace

CWaiterThread::~CWaiterThread()
{
    StopAndWait();
}

bool CWaiterThread::IsFileFree(const std::string& path)
{
    // Appending without writing changes nothing, and the open fails while
    // someone else may write to the file.
    FILE* file = _fsopen(path.c_str(), "a+b", _SH_DENYWR);
    if (file == nullptr)
        return false;
    fclose(file);
    return true;
}

void CWaiterThread::WaitForFile(const std::string& path, HWND owner, int priority)
{
    std::string full = path;
    if (path.empty() || !MakeFullPath(full))
        return;
    m_filePath = full;
    if (IsFileFree(m_filePath))
        return;
    // The mode is set before the thread starts: its first step reads it.
    m_waitMode = kWaitForFile;
    try {
        SetOwner(owner);
        Start();
        SetPriority(priority);
    } catch (CThreadException* e) {
        if (!e->GetMessageText().empty())
            e->ReportError(0);
        delete e;
    }
}

int CWaiterThread::DoWork()
{
    if (m_waitMode != kWaitForFile)
        return -1;
    while (PeekCommand() == kCommandNone) {
        if (IsFileFree(m_filePath)) {
            PostToOwner(GetRegisteredMessages().waitCompleted, 0, 0);
            return 1;
        }
        Sleep(100);
    }
    return 0;
}

void CWaiterThread::OnExitThread()
{
    m_filePath.clear();
    CWorkerThread::OnExitThread();
}
