#include "CKWMsiDll.h"

#include "TraceMessage.h"

#include <new>
#include <vector>

CKWMsiDll g_msi;

namespace {

template <typename Pointer> bool Resolve(HMODULE module, const char* name, Pointer& entry)
{
    entry = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return entry != nullptr;
}

} // namespace

CKWMsiDll::CKWMsiDll()
{
    Load();
}

CKWMsiDll::~CKWMsiDll()
{
    if (m_module != nullptr)
        FreeLibrary(m_module);
}

std::string CKWMsiDll::LibraryPath()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Installer", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return "msi.dll";
    std::vector<char> data(260);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    LONG result =
        RegQueryValueExA(key, "InstallerLocation", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (result == ERROR_MORE_DATA) {
        data.resize(size);
        result =
            RegQueryValueExA(key, "InstallerLocation", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return "msi.dll";
    std::string folder(data.data(), strnlen(data.data(), size));
    if (folder.empty())
        return "msi.dll";
    if (folder.back() != '\\')
        folder += '\\';
    return folder + "msi.dll";
}

UINT CKWMsiDll::Load()
{
    if (m_module != nullptr)
        return 0;
    UINT result = 0;
    try {
        m_module = LoadLibraryA(LibraryPath().c_str());
        if (m_module == nullptr || !ResolveEntryPoints()) {
            if (m_module != nullptr)
                FreeLibrary(m_module);
            m_module = nullptr;
            ClearEntryPoints();
            result = ERROR_INSTALL_FAILURE;
        }
    } catch (const std::bad_alloc&) {
        result = ERROR_OUTOFMEMORY;
    }
    TraceMessage("MSI.DLL loaded\n");
    return result;
}

UINT CKWMsiDll::EnsureLoaded()
{
    return m_module == nullptr ? Load() : 0;
}

void CKWMsiDll::Unload()
{
    if (m_module != nullptr)
        FreeLibrary(m_module);
    m_module = nullptr;
    ClearEntryPoints();
    TraceMessage("MSI.DLL unloaded\n");
}

bool CKWMsiDll::IsBound() const
{
    return MsiApplyPatchA != nullptr && MsiCloseHandle != nullptr && MsiConfigureFeatureA != nullptr &&
           MsiConfigureProductA != nullptr && MsiConfigureProductExA != nullptr &&
           MsiDatabaseApplyTransformA != nullptr && MsiDatabaseCommit != nullptr && MsiDatabaseOpenViewA != nullptr &&
           MsiEnableLogA != nullptr && MsiEnumFeaturesA != nullptr && MsiEnumProductsA != nullptr &&
           MsiEnumRelatedProductsA != nullptr && MsiEvaluateConditionA != nullptr && MsiGetPatchInfoA != nullptr &&
           MsiGetProductInfoA != nullptr && MsiGetProductPropertyA != nullptr && MsiGetPropertyA != nullptr &&
           MsiGetSummaryInformationA != nullptr && MsiInstallProductA != nullptr && MsiOpenDatabaseA != nullptr &&
           MsiOpenPackageA != nullptr && MsiOpenProductA != nullptr && MsiQueryFeatureStateA != nullptr &&
           MsiQueryProductStateA != nullptr && MsiRecordGetInteger != nullptr && MsiRecordGetStringA != nullptr &&
           MsiReinstallProductA != nullptr && MsiSetExternalUIA != nullptr && MsiSetInternalUI != nullptr &&
           MsiSummaryInfoGetPropertyA != nullptr && MsiVerifyPackageA != nullptr && MsiViewExecute != nullptr &&
           MsiViewFetch != nullptr;
}

bool CKWMsiDll::ResolveEntryPoints()
{
    bool ok = true;
    ok = Resolve(m_module, "MsiApplyPatchA", MsiApplyPatchA) && ok;
    ok = Resolve(m_module, "MsiCloseHandle", MsiCloseHandle) && ok;
    ok = Resolve(m_module, "MsiConfigureFeatureA", MsiConfigureFeatureA) && ok;
    ok = Resolve(m_module, "MsiConfigureProductA", MsiConfigureProductA) && ok;
    ok = Resolve(m_module, "MsiConfigureProductExA", MsiConfigureProductExA) && ok;
    ok = Resolve(m_module, "MsiDatabaseApplyTransformA", MsiDatabaseApplyTransformA) && ok;
    ok = Resolve(m_module, "MsiDatabaseCommit", MsiDatabaseCommit) && ok;
    ok = Resolve(m_module, "MsiDatabaseOpenViewA", MsiDatabaseOpenViewA) && ok;
    ok = Resolve(m_module, "MsiEnableLogA", MsiEnableLogA) && ok;
    ok = Resolve(m_module, "MsiEnumFeaturesA", MsiEnumFeaturesA) && ok;
    ok = Resolve(m_module, "MsiEnumProductsA", MsiEnumProductsA) && ok;
    ok = Resolve(m_module, "MsiEnumRelatedProductsA", MsiEnumRelatedProductsA) && ok;
    ok = Resolve(m_module, "MsiEvaluateConditionA", MsiEvaluateConditionA) && ok;
    ok = Resolve(m_module, "MsiGetPatchInfoA", MsiGetPatchInfoA) && ok;
    ok = Resolve(m_module, "MsiGetProductInfoA", MsiGetProductInfoA) && ok;
    ok = Resolve(m_module, "MsiGetProductPropertyA", MsiGetProductPropertyA) && ok;
    ok = Resolve(m_module, "MsiGetPropertyA", MsiGetPropertyA) && ok;
    ok = Resolve(m_module, "MsiGetSummaryInformationA", MsiGetSummaryInformationA) && ok;
    ok = Resolve(m_module, "MsiInstallProductA", MsiInstallProductA) && ok;
    ok = Resolve(m_module, "MsiOpenDatabaseA", MsiOpenDatabaseA) && ok;
    ok = Resolve(m_module, "MsiOpenPackageA", MsiOpenPackageA) && ok;
    ok = Resolve(m_module, "MsiOpenProductA", MsiOpenProductA) && ok;
    ok = Resolve(m_module, "MsiQueryFeatureStateA", MsiQueryFeatureStateA) && ok;
    ok = Resolve(m_module, "MsiQueryProductStateA", MsiQueryProductStateA) && ok;
    ok = Resolve(m_module, "MsiRecordGetInteger", MsiRecordGetInteger) && ok;
    ok = Resolve(m_module, "MsiRecordGetStringA", MsiRecordGetStringA) && ok;
    ok = Resolve(m_module, "MsiReinstallProductA", MsiReinstallProductA) && ok;
    ok = Resolve(m_module, "MsiSetExternalUIA", MsiSetExternalUIA) && ok;
    ok = Resolve(m_module, "MsiSetInternalUI", MsiSetInternalUI) && ok;
    ok = Resolve(m_module, "MsiSummaryInfoGetPropertyA", MsiSummaryInfoGetPropertyA) && ok;
    ok = Resolve(m_module, "MsiVerifyPackageA", MsiVerifyPackageA) && ok;
    ok = Resolve(m_module, "MsiViewExecute", MsiViewExecute) && ok;
    ok = Resolve(m_module, "MsiViewFetch", MsiViewFetch) && ok;
    return ok;
}

void CKWMsiDll::ClearEntryPoints()
{
    static_cast<MsiEntryPoints&>(*this) = MsiEntryPoints();
}
