#pragma once

#include <windows.h>

#include <deque>
#include <string>

#include "KwHandle.h"

struct ThreadSyncEntry;

// Commands a thread's queue carries.
enum ThreadCommand : DWORD {
    kCommandNone = 0,
    kCommandTimeout = 1,
    kCommandStart = 2,
    kCommandWork = 3,
    kCommandStop = 7,
};

// Time-outs of Stop and WaitForActivityStatus count polls of this length.
const DWORD kThreadPollMs = 100;
const int kNoTimeLimit = -1;

// A thread with a queue of commands. Threads that share a synchronisation
// key share one lock, so their work never overlaps. Every change of a
// thread's state happens under one process-wide lock, which is never held
// while waiting.
class CThread {
public:
    enum Activity { kActive = 0, kIdle = 1 };

    CThread();
    // Terminates a thread that still runs.
    virtual ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // Throws CThreadException* when the thread already runs or cannot start.
    void Start();
    // Asks the thread to stop and waits up to timeout polls (-1: no limit).
    // True when it has ended; the exit code it ended with, or 259 while it
    // still runs. Throws CThreadException* when the command cannot be posted.
    bool Stop(DWORD& exitCode, int timeout);
    bool SetPriority(int priority);
    bool IsRunning() const;
    bool WaitForActivityStatus(int status, int timeout) const;
    DWORD GetExitCode() const;
    int GetActivityStatus() const;
    DWORD GetThreadId() const;

    // Queues a command and wakes the thread; the same command twice in a row
    // is queued once. Never throws: a failure gives false and the reason.
    bool PostCommand(DWORD command, std::string& error);
    bool ReceiveCommand(DWORD& command);
    // Waits for the next command; kCommandTimeout when none came in time.
    void WaitForCommand(DWORD& command, DWORD timeout);
    DWORD PeekCommand() const;
    // Puts a command before all others without waking the thread.
    bool PostCommandFirst(DWORD command);

    void Lock();
    void Unlock();

protected:
    virtual DWORD ThreadHandler() = 0;
    virtual void OnKilled() {}

    bool m_notifiable = false;
    bool m_synchronised = false;
    std::string m_syncKey;

private:
    static DWORD WINAPI ThreadEntry(LPVOID self);
    bool IsRunningLocked() const;
    void Reset();
    void Register();
    void Unregister();
    bool PostCommandLocked(DWORD command, std::string& error);

    ThreadSyncEntry* m_syncEntry = nullptr;
    KwHandle m_thread;
    KwHandle m_commandEvent;
    DWORD m_threadId = 0;
    DWORD m_exitCode = static_cast<DWORD>(-2);
    int m_activity = kIdle;
    std::deque<DWORD> m_commands;
};
