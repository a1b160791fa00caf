#include "CWaiterThread.h"

#include "CThreadException.h"
#include "RegisteredMessages.h"

#include <share.h>

#include <cstdio>
#include <vector>

namespace {

const int kWaitForFile = 2;

std::string FullPath(const std::string& path)
{
    std::vector<char> buffer(256);
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size()) {
        buffer.resize(length);
        length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    }
    if (length == 0 || length >= buffer.size())
        return std::string();
    return std::string(buffer.data(), length);
}

} // namespace

CWaiterThread::~CWaiterThread()
{
    DWORD exitCode = 0;
    try {
        Stop(exitCode, kNoTimeLimit);
    } catch (CThreadException* e) {
        delete e;
    }
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
    const std::string full = FullPath(path);
    if (full.empty())
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
