#pragma once

#include "CServerStatus.h"
#include "CSourceItem.h"
#include "CUpdateItem.h"
#include "CXmlDocument.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The vendor's update catalog: the products the server knows, their updates
// with the versions they apply to, and the download sources. Decides which
// chain of updates brings an installed product to the newest version.
class CKWUpdateCatalog : public CXmlDocument {
public:
    using UpdateList = std::vector<std::unique_ptr<CUpdateItem>>;
    using SourceList = std::vector<std::unique_ptr<CSourceItem>>;

    // Why the last load left the catalog invalid.
    enum Validity {
        kValid,
        kNotLoaded,
        kNoUpdatesRoot,
        kAppNameMissing,
        kAppNameDifferent,
        kServerStatusDocument,
        // It loaded but could not be loaded again from its own text.
        kNotReloaded,
    };

    // What the rules make of one "update" element.
    enum UpdateCheck {
        kUpdateAccepted,
        kUpdateWithoutId,
        kUpdateInconsistentVersions,
        kUpdateUnknownFormat,
        // "filename" is not a plain file name: it could lead out of the cache.
        kUpdateUnsafeFileName,
    };

    struct DroppedUpdate {
        std::string productId;
        // 1 for the product's first "update" element.
        int position;
        std::string updateId;
        UpdateCheck reason;
    };

    // The process-wide catalog.
    static CKWUpdateCatalog& GetInstance();
    // Ends the process-wide object; the next GetInstance makes a new one.
    static void DestroyInstance();

    // Reads the user's ignore list.
    CKWUpdateCatalog();

    // Loads, and when the catalog is valid loads it again from its own text
    // so that the server's copy can leave the internet cache. False only when
    // a load fails; ask IsValid for the rest.
    bool LoadFromUrl(const std::string& url) override;
    bool LoadXml(const std::string& text) override;
    bool Validate() override;

    Validity GetValidity() const { return m_validity; }
    const std::string& GetServerName() const { return m_serverName; }
    // The status a server sent instead of the last catalog; null otherwise.
    const CServerStatus* GetServerStatus() const { return m_serverStatus.get(); }

    // The ids of all products, in document order; true when there are any.
    bool GetProductIds(std::vector<std::string>& ids) const;
    // The "mne" of the product; empty when there is no such product.
    std::string GetProductMnemonic(const std::string& productId) const;
    // Every identifier named by the "dependent" entries of the main
    // product's updates, followed through the products they name;
    // dependencies come before what named them.
    bool CollectDependentProducts(std::vector<std::string>& ids) const;

    // Fills the list with the chain of updates that brings the product from
    // the installed version (0: not installed) to the newest one, ascending
    // by version; the caller owns them. True when the list is not empty.
    bool SelectUpdates(const std::string& productId, int installedVersion, UpdateList& updates);

    // The updates all products of the installation data selected, in their
    // order; gathered on the first call that finds any.
    const std::vector<CUpdateItem*>& GetAllUpdates();
    // Forgets that list, because its records are being destroyed.
    void ForgetUpdates() { m_allUpdates.clear(); }
    CUpdateItem* FindUpdateById(const std::string& id);
    // The product's update that brings or applies to that version.
    CUpdateItem* FindUpdateForVersion(const std::string& productId, int version);
    // Links each update of the installation data to the nearest earlier
    // update of its product and to those it names as "dependent", then
    // selects them all. Called once after the check. A "dependent" naming the
    // main product's code stands for its update that matches the dependent
    // update's version.
    void ResolveDependencies();
    void ResolveDependencies(const std::string& mainProductCode);
    // The same over the given updates, which must come from this catalog.
    void ResolveDependencies(const std::vector<CUpdateItem*>& updates, const std::string& mainProductCode);

    // The sources in the order they are tried: lowest priority number first.
    const SourceList& GetSources() const { return m_sources; }
    // Starts over at the first source; null when there is none.
    CSourceItem* GetFirstSource();
    // The source after the current one; null after the last.
    CSourceItem* GetNextSource();

    const std::vector<std::string>& GetIgnoreList() const { return m_ignoreList; }
    void SetIgnoreList(const std::vector<std::string>& mnemonics) { m_ignoreList = mnemonics; }

    // Every update element the rules drop, whatever version is installed.
    void FindDroppedUpdates(std::vector<DroppedUpdate>& dropped) const;

    // Follows the candidates from the version: each step takes the first
    // candidate (by descending target range) that applies to the version
    // reached so far. Sorts the candidates.
    static void BuildChain(int version, std::vector<CUpdateItem*>& candidates, std::vector<CUpdateItem*>& chain,
                           int& finalVersion, uint64_t& totalSize);

private:
    UpdateCheck ParseUpdate(IXMLDOMNode* update, const std::string& productId,
                            std::unique_ptr<CUpdateItem>& item) const;
    XmlNode FindProduct(const std::string& productId) const;
    void CollectDependents(IXMLDOMNode* product, std::vector<std::string>& visiting,
                           std::vector<std::string>& ids) const;
    void LoadSources();
    void ReadIgnoreList();
    // Clears what describes the previous load.
    void StartLoad();

    std::vector<CUpdateItem*> m_allUpdates;
    SourceList m_sources;
    size_t m_currentSource = 0;
    std::unique_ptr<CServerStatus> m_serverStatus;
    std::string m_serverName;
    std::vector<std::string> m_ignoreList;
    Validity m_validity = kNotLoaded;
};
