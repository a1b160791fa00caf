#include "CSourceItem.h"

#include <cstring>

CSourceItem::CSourceItem(int priority, const std::string& location)
    : m_isHttp(_strnicmp(location.c_str(), "http://", 7) == 0), m_priority(priority), m_location(location)
{
    char separator = m_isHttp ? '/' : '\\';
    if (m_location.empty() || m_location.back() != separator)
        m_location += separator;
}
