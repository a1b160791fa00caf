#include "CKWInstallationData.h"

#include "CKWInstalledPrerequisite.h"
#include "CKWUpdateCatalog.h"
#include "ProductDescriptor.h"

#include <windows.h>

#include <algorithm>
#include <set>

namespace {

// Makes a folder current and restores the previous one when it goes.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder)
    {
        DWORD length = GetCurrentDirectoryA(0, nullptr);
        if (length == 0)
            return;
        std::string previous(length, '\0');
        length = GetCurrentDirectoryA(length, &previous[0]);
        previous.resize(length);
        if (!folder.empty() && SetCurrentDirectoryA(folder.c_str()))
            m_previous = previous;
    }
    ~CurrentFolder()
    {
        if (!m_previous.empty())
            SetCurrentDirectoryA(m_previous.c_str());
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::string m_previous;
};

} // namespace

namespace {

// Created on first use; destroyed on request, before COM is shut down.
std::unique_ptr<CKWInstallationData>& TheInstallationData()
{
    static std::unique_ptr<CKWInstallationData> instance;
    return instance;
}

} // namespace

CKWInstallationData& CKWInstallationData::GetInstance()
{
    std::unique_ptr<CKWInstallationData>& instance = TheInstallationData();
    if (!instance)
        instance = std::make_unique<CKWInstallationData>();
    return *instance;
}

void CKWInstallationData::DestroyInstance()
{
    TheInstallationData().reset();
}

CKWInstalledProduct* CKWInstallationData::Add(const std::string& code, bool exclusive, bool atFront,
                                              const std::function<std::unique_ptr<CKWInstalledProduct>()>& create)
{
    auto existing = std::find_if(m_products.begin(), m_products.end(), [&code](const auto& product) {
        return product->GetProductCode() == code;
    });
    if (existing != m_products.end())
        return existing->get();
    if (exclusive && !m_exclusive) {
        RemoveProducts([](const CKWInstalledProduct&) {
            return true;
        });
        m_exclusive = true;
    } else if (!exclusive && m_exclusive) {
        return nullptr;
    }
    auto position = atFront ? m_products.begin() : m_products.end();
    return m_products.insert(position, create())->get();
}

CKWInstalledProduct* CKWInstallationData::AddInstalledProduct(const std::string& code, bool exclusive)
{
    return Add(code, exclusive, false, [&code] {
        return std::make_unique<CKWInstalledProduct>(code);
    });
}

CKWInstalledProduct* CKWInstallationData::AddInstalledProduct(const std::string& code, int version, bool exclusive)
{
    return Add(code, exclusive, false, [&code, version] {
        return std::make_unique<CKWInstalledProduct>(code, version);
    });
}

CKWInstalledProduct* CKWInstallationData::AddDependentProduct(const std::string& code, const std::string& mnemonic,
                                                              bool exclusive)
{
    return Add(code, exclusive, true, [&code, &mnemonic] {
        return std::make_unique<CKWInstalledPrerequisite>(code, mnemonic);
    });
}

void CKWInstallationData::KeepOnlyUpdater()
{
    const std::string& updaterCode = GetProductDescriptor().UpdaterCode;
    RemoveProducts([&updaterCode](const CKWInstalledProduct& product) {
        return product.GetProductCode() != updaterCode;
    });
}

void CKWInstallationData::RemoveProducts(const std::function<bool(const CKWInstalledProduct&)>& remove)
{
    std::set<const CUpdateItem*> gone;
    for (const auto& product : m_products) {
        if (remove(*product)) {
            for (const auto& update : product->GetChosenUpdates())
                gone.insert(update.get());
        }
    }
    m_products.erase(std::remove_if(m_products.begin(), m_products.end(),
                                    [&remove](const auto& product) {
                                        return remove(*product);
                                    }),
                     m_products.end());
    m_selectedUpdates.clear();
    if (gone.empty())
        return;
    // The surviving updates, the catalog's list of all updates and the
    // selected list must not point at the destroyed records.
    for (const auto& product : m_products) {
        for (const auto& update : product->GetChosenUpdates())
            update->RemovePrerequisites(gone);
    }
    CKWUpdateCatalog::GetInstance().ForgetUpdates();
}

bool CKWInstallationData::HasUpdates(const std::string& code)
{
    auto found = std::find_if(m_products.begin(), m_products.end(), [&code](const auto& product) {
        return product->GetProductCode() == code;
    });
    return found != m_products.end() && (*found)->IsInstalled() && !(*found)->GetUpdates().empty();
}

const std::vector<CUpdateItem*>& CKWInstallationData::GetSelectedUpdates()
{
    if (m_selectedUpdates.empty()) {
        for (const auto& product : m_products) {
            for (const auto& update : product->GetUpdates()) {
                if (update->GetSelectionCount() > 0)
                    m_selectedUpdates.push_back(update.get());
            }
        }
    }
    return m_selectedUpdates;
}

size_t CKWInstallationData::GetUpdateCount()
{
    CurrentFolder cache(m_workingFolder);
    size_t count = 0;
    for (const auto& product : m_products)
        count += product->GetUpdates().size();
    return count;
}

void CKWInstallationData::SetWorkingFolder(const std::string& folder)
{
    m_workingFolder = folder;
    if (!m_workingFolder.empty() && m_workingFolder.back() != '\\')
        m_workingFolder += '\\';
}
