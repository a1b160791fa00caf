#include "CatalogKeys.h"

#include "CStringTokenizer.h"
#include "ProductDescriptor.h"

#include <windows.h>

#include <algorithm>

const char* const kCatalogKeysValueName = "CatalogKeys";

namespace {

// The machine's value: a string, or a multi-string with its parts joined by
// spaces. Empty when absent or unreadable.
std::string ReadMachineKeys()
{
    const std::string& userKey = GetProductDescriptor().UpdatesRegistryKey;
    const std::string subkey = userKey.substr(userKey.find('\\') + 1);
    const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_MULTI_SZ;
    DWORD size = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, subkey.c_str(), kCatalogKeysValueName, types, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0)
        return std::string();
    std::string text(size, '\0');
    if (RegGetValueA(HKEY_LOCAL_MACHINE, subkey.c_str(), kCatalogKeysValueName, types, nullptr, &text[0], &size) !=
        ERROR_SUCCESS)
        return std::string();
    text.resize(std::min<size_t>(size, text.size()));
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

} // namespace

std::vector<std::string> SplitCatalogKeys(const std::string& text)
{
    std::vector<std::string> keys;
    CStringTokenizer words(text, " \t\r\n,;");
    for (std::string word = words.NextToken(); !word.empty(); word = words.NextToken())
        keys.push_back(word);
    return keys;
}

std::vector<std::string> GetCatalogKeys()
{
    std::vector<std::string> keys = SplitCatalogKeys(GetProductDescriptor().CatalogKeys);
    for (const std::string& key : SplitCatalogKeys(ReadMachineKeys()))
        keys.push_back(key);
    return keys;
}
