// Stands in for an external installer in tests: appends its whole command
// line as one line to the file named by KWSTUB_LOG, waits KWSTUB_WAIT
// milliseconds, and exits with the code in KWSTUB_EXIT (default 0).
// /wait:MS waits MS milliseconds instead, for a caller that cannot pass on
// its environment (a package's custom action, which Windows runs from the
// installer service).
// Each /regdword:"ROOT\subkey|Name|Value" writes a DWORD value, so what it
// "installs" is then detected (ROOT is a full root name such as
// HKEY_LOCAL_MACHINE); a value it cannot write ends it with 1603.
#include <windows.h>

#include "EnvironmentValue.h"
#include "RegistrySetting.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

const char kRegDwordOption[] = "/regdword:";
const char kWaitOption[] = "/wait:";
const int kInstallFailure = 1603;

unsigned long EnvironmentNumber(const char* name)
{
    return std::strtoul(EnvironmentValue(name).c_str(), nullptr, 10);
}

// The option's value without the quotes around it, for a value that was
// passed on quoted the way the C runtime reads a command line.
std::string Unquoted(std::string value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

bool WriteDword(const std::string& spec)
{
    size_t slash = spec.find('\\');
    size_t bar = spec.find('|');
    size_t lastBar = spec.rfind('|');
    if (slash == std::string::npos || bar == std::string::npos || bar == lastBar || slash > bar ||
        lastBar + 1 == spec.size())
        return false;
    HKEY root = RegistryRootFromName(spec.substr(0, slash));
    std::string subkey = spec.substr(slash + 1, bar - slash - 1);
    std::string name = spec.substr(bar + 1, lastBar - bar - 1);
    char* end = nullptr;
    DWORD value = std::strtoul(spec.c_str() + lastBar + 1, &end, 10);
    if (root == nullptr || *end != '\0')
        return false;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace

int main(int argc, char** argv)
{
    std::string log = EnvironmentValue("KWSTUB_LOG");
    if (!log.empty()) {
        std::ofstream file(log, std::ios::binary | std::ios::app);
        file << GetCommandLineA() << "\r\n";
    }
    const std::string regDword = kRegDwordOption;
    const std::string wait = kWaitOption;
    unsigned long milliseconds = EnvironmentNumber("KWSTUB_WAIT");
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.compare(0, regDword.size(), regDword) == 0 &&
            !WriteDword(Unquoted(argument.substr(regDword.size()))))
            return kInstallFailure;
        if (argument.compare(0, wait.size(), wait) == 0)
            milliseconds = std::strtoul(argument.c_str() + wait.size(), nullptr, 10);
    }
    Sleep(milliseconds);
    return static_cast<int>(EnvironmentNumber("KWSTUB_EXIT"));
}
