#include "IsPlainFileName.h"

#include <cctype>
#include <cstring>

namespace {

// Names Windows opens as devices in every folder, whatever the extension.
bool IsDeviceName(const std::string& name)
{
    std::string base = name.substr(0, name.find('.'));
    // "CON .txt" is the console too.
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

} // namespace

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name.back() == '.' || name.back() == ' ' || name.find("..") != std::string::npos)
        return false;
    for (char c : name) {
        unsigned char code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F || std::strchr("\\/:*?\"<>|", c) != nullptr)
            return false;
    }
    return !IsDeviceName(name);
}
