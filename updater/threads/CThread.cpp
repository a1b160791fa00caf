#include "CThread.h"

#include "CThreadException.h"

#include <list>
#include <memory>

namespace {

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&m_section); }
    ~CriticalSection() { DeleteCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void Enter() { EnterCriticalSection(&m_section); }
    void Leave() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class Guard {
public:
    explicit Guard(CriticalSection& section) : m_section(section) { m_section.Enter(); }
    ~Guard() { m_section.Leave(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    CriticalSection& m_section;
};

std::string SystemText(DWORD error)
{
    char* buffer = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length != 0 && buffer != nullptr ? std::string(buffer, length) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    if (text.empty())
        text = "Error " + std::to_string(error);
    return text;
}

} // namespace

struct ThreadSyncEntry {
    std::string key;
    CriticalSection lock;
    int count = 0;
};

namespace {

// The class lock and the synchronisation registry live for the whole
// process; the registry's entries are stable in a list.
struct ThreadClassState {
    CriticalSection lock;
    std::list<std::unique_ptr<ThreadSyncEntry>> registry;
};

ThreadClassState& ClassState()
{
    static ThreadClassState state;
    return state;
}

} // namespace

CThread::CThread() = default;

CThread::~CThread()
{
    Guard guard(ClassState().lock);
    if (IsRunningLocked())
        TerminateThread(m_thread.Get(), 0);
    if (m_thread.IsValid()) {
        m_thread.Reset();
        Unregister();
        Reset();
        OnKilled();
    }
    m_commandEvent.Reset();
    Reset();
}

bool CThread::IsRunningLocked() const
{
    DWORD code = 0;
    return m_thread.IsValid() && GetExitCodeThread(m_thread.Get(), &code) && code == STILL_ACTIVE;
}

bool CThread::IsRunning() const
{
    Guard guard(ClassState().lock);
    return IsRunningLocked();
}

void CThread::Reset()
{
    m_thread.Release();
    m_threadId = 0;
    m_activity = kIdle;
    m_syncEntry = nullptr;
    m_commands.clear();
}

void CThread::Register()
{
    if (!m_synchronised)
        return;
    auto& registry = ClassState().registry;
    for (auto& entry : registry) {
        if (entry->key == m_syncKey) {
            ++entry->count;
            m_syncEntry = entry.get();
            return;
        }
    }
    auto entry = std::make_unique<ThreadSyncEntry>();
    entry->key = m_syncKey;
    entry->count = 1;
    m_syncEntry = entry.get();
    registry.push_back(std::move(entry));
}

void CThread::Unregister()
{
    if (!m_synchronised || m_syncEntry == nullptr)
        return;
    if (m_syncEntry->count-- < 2) {
        auto& registry = ClassState().registry;
        for (auto it = registry.begin(); it != registry.end(); ++it) {
            if (it->get() == m_syncEntry) {
                registry.erase(it);
                break;
            }
        }
    }
    m_syncEntry = nullptr;
}

void CThread::Start()
{
    std::string failure;
    int code = 0;
    {
        Guard guard(ClassState().lock);
        if (IsRunningLocked()) {
            failure = "Thread is already started!";
            code = CThreadException::kAlreadyStarted;
        } else {
            // A thread that ended left its handle closed by its entry; start
            // from a clean state.
            m_thread.Reset();
            Reset();
            if (m_notifiable && !m_commandEvent.IsValid()) {
                m_commandEvent.Reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
                if (!m_commandEvent.IsValid()) {
                    failure = SystemText(GetLastError());
                    code = CThreadException::kEventFailed;
                }
            }
            if (code == 0) {
                Register();
                m_thread.Reset(CreateThread(nullptr, 0, &CThread::ThreadEntry, this, 0, &m_threadId));
                if (!m_thread.IsValid()) {
                    failure = SystemText(GetLastError());
                    code = CThreadException::kCreateFailed;
                    Unregister();
                    Reset();
                } else if (!PostCommandLocked(kCommandStart, failure)) {
                    TerminateThread(m_thread.Get(), 0xFFFFFFFF);
                    m_thread.Reset();
                    Unregister();
                    Reset();
                    code = CThreadException::kPostFailed;
                } else {
                    m_activity = kActive;
                }
            }
        }
    }
    if (code != 0)
        throw new CThreadException(this, failure, code);
}

DWORD WINAPI CThread::ThreadEntry(LPVOID self)
{
    CThread* thread = static_cast<CThread*>(self);
    DWORD result = thread->ThreadHandler();
    Guard guard(ClassState().lock);
    thread->Unregister();
    thread->m_thread.Reset();
    thread->Reset();
    thread->m_exitCode = result;
    return result;
}

bool CThread::Stop(DWORD& exitCode, int timeout)
{
    {
        Guard guard(ClassState().lock);
        if (!IsRunningLocked()) {
            if (m_thread.IsValid()) {
                GetExitCodeThread(m_thread.Get(), &m_exitCode);
                m_thread.Reset();
                Unregister();
            }
            exitCode = m_exitCode;
            Reset();
            return true;
        }
        std::string error;
        if (!PostCommandLocked(kCommandStop, error)) {
            exitCode = m_exitCode;
            throw new CThreadException(this, error, CThreadException::kPostFailed);
        }
    }
    for (int polls = 0; IsRunning() && (timeout < 0 || polls < timeout); ++polls)
        Sleep(kThreadPollMs);
    Guard guard(ClassState().lock);
    exitCode = IsRunningLocked() ? STILL_ACTIVE : m_exitCode;
    return exitCode != STILL_ACTIVE;
}

bool CThread::SetPriority(int priority)
{
    Guard guard(ClassState().lock);
    return m_thread.IsValid() && SetThreadPriority(m_thread.Get(), priority);
}

bool CThread::WaitForActivityStatus(int status, int timeout) const
{
    for (int polls = 0;; ++polls) {
        {
            Guard guard(ClassState().lock);
            if (m_activity == status)
                return true;
            if (!m_thread.IsValid())
                return false;
        }
        if (timeout >= 0 && polls >= timeout)
            return false;
        Sleep(kThreadPollMs);
    }
}

DWORD CThread::GetExitCode() const
{
    Guard guard(ClassState().lock);
    DWORD code = m_exitCode;
    if (m_thread.IsValid())
        GetExitCodeThread(m_thread.Get(), &code);
    return code;
}

int CThread::GetActivityStatus() const
{
    Guard guard(ClassState().lock);
    return m_activity;
}

DWORD CThread::GetThreadId() const
{
    Guard guard(ClassState().lock);
    return m_threadId;
}

bool CThread::PostCommand(DWORD command, std::string& error)
{
    Guard guard(ClassState().lock);
    return PostCommandLocked(command, error);
}

bool CThread::PostCommandLocked(DWORD command, std::string& error)
{
    error.clear();
    if (!m_notifiable || !m_commandEvent.IsValid() || command == kCommandNone)
        return true;
    if (!m_commands.empty() && m_commands.back() == command)
        return true;
    m_commands.push_back(command);
    if (!SetEvent(m_commandEvent.Get())) {
        error = SystemText(GetLastError());
        return false;
    }
    return true;
}

bool CThread::ReceiveCommand(DWORD& command)
{
    Guard guard(ClassState().lock);
    if (!m_notifiable || !m_commandEvent.IsValid() || m_commands.empty())
        return false;
    command = m_commands.front();
    m_commands.pop_front();
    return true;
}

DWORD CThread::PeekCommand() const
{
    Guard guard(ClassState().lock);
    return m_commands.empty() ? kCommandNone : m_commands.front();
}

bool CThread::PostCommandFirst(DWORD command)
{
    Guard guard(ClassState().lock);
    if (!m_notifiable || !m_thread.IsValid() || command == kCommandNone)
        return false;
    m_commands.push_front(command);
    return true;
}

void CThread::WaitForCommand(DWORD& command, DWORD timeout)
{
    command = kCommandNone;
    HANDLE event;
    {
        Guard guard(ClassState().lock);
        event = m_commandEvent.Get();
    }
    if (event == nullptr)
        return;
    while (!ReceiveCommand(command)) {
        if (WaitForSingleObject(event, timeout) == WAIT_TIMEOUT) {
            command = kCommandTimeout;
            return;
        }
    }
}

void CThread::Lock()
{
    ThreadSyncEntry* entry;
    {
        Guard guard(ClassState().lock);
        entry = m_synchronised ? m_syncEntry : nullptr;
    }
    if (entry != nullptr)
        entry->lock.Enter();
}

void CThread::Unlock()
{
    ThreadSyncEntry* entry;
    {
        Guard guard(ClassState().lock);
        entry = m_synchronised ? m_syncEntry : nullptr;
    }
    if (entry != nullptr)
        entry->lock.Leave();
}
