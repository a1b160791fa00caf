// Stands in for an external installer in tests: appends its whole command
// line as one line to the file named by KWSTUB_LOG, waits KWSTUB_WAIT
// milliseconds, and exits with the code in KWSTUB_EXIT (default 0).
#include <windows.h>

#include "EnvironmentValue.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

unsigned long EnvironmentNumber(const char* name)
{
    return std::strtoul(EnvironmentValue(name).c_str(), nullptr, 10);
}

} // namespace

int main()
{
    std::string log = EnvironmentValue("KWSTUB_LOG");
    if (!log.empty()) {
        std::ofstream file(log, std::ios::binary | std::ios::app);
        file << GetCommandLineA() << "\r\n";
    }
    Sleep(EnvironmentNumber("KWSTUB_WAIT"));
    return static_cast<int>(EnvironmentNumber("KWSTUB_EXIT"));
}
