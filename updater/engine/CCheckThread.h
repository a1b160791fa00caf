#pragma once

#include "CWorkerThread.h"

#include <string>

// Asks the vendor's server for the catalog and records which products the
// updater looks after, as a fixed sequence of steps that the owner follows
// on a progress bar.
class CCheckThread : public CWorkerThread {
public:
    // The number of steps, which is the progress bar's range.
    static constexpr int kStepCount = 13;

    explicit CCheckThread(HWND owner = nullptr) : CWorkerThread(owner) {}
    ~CCheckThread() override;

    const char* GetThreadClassName() const override { return "CCheckThread"; }
    const std::string& GetRequestUrl() const { return m_requestUrl; }

    // The catalog request: the catalog URL of the user's registry or the
    // vendor's default, with the product's query string.
    static std::string BuildRequestUrl();

protected:
    int DoWork() override;
    void OnInitThread() override;
    void OnExitThread() override;

private:
    // 0 go on, 1 done, -1 failed (already reported).
    int RunStep(int index);
    void PostActionString(int stringId);
    void PostProgress(UINT message, LPARAM value);

    int m_step = 0;
    std::string m_requestUrl;
};
