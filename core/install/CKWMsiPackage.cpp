#include "CKWMsiPackage.h"

#include "CKWMsiProduct.h"
#include "CKWMsiQuery.h"
#include "MakeFullPath.h"
#include "TraceMessage.h"
#include "Version.h"

#include <msidefs.h>

#include <algorithm>
#include <cstring>

namespace {

// One assignment NAME=value of a property line, as positions in the line.
struct Assignment {
    size_t nameStart;
    size_t nameEnd;
    size_t valueStart;
    size_t valueEnd;
};

// A quoted value runs through its closing quote (to the end of the line when
// there is none), so quoted spaces never end it; any other value ends at the
// next space.
size_t ValueEnd(const std::string& line, size_t start)
{
    if (start < line.size() && line[start] == '"') {
        size_t closing = line.find('"', start + 1);
        return closing == std::string::npos ? line.size() : closing + 1;
    }
    size_t space = line.find(' ', start);
    return space == std::string::npos ? line.size() : space;
}

// The next assignment at or after pos; words without "=" are passed over.
// Walking assignment by assignment keeps a name from matching inside
// another name (DIR in INSTALLDIR) or inside a quoted value.
bool NextAssignment(const std::string& line, size_t& pos, Assignment& found)
{
    for (;;) {
        pos = line.find_first_not_of(' ', pos);
        if (pos == std::string::npos)
            return false;
        size_t wordEnd = std::min(line.find(' ', pos), line.size());
        size_t equals = line.find('=', pos);
        if (equals < wordEnd) {
            found = {pos, equals, equals + 1, ValueEnd(line, equals + 1)};
            pos = found.valueEnd;
            return true;
        }
        pos = wordEnd;
    }
}

std::string Unquoted(const std::string& value)
{
    size_t start = !value.empty() && value.front() == '"' ? 1 : 0;
    size_t end = value.size() > start && value.back() == '"' ? value.size() - 1 : value.size();
    return value.substr(start, end - start);
}

bool IsInstalledState(int state)
{
    return state == INSTALLSTATE_ADVERTISED || state == INSTALLSTATE_LOCAL || state == INSTALLSTATE_SOURCE ||
           state == INSTALLSTATE_DEFAULT;
}

} // namespace

bool FindProperty(const std::string& line, const std::string& name, size_t& valueStart, size_t& valueEnd)
{
    if (name.empty())
        return false;
    size_t pos = 0;
    Assignment assignment{};
    while (NextAssignment(line, pos, assignment)) {
        if (line.compare(assignment.nameStart, assignment.nameEnd - assignment.nameStart, name) == 0) {
            valueStart = assignment.valueStart;
            valueEnd = assignment.valueEnd;
            return true;
        }
    }
    return false;
}

CKWMsiPackage::CKWMsiPackage(const std::string& path, int kind)
    : Kind(kind), m_openMode(kind == kKindPatch ? PatchOpenMode() : ReadOnlyOpenMode())
{
    SetPath(path);
}

bool CKWMsiPackage::SetPath(const std::string& path)
{
    m_path = path;
    return MakeFullPath(m_path);
}

bool CKWMsiPackage::IsValidPackage()
{
    // Only a positive answer is kept: the file may yet appear or be repaired.
    if (!m_validPackage && g_msi.IsBound())
        m_validPackage = g_msi.MsiVerifyPackageA(m_path.c_str()) == ERROR_SUCCESS;
    return m_validPackage;
}

int CKWMsiPackage::GetProductState(bool refresh)
{
    if (m_queriedProductState == kStateNotAsked) {
        // Without the engine, or before the package file can be read (an
        // update not downloaded yet), there is nothing to ask; asking with
        // no product code would keep "invalid" as the answer for good.
        const std::string productCode = g_msi.IsBound() ? GetProductCode() : std::string();
        if (productCode.empty())
            return refresh || m_wantedProductState == kStateNotAsked ? INSTALLSTATE_UNKNOWN : m_wantedProductState;
        m_queriedProductState = g_msi.MsiQueryProductStateA(productCode.c_str());
        // A wanted state set before the first query is the caller's, not
        // the engine's, to change.
        if (m_wantedProductState == kStateNotAsked)
            m_wantedProductState = m_queriedProductState;
    }
    return refresh ? m_queriedProductState : m_wantedProductState;
}

void CKWMsiPackage::SetProductState(int state)
{
    m_wantedProductState = state;
}

std::string CKWMsiPackage::GetPackageCode()
{
    if (!m_packageCode.empty() || !g_msi.IsBound())
        return m_packageCode;
    KwMsiHandle database;
    KwMsiHandle summary;
    if (g_msi.MsiOpenDatabaseA(m_path.c_str(), m_openMode, database.Receive()) != ERROR_SUCCESS ||
        g_msi.MsiGetSummaryInformationA(database.Get(), nullptr, 0, summary.Receive()) != ERROR_SUCCESS)
        return m_packageCode;
    UINT type = 0;
    INT number = 0;
    FILETIME time{};
    ReadMsiText(40, m_packageCode, [&](char* buffer, DWORD* length) {
        return g_msi.MsiSummaryInfoGetPropertyA(summary.Get(), PID_REVNUMBER, &type, &number, &time, buffer, length);
    });
    return m_packageCode;
}

std::string CKWMsiPackage::GetProductCode()
{
    if (m_productCode.empty())
        m_productCode = GetProperty("ProductCode", false, true);
    return m_productCode;
}

std::string CKWMsiPackage::GetUpgradeCode()
{
    if (m_upgradeCode.empty())
        m_upgradeCode = GetProperty("UpgradeCode", false, true);
    return m_upgradeCode;
}

std::string CKWMsiPackage::GetProductVersion()
{
    if (m_productVersion.empty())
        m_productVersion = GetProperty("ProductVersion", false, true);
    return m_productVersion;
}

int CKWMsiPackage::GetVersionPart(int part)
{
    if (part < 1 || part > 3)
        return 0;
    std::string version = GetProductVersion();
    if (version.find('.') == std::string::npos) {
        TraceMessage("[Info] Could not get ProductVersion\n");
        return 0;
    }
    return VersionParts(version)[part - 1];
}

int CKWMsiPackage::GetPackedVersion()
{
    return PackVersion(GetProductVersion());
}

std::string CKWMsiPackage::GetInstalledInfo(const std::string& attribute)
{
    std::string text;
    CKWMsiProduct(GetProductCode()).GetInfo(attribute, text);
    return text;
}

int CKWMsiPackage::CompareWithInstalled()
{
    if (m_comparison != kCompareUnknown)
        return m_comparison;
    if (!g_msi.IsBound() || !IsValidPackage())
        return kCompareUnknown;
    if (!IsInstalledState(GetProductState(true))) {
        m_comparison = kCompareNotInstalled;
        return m_comparison;
    }
    // Package codes are GUIDs, whose letters may come back in either case.
    std::string packageCode = GetPackageCode();
    if (!packageCode.empty() && _stricmp(packageCode.c_str(), GetInstalledInfo("PackageCode").c_str()) == 0) {
        m_comparison = kCompareSame;
        return m_comparison;
    }
    int difference = CompareVersions(GetProductVersion(), GetInstalledInfo("VersionString"));
    m_comparison = difference < 0 ? kCompareOlder : difference == 0 ? kCompareSame : kCompareNewer;
    return m_comparison;
}

bool CKWMsiPackage::OpenKeyQuery(CKWMsiQuery& query, const std::string& select, const std::string& key)
{
    // The key becomes a string literal of the query, which cannot hold a
    // single quote: such a key matches nothing rather than rewriting the
    // query.
    return g_msi.IsBound() && key.find('\'') == std::string::npos &&
           query.Open(select + "'" + key + "'", m_openMode) == ERROR_SUCCESS;
}

bool CKWMsiPackage::ReadFirstRow(const std::string& select, const std::string& key, std::vector<std::string>& columns)
{
    CKWMsiQuery query(m_path);
    if (OpenKeyQuery(query, select, key)) {
        while (query.Fetch()) {
            bool read = true;
            for (size_t column = 0; column < columns.size() && read; ++column)
                read = query.GetString(static_cast<UINT>(column + 1), columns[column]) == ERROR_SUCCESS;
            if (read)
                return true;
        }
    }
    for (std::string& column : columns)
        column.clear();
    return false;
}

bool CKWMsiPackage::GetSetupProperty(const std::string& key, std::string& value, std::string& frenchValue)
{
    std::vector<std::string> columns(2);
    ReadFirstRow("SELECT `Value`,`ValueF` FROM `KWSetupProperty` WHERE `Property` = ", key, columns);
    value = columns[0];
    frenchValue = columns[1];
    return !value.empty() || !frenchValue.empty();
}

int CKWMsiPackage::GetSetupPropertyInt(const std::string& key)
{
    CKWMsiQuery query(m_path);
    if (!OpenKeyQuery(query, "SELECT `Value` FROM `KWSetupProperty` WHERE `Property` = ", key) || !query.Fetch())
        return 0;
    // An empty or non-numeric value is no number, not the engine's null
    // marker (which callers would take for a set flag).
    int number = query.GetInteger(1);
    return number == static_cast<int>(MSI_NULL_INTEGER) ? 0 : number;
}

std::string CKWMsiPackage::GetProperty(const std::string& name, bool fromLine, bool fromDatabase)
{
    size_t start = 0;
    size_t end = 0;
    if (fromLine && FindProperty(m_propertyLine, name, start, end))
        return Unquoted(m_propertyLine.substr(start, end - start));
    std::vector<std::string> columns(1);
    if (fromDatabase)
        ReadFirstRow("SELECT `Value` FROM `Property` WHERE `Property` = ", name, columns);
    return columns[0];
}

void SetPropertyInLine(std::string& line, const std::string& name, const std::string& value)
{
    if (name.empty())
        return;
    std::string written = value;
    if (written.find(' ') != std::string::npos) {
        if (written.front() != '"')
            written.insert(0, 1, '"');
        if (written.back() != '"' || written.size() == 1)
            written.push_back('"');
    }
    size_t start = 0;
    size_t end = 0;
    if (!FindProperty(line, name, start, end)) {
        if (written.empty())
            return;
        if (!line.empty())
            line += ' ';
        line += name + "=" + written;
    } else if (written.empty()) {
        size_t assignmentStart = start - name.size() - 1;
        size_t next = std::min(line.find_first_not_of(' ', end), line.size());
        line.erase(assignmentStart, next - assignmentStart);
    } else {
        line.replace(start, end - start, written);
    }
}

void CKWMsiPackage::SetProperty(const std::string& name, const std::string& value)
{
    SetPropertyInLine(m_propertyLine, name, value);
}

void CKWMsiPackage::SetPropertyLine(const std::string& line)
{
    m_propertyLine = line;
}

const std::string& CKWMsiPackage::GetPropertyLine()
{
    if (m_propertyLineMerged || !g_msi.IsBound())
        return m_propertyLine;
    m_propertyLineMerged = true;
    CKWMsiQuery query(m_path);
    if (!OpenKeyQuery(query, "SELECT `Value` FROM `KWSetupProperty` WHERE `Property` = ", "Properties"))
        return m_propertyLine;
    std::string defaults;
    while (query.Fetch()) {
        if (query.GetString(1, defaults) != ERROR_SUCCESS)
            continue;
        if (m_propertyLine.empty()) {
            m_propertyLine = defaults;
            break;
        }
        // Assignments already on the line win over the defaults; a default
        // is copied as written, quotes and all.
        size_t pos = 0;
        Assignment assignment{};
        while (NextAssignment(defaults, pos, assignment)) {
            std::string name = defaults.substr(assignment.nameStart, assignment.nameEnd - assignment.nameStart);
            if (GetProperty(name, true, false).empty())
                SetProperty(name, defaults.substr(assignment.valueStart, assignment.valueEnd - assignment.valueStart));
        }
    }
    return m_propertyLine;
}
