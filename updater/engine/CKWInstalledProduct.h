#pragma once

#include "CUpdateItem.h"

#include <memory>
#include <string>
#include <vector>

// A product the updater looks after, with the updates the catalog chose for
// its installed version. The record owns those updates.
class CKWInstalledProduct {
public:
    using UpdateList = std::vector<std::unique_ptr<CUpdateItem>>;

    // Reads the installed product of that code from the engine.
    explicit CKWInstalledProduct(const std::string& code);
    // A record stated by the caller instead of the engine (the vendor's
    // catalog tool): installed unless the version is 0.
    CKWInstalledProduct(const std::string& code, int version);
    virtual ~CKWInstalledProduct() = default;
    CKWInstalledProduct(const CKWInstalledProduct&) = delete;
    CKWInstalledProduct& operator=(const CKWInstalledProduct&) = delete;

    virtual bool IsInstalled() const { return m_installed; }
    // The updates for this product, chosen on the first call made while the
    // catalog is valid.
    virtual const UpdateList& GetUpdates();
    // The updates chosen so far, without asking the catalog.
    const UpdateList& GetChosenUpdates() const { return m_updates; }

    const std::string& GetProductCode() const { return m_productCode; }
    const std::string& GetProductName() const { return m_productName; }
    int GetVersion() const { return m_version; }
    bool IsComputed() const { return m_computed; }

protected:
    std::string m_productCode;
    std::string m_productName;
    int m_version = 0;
    UpdateList m_updates;
    bool m_installed = false;
    bool m_computed = false;
};
