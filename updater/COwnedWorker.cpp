#include "COwnedWorker.h"

#include "CKWLogFile.h"
#include "CThreadException.h"

bool COwnedWorker::Start(std::unique_ptr<CWorkerThread> worker, FailureReport report)
{
    try {
        worker->Start();
        worker->SetPriority(THREAD_PRIORITY_IDLE);
        m_worker = std::move(worker);
        return true;
    } catch (CThreadException* e) {
        if (report == kReportInLog)
            LogMessage("Thread exception: %s", e->GetMessageText().c_str());
        else if (!e->GetMessageText().empty())
            e->ReportError();
        delete e;
        return false;
    }
}

void COwnedWorker::Stop()
{
    if (m_worker == nullptr)
        return;
    if (m_worker->GetActivityStatus() != CThread::kIdle) {
        try {
            DWORD exitCode = 0;
            m_worker->Stop(exitCode, kNoTimeLimit);
        } catch (CThreadException* e) {
            if (!e->GetMessageText().empty())
                e->ReportError();
            delete e;
        }
    }
    m_worker.reset();
}
