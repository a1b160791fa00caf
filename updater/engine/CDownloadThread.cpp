#include "CDownloadThread.h"

#include "CHttpClient.h"
#include "CKWInstallationData.h"
#include "CKWLogFile.h"
#include "CKWUpdateCatalog.h"
#include "CResString.h"
#include "CWTDownloaderCallback.h"
#include "CacheFile.h"
#include "CancelFlags.h"
#include "KwRegistryException.h"
#include "KwRegistryKey.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "RegistrySetting.h"
#include "Version.h"

namespace {

enum DownloadString {
    kStringSearching = 208,
    kStringReceiving = 209,
    kStringUnableToDownload = 227,
};

const int kOverallBar = kProgressTargetList;
const int kFileBar = kProgressTargetCurrent;

// The catalog URL in use: the user's override or the vendor's default.
std::string CatalogUrlInUse()
{
    const ProductDescriptor& product = GetProductDescriptor();
    return ReadRegistrySetting(product.UpdatesRegistryKey, product.CatalogURLValueName, product.DefaultCatalogURL);
}

} // namespace

CDownloadThread::~CDownloadThread()
{
    StopAndWait();
}

void CDownloadThread::OnInitThread()
{
    CWorkerThread::OnInitThread();
    LogMessage("Starting thread D");
}

void CDownloadThread::OnExitThread()
{
    LogMessage("Ending thread D");
    CWorkerThread::OnExitThread();
}

void CDownloadThread::PostActionString(int stringId, const std::string& fileName)
{
    std::string text;
    LoadFormatted(text, stringId, fileName.c_str());
    PostActionText(kFileBar, text);
}

bool CDownloadThread::VerifyCachedFile(const CUpdateItem& update)
{
    DWORD error = 0;
    if (VerifyCacheFile(update, CKWInstallationData::GetInstance().GetWorkingFolder(), error))
        return true;
    if (error == kErrorDataChecksum)
        LogMessage("File %s has the catalog's CRC but not its SHA-256", update.GetFileName().c_str());
    return false;
}

int CDownloadThread::DoWork()
{
    if (PeekCommand() != kCommandNone)
        return 0;
    for (;;) {
        if (g_downloadCancelled) {
            LogMessage("Download was cancelled");
            PostToOwner(GetRegisteredMessages().taskInterrupted, 0, 0);
            return -1;
        }
        int result = RunStep();
        if (result != 0)
            return result;
        if (PeekCommand() != kCommandNone)
            return 0;
    }
}

int CDownloadThread::RunStep()
{
    const RegisteredMessages& ids = GetRegisteredMessages();
    const std::vector<CUpdateItem*>& updates = CKWInstallationData::GetInstance().GetSelectedUpdates();
    switch (m_step) {
    case 0:
        m_current = 0;
        if (updates.empty())
            return -1;
        PostToOwner(ids.progressSetPos, kOverallBar, 0);
        m_step = 1;
        return 0;
    case 1: {
        if (m_current >= updates.size()) {
            m_step = 2;
            return 0;
        }
        const CUpdateItem& update = *updates[m_current];
        PostActionString(kStringSearching, update.GetFileName());
        PostToOwner(ids.progressSetMax, kFileBar, 1);
        PostToOwner(ids.progressSetPos, kFileBar, 0);
        if (VerifyCachedFile(update)) {
            LogMessage("Using cached file %s", update.GetFileName().c_str());
            PostToOwner(ids.progressSetPos, kFileBar, 1);
        } else {
            PostActionString(kStringReceiving, update.GetFileName());
            if (DownloadUpdate(update) != 0) {
                if (g_downloadCancelled)
                    PostToOwner(ids.taskInterrupted, 0, 0);
                else
                    PostToOwner(ids.taskInterrupted, kStringUnableToDownload, MB_ICONWARNING);
                return -1;
            }
        }
        // A cancel after the last file was fetched and checked lets the
        // download complete.
        if (g_downloadCancelled && m_current + 1 < updates.size()) {
            PostToOwner(ids.taskInterrupted, 0, 0);
            return -1;
        }
        PostToOwner(ids.progressStepIt, kOverallBar, 0);
        ++m_current;
        return 0;
    }
    case 2:
        PostToOwner(ids.taskCompleted, 0, 0);
        return 1;
    default:
        PostToOwner(ids.taskInterrupted, 0, 0);
        return -1;
    }
}

int CDownloadThread::DownloadUpdate(const CUpdateItem& update)
{
    const RegisteredMessages& ids = GetRegisteredMessages();
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    const std::string& fileName = update.GetFileName();
    CSourceItem* source = catalog.GetFirstSource();
    if (source == nullptr) {
        LogMessage("Catalog does not contain sources");
        return -1;
    }
    const std::string target = CacheFilePath(CKWInstallationData::GetInstance().GetWorkingFolder(), fileName);
    if (target.empty()) {
        LogMessage("Refusing to download %s: not a plain file name", fileName.c_str());
        return -1;
    }
    CHttpClient client;
    do {
        const std::string sourcePath = source->GetLocation() + fileName;
        if (!source->IsHttp()) {
            PostToOwner(ids.progressSetPos, kFileBar, 0);
            PostToOwner(ids.progressSetMax, kFileBar, 1);
            LogMessage("Trying to copy file %s from source #%d...", fileName.c_str(), source->GetPriority());
            if (CopyFileA(sourcePath.c_str(), target.c_str(), FALSE)) {
                if (VerifyCachedFile(update)) {
                    LogMessage("Copy operation succeeded");
                    PostToOwner(ids.progressStepIt, kFileBar, 0);
                    return 0;
                }
                LogMessage("Copy operation failed");
            }
        } else {
            PostToOwner(ids.progressSetPos, kFileBar, 0);
            LogMessage("Trying to download file %s from source #%d...", fileName.c_str(), source->GetPriority());
            CWTDownloaderCallback callback(this, kFileBar);
            DWORD error = client.Download(sourcePath, target, &callback, [this] {
                return g_downloadCancelled || PeekCommand() == kCommandStop;
            });
            if (error == ERROR_SUCCESS) {
                if (VerifyCachedFile(update)) {
                    SendDownloadStatistics(update);
                    LogMessage("Download operation succeeded");
                    return 0;
                }
                LogMessage("Download operation failed");
            } else {
                LogMessage("Unable to download %s: %s", sourcePath.c_str(), CHttpClient::ErrorText(error).c_str());
            }
        }
        source = catalog.GetNextSource();
    } while (source != nullptr && !g_downloadCancelled);
    LogMessage("Unable to locate file %s", fileName.c_str());
    return -1;
}

std::string CDownloadThread::GetStatsUrl()
{
    const ProductDescriptor& product = GetProductDescriptor();
    const std::string& path = product.UpdatesRegistryKey;
    const size_t separator = path.find('\\');
    std::string url;
    try {
        KwRegistryKey key(RegistryRootFromName(path.substr(0, separator)),
                          separator == std::string::npos ? std::string() : path.substr(separator + 1));
        if (key.Exists())
            key.QueryString(product.StatsURLValueName, url);
    } catch (KwRegistryException* e) {
        delete e;
        return std::string();
    }
    if (!url.empty())
        return url;
    return CatalogUrlInUse() == product.DefaultCatalogURL ? product.DefaultStatsURL : std::string();
}

void CDownloadThread::SendDownloadStatistics(const CUpdateItem& update)
{
    const std::string statsUrl = GetStatsUrl();
    if (statsUrl.empty())
        return;
    const CKWInstalledProduct* product = nullptr;
    for (const auto& record : CKWInstallationData::GetInstance().GetProducts()) {
        if (record->GetProductCode() == update.GetProductId())
            product = record.get();
    }
    if (product == nullptr)
        return;
    const std::string& name = update.GetMnemonic().empty() ? update.GetProductId() : update.GetMnemonic();
    const std::string url = statsUrl + "?CompanyName=" + "&Agent=" + "UPD" + "&Product=" + name +
                            "&Update=" + update.GetFileName() + "&Current=" + FormatVersion(product->GetVersion()) +
                            "&Target=" + FormatVersion(update.GetVersion());
    CHttpClient().Ping(url);
}
