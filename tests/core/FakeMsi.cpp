#include "FakeMsi.h"

#include <cstring>
#include <stdexcept>

namespace {

FakeMsi* g_current = nullptr;

std::string Text(LPCSTR text)
{
    return text != nullptr ? text : "{null}";
}

void Record(const std::string& call)
{
    FakeMsi::Current().calls.push_back(call);
}

// The engine's string-out convention: copy what fits; ERROR_MORE_DATA with the
// length needed (without the terminator) when the buffer is too small.
UINT CopyOut(const std::string& value, LPSTR buffer, LPDWORD length)
{
    if (length == nullptr)
        return buffer == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    DWORD capacity = *length;
    *length = static_cast<DWORD>(value.size());
    if (buffer == nullptr)
        return ERROR_SUCCESS;
    if (capacity <= value.size()) {
        if (capacity > 0) {
            std::memcpy(buffer, value.data(), capacity - 1);
            buffer[capacity - 1] = '\0';
        }
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    return ERROR_SUCCESS;
}

FakeMsi::Handle* Find(MSIHANDLE handle, FakeMsi::Handle::Type type)
{
    auto& handles = FakeMsi::Current().handles;
    auto found = handles.find(handle);
    return found != handles.end() && found->second.type == type ? &found->second : nullptr;
}

UINT WINAPI FakeApplyPatch(LPCSTR patch, LPCSTR package, INSTALLTYPE type, LPCSTR commandLine)
{
    Record("MsiApplyPatchA|" + Text(patch) + "|" + Text(package) + "|" + std::to_string(type) + "|" +
           Text(commandLine));
    return FakeMsi::Current().applyPatchResult;
}

UINT WINAPI FakeCloseHandle(MSIHANDLE handle)
{
    return FakeMsi::Current().handles.erase(handle) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

UINT WINAPI FakeConfigureFeature(LPCSTR product, LPCSTR feature, INSTALLSTATE state)
{
    Record("MsiConfigureFeatureA|" + Text(product) + "|" + Text(feature) + "|" + std::to_string(state));
    return ERROR_CALL_NOT_IMPLEMENTED;
}

UINT WINAPI FakeConfigureProduct(LPCSTR product, int level, INSTALLSTATE state)
{
    Record("MsiConfigureProductA|" + Text(product) + "|" + std::to_string(level) + "|" + std::to_string(state));
    return FakeMsi::Current().configureResult;
}

UINT WINAPI FakeConfigureProductEx(LPCSTR product, int level, INSTALLSTATE state, LPCSTR commandLine)
{
    Record("MsiConfigureProductExA|" + Text(product) + "|" + std::to_string(level) + "|" + std::to_string(state) + "|" +
           Text(commandLine));
    return ERROR_CALL_NOT_IMPLEMENTED;
}

UINT WINAPI FakeDatabaseApplyTransform(MSIHANDLE, LPCSTR transform, int)
{
    Record("MsiDatabaseApplyTransformA|" + Text(transform));
    return ERROR_CALL_NOT_IMPLEMENTED;
}

UINT WINAPI FakeDatabaseCommit(MSIHANDLE)
{
    Record("MsiDatabaseCommit");
    return ERROR_CALL_NOT_IMPLEMENTED;
}

UINT WINAPI FakeDatabaseOpenView(MSIHANDLE database, LPCSTR query, MSIHANDLE* view)
{
    FakeMsi& fake = FakeMsi::Current();
    FakeMsi::Handle* db = Find(database, FakeMsi::Handle::Database);
    if (db == nullptr || query == nullptr || view == nullptr)
        return ERROR_INVALID_HANDLE;
    FakeMsi::Package* package = fake.FindPackage(db->path);
    for (const std::string& failing : package->failingQueries)
        if (failing == query)
            return ERROR_BAD_QUERY_SYNTAX;
    FakeMsi::Handle handle{FakeMsi::Handle::View, db->path, {}, 0, {}};
    auto rows = package->queries.find(query);
    if (rows != package->queries.end())
        handle.rows = rows->second;
    *view = fake.NewHandle(handle);
    return ERROR_SUCCESS;
}

UINT WINAPI FakeEnableLog(DWORD mode, LPCSTR path, DWORD attributes)
{
    Record("MsiEnableLogA|" + std::to_string(mode) + "|" + Text(path) + "|" + std::to_string(attributes));
    return ERROR_SUCCESS;
}

UINT WINAPI FakeEnumFeatures(LPCSTR, DWORD, LPSTR, LPSTR)
{
    return ERROR_CALL_NOT_IMPLEMENTED;
}

UINT WINAPI FakeEnumProducts(DWORD, LPSTR)
{
    return ERROR_CALL_NOT_IMPLEMENTED;
}

UINT WINAPI FakeEnumRelatedProducts(LPCSTR, DWORD, DWORD, LPSTR)
{
    return ERROR_CALL_NOT_IMPLEMENTED;
}

MSICONDITION WINAPI FakeEvaluateCondition(MSIHANDLE package, LPCSTR condition)
{
    FakeMsi::Handle* handle = Find(package, FakeMsi::Handle::Product);
    Record("MsiEvaluateConditionA|" + Text(condition));
    if (handle == nullptr || condition == nullptr)
        return MSICONDITION_ERROR;
    auto& conditions = FakeMsi::Current().FindPackage(handle->path)->conditions;
    auto found = conditions.find(condition);
    return found != conditions.end() ? static_cast<MSICONDITION>(found->second) : MSICONDITION_TRUE;
}

UINT WINAPI FakeGetPatchInfo(LPCSTR, LPCSTR, LPSTR, LPDWORD)
{
    return ERROR_CALL_NOT_IMPLEMENTED;
}

UINT WINAPI FakeGetProductInfo(LPCSTR product, LPCSTR attribute, LPSTR buffer, LPDWORD length)
{
    auto& info = FakeMsi::Current().productInfo;
    auto found = info.find(Text(product));
    if (found == info.end())
        return ERROR_UNKNOWN_PRODUCT;
    auto value = found->second.find(Text(attribute));
    if (value == found->second.end())
        return ERROR_UNKNOWN_PROPERTY;
    return CopyOut(value->second, buffer, length);
}

UINT WINAPI FakeGetProductProperty(MSIHANDLE, LPCSTR, LPSTR, LPDWORD)
{
    return ERROR_CALL_NOT_IMPLEMENTED;
}

UINT WINAPI FakeGetProperty(MSIHANDLE, LPCSTR, LPSTR, LPDWORD)
{
    return ERROR_CALL_NOT_IMPLEMENTED;
}

UINT WINAPI FakeGetSummaryInformation(MSIHANDLE database, LPCSTR path, UINT, MSIHANDLE* summary)
{
    FakeMsi& fake = FakeMsi::Current();
    std::string packagePath;
    if (FakeMsi::Handle* db = Find(database, FakeMsi::Handle::Database))
        packagePath = db->path;
    else if (path != nullptr)
        packagePath = path;
    if (fake.FindPackage(packagePath) == nullptr || summary == nullptr)
        return ERROR_OPEN_FAILED;
    *summary = fake.NewHandle({FakeMsi::Handle::Summary, packagePath, {}, 0, {}});
    return ERROR_SUCCESS;
}

UINT WINAPI FakeInstallProduct(LPCSTR package, LPCSTR commandLine)
{
    Record("MsiInstallProductA|" + Text(package) + "|" + Text(commandLine));
    return FakeMsi::Current().installResult;
}

UINT WINAPI FakeOpenDatabase(LPCSTR path, LPCSTR persist, MSIHANDLE* database)
{
    FakeMsi& fake = FakeMsi::Current();
    uintptr_t mode = reinterpret_cast<uintptr_t>(persist);
    Record("MsiOpenDatabaseA|" + Text(path) + "|" + std::to_string(mode));
    FakeMsi::Package* package = path != nullptr ? fake.FindPackage(path) : nullptr;
    if (package == nullptr || database == nullptr)
        return ERROR_OPEN_FAILED;
    // Only patch packages open as patch files.
    if ((mode & MSIDBOPEN_PATCHFILE) != 0 && !package->validPatch)
        return ERROR_OPEN_FAILED;
    *database = fake.NewHandle({FakeMsi::Handle::Database, path, {}, 0, {}});
    return ERROR_SUCCESS;
}

UINT WINAPI FakeOpenPackage(LPCSTR path, MSIHANDLE* package)
{
    FakeMsi& fake = FakeMsi::Current();
    Record("MsiOpenPackageA|" + Text(path));
    FakeMsi::Package* scripted = path != nullptr ? fake.FindPackage(path) : nullptr;
    if (scripted == nullptr || scripted->openPackageFails || package == nullptr)
        return ERROR_OPEN_FAILED;
    *package = fake.NewHandle({FakeMsi::Handle::Product, path, {}, 0, {}});
    return ERROR_SUCCESS;
}

UINT WINAPI FakeOpenProduct(LPCSTR, MSIHANDLE*)
{
    return ERROR_CALL_NOT_IMPLEMENTED;
}

INSTALLSTATE WINAPI FakeQueryFeatureState(LPCSTR product, LPCSTR feature)
{
    auto& states = FakeMsi::Current().featureStates;
    auto found = states.find(Text(product) + "|" + Text(feature));
    return found != states.end() ? static_cast<INSTALLSTATE>(found->second) : INSTALLSTATE_UNKNOWN;
}

INSTALLSTATE WINAPI FakeQueryProductState(LPCSTR product)
{
    Record("MsiQueryProductStateA|" + Text(product));
    auto& states = FakeMsi::Current().productStates;
    auto found = states.find(Text(product));
    return found != states.end() ? static_cast<INSTALLSTATE>(found->second) : INSTALLSTATE_UNKNOWN;
}

int WINAPI FakeRecordGetInteger(MSIHANDLE record, UINT field)
{
    FakeMsi::Handle* handle = Find(record, FakeMsi::Handle::Record);
    if (handle == nullptr || field == 0 || field > handle->row.size() || handle->row[field - 1].empty())
        return MSI_NULL_INTEGER;
    try {
        return std::stoi(handle->row[field - 1]);
    } catch (const std::exception&) {
        return MSI_NULL_INTEGER;
    }
}

UINT WINAPI FakeRecordGetString(MSIHANDLE record, UINT field, LPSTR buffer, LPDWORD length)
{
    FakeMsi::Handle* handle = Find(record, FakeMsi::Handle::Record);
    if (handle == nullptr)
        return ERROR_INVALID_HANDLE;
    std::string value = field >= 1 && field <= handle->row.size() ? handle->row[field - 1] : std::string();
    return CopyOut(value, buffer, length);
}

UINT WINAPI FakeReinstallProduct(LPCSTR product, DWORD mode)
{
    Record("MsiReinstallProductA|" + Text(product) + "|" + std::to_string(mode));
    return FakeMsi::Current().reinstallResult;
}

INSTALLUI_HANDLERA WINAPI FakeSetExternalUI(INSTALLUI_HANDLERA, DWORD filter, LPVOID)
{
    Record("MsiSetExternalUIA|" + std::to_string(filter));
    return nullptr;
}

INSTALLUILEVEL WINAPI FakeSetInternalUI(INSTALLUILEVEL level, HWND*)
{
    Record("MsiSetInternalUI|" + std::to_string(level));
    return INSTALLUILEVEL_DEFAULT;
}

UINT WINAPI FakeSummaryInfoGetProperty(MSIHANDLE summary, UINT property, PUINT type, LPINT, FILETIME*, LPSTR buffer,
                                       LPDWORD length)
{
    FakeMsi::Handle* handle = Find(summary, FakeMsi::Handle::Summary);
    if (handle == nullptr)
        return ERROR_INVALID_HANDLE;
    if (property != PIDSI_REVNUMBER) {
        if (type != nullptr)
            *type = VT_EMPTY;
        return ERROR_SUCCESS;
    }
    if (type != nullptr)
        *type = VT_LPSTR;
    return CopyOut(FakeMsi::Current().FindPackage(handle->path)->packageCode, buffer, length);
}

UINT WINAPI FakeVerifyPackage(LPCSTR path)
{
    Record("MsiVerifyPackageA|" + Text(path));
    FakeMsi::Package* package = path != nullptr ? FakeMsi::Current().FindPackage(path) : nullptr;
    return package != nullptr && package->validInstaller ? ERROR_SUCCESS : ERROR_INSTALL_PACKAGE_INVALID;
}

UINT WINAPI FakeViewExecute(MSIHANDLE view, MSIHANDLE)
{
    return Find(view, FakeMsi::Handle::View) != nullptr ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

UINT WINAPI FakeViewFetch(MSIHANDLE view, MSIHANDLE* record)
{
    FakeMsi::Handle* handle = Find(view, FakeMsi::Handle::View);
    if (handle == nullptr || record == nullptr)
        return ERROR_INVALID_HANDLE;
    if (handle->next >= handle->rows.size())
        return ERROR_NO_MORE_ITEMS;
    FakeMsi::Handle row{FakeMsi::Handle::Record, handle->path, {}, 0, handle->rows[handle->next++]};
    *record = FakeMsi::Current().NewHandle(row);
    return ERROR_SUCCESS;
}

} // namespace

FakeMsi::FakeMsi() : m_saved(g_msi)
{
    if (g_current != nullptr)
        throw std::logic_error("only one FakeMsi at a time");
    g_current = this;
    MsiEntryPoints& entry = g_msi;
    entry.MsiApplyPatchA = FakeApplyPatch;
    entry.MsiCloseHandle = FakeCloseHandle;
    entry.MsiConfigureFeatureA = FakeConfigureFeature;
    entry.MsiConfigureProductA = FakeConfigureProduct;
    entry.MsiConfigureProductExA = FakeConfigureProductEx;
    entry.MsiDatabaseApplyTransformA = FakeDatabaseApplyTransform;
    entry.MsiDatabaseCommit = FakeDatabaseCommit;
    entry.MsiDatabaseOpenViewA = FakeDatabaseOpenView;
    entry.MsiEnableLogA = FakeEnableLog;
    entry.MsiEnumFeaturesA = FakeEnumFeatures;
    entry.MsiEnumProductsA = FakeEnumProducts;
    entry.MsiEnumRelatedProductsA = FakeEnumRelatedProducts;
    entry.MsiEvaluateConditionA = FakeEvaluateCondition;
    entry.MsiGetPatchInfoA = FakeGetPatchInfo;
    entry.MsiGetProductInfoA = FakeGetProductInfo;
    entry.MsiGetProductPropertyA = FakeGetProductProperty;
    entry.MsiGetPropertyA = FakeGetProperty;
    entry.MsiGetSummaryInformationA = FakeGetSummaryInformation;
    entry.MsiInstallProductA = FakeInstallProduct;
    entry.MsiOpenDatabaseA = FakeOpenDatabase;
    entry.MsiOpenPackageA = FakeOpenPackage;
    entry.MsiOpenProductA = FakeOpenProduct;
    entry.MsiQueryFeatureStateA = FakeQueryFeatureState;
    entry.MsiQueryProductStateA = FakeQueryProductState;
    entry.MsiRecordGetInteger = FakeRecordGetInteger;
    entry.MsiRecordGetStringA = FakeRecordGetString;
    entry.MsiReinstallProductA = FakeReinstallProduct;
    entry.MsiSetExternalUIA = FakeSetExternalUI;
    entry.MsiSetInternalUI = FakeSetInternalUI;
    entry.MsiSummaryInfoGetPropertyA = FakeSummaryInfoGetProperty;
    entry.MsiVerifyPackageA = FakeVerifyPackage;
    entry.MsiViewExecute = FakeViewExecute;
    entry.MsiViewFetch = FakeViewFetch;
}

FakeMsi::~FakeMsi()
{
    static_cast<MsiEntryPoints&>(g_msi) = m_saved;
    g_current = nullptr;
}

void FakeMsi::Unbind()
{
    static_cast<MsiEntryPoints&>(g_msi) = MsiEntryPoints();
}

FakeMsi& FakeMsi::Current()
{
    if (g_current == nullptr)
        throw std::logic_error("no FakeMsi installed");
    return *g_current;
}

std::vector<std::string> FakeMsi::CallsTo(const std::string& function) const
{
    std::vector<std::string> arguments;
    std::string prefix = function + "|";
    for (const std::string& call : calls) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            arguments.push_back(call.substr(prefix.size()));
        else if (call == function)
            arguments.push_back(std::string());
    }
    return arguments;
}

int FakeMsi::CountCalls(const std::string& function) const
{
    return static_cast<int>(CallsTo(function).size());
}

MSIHANDLE FakeMsi::NewHandle(Handle handle)
{
    MSIHANDLE id = nextHandle++;
    handles[id] = handle;
    return id;
}

FakeMsi::Package* FakeMsi::FindPackage(const std::string& path)
{
    auto found = packages.find(path);
    return found != packages.end() ? &found->second : nullptr;
}
