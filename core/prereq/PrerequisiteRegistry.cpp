#include "PrerequisiteRegistry.h"

#include "CPreIE.h"
#include "CPreMsi.h"
#include "CPreNetfx.h"
#include "CPreSoapToolkit.h"

#include <map>
#include <memory>

namespace {

std::map<int, std::unique_ptr<IPrerequisite>>& Registry()
{
    static std::map<int, std::unique_ptr<IPrerequisite>> registry;
    return registry;
}

std::unique_ptr<IPrerequisite> CreatePrerequisite(int id)
{
    if (id >= kPrerequisiteMsi200 && id <= kPrerequisiteMsi301)
        return std::make_unique<CPreMsi>(id);
    if (id >= kPrerequisiteIE4 && id <= kPrerequisiteIE8)
        return std::make_unique<CPreIE>(id);
    if (id >= kPrerequisiteNetfx10 && id <= kPrerequisiteNetfx45)
        return std::make_unique<CPreNetfx>(id);
    if (id == kPrerequisiteSoap30)
        return std::make_unique<CPreSoapToolkit>(id);
    return nullptr;
}

IPrerequisite* OwnedPrerequisite(const IInstallable* installable)
{
    if (installable == nullptr)
        return nullptr;
    for (const auto& entry : Registry()) {
        if (entry.second->GetOwner() == installable)
            return entry.second.get();
    }
    return nullptr;
}

} // namespace

IPrerequisite* GetPrerequisite(int id)
{
    IPrerequisite* existing = FindPrerequisite(id);
    if (existing != nullptr)
        return existing;
    std::unique_ptr<IPrerequisite> created = CreatePrerequisite(id);
    if (!created)
        return nullptr;
    IPrerequisite* prerequisite = created.get();
    Registry().emplace(id, std::move(created));
    return prerequisite;
}

IPrerequisite* FindPrerequisite(int id)
{
    auto found = Registry().find(id);
    return found == Registry().end() ? nullptr : found->second.get();
}

void ClearPrerequisites()
{
    Registry().clear();
}

std::vector<IPrerequisite*> RegisteredPrerequisites()
{
    std::vector<IPrerequisite*> prerequisites;
    for (const auto& entry : Registry())
        prerequisites.push_back(entry.second.get());
    return prerequisites;
}

int InstallStateThroughPrerequisite(const IInstallable* installable)
{
    IPrerequisite* prerequisite = OwnedPrerequisite(installable);
    if (prerequisite == nullptr)
        return -2;
    return prerequisite->IsInstalled() ? 1 : 0;
}

bool IsWantedThroughPrerequisite(const IInstallable* installable)
{
    IPrerequisite* prerequisite = OwnedPrerequisite(installable);
    return prerequisite != nullptr && prerequisite->IsNeeded();
}
