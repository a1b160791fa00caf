#include "CKWMsiProperty.h"

#include <algorithm>

CKWMsiProperty::CKWMsiProperty(const std::string& name, const std::string& separator, const std::string& initial)
    : m_name(name), m_separator(separator)
{
    size_t start = 0;
    while (start <= initial.size()) {
        size_t end = m_separator.empty() ? std::string::npos : initial.find(m_separator, start);
        if (end == std::string::npos)
            end = initial.size();
        Add(initial.substr(start, end - start));
        start = end + std::max<size_t>(m_separator.size(), 1);
    }
}

void CKWMsiProperty::Add(const std::string& item)
{
    if (!item.empty() && std::find(m_items.begin(), m_items.end(), item) == m_items.end())
        m_items.push_back(item);
}

void CKWMsiProperty::Reset(const std::string& item)
{
    m_items.clear();
    Add(item);
}

std::string CKWMsiProperty::Join() const
{
    std::string joined;
    for (const std::string& item : m_items) {
        if (!joined.empty())
            joined += m_separator;
        joined += item;
    }
    return joined;
}
