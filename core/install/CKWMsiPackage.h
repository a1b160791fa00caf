#pragma once

#include "IInstallable.h"

#include <string>
#include <vector>

class CKWMsiQuery;

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

    // Installer packages are queried read-only, patches as patch files.
    CKWMsiPackage(const std::string& path, int kind);

    // IInstallable: the plain package does nothing.
    UINT Execute() override { return 0; }
    int GetInstallState() override { return CompareWithInstalled(); }
    bool IsWanted() override { return GetProductState(false) == INSTALLSTATE_DEFAULT_VALUE; }

    virtual UINT Repair() { return 0; }
    virtual UINT Remove() { return 0; }
    virtual const std::string& GetPath() const { return m_path; }
    // False when the absolute form of the path cannot be obtained.
    virtual bool SetPath(const std::string& path);
    virtual bool IsValidPackage();
    // The installed state when refresh is true; the wanted state (the
    // installed one unless SetProductState overrode it) when false. The
    // engine is asked once.
    virtual int GetProductState(bool refresh);
    virtual void SetProductState(int state);
    virtual std::string GetPackageCode();
    virtual std::string GetProductCode();
    virtual std::string GetUpgradeCode();
    virtual std::string GetProductVersion();
    // 1 major, 2 minor, 3 build of the product version.
    virtual int GetVersionPart(int part);
    virtual int GetPackedVersion();
    virtual std::string GetInstalledInfo(const std::string& attribute);

    // A PackageComparison; cached once known.
    int CompareWithInstalled();

    // The package's custom table KWSetupProperty: true when either the value
    // or the French value of the key is not empty.
    bool GetSetupProperty(const std::string& key, std::string& value, std::string& frenchValue);
    // The key's value as a number; 0 when the key is absent or not a number.
    int GetSetupPropertyInt(const std::string& key);

    // A property's value from the property line (without its quotes) and,
    // when the line does not assign it, from the package's Property table.
    std::string GetProperty(const std::string& name, bool fromLine, bool fromDatabase);
    // Assigns a property on the property line; a value with a space is
    // quoted, an empty value removes the assignment.
    void SetProperty(const std::string& name, const std::string& value);
    void SetPropertyLine(const std::string& line);
    // The property line, with the KWSetupProperty "Properties" defaults
    // merged in the first time.
    const std::string& GetPropertyLine();

    int Kind;
    // The name shown to the user (setup.ini, or the package's own setup-type name).
    std::string DisplayName;
    std::string Operation;

protected:
    static const int INSTALLSTATE_DEFAULT_VALUE = 5;
    static const int kStateNotAsked = -5;

    // Opens the query with the key as its final string literal.
    bool OpenKeyQuery(CKWMsiQuery& query, const std::string& select, const std::string& key);
    // The same, reading the first row whose columns (as many as `columns`
    // holds) can all be read.
    bool ReadFirstRow(const std::string& select, const std::string& key, std::vector<std::string>& columns);

    std::string m_path;
    std::string m_propertyLine;
    // Passed to MsiOpenDatabaseA for queries.
    const char* m_openMode;

    bool m_validPackage = false;
    int m_queriedProductState = kStateNotAsked;
    int m_wantedProductState = kStateNotAsked;
    int m_comparison = kCompareUnknown;
    std::string m_packageCode;
    std::string m_productCode;
    std::string m_upgradeCode;
    std::string m_productVersion;
    bool m_propertyLineMerged = false;
};

// Finds the assignment "name=value" in a property line: the name must start
// an assignment (at the start of the line or after a space; never inside
// another name or a quoted value). True with the value's range
// [start, end), which holds a quoted value with both its quotes.
bool FindProperty(const std::string& line, const std::string& name, size_t& valueStart, size_t& valueEnd);

// Sets "name=value" on a property line: a value with a space is quoted, an
// empty value removes the assignment.
void SetPropertyInLine(std::string& line, const std::string& name, const std::string& value);
