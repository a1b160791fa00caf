#pragma once

#include "CThread.h"

#include <string>

// The key every worker of the updater shares, so that no two work steps
// ever run at the same time.
extern const char* const kWorkerSyncKey;

// A thread that runs one work step per command and reports to an owner
// window only by posting registered messages; it never touches a window.
class CWorkerThread : public CThread {
public:
    explicit CWorkerThread(HWND owner = nullptr);

    // Posts to the owner when it is a window; true without posting when there
    // is none, so a worker run without a window needs no special case.
    BOOL PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Only while idle and when no owner was given yet.
    void SetOwner(HWND owner);
    HWND GetOwner() const { return m_owner; }
    // Sends the owner a text for its action line; the owner frees it. With no
    // owner window nothing is made, so nothing is left unfreed.
    void PostActionText(int target, const std::string& text) const;
    // The worker's class name, for the debugger and traces.
    virtual const char* GetThreadClassName() const { return "CWorkerThread"; }

protected:
    // Ends the thread, however long it takes. Workers call it in their
    // destructors, while the members their steps use still exist.
    void StopAndWait();

    DWORD ThreadHandler() override;
    // One work step: 0 to wait for the next command, anything else ends the
    // command loop. Return 0 only when a command is waiting.
    virtual int DoWork() = 0;
    virtual void OnStop() {}
    virtual void OnInitThread();
    virtual void OnExitThread();

    int m_inHandler = -1;

private:
    HWND m_owner;
};
