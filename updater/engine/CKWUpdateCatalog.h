#pragma once

#include "CServerStatus.h"
#include "CSourceItem.h"
#include "CUpdateItem.h"
#include "CXmlDocument.h"
#include "CatalogSignature.h"
#include "CatalogTrust.h"

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
        // The product carries a key; these are refused before or after
        // parsing, see GetInvalidReason.
        kSignatureMissing,
        kSignatureRefused,
        kSerialMalformed,
        kSerialOlder,
        kExpiresMalformed,
        kExpired,
    };

    // What the rules make of one "update" element.
    enum UpdateCheck {
        kUpdateAccepted,
        kUpdateWithoutId,
        kUpdateInconsistentVersions,
        kUpdateUnknownFormat,
        // "filename" is not a plain file name: it could lead out of the cache.
        kUpdateUnsafeFileName,
        // "filesha256" is given but is not 64 hexadecimal digits.
        kUpdateBadSha256,
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
    // a load fails; ask IsValid for the rest. Checks against this machine's
    // CatalogTrust.
    bool LoadFromUrl(const std::string& url) override;
    // With keys in the trust, the catalog's bytes must be signed by one of
    // them (the signature is fetched from SignatureLocation) before they are
    // parsed; then the root's "serial" must not be below the accepted one and
    // its "expires" not before today. A refusal still returns true and
    // leaves the catalog invalid and unparsed. Without keys the signature,
    // serial and expiry are not looked at.
    bool LoadFromUrl(const std::string& url, const CatalogTrust& trust);
    // Takes the text as it is: no signature is asked for.
    bool LoadXml(const std::string& text) override;
    bool Validate() override;

    Validity GetValidity() const { return m_validity; }
    // Why the last load left the catalog invalid, for a person or the log;
    // empty when valid.
    std::string GetInvalidReason() const;
    // True for the refusals that only a carried key brings.
    bool IsTrustRefusal() const { return m_validity >= kSignatureMissing; }
    // True when the last load's bytes carried a good signature.
    bool IsSigned() const { return m_signed; }
    // The root's "serial" (0 when absent) and "expires" (YYYYMMDD, 0 when
    // absent) of a signed catalog.
    std::uint64_t GetSerial() const { return m_serial; }
    int GetExpires() const { return m_expires; }
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
    // False, with the validity and reason set, when no key signed the bytes.
    bool CheckSignature(const std::string& url, const std::string& bytes, const std::vector<std::string>& keys);
    // Refuses a loaded document whose serial or expiry the trust rules out.
    void CheckFreshness(const CatalogTrust& trust);
    void Refuse(Validity validity, const std::string& detail);
    // Clears what describes the previous load.
    void StartLoad();

    std::vector<CUpdateItem*> m_allUpdates;
    SourceList m_sources;
    size_t m_currentSource = 0;
    std::unique_ptr<CServerStatus> m_serverStatus;
    std::string m_serverName;
    std::vector<std::string> m_ignoreList;
    Validity m_validity = kNotLoaded;
    bool m_signed = false;
    std::uint64_t m_serial = 0;
    int m_expires = 0;
    SignatureCheck m_signatureCheck = kSignatureGood;
    // What the refusal's reason needs beyond its kind.
    std::string m_refusalDetail;
};
