#include "CKWMsiProduct.h"

#include "KwMsiHandle.h"
#include "Version.h"

UINT CKWMsiProduct::GetInfo(const std::string& attribute, std::string& text) const
{
    text.clear();
    if (!g_msi.IsBound())
        return ERROR_INSTALL_SERVICE_FAILURE;
    if (m_productCode.empty())
        return ERROR_UNKNOWN_PRODUCT;
    return ReadMsiText(MAX_PATH, text, [this, &attribute](char* buffer, DWORD* length) {
        return g_msi.MsiGetProductInfoA(m_productCode.c_str(), attribute.c_str(), buffer, length);
    });
}

int CKWMsiProduct::GetVersion() const
{
    std::string version;
    return GetInfo("Version", version) == ERROR_SUCCESS ? ReadLeadingInt(version.c_str()) : 0;
}

int CKWMsiProduct::IsInstalled() const
{
    if (!g_msi.IsBound())
        return -2;
    std::string name;
    return GetInfo("ProductName", name) == ERROR_SUCCESS ? 1 : 0;
}
