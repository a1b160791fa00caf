#pragma once

#include <string>

// A custom resource of the program's own module, read as text.
class CCustomResource {
public:
    explicit CCustomResource(const std::string& typeName) : m_typeName(typeName) {}
    virtual ~CCustomResource() = default;
    // Reads resource "#id" of this type; false (and an empty text) when the
    // module has no such resource.
    virtual bool Load(int id);
    virtual void CopyFrom(const CCustomResource& other);
    virtual const std::string& GetText() const { return m_text; }

    int GetId() const { return m_id; }

protected:
    std::string m_typeName;
    int m_id = 0;
    std::string m_text;
};
