#include "CatalogFreshness.h"

#include "CKWLogFile.h"
#include "CreatedUserKey.h"
#include "KwRegistryException.h"
#include "ProductDescriptor.h"
#include "RegistrySetting.h"

#include <windows.h>

const char* const kCatalogSerialValueName = "CatalogSerial";

namespace {

// Eighteen digits always fit 64 bits.
const size_t kMaxSerialDigits = 18;

bool AllDigits(const std::string& text)
{
    return text.find_first_not_of("0123456789") == std::string::npos;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

} // namespace

bool ParseCatalogSerial(const std::string& text, std::uint64_t& serial)
{
    serial = 0;
    if (text.size() > kMaxSerialDigits || !AllDigits(text))
        return false;
    for (char digit : text)
        serial = serial * 10 + static_cast<std::uint64_t>(digit - '0');
    return true;
}

bool ParseCatalogDate(const std::string& text, int& date)
{
    date = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    const std::string year = text.substr(0, 4);
    const std::string month = text.substr(5, 2);
    const std::string day = text.substr(8, 2);
    if (!AllDigits(year) || !AllDigits(month) || !AllDigits(day))
        return false;
    const int y = std::stoi(year);
    const int m = std::stoi(month);
    const int d = std::stoi(day);
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1 || d > kDays[m - 1] + (m == 2 && IsLeapYear(y) ? 1 : 0))
        return false;
    date = y * 10000 + m * 100 + d;
    return true;
}

int TodayUtc()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    return now.wYear * 10000 + now.wMonth * 100 + now.wDay;
}

std::uint64_t ReadAcceptedSerial()
{
    std::uint64_t serial = 0;
    ParseCatalogSerial(
        ReadRegistrySetting(GetProductDescriptor().UpdatesRegistryKey, kCatalogSerialValueName, std::string()), serial);
    return serial;
}

bool RecordAcceptedSerial(std::uint64_t serial)
{
    if (serial <= ReadAcceptedSerial())
        return true;
    const std::string& path = GetProductDescriptor().UpdatesRegistryKey;
    return CreatedUserKey::WriteString(path.substr(path.find('\\') + 1), kCatalogSerialValueName,
                                       std::to_string(serial));
}
