#include "CUpdateItem.h"

#include "CKWExePackage.h"
#include "CKWMsiInstaller.h"
#include "CKWMsiPatch.h"

#include <algorithm>
#include <cstring>

namespace {

struct FormatText {
    const char* text;
    UpdateFormat format;
};

const FormatText kFormats[] = {
    {"MSP", kFormatPatch},         {"MSI", kFormatPackage},    {"FMC", kFormatFullPackage},
    {"UPD", kFormatUpdaterUpdate}, {"EXE", kFormatExecutable},
};

// The installed state a package of the catalog is given: the update brings
// the product, so it counts as wanted whatever the engine answers.
const int kStateInstalled = 5;

} // namespace

CUpdateItem::CUpdateItem(const std::string& id, const std::string& productId, int version, int targetVersionMax,
                         int targetVersionMin)
    : m_version(version), m_targetVersionMax(targetVersionMax), m_targetVersionMin(targetVersionMin), m_id(id),
      m_productId(productId)
{
}

CUpdateItem::~CUpdateItem() = default;

std::string CUpdateItem::FormatName(UpdateFormat format)
{
    for (const FormatText& entry : kFormats) {
        if (entry.format == format)
            return entry.text;
    }
    return std::string();
}

bool CUpdateItem::SetFormat(const std::string& text)
{
    m_installable.reset();
    m_format = kFormatNone;
    const FormatText* found = std::find_if(std::begin(kFormats), std::end(kFormats), [&text](const FormatText& entry) {
        return _stricmp(entry.text, text.c_str()) == 0;
    });
    if (found == std::end(kFormats))
        return false;
    m_format = found->format;
    switch (m_format) {
    case kFormatPatch: {
        auto patch = std::make_unique<CKWMsiPatch>(m_fileName);
        patch->SetPropertyLine(m_parameters);
        m_installable = std::move(patch);
        break;
    }
    case kFormatPackage: {
        auto package = std::make_unique<CKWMsiInstaller>(m_fileName);
        package->SetPropertyLine(m_parameters);
        package->GetProductState(false);
        package->SetProductState(kStateInstalled);
        m_installable = std::move(package);
        break;
    }
    case kFormatExecutable:
        m_installable = std::make_unique<CKWExePackage>(m_fileName, m_parameters);
        break;
    default:
        // Full packages and the updater's own patch are installed by the
        // apply step itself.
        break;
    }
    return true;
}

void CUpdateItem::Select(bool select)
{
    m_selectionCount += select ? 1 : -1;
    for (CUpdateItem* prerequisite : m_prerequisites) {
        if (select && prerequisite->m_selectionCount == 0)
            prerequisite->Select(true);
        prerequisite->Select(select);
    }
}

bool CUpdateItem::Requires(const CUpdateItem* other) const
{
    return std::any_of(m_prerequisites.begin(), m_prerequisites.end(), [other](const CUpdateItem* prerequisite) {
        return prerequisite == other || prerequisite->Requires(other);
    });
}

bool CUpdateItem::AddPrerequisite(CUpdateItem* prerequisite)
{
    if (prerequisite == this || prerequisite->Requires(this))
        return false;
    m_prerequisites.push_back(prerequisite);
    return true;
}

void CUpdateItem::RemovePrerequisites(const std::set<const CUpdateItem*>& gone)
{
    m_prerequisites.erase(std::remove_if(m_prerequisites.begin(), m_prerequisites.end(),
                                         [&gone](const CUpdateItem* item) {
                                             return gone.count(item) != 0;
                                         }),
                          m_prerequisites.end());
}
