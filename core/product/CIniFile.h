#pragma once

#include <string>

// Reads an INI file through the profile services. A file that is missing
// makes every read return its default.
class CIniFile {
public:
    CIniFile() = default;
    virtual ~CIniFile() = default;

    void SetFile(const std::string& path);
    const std::string& GetPath() const { return m_path; }
    bool Exists() const { return m_exists; }

    int GetInt(const std::string& section, const std::string& key, int defaultValue) const;
    // The whole value, or the default when it is empty or absent.
    std::string GetString(const std::string& section, const std::string& key, const std::string& defaultValue) const;

private:
    std::string m_path;
    bool m_exists = false;
};
