#pragma once

#include "CKWLogFile.h"
#include "KwRegistryException.h"

#include <windows.h>

#include <string>

// A key below HKEY_CURRENT_USER opened for writing, created when missing, and
// closed when the object goes. Failures throw KwRegistryException*.
class CreatedUserKey {
public:
    explicit CreatedUserKey(const std::string& subkey)
    {
        LONG result =
            RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &m_key, nullptr);
        if (result != ERROR_SUCCESS)
            throw new KwRegistryException(result);
    }
    ~CreatedUserKey() { RegCloseKey(m_key); }
    CreatedUserKey(const CreatedUserKey&) = delete;
    CreatedUserKey& operator=(const CreatedUserKey&) = delete;

    void SetString(const std::string& name, const std::string& text)
    {
        LONG result = RegSetValueExA(m_key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>(text.size() + 1));
        if (result != ERROR_SUCCESS)
            throw new KwRegistryException(result);
    }

    // Writes one text value under the subkey, logging a failure; false then.
    static bool WriteString(const std::string& subkey, const std::string& name, const std::string& text)
    {
        try {
            CreatedUserKey key(subkey);
            key.SetString(name, text);
            return true;
        } catch (KwRegistryException* e) {
            LogMessage("Unable to write to the Windows Registry");
            LogMessage("%s", e->GetMessageText().c_str());
            delete e;
            return false;
        }
    }

private:
    HKEY m_key = nullptr;
};
