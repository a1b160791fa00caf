#include "RegistryChecks.h"

#include "KwRegistryException.h"
#include "KwRegistryKey.h"
#include "RegistrySetting.h"

#include <vector>

namespace {

const size_t kVersionParts = 4;

// Empty when the value is absent, empty or not a plain string of at most 260
// bytes.
std::string ReadMachineText(const std::string& key, const std::string& value)
{
    return ReadRegistrySetting("HKEY_LOCAL_MACHINE\\" + key, value, std::string());
}

bool ReadMachineDword(const std::string& key, const std::string& value, DWORD& number)
{
    KwRegistryKey registryKey(HKEY_LOCAL_MACHINE, key);
    try {
        HKEY handle = registryKey.Open(KEY_READ);
        DWORD data = 0;
        DWORD size = sizeof data;
        DWORD type = 0;
        LONG result = RegQueryValueExA(handle, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
        registryKey.Close();
        if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data)
            return false;
        number = data;
        return true;
    } catch (KwRegistryException* e) {
        delete e;
        return false;
    }
}

// The leading decimal digits of a part; 0 when there are none, and the
// largest number rather than a wrapped one when there are too many.
DWORD PartNumber(const std::string& part)
{
    unsigned long long number = 0;
    for (char c : part) {
        if (c < '0' || c > '9')
            break;
        number = number * 10 + static_cast<unsigned>(c - '0');
        if (number > MAXDWORD)
            return MAXDWORD;
    }
    return static_cast<DWORD>(number);
}

std::vector<DWORD> VersionParts(const std::string& text)
{
    std::vector<DWORD> parts;
    size_t start = 0;
    while (parts.size() < kVersionParts) {
        size_t dot = text.find('.', start);
        parts.push_back(PartNumber(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start)));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return parts;
}

// Compares the parts there are with a.b.c.d; equal so far means at least.
bool PartsAtLeast(const std::vector<DWORD>& parts, DWORD a, DWORD b, DWORD c, DWORD d)
{
    const DWORD wanted[kVersionParts] = {a, b, c, d};
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] != wanted[i])
            return parts[i] > wanted[i];
    }
    return true;
}

} // namespace

bool RegistryVersionAtLeast(const std::string& key, const std::string& value, DWORD a, DWORD b, DWORD c, DWORD d)
{
    std::string text = ReadMachineText(key, value);
    return !text.empty() && PartsAtLeast(VersionParts(text), a, b, c, d);
}

bool RegistryDottedVersionAtLeast(const std::string& key, const std::string& value, DWORD a, DWORD b, DWORD c, DWORD d)
{
    std::vector<DWORD> parts = VersionParts(ReadMachineText(key, value));
    parts.resize(kVersionParts, 0);
    return PartsAtLeast(parts, a, b, c, d);
}

bool RegistryDwordEquals(const std::string& key, const std::string& value, DWORD n)
{
    DWORD number = 0;
    return ReadMachineDword(key, value, number) && number == n;
}

bool RegistryDwordAtLeast(const std::string& key, const std::string& value, LONG n)
{
    DWORD number = 0;
    return ReadMachineDword(key, value, number) && static_cast<LONG>(number) >= n;
}
