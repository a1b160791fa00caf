#pragma once

#include "CWorkerThread.h"

#include <memory>

// The one worker a window runs at a time: started at idle priority, owned
// until it is stopped.
class COwnedWorker {
public:
    enum FailureReport { kReportInBox, kReportInLog };

    // Keeps the worker when it started; otherwise reports why and keeps none.
    bool Start(std::unique_ptr<CWorkerThread> worker, FailureReport report);
    // Stops a busy worker without a time limit, shows a failure that has a
    // text, and forgets the worker.
    void Stop();
    bool IsRunning() const { return m_worker != nullptr; }

private:
    std::unique_ptr<CWorkerThread> m_worker;
};
