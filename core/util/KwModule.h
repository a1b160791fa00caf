#pragma once

#include <windows.h>

// Owns a library loaded by path or name and frees it once.
class KwModule {
public:
    explicit KwModule(const char* path) : m_module(LoadLibraryA(path)) {}
    ~KwModule()
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    KwModule(const KwModule&) = delete;
    KwModule& operator=(const KwModule&) = delete;

    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};
