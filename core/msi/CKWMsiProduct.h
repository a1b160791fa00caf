#pragma once

#include <windows.h>

#include <string>

// An installed product, known by its product code.
class CKWMsiProduct {
public:
    explicit CKWMsiProduct(const std::string& productCode) : m_productCode(productCode) {}
    virtual ~CKWMsiProduct() = default;

    const std::string& GetProductCode() const { return m_productCode; }

    // MsiGetProductInfoA of the attribute ("VersionString", "PackageCode"...):
    // 0 or the engine's code; 1601 when the engine is not bound, 1605 when
    // the product code is empty. The text is empty unless the result is 0.
    UINT GetInfo(const std::string& attribute, std::string& text) const;
    // The packed version (the "Version" attribute); 0 when it cannot be read.
    int GetVersion() const;
    // 1 installed, 0 not, -2 when the engine is not bound.
    int IsInstalled() const;

private:
    std::string m_productCode;
};
