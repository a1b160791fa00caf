#pragma once

#include <string>

// A place the update files are fetched from: an "http://" or "https://" URL
// prefix, or a folder. The location always ends with its separator, so a file name can
// be appended directly.
class CSourceItem {
public:
    CSourceItem(int priority, const std::string& location);
    virtual ~CSourceItem() = default;

    bool IsHttp() const { return m_isHttp; }
    int GetPriority() const { return m_priority; }
    const std::string& GetLocation() const { return m_location; }

private:
    bool m_isHttp;
    int m_priority;
    std::string m_location;
};
