#pragma once

#include "IDownloadProgress.h"

#include <cstdint>

class CWorkerThread;

// Moves the owner's bar while a file arrives, and stops the transfer when
// the user cancelled or the thread was asked to stop.
class CWTDownloaderCallback : public IDownloadProgress {
public:
    CWTDownloaderCallback(CWorkerThread* thread, int bar) : m_thread(thread), m_bar(bar) {}

    bool OnBegin(std::uint64_t total) override;
    bool OnProgress(std::uint64_t received, std::uint64_t total) override;
    bool OnEnd(std::uint64_t total) override;

private:
    bool MayContinue() const;
    void Post(unsigned message, std::uint64_t value) const;

    CWorkerThread* m_thread;
    int m_bar;
    std::uint64_t m_lastProgress = 0;
};
