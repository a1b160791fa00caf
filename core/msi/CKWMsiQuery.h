#pragma once

#include "KwMsiHandle.h"

#include <string>

// Database open modes for queries: installer packages read-only, patch
// packages read-only as patch files.
inline LPCSTR ReadOnlyOpenMode()
{
    return MSIDBOPEN_READONLY;
}
inline LPCSTR PatchOpenMode()
{
    return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(MSIDBOPEN_PATCHFILE));
}

// A read-only query on the database of an installer or patch package:
// opened, fetched row by row and closed; no handle outlives Close or the
// object.
class CKWMsiQuery {
public:
    // Whether the path names a valid installer or patch package is decided
    // here, once.
    explicit CKWMsiQuery(const std::string& packagePath);
    virtual ~CKWMsiQuery();
    CKWMsiQuery(const CKWMsiQuery&) = delete;
    CKWMsiQuery& operator=(const CKWMsiQuery&) = delete;

    bool IsValid() const { return m_valid; }
    bool IsOpen() const { return m_open; }

    // 0, 5 when already open, 87 when the package is not valid, else the
    // engine's code (nothing stays open then).
    UINT Open(const std::string& query, LPCSTR openMode);
    // Whether the next row was fetched.
    bool Fetch();
    // Columns count from 1. MSI_NULL_INTEGER when no row is fetched.
    int GetInteger(UINT column) const;
    // 0 or the engine's code; 5 when not open, 6 when not valid, 259 when no
    // row is fetched. The value is empty unless the result is 0.
    UINT GetString(UINT column, std::string& value) const;
    void Close();

private:
    std::string m_path;
    bool m_valid = false;
    bool m_open = false;
    bool m_fetched = false;
    KwMsiHandle m_database;
    KwMsiHandle m_view;
    KwMsiHandle m_record;
};
