// Stands in for an external installer in tests: appends its whole command
// line as one line to the file named by KWSTUB_LOG, waits KWSTUB_WAIT
// milliseconds, and exits with the code in KWSTUB_EXIT (default 0).
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string Environment(const char* name)
{
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return std::string();
    std::string value(size, '\0');
    DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}

unsigned long EnvironmentNumber(const char* name)
{
    return std::strtoul(Environment(name).c_str(), nullptr, 10);
}

} // namespace

int main()
{
    std::string log = Environment("KWSTUB_LOG");
    if (!log.empty()) {
        std::ofstream file(log, std::ios::binary | std::ios::app);
        file << GetCommandLineA() << "\r\n";
    }
    Sleep(EnvironmentNumber("KWSTUB_WAIT"));
    return static_cast<int>(EnvironmentNumber("KWSTUB_EXIT"));
}
