#include "CKWInstalledProduct.h"

#include "CKWMsiProduct.h"
#include "CKWUpdateCatalog.h"

CKWInstalledProduct::CKWInstalledProduct(const std::string& code) : m_productCode(code)
{
    CKWMsiProduct product(code);
    if (product.GetInfo("ProductName", m_productName) == ERROR_SUCCESS) {
        m_installed = true;
        m_version = product.GetVersion();
    }
}

CKWInstalledProduct::CKWInstalledProduct(const std::string& code, int version)
    : m_productCode(code), m_version(version), m_installed(version != 0)
{
}

const CKWInstalledProduct::UpdateList& CKWInstalledProduct::GetUpdates()
{
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    if (!m_computed && catalog.IsValid()) {
        catalog.SelectUpdates(m_productCode, m_version, m_updates);
        m_computed = true;
    }
    return m_updates;
}
