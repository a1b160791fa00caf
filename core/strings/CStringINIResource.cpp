#include "CStringINIResource.h"

#include "KwHandle.h"

#include <windows.h>

CStringINIResource::CStringINIResource() : CCustomResource("STRINGINI")
{
}

CStringINIResource::~CStringINIResource()
{
    DeleteOwnTempFile();
}

void CStringINIResource::DeleteOwnTempFile()
{
    if (m_ownsTempFile)
        DeleteFileA(m_tempPath.c_str());
    m_ownsTempFile = false;
    m_tempPath.clear();
}

bool CStringINIResource::Load(int id)
{
    if (m_loaded && m_id == id)
        return true;
    m_loaded = false;
    CCustomResource::Load(id);
    if (!m_ownsTempFile) {
        char folder[MAX_PATH] = "";
        char path[MAX_PATH] = "";
        DWORD length = ::GetTempPathA(sizeof folder, folder);
        if (length == 0 || length >= sizeof folder || GetTempFileNameA(folder, "KW", 0, path) == 0)
            return false;
        m_tempPath = path;
        m_ownsTempFile = true;
    }
    // Written in binary so the table's CRLF line ends reach the file as they are.
    DeleteFileA(m_tempPath.c_str());
    KwHandle file(
        CreateFileA(m_tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!file.IsValid())
        return false;
    DWORD written = 0;
    if (!WriteFile(file.Get(), m_text.data(), static_cast<DWORD>(m_text.size()), &written, nullptr) ||
        written != m_text.size())
        return false;
    file.Reset();
    m_ini.SetFile(m_tempPath);
    m_loaded = true;
    return true;
}

void CStringINIResource::TakeOver(const CStringINIResource& other)
{
    DeleteOwnTempFile();
    CopyFrom(other);
    m_tempPath = other.m_tempPath;
    m_ini = other.m_ini;
    m_loaded = other.m_loaded;
}

std::string CStringINIResource::Lookup(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) const
{
    // A table that could not be written still leaves the caller's default,
    // so no label goes blank.
    if (!m_loaded)
        return defaultValue;
    return m_ini.GetString(section, key, defaultValue);
}

CStringINIResource& EnglishStringTable()
{
    static CStringINIResource table;
    return table;
}

CStringINIResource& FrenchStringTable()
{
    static CStringINIResource table;
    return table;
}
