#include "CUpdateItem.h"

#include "CKWExePackage.h"
#include "CKWMsiInstaller.h"
#include "CKWMsiPatch.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

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

// Selection counts stop here instead of overflowing.
const int kCountCeiling = INT_MAX / 2;

int SaturatedSum(int a, int b)
{
    return a >= kCountCeiling - b ? kCountCeiling : a + b;
}

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
    // Selecting walks every path to every prerequisite, and a prerequisite
    // pulled in is walked once more. Shared prerequisites make the paths
    // grow exponentially with the chain (each update naming the one two
    // steps back doubles them every two steps), so the same counts are
    // computed once per update: an update is reached as often as the
    // updates requiring it are, plus once when it was not selected.
    std::vector<CUpdateItem*> order = RequiredInOrder();
    std::unordered_map<const CUpdateItem*, int> reached{{this, 1}};
    for (CUpdateItem* item : order) {
        int times = reached[item];
        if (select && item != this && item->m_selectionCount == 0)
            times = SaturatedSum(times, 1);
        // A count that reached the ceiling has lost its exact value; it
        // keeps the update selected for good rather than risk dropping a
        // prerequisite that is still required.
        if (item->m_selectionCount < kCountCeiling)
            item->m_selectionCount =
                select ? SaturatedSum(item->m_selectionCount, times) : item->m_selectionCount - times;
        for (CUpdateItem* prerequisite : item->m_prerequisites)
            reached[prerequisite] = SaturatedSum(reached[prerequisite], times);
    }
}

std::vector<CUpdateItem*> CUpdateItem::RequiredInOrder()
{
    // Depth first, without recursion: a chain may be thousands long. An
    // update is finished once everything it requires is; reversed, that
    // puts every update before what it requires.
    std::vector<CUpdateItem*> finished;
    std::unordered_set<const CUpdateItem*> seen{this};
    std::vector<std::pair<CUpdateItem*, size_t>> stack{{this, 0}};
    while (!stack.empty()) {
        auto& [item, next] = stack.back();
        if (next == item->m_prerequisites.size()) {
            finished.push_back(item);
            stack.pop_back();
            continue;
        }
        CUpdateItem* prerequisite = item->m_prerequisites[next++];
        if (seen.insert(prerequisite).second)
            stack.emplace_back(prerequisite, 0);
    }
    return std::vector<CUpdateItem*>(finished.rbegin(), finished.rend());
}

bool CUpdateItem::Requires(const CUpdateItem* other) const
{
    // Each update once: following every path would take exponential time.
    std::unordered_set<const CUpdateItem*> seen;
    std::vector<const CUpdateItem*> pending(m_prerequisites.begin(), m_prerequisites.end());
    while (!pending.empty()) {
        const CUpdateItem* item = pending.back();
        pending.pop_back();
        if (item == other)
            return true;
        if (seen.insert(item).second)
            pending.insert(pending.end(), item->m_prerequisites.begin(), item->m_prerequisites.end());
    }
    return false;
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
