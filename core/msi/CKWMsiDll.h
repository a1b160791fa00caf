#pragma once

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>

// The 33 engine functions the programs use, in their fixed order.
struct MsiEntryPoints {
    decltype(&::MsiApplyPatchA) MsiApplyPatchA = nullptr;
    decltype(&::MsiCloseHandle) MsiCloseHandle = nullptr;
    decltype(&::MsiConfigureFeatureA) MsiConfigureFeatureA = nullptr;
    decltype(&::MsiConfigureProductA) MsiConfigureProductA = nullptr;
    decltype(&::MsiConfigureProductExA) MsiConfigureProductExA = nullptr;
    decltype(&::MsiDatabaseApplyTransformA) MsiDatabaseApplyTransformA = nullptr;
    decltype(&::MsiDatabaseCommit) MsiDatabaseCommit = nullptr;
    decltype(&::MsiDatabaseOpenViewA) MsiDatabaseOpenViewA = nullptr;
    decltype(&::MsiEnableLogA) MsiEnableLogA = nullptr;
    decltype(&::MsiEnumFeaturesA) MsiEnumFeaturesA = nullptr;
    decltype(&::MsiEnumProductsA) MsiEnumProductsA = nullptr;
    decltype(&::MsiEnumRelatedProductsA) MsiEnumRelatedProductsA = nullptr;
    decltype(&::MsiEvaluateConditionA) MsiEvaluateConditionA = nullptr;
    decltype(&::MsiGetPatchInfoA) MsiGetPatchInfoA = nullptr;
    decltype(&::MsiGetProductInfoA) MsiGetProductInfoA = nullptr;
    decltype(&::MsiGetProductPropertyA) MsiGetProductPropertyA = nullptr;
    decltype(&::MsiGetPropertyA) MsiGetPropertyA = nullptr;
    decltype(&::MsiGetSummaryInformationA) MsiGetSummaryInformationA = nullptr;
    decltype(&::MsiInstallProductA) MsiInstallProductA = nullptr;
    decltype(&::MsiOpenDatabaseA) MsiOpenDatabaseA = nullptr;
    decltype(&::MsiOpenPackageA) MsiOpenPackageA = nullptr;
    decltype(&::MsiOpenProductA) MsiOpenProductA = nullptr;
    decltype(&::MsiQueryFeatureStateA) MsiQueryFeatureStateA = nullptr;
    decltype(&::MsiQueryProductStateA) MsiQueryProductStateA = nullptr;
    decltype(&::MsiRecordGetInteger) MsiRecordGetInteger = nullptr;
    decltype(&::MsiRecordGetStringA) MsiRecordGetStringA = nullptr;
    decltype(&::MsiReinstallProductA) MsiReinstallProductA = nullptr;
    decltype(&::MsiSetExternalUIA) MsiSetExternalUIA = nullptr;
    decltype(&::MsiSetInternalUI) MsiSetInternalUI = nullptr;
    decltype(&::MsiSummaryInfoGetPropertyA) MsiSummaryInfoGetPropertyA = nullptr;
    decltype(&::MsiVerifyPackageA) MsiVerifyPackageA = nullptr;
    decltype(&::MsiViewExecute) MsiViewExecute = nullptr;
    decltype(&::MsiViewFetch) MsiViewFetch = nullptr;
};

// The Windows Installer engine, bound at run time so that a newer engine
// installed while the program runs can be bound again. The entry points are
// plain pointers: every caller goes through them, and tests put recording
// fakes in their place.
class CKWMsiDll : public MsiEntryPoints {
public:
    CKWMsiDll();
    virtual ~CKWMsiDll();
    CKWMsiDll(const CKWMsiDll&) = delete;
    CKWMsiDll& operator=(const CKWMsiDll&) = delete;

    // 0 when the library loaded and every entry point resolved (or it was
    // already loaded), 1603 otherwise, 14 when memory ran out.
    UINT Load();
    UINT EnsureLoaded();
    void Unload();

    // True when every entry point is present, whether from the library or
    // put there by a test.
    bool IsBound() const;
    HMODULE GetModule() const { return m_module; }

    // The library file: "msi.dll" in the folder the system registers under
    // "InstallerLocation", or the bare name when none is registered.
    static std::string LibraryPath();

private:
    void ClearEntryPoints();
    bool ResolveEntryPoints();

    HMODULE m_module = nullptr;
};

// The process-wide binding, loaded when the program starts.
extern CKWMsiDll g_msi;
