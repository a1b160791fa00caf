#include "MakeFullPath.h"

#include <windows.h>

#include <vector>

bool MakeFullPath(std::string& path)
{
    if (path.empty())
        return true;
    std::vector<char> buffer(256);
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    // Too small a buffer is answered with the size needed, terminator included.
    if (length >= buffer.size()) {
        buffer.resize(length);
        length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    }
    if (length == 0 || length >= buffer.size())
        return false;
    path.assign(buffer.data(), length);
    return true;
}
