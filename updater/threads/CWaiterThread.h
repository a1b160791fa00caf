#pragma once

#include "CWorkerThread.h"

#include <string>

// Waits on its own thread until a file is no longer held open for writing by
// another process, then posts "wm_WAIT_COMPLETED_..." to its owner.
class CWaiterThread : public CWorkerThread {
public:
    CWaiterThread() = default;
    ~CWaiterThread() override;

    // Starts waiting only when the file is in use now; a free file starts no
    // thread and posts nothing. Thread failures are shown in a box.
    void WaitForFile(const std::string& path, HWND owner, int priority);
    const char* GetThreadClassName() const override { return "CWaiterThread"; }
    const std::string& GetFilePath() const { return m_filePath; }

    // False while another process holds the file open for writing.
    static bool IsFileFree(const std::string& path);

protected:
    int DoWork() override;
    void OnExitThread() override;

private:
    std::string m_filePath;
    int m_waitMode = 0;
};
