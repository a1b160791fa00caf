#pragma once

#include "IInstallable.h"

#include <string>

// Results of CompareWithInstalled.
enum PackageComparison {
    kCompareUnknown = -2,
    kCompareOlder = -1,
    kCompareNotInstalled = 0,
    kCompareSame = 1,
    kCompareNewer = 2,
};

// A package file (installer package or patch) and its identity. Identity
// values are read from the package once and cached.
class CKWMsiPackage : public IInstallable {
public:
    enum PackageKind { kKindInstaller = 0, kKindPatch = 1 };

    CKWMsiPackage(const std::string& path, int kind);

    // IInstallable: the plain package does nothing.
    UINT Execute() override { return 0; }
    int GetInstallState() override { return CompareWithInstalled(); }
    bool IsWanted() override { return GetProductState(false) == INSTALLSTATE_DEFAULT_VALUE; }

    virtual UINT Repair() { return 0; }
    virtual UINT Remove() { return 0; }
    virtual const std::string& GetPath() const { return m_path; }
    virtual bool SetPath(const std::string& path);
    virtual bool IsValidPackage();
    virtual int GetProductState(bool refresh);
    virtual void SetProductState(int state);
    virtual std::string GetPackageCode();
    virtual std::string GetProductCode();
    virtual std::string GetUpgradeCode();
    virtual std::string GetProductVersion();
    virtual int GetVersionPart(int part);
    virtual int GetPackedVersion();
    virtual std::string GetInstalledInfo(const std::string& attribute);

    int CompareWithInstalled();

    // The package's custom table KWSetupProperty.
    bool GetSetupProperty(const std::string& key, std::string& value, std::string& frenchValue);
    int GetSetupPropertyInt(const std::string& key);

    // Properties from the property line and/or the package's Property table.
    std::string GetProperty(const std::string& name, bool fromLine, bool fromDatabase);
    void SetProperty(const std::string& name, const std::string& value);
    void SetPropertyLine(const std::string& line);
    // The property line, with the KWSetupProperty "Properties" defaults
    // merged in the first time.
    const std::string& GetPropertyLine();

    int Kind;
    std::string Operation;

protected:
    static const int INSTALLSTATE_DEFAULT_VALUE = 5;

    std::string m_path;
    std::string m_propertyLine;
    // Passed to MsiOpenDatabaseA for queries.
    const char* m_openMode;

    bool m_validPackage = false;
    int m_queriedProductState = -5;
    int m_wantedProductState = -5;
    int m_comparison = kCompareUnknown;
    std::string m_packageCode;
    std::string m_productCode;
    std::string m_upgradeCode;
    std::string m_productVersion;
    bool m_propertyLineMerged = false;
};

// Finds "name=" in a property line: true with the value's range [start, end)
// (a quoted value's range starts at its opening quote and ends before the
// closing one).
bool FindProperty(const std::string& line, const std::string& name, size_t& valueStart, size_t& valueEnd);
