#include "CSourceItem.h"

#include "IsHttpLocation.h"

CSourceItem::CSourceItem(int priority, const std::string& location)
    : m_isHttp(IsHttpLocation(location)), m_priority(priority), m_location(location)
{
    char separator = m_isHttp ? '/' : '\\';
    if (m_location.empty() || m_location.back() != separator)
        m_location += separator;
}
