#include "ExpandEnvironment.h"

#include "TraceMessage.h"

#include <windows.h>

#include <vector>

void ExpandEnvironment(std::string& text)
{
    if (text.empty())
        return;
    std::vector<char> buffer(text.size() + 1);
    for (;;) {
        DWORD needed = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (needed == 0) {
            TraceMessage("Error %d while expanding %s", static_cast<int>(GetLastError()), text.c_str());
            return;
        }
        if (needed <= buffer.size()) {
            text = buffer.data();
            return;
        }
        buffer.resize(needed);
    }
}
