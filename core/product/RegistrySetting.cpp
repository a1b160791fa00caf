#include "RegistrySetting.h"

#include "KwRegistryException.h"
#include "KwRegistryKey.h"
#include "OsInfo.h"

HKEY RegistryRootFromName(const std::string& name, int osClass)
{
    if (name == "HKEY_CLASSES_ROOT")
        return HKEY_CLASSES_ROOT;
    if (name == "HKEY_CURRENT_CONFIG")
        return HKEY_CURRENT_CONFIG;
    if (name == "HKEY_CURRENT_USER")
        return HKEY_CURRENT_USER;
    if (name == "HKEY_LOCAL_MACHINE")
        return HKEY_LOCAL_MACHINE;
    if (name == "HKEY_USERS")
        return HKEY_USERS;
    if (name == "HKEY_DYN_DATA")
        return osClass >= OsWindows95 && osClass <= OsWindowsMe ? HKEY_DYN_DATA : nullptr;
    if (name == "HKEY_PERFORMANCE_DATA")
        return osClass >= OsWindowsNT4 && osClass <= OsWindowsXP ? HKEY_PERFORMANCE_DATA : nullptr;
    return nullptr;
}

HKEY RegistryRootFromName(const std::string& name)
{
    return RegistryRootFromName(name, GetOsClass());
}

std::string ReadRegistrySetting(const std::string& registryPath, const std::string& valueName,
                                const std::string& defaultValue)
{
    size_t backslash = registryPath.find('\\');
    if (backslash == std::string::npos)
        return std::string();
    KwRegistryKey key(RegistryRootFromName(registryPath.substr(0, backslash)), registryPath.substr(backslash + 1));
    if (!key.Exists())
        return defaultValue;
    std::string value;
    try {
        key.QueryString(valueName, value);
    } catch (KwRegistryException* e) {
        delete e;
        return defaultValue;
    }
    return value.empty() ? defaultValue : value;
}
