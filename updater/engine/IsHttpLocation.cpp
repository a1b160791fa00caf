#include "IsHttpLocation.h"

#include <cstring>

bool IsHttpLocation(const std::string& location)
{
    return _strnicmp(location.c_str(), "http://", 7) == 0 || _strnicmp(location.c_str(), "https://", 8) == 0;
}
