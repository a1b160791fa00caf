#include "UpdateDates.h"

#include "CKWLogFile.h"
#include "CreatedUserKey.h"
#include "KwRegistryException.h"
#include "ProductDescriptor.h"

#include <windows.h>

#include <cstdio>

const char* const kDateLastCheck = "DateLastCheck";
const char* const kDateLast = "DateLast";

namespace {

std::string Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof(text), "%02d/%02d/%04d", now.wDay, now.wMonth, now.wYear);
    return text;
}

} // namespace

bool WriteUpdateDate(const std::string& valueName)
{
    return CreatedUserKey::WriteString(GetProductDescriptor().UpdatesStateKey, valueName, Today());
}
