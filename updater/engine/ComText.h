#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

// Owns a BSTR and frees it once.
class ComBstr {
public:
    ComBstr() = default;
    explicit ComBstr(BSTR owned) : m_text(owned) {}
    ~ComBstr() { SysFreeString(m_text); }
    ComBstr(const ComBstr&) = delete;
    ComBstr& operator=(const ComBstr&) = delete;

    BSTR Get() const { return m_text; }
    // Frees what is held and hands out the slot for an out parameter.
    BSTR* Put()
    {
        SysFreeString(m_text);
        m_text = nullptr;
        return &m_text;
    }

private:
    BSTR m_text = nullptr;
};

// Owns a VARIANT and clears it once.
class ComVariant {
public:
    ComVariant() { VariantInit(&m_value); }
    ~ComVariant() { VariantClear(&m_value); }
    ComVariant(const ComVariant&) = delete;
    ComVariant& operator=(const ComVariant&) = delete;

    const VARIANT& Get() const { return m_value; }
    VARIANT* Put()
    {
        VariantClear(&m_value);
        return &m_value;
    }
    // Holds a copy of 8-bit text as a string variant.
    void SetText(const std::string& text);

private:
    VARIANT m_value;
};

// 8-bit text in the process code page as a BSTR. Raises
// CComError(E_OUTOFMEMORY) when it cannot be allocated.
ComBstr ToBstr(const std::string& text);

// Wide text (a BSTR may be null, meaning empty) in the process code page;
// characters the code page lacks become its default character.
std::string FromBstr(BSTR text);
