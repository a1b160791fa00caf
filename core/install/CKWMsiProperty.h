#pragma once

#include <string>
#include <vector>

// A list-valued installer property such as ADDLOCAL=a,b,c: no empty items,
// no duplicates, items kept in the order they were added.
class CKWMsiProperty {
public:
    CKWMsiProperty(const std::string& name, const std::string& separator, const std::string& initial);
    virtual ~CKWMsiProperty() = default;

    void Add(const std::string& item);
    // The list becomes just this item.
    void Reset(const std::string& item);
    std::string Join() const;

    const std::string& GetName() const { return m_name; }
    size_t Count() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }

private:
    std::string m_name;
    std::string m_separator;
    std::vector<std::string> m_items;
};
