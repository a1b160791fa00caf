#include "CKWMsiQuery.h"

CKWMsiQuery::CKWMsiQuery(const std::string& packagePath) : m_path(packagePath)
{
    if (!g_msi.IsBound() || m_path.empty())
        return;
    m_valid = g_msi.MsiVerifyPackageA(m_path.c_str()) == ERROR_SUCCESS;
    if (!m_valid) {
        // Patches do not verify as installer packages; they open as patch files.
        KwMsiHandle patch;
        m_valid = g_msi.MsiOpenDatabaseA(m_path.c_str(), PatchOpenMode(), patch.Receive()) == ERROR_SUCCESS;
    }
}

CKWMsiQuery::~CKWMsiQuery()
{
    Close();
}

UINT CKWMsiQuery::Open(const std::string& query, LPCSTR openMode)
{
    if (m_open)
        return ERROR_ACCESS_DENIED;
    if (!m_valid)
        return ERROR_INVALID_PARAMETER;
    UINT result = g_msi.MsiOpenDatabaseA(m_path.c_str(), openMode, m_database.Receive());
    if (result == ERROR_SUCCESS)
        result = g_msi.MsiDatabaseOpenViewA(m_database.Get(), query.c_str(), m_view.Receive());
    if (result == ERROR_SUCCESS)
        result = g_msi.MsiViewExecute(m_view.Get(), 0);
    if (result != ERROR_SUCCESS) {
        Close();
        return result;
    }
    m_open = true;
    return ERROR_SUCCESS;
}

bool CKWMsiQuery::Fetch()
{
    if (!m_open || !m_valid)
        return false;
    m_fetched = g_msi.MsiViewFetch(m_view.Get(), m_record.Receive()) == ERROR_SUCCESS;
    return m_fetched;
}

int CKWMsiQuery::GetInteger(UINT column) const
{
    return m_fetched ? g_msi.MsiRecordGetInteger(m_record.Get(), column) : static_cast<int>(MSI_NULL_INTEGER);
}

UINT CKWMsiQuery::GetString(UINT column, std::string& value) const
{
    value.clear();
    if (!m_open)
        return ERROR_ACCESS_DENIED;
    if (!m_valid)
        return ERROR_INVALID_HANDLE;
    if (!m_fetched)
        return ERROR_NO_MORE_ITEMS;
    return ReadMsiText(MAX_PATH, value, [this, column](char* buffer, DWORD* length) {
        return g_msi.MsiRecordGetStringA(m_record.Get(), column, buffer, length);
    });
}

void CKWMsiQuery::Close()
{
    m_record.Reset();
    m_view.Reset();
    m_database.Reset();
    m_open = false;
    m_fetched = false;
}
