#pragma once

#include "CWorkerThread.h"

#include <string>

class CUpdateItem;

// Brings the file of every selected update into the cache, from the
// catalog's sources in priority order, and proves each by its CRC-32.
class CDownloadThread : public CWorkerThread {
public:
    explicit CDownloadThread(HWND owner = nullptr) : CWorkerThread(owner) {}
    ~CDownloadThread() override;

    const char* GetThreadClassName() const override { return "CDownloadThread"; }

    // True when the update's file is in the cache with the catalog's CRC.
    static bool VerifyCachedFile(const CUpdateItem& update);
    // 0 when a source gave a verified file, -1 otherwise.
    int DownloadUpdate(const CUpdateItem& update);
    // Tells the vendor's server about a verified download; never fails.
    static void SendDownloadStatistics(const CUpdateItem& update);
    // The user's "StatsURL", or the vendor's when the catalog is the
    // vendor's own; empty when downloads are not reported.
    static std::string GetStatsUrl();

protected:
    int DoWork() override;
    void OnInitThread() override;
    void OnExitThread() override;

private:
    int RunStep();
    void PostActionString(int stringId, const std::string& fileName);

    int m_step = 0;
    size_t m_current = 0;
};
