#include "CCustomResource.h"

#include <windows.h>

bool CCustomResource::Load(int id)
{
    m_id = id;
    m_text.clear();
    HMODULE module = GetModuleHandleA(nullptr);
    std::string name = "#" + std::to_string(id);
    HRSRC info = FindResourceA(module, name.c_str(), m_typeName.c_str());
    if (info == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return false;
    m_text.assign(static_cast<const char*>(data), SizeofResource(module, info));
    return true;
}

void CCustomResource::CopyFrom(const CCustomResource& other)
{
    m_typeName = other.m_typeName;
    m_id = other.m_id;
    m_text = other.m_text;
}
