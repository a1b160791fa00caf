#include "IPrerequisite.h"

#include "IInstallable.h"

#include <algorithm>
#include <set>

namespace {

struct PrerequisiteName {
    const char* name;
    const char* version;
};

// Indexed by id.
const PrerequisiteName kNames[] = {
    {"Msi200", " v.2"},    {"Msi301", " v.3.01"},
    {"IE4", " v.4"},       {"IE501", " v.5.01"},
    {"IE55", " v.5.5"},    {"IE6", " v.6"},
    {"IE7", " v.7"},       {"IE8", " v.8"},
    {"Netfx10", " v.1.0"}, {"Netfx11", " v.1.1"},
    {"Netfx20", " v.2.0"}, {"Netfx30", " v.3.0"},
    {"Netfx35", " v.3.5"}, {"Netfx40Client", " v.4.0 Client Profile"},
    {"Netfx40", " v.4.0"}, {"Netfx45", " v.4.5"},
    {"Soap30", " v.3.0"},  {"VCRedist80", ""},
};

const int kNameCount = static_cast<int>(sizeof kNames / sizeof kNames[0]);

// Resets the flag however the scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};

void CollectMissingFrom(IPrerequisite* prerequisite, std::vector<int>& ids, std::set<IPrerequisite*>& visited)
{
    if (prerequisite == nullptr || prerequisite->GetKind() == kPrerequisiteKindMsi)
        return;
    // Installers that need each other's prerequisites would otherwise recurse
    // for ever.
    if (!visited.insert(prerequisite).second)
        return;
    if (prerequisite->IsInstalled())
        return;
    if (std::find(ids.begin(), ids.end(), prerequisite->GetId()) == ids.end())
        ids.push_back(prerequisite->GetId());
    IInstallable* owner = prerequisite->GetOwner();
    if (owner == nullptr)
        return;
    for (IPrerequisite* needed : owner->Prerequisites)
        CollectMissingFrom(needed, ids, visited);
}

} // namespace

int PrerequisiteFromName(const std::string& name)
{
    for (int id = 0; id < kNameCount; ++id) {
        if (name == kNames[id].name)
            return id;
    }
    return -1;
}

std::string IPrerequisite::GetDisplayName() const
{
    std::string version = m_id >= 0 && m_id < kNameCount ? kNames[m_id].version : "";
    return GetBaseName() + version;
}

bool IPrerequisite::IsInstalled()
{
    if (m_installed == 1)
        return true;
    m_installed = Detect() ? 1 : 0;
    return m_installed == 1;
}

bool IPrerequisite::IsNeeded()
{
    // Installers that require each other's prerequisites lead back here; the
    // way round the cycle adds nothing.
    if (m_askingDependents)
        return false;
    FlagScope asking(m_askingDependents);
    for (IInstallable* dependent : m_dependents) {
        if (dependent->IsWanted())
            return true;
    }
    return false;
}

void IPrerequisite::SetOwner(IInstallable* owner)
{
    if (m_owner == nullptr)
        m_owner = owner;
}

void IPrerequisite::AddDependent(IInstallable* dependent)
{
    if (dependent == nullptr)
        return;
    if (std::find(m_dependents.begin(), m_dependents.end(), dependent) == m_dependents.end())
        m_dependents.push_back(dependent);
}

size_t CollectMissing(IPrerequisite* prerequisite, std::vector<int>& ids)
{
    std::set<IPrerequisite*> visited;
    CollectMissingFrom(prerequisite, ids, visited);
    std::sort(ids.begin(), ids.end());
    return ids.size();
}
