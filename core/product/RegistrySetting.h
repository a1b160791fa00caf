#pragma once

#include <windows.h>

#include <string>

// The predefined root for an exact, case-sensitive name such as
// "HKEY_LOCAL_MACHINE"; null when unknown or not available on this Windows.
HKEY RegistryRootFromName(const std::string& name);
// The same rule for a given OsClass value.
HKEY RegistryRootFromName(const std::string& name, int osClass);

// Reads the string value at "ROOT\subkey"; the default when the key or value
// is absent, empty, unreadable or not a plain string.
std::string ReadRegistrySetting(const std::string& registryPath, const std::string& valueName,
                                const std::string& defaultValue);
