#include "CKWInstalledPrerequisite.h"

#include "CKWUpdateCatalog.h"
#include "PrerequisiteRegistry.h"

CKWInstalledPrerequisite::CKWInstalledPrerequisite(const std::string& code, const std::string& mnemonic)
    : CKWInstalledProduct(code, 0), m_prerequisiteName(mnemonic),
      m_prerequisite(GetPrerequisite(PrerequisiteFromName(mnemonic)))
{
    if (m_prerequisite != nullptr) {
        m_installed = m_prerequisite->IsInstalled();
        m_productName = m_prerequisite->GetDisplayName();
    }
}

const CKWInstalledProduct::UpdateList& CKWInstalledPrerequisite::GetUpdates()
{
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    if (!m_computed && catalog.IsValid()) {
        if (m_prerequisite != nullptr && !m_installed)
            catalog.SelectUpdates(m_productCode, 0, m_updates);
        m_computed = true;
    }
    return m_updates;
}
