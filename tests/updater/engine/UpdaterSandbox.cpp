#include "UpdaterSandbox.h"

#include "CKWInstallationData.h"
#include "CKWUpdateCatalog.h"

#include <gtest/gtest.h>

namespace {

std::string Subkey(const std::string& keyPath)
{
    const std::string root = "HKEY_CURRENT_USER\\";
    return keyPath.compare(0, root.size(), root) == 0 ? keyPath.substr(root.size()) : keyPath;
}

} // namespace

UpdaterSandbox::UpdaterSandbox()
{
    m_sandboxKey = "Software\\KwTests\\User" + std::to_string(GetCurrentProcessId());
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, m_sandboxKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &m_user, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, m_user));
    m_log = std::make_unique<CKWLogFile>(m_folder.File("KW#UPDATER.txt"), false);
    g_logFile = m_log.get();
    m_workingFolder = m_folder.Path() + "\\updates\\";
    CreateDirectoryA(m_workingFolder.c_str(), nullptr);
    CKWInstallationData::DestroyInstance();
    CKWUpdateCatalog::DestroyInstance();
    CKWInstallationData::GetInstance().SetWorkingFolder(m_workingFolder);
}

UpdaterSandbox::~UpdaterSandbox()
{
    CKWInstallationData::DestroyInstance();
    CKWUpdateCatalog::DestroyInstance();
    g_logFile = nullptr;
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(m_user);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_sandboxKey.c_str());
}

void UpdaterSandbox::SetUserValue(const std::string& keyPath, const std::string& name, const std::string& value)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, Subkey(keyPath).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

std::string UpdaterSandbox::UserValue(const std::string& keyPath, const std::string& name)
{
    char value[512] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, Subkey(keyPath).c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return std::string();
    return value;
}

std::string UpdaterSandbox::LogText() const
{
    std::string text;
    std::string all = ReadWholeFile(m_log->GetPath());
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos)
            end = all.size();
        std::string line = all.substr(start, end - start);
        size_t marker = line.find("~M=");
        text += (marker == std::string::npos ? line : line.substr(marker + 3)) + "\n";
        start = end + 1;
    }
    return text;
}
