#pragma once

#include "CKWInstalledProduct.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The products the updater looks after, in the order their updates are
// gathered and installed. Owns the product records and, through them, every
// update record.
class CKWInstallationData {
public:
    using ProductList = std::vector<std::unique_ptr<CKWInstalledProduct>>;

    static CKWInstallationData& GetInstance();
    // Ends the process-wide object; the next GetInstance makes a new one.
    static void DestroyInstance();

    CKWInstallationData() = default;
    virtual ~CKWInstallationData() = default;
    CKWInstallationData(const CKWInstallationData&) = delete;
    CKWInstallationData& operator=(const CKWInstallationData&) = delete;

    // The record of the code, created from the engine's view of the product
    // and appended when new. The first exclusive addition drops every other
    // record; after it, additions without the option are refused (null).
    CKWInstalledProduct* AddInstalledProduct(const std::string& code, bool exclusive);
    // The same rules, for a record whose version the caller states.
    CKWInstalledProduct* AddInstalledProduct(const std::string& code, int version, bool exclusive);
    // The same rules for a product the main product depends on; a new record
    // goes to the front, so its updates come first.
    CKWInstalledProduct* AddDependentProduct(const std::string& code, const std::string& mnemonic, bool exclusive);
    // Drops every record except the updater's own.
    void KeepOnlyUpdater();

    bool HasUpdates(const std::string& code);
    // Every update whose selection count is above 0, product by product;
    // built on the first call that finds one.
    const std::vector<CUpdateItem*>& GetSelectedUpdates();
    // How many updates the products have. The updates are chosen here with
    // the working folder current, so their installables point into the cache.
    size_t GetUpdateCount();

    const ProductList& GetProducts() const { return m_products; }
    size_t GetProductCount() const { return m_products.size(); }
    const std::string& GetWorkingFolder() const { return m_workingFolder; }
    // Stored with a trailing backslash unless empty.
    void SetWorkingFolder(const std::string& folder);
    int GetOwnVersion() const { return m_ownVersion; }
    void SetOwnVersion(int version) { m_ownVersion = version; }

private:
    CKWInstalledProduct* Add(const std::string& code, bool exclusive, bool atFront,
                             const std::function<std::unique_ptr<CKWInstalledProduct>()>& create);
    // Destroys the records that match, and every reference to their updates.
    void RemoveProducts(const std::function<bool(const CKWInstalledProduct&)>& remove);

    ProductList m_products;
    bool m_exclusive = false;
    std::vector<CUpdateItem*> m_selectedUpdates;
    int m_ownVersion = 0;
    std::string m_workingFolder;
};
