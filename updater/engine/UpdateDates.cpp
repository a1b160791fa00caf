#include "UpdateDates.h"

#include "CKWLogFile.h"
#include "KwRegistryException.h"
#include "ProductDescriptor.h"

#include <windows.h>

#include <cstdio>

const char* const kDateLastCheck = "DateLastCheck";
const char* const kDateLast = "DateLast";

namespace {

class CreatedKey {
public:
    explicit CreatedKey(const std::string& subkey)
    {
        LONG result =
            RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &m_key, nullptr);
        if (result != ERROR_SUCCESS)
            throw new KwRegistryException(result);
    }
    ~CreatedKey() { RegCloseKey(m_key); }
    CreatedKey(const CreatedKey&) = delete;
    CreatedKey& operator=(const CreatedKey&) = delete;

    void SetString(const std::string& name, const std::string& text)
    {
        LONG result = RegSetValueExA(m_key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>(text.size() + 1));
        if (result != ERROR_SUCCESS)
            throw new KwRegistryException(result);
    }

private:
    HKEY m_key = nullptr;
};

std::string Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof(text), "%02d/%02d/%04d", now.wDay, now.wMonth, now.wYear);
    return text;
}

} // namespace

bool WriteUpdateDate(const std::string& valueName)
{
    try {
        CreatedKey key(GetProductDescriptor().UpdatesStateKey);
        key.SetString(valueName, Today());
        return true;
    } catch (KwRegistryException* e) {
        LogMessage("Unable to write to the Windows Registry");
        LogMessage("%s", e->GetMessageText().c_str());
        delete e;
        return false;
    }
}
