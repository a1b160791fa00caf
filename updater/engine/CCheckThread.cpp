#include "CCheckThread.h"

#include "CKWInstallationData.h"
#include "CKWLogFile.h"
#include "CKWMsiDll.h"
#include "CKWUpdateCatalog.h"
#include "CResString.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "RegistrySetting.h"
#include "CatalogFreshness.h"
#include "UpdateDates.h"
#include "Version.h"

#include <vector>

namespace {

const int kThisYear = 2012;
// The product itself is French whatever language the user reads.
const char kProductLanguage[] = "F";

enum CheckString {
    kStringInitializing = 203,
    kStringCatalogInvalid = 214,
    kStringMsiMissing = 215,
    kStringDetectingConnection = 223,
    kStringReceiving = 224,
};

const LPARAM kWarningBox = MB_ICONWARNING;

} // namespace

CCheckThread::~CCheckThread()
{
    StopAndWait();
}

std::string CCheckThread::BuildRequestUrl()
{
    const ProductDescriptor& product = GetProductDescriptor();
    std::string catalogUrl =
        ReadRegistrySetting(product.UpdatesRegistryKey, product.CatalogURLValueName, product.DefaultCatalogURL);
    return catalogUrl + "?CompanyName=" + std::to_string(kThisYear) + "-" + "&Year=" + std::to_string(kThisYear) +
           "&Language=" + kProductLanguage;
}

void CCheckThread::OnInitThread()
{
    CWorkerThread::OnInitThread();
    LogMessage("Starting thread C");
    m_requestUrl.clear();
}

void CCheckThread::OnExitThread()
{
    LogMessage("Ending thread C");
    CWorkerThread::OnExitThread();
}

void CCheckThread::PostActionString(int stringId)
{
    std::string text;
    LoadFormatted(text, stringId);
    PostActionText(kProgressTargetCheck, text);
}

void CCheckThread::PostProgress(UINT message, LPARAM value)
{
    PostToOwner(message, kProgressTargetCheck, value);
}

int CCheckThread::DoWork()
{
    if (PeekCommand() != kCommandNone)
        return 0;
    const RegisteredMessages& messages = GetRegisteredMessages();
    for (;;) {
        int result = RunStep(m_step);
        if (result != 0) {
            if (result == 1)
                PostToOwner(messages.taskCompleted, 0, 0);
            return result;
        }
        ++m_step;
        PostProgress(messages.progressStepIt, 0);
        if (PeekCommand() != kCommandNone)
            return 0;
    }
}

int CCheckThread::RunStep(int index)
{
    const RegisteredMessages& messages = GetRegisteredMessages();
    const ProductDescriptor& product = GetProductDescriptor();
    CKWInstallationData& data = CKWInstallationData::GetInstance();
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    switch (index) {
    case 0: {
        UINT result = g_msi.EnsureLoaded();
        if (result != 0) {
            LogMessage("Error %u while trying to load MSI.DLL", result);
            PostToOwner(messages.taskInterrupted, kStringMsiMissing, kWarningBox);
            return -1;
        }
        return 0;
    }
    case 1:
        PostActionString(kStringInitializing);
        PostProgress(messages.progressSetMin, 0);
        PostProgress(messages.progressSetMax, kStepCount);
        PostProgress(messages.progressSetStep, 1);
        PostProgress(messages.progressSetPos, 1);
        return 0;
    case 2:
        PostActionString(kStringDetectingConnection);
        return 0;
    case 4:
        m_requestUrl = BuildRequestUrl();
        PostActionString(kStringReceiving);
        return 0;
    case 5:
        for (const std::string& code : {product.UpdaterCode, product.MainUpgradeCode}) {
            CKWInstalledProduct* record = data.AddInstalledProduct(code, false);
            if (record != nullptr)
                LogMessage("Added %s v.%s", code.c_str(), FormatVersion(record->GetVersion()).c_str());
            else
                LogMessage("Did not add %s", code.c_str());
            PostProgress(messages.progressStepIt, 0);
        }
        return 0;
    case 6:
        if (data.GetProductCount() == 0) {
            // Done: the loop reports the completion once.
            LogMessage("Product count = 0");
            return 1;
        }
        return 0;
    case 7:
        if (!catalog.LoadFromUrl(m_requestUrl)) {
            LogMessage("Unable to load the catalog");
            // Why, for whoever reads the log: a refused certificate looks
            // the same as a server that is down to the person.
            if (!catalog.GetLoadError().empty())
                LogMessage("Catalog load error: %s", catalog.GetLoadError().c_str());
        } else if (!catalog.IsValid()) {
            if (catalog.IsTrustRefusal())
                LogMessage("Catalog refused: %s", catalog.GetInvalidReason().c_str());
            LogMessage("Catalog is corrupted or invalid");
        } else {
            // Only a catalog a key vouched for may raise the bar for the next.
            if (catalog.IsSigned()) {
                LogMessage("Catalog signature verified, serial %llu",
                           static_cast<unsigned long long>(catalog.GetSerial()));
                RecordAcceptedSerial(catalog.GetSerial());
            }
            return 0;
        }
        PostToOwner(messages.taskInterrupted, kStringCatalogInvalid, kWarningBox);
        return -1;
    case 9: {
        std::vector<std::string> ids;
        catalog.CollectDependentProducts(ids);
        for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
            std::string mnemonic = catalog.GetProductMnemonic(*it);
            if (!mnemonic.empty())
                data.AddDependentProduct(*it, mnemonic, false);
        }
        return 0;
    }
    case 11:
        if (WriteUpdateDate(kDateLastCheck))
            return 0;
        // Without a message the waiting window would never learn the check
        // ended; the failure itself is in the log.
        PostToOwner(messages.taskInterrupted, 0, 0);
        return -1;
    case 12:
        return 1;
    case 3:
    case 8:
    case 10:
        return 0;
    default:
        return -1;
    }
}
