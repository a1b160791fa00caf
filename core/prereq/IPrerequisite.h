#pragma once

#include <string>
#include <vector>

class IInstallable;

// Prerequisite ids; a name without an object (VCRedist80) still has an id.
enum PrerequisiteId {
    kPrerequisiteMsi200 = 0,
    kPrerequisiteMsi301 = 1,
    kPrerequisiteIE4 = 2,
    kPrerequisiteIE501 = 3,
    kPrerequisiteIE55 = 4,
    kPrerequisiteIE6 = 5,
    kPrerequisiteIE7 = 6,
    kPrerequisiteIE8 = 7,
    kPrerequisiteNetfx10 = 8,
    kPrerequisiteNetfx11 = 9,
    kPrerequisiteNetfx20 = 10,
    kPrerequisiteNetfx30 = 11,
    kPrerequisiteNetfx35 = 12,
    kPrerequisiteNetfx40Client = 13,
    kPrerequisiteNetfx40 = 14,
    kPrerequisiteNetfx45 = 15,
    kPrerequisiteSoap30 = 16,
    kPrerequisiteVCRedist80 = 17,
};

enum PrerequisiteKind {
    kPrerequisiteKindMsi = 0,
    kPrerequisiteKindIE = 1,
    kPrerequisiteKindNetfx = 2,
    kPrerequisiteKindSoapToolkit = 3,
};

// The id of an exact, case-sensitive prerequisite name; -1 when unknown.
int PrerequisiteFromName(const std::string& name);

// A platform component a product needs before it can be installed.
class IPrerequisite {
public:
    explicit IPrerequisite(int id) : m_id(id) {}
    virtual ~IPrerequisite() = default;
    IPrerequisite(const IPrerequisite&) = delete;
    IPrerequisite& operator=(const IPrerequisite&) = delete;

    // The base name followed by the id's version, e.g. "Internet Explorer v.6".
    virtual std::string GetDisplayName() const;
    virtual std::string GetBaseName() const = 0;
    virtual int GetKind() const = 0;
    // Only a positive answer is kept: a missing component may be installed
    // while the program runs, an installed one is not expected to go away.
    virtual bool IsInstalled();
    // Whether an installable that requires this prerequisite is wanted.
    virtual bool IsNeeded();

    int GetId() const { return m_id; }
    // The installable that installs this prerequisite; the first one is kept.
    void SetOwner(IInstallable* owner);
    IInstallable* GetOwner() const { return m_owner; }
    // Adds an installable that requires this prerequisite, once.
    void AddDependent(IInstallable* dependent);
    const std::vector<IInstallable*>& GetDependents() const { return m_dependents; }
    const std::string& GetSupportAddress() const { return m_supportAddress; }
    void SetSupportAddress(const std::string& address) { m_supportAddress = address; }

protected:
    // Looks at the machine, without the cache.
    virtual bool Detect() = 0;

private:
    int m_id;
    std::vector<IInstallable*> m_dependents;
    IInstallable* m_owner = nullptr;
    std::string m_supportAddress;
    int m_installed = -1;
    bool m_askingDependents = false;
};

// Adds to the list the id of the prerequisite when it is missing, and those of
// the missing prerequisites its installer needs, recursively. Windows
// Installer is never listed: the engine upgrade handles it. The list ends
// sorted by id; returns its size.
size_t CollectMissing(IPrerequisite* prerequisite, std::vector<int>& ids);
