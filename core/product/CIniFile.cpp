#include "CIniFile.h"

#include <windows.h>

#include <io.h>
#include <vector>

void CIniFile::SetFile(const std::string& path)
{
    m_path = path;
    m_exists = _access(path.c_str(), 0) == 0;
}

int CIniFile::GetInt(const std::string& section, const std::string& key, int defaultValue) const
{
    if (!m_exists)
        return defaultValue;
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, m_path.c_str()));
}

std::string CIniFile::GetString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    if (!m_exists)
        return defaultValue;
    // The profile service cuts a value that does not fit and then returns the
    // buffer size less one: grow until the whole value fits.
    std::vector<char> buffer(1024);
    for (;;) {
        DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                                static_cast<DWORD>(buffer.size()), m_path.c_str());
        if (length + 1 < buffer.size() || buffer.size() >= (1u << 26)) {
            std::string value(buffer.data(), length);
            return value.empty() ? defaultValue : value;
        }
        buffer.resize(buffer.size() * 4);
    }
}
