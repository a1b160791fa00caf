#include "CKWUpdateCatalog.h"

#include "CHttpClient.h"
#include "CKWInstallationData.h"
#include "CSha256.h"
#include "CatalogFreshness.h"
#include "CResString.h"
#include "CStringTokenizer.h"
#include "ComError.h"
#include "FormatText.h"
#include "IsPlainFileName.h"
#include "ProductDescriptor.h"
#include "RegistrySetting.h"
#include "Version.h"

#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <set>

namespace {

// Subjects, release notes and server messages come in the interface
// language.
std::string LanguageLetter()
{
    return g_language == kLanguageFrench ? "F" : "E";
}

// Product and update ids are GUIDs or names whose case may vary.
bool EqualsNoCase(const std::string& a, const std::string& b)
{
    return _stricmp(a.c_str(), b.c_str()) == 0;
}

// Calls the visitor for every node the path selects below the node (below
// the document for an absolute path). Raises CComError.
template <typename Visit>
void ForEachNode(const CXmlDocument& document, IXMLDOMNode* node, const char* path, Visit visit)
{
    XmlNodeList list = document.SelectNodes(node, path);
    for (XmlNode item = CXmlDocument::NextNode(list.Get()); item; item = CXmlDocument::NextNode(list.Get()))
        visit(item.Get());
}

// The first node the path selects from the document that matches. Raises
// CComError.
template <typename Match> XmlNode FindNode(const CXmlDocument& document, const char* path, Match match)
{
    XmlNodeList list = document.SelectNodes(nullptr, path);
    for (XmlNode item = CXmlDocument::NextNode(list.Get()); item; item = CXmlDocument::NextNode(list.Get())) {
        if (match(item.Get()))
            return item;
    }
    return XmlNode();
}

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return _stricmp(a.c_str(), b.c_str()) < 0; }
};

CUpdateItem* FindById(const std::vector<CUpdateItem*>& updates, const std::string& id)
{
    auto found = std::find_if(updates.begin(), updates.end(), [&id](const CUpdateItem* u) {
        return u->GetId() == id;
    });
    return found == updates.end() ? nullptr : *found;
}

CUpdateItem* FindForVersion(const std::vector<CUpdateItem*>& updates, const std::string& productId, int version)
{
    auto found = std::find_if(updates.begin(), updates.end(), [&productId, version](const CUpdateItem* u) {
        return u->GetProductId() == productId && (u->GetVersion() == version || (u->GetTargetVersionMin() <= version &&
                                                                                 version <= u->GetTargetVersionMax()));
    });
    return found == updates.end() ? nullptr : *found;
}

// The non-empty "dependent" texts of each update element, by the element's
// id; an id that several elements carry has the first one's.
using DependentMap = std::map<std::string, std::vector<std::string>, NoCaseLess>;

DependentMap ReadDependents(const CXmlDocument& document)
{
    DependentMap dependents;
    try {
        // Few updates name any: one path for the whole document finds them,
        // where a walk through every update's children would take most of a
        // second in a catalog of ten thousand.
        std::map<std::string, int, NoCaseLess> elements;
        ForEachNode(document, nullptr, "/updates/product/update", [&](IXMLDOMNode* update) {
            ++elements[document.GetAttribute(update, "id")];
        });
        std::set<std::string, NoCaseLess> shared;
        ForEachNode(document, nullptr, "/updates/product/update/dependent", [&](IXMLDOMNode* dependent) {
            XmlNode update;
            ThrowIfFailed(dependent->get_parentNode(update.Put()));
            std::string id = document.GetAttribute(update.Get(), "id");
            std::string text = CXmlDocument::GetText(dependent);
            if (elements[id] > 1)
                shared.insert(id);
            else if (!text.empty())
                dependents[id].push_back(text);
        });
        // Which of several elements named a dependent the path cannot tell:
        // the first element of such an id is read itself.
        for (const std::string& id : shared) {
            std::vector<std::string>& texts = dependents[id];
            XmlNode first = FindNode(document, "/updates/product/update", [&](IXMLDOMNode* update) {
                return EqualsNoCase(document.GetAttribute(update, "id"), id);
            });
            CXmlDocument::ForEachChildElement(first.Get(), [&texts](const std::string& name, IXMLDOMNode* child) {
                std::string text = name == "dependent" ? CXmlDocument::GetText(child) : std::string();
                if (!text.empty())
                    texts.push_back(text);
            });
        }
    } catch (const CComError&) {
        // The updates read so far keep their dependents.
    }
    return dependents;
}

// An enumeration of the internet cache, ended when the object goes.
class UrlCacheSearch {
public:
    UrlCacheSearch() = default;
    ~UrlCacheSearch()
    {
        if (m_handle != nullptr)
            FindCloseUrlCache(m_handle);
    }
    UrlCacheSearch(const UrlCacheSearch&) = delete;
    UrlCacheSearch& operator=(const UrlCacheSearch&) = delete;

    bool First(std::vector<char>& buffer)
    {
        return Read(buffer, [this](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
            m_handle = FindFirstUrlCacheEntryA(nullptr, entry, size);
            return m_handle != nullptr;
        });
    }
    bool Next(std::vector<char>& buffer)
    {
        return Read(buffer, [this](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
            return FindNextUrlCacheEntryA(m_handle, entry, size) != FALSE;
        });
    }
    static const INTERNET_CACHE_ENTRY_INFOA* Entry(const std::vector<char>& buffer)
    {
        return reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    }

private:
    // One entry into the buffer, grown once to the size the cache asks for.
    template <typename ReadEntry> static bool Read(std::vector<char>& buffer, ReadEntry read)
    {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (read(reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size))
            return true;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return false;
        buffer.resize(size);
        return read(reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size);
    }

    HANDLE m_handle = nullptr;
};

// Removes every cached copy of the catalog, so the next check asks the
// server again instead of reading a stale copy.
void DeleteCachedCatalogs(const std::string& fileName)
{
    std::vector<char> buffer(4096);
    std::vector<std::string> urls;
    UrlCacheSearch search;
    for (bool found = search.First(buffer); found; found = search.Next(buffer)) {
        const char* url = UrlCacheSearch::Entry(buffer)->lpszSourceUrlName;
        if (url != nullptr && std::strstr(url, fileName.c_str()) != nullptr)
            urls.push_back(url);
    }
    for (const std::string& url : urls)
        DeleteUrlCacheEntryA(url.c_str());
}

} // namespace

namespace {

// Created on first use; destroyed on request, before COM is shut down.
std::unique_ptr<CKWUpdateCatalog>& TheUpdateCatalog()
{
    static std::unique_ptr<CKWUpdateCatalog> instance;
    return instance;
}

} // namespace

CKWUpdateCatalog& CKWUpdateCatalog::GetInstance()
{
    std::unique_ptr<CKWUpdateCatalog>& instance = TheUpdateCatalog();
    if (!instance)
        instance = std::make_unique<CKWUpdateCatalog>();
    return *instance;
}

void CKWUpdateCatalog::DestroyInstance()
{
    TheUpdateCatalog().reset();
}

CKWUpdateCatalog::CKWUpdateCatalog()
{
    ReadIgnoreList();
}

void CKWUpdateCatalog::ReadIgnoreList()
{
    std::string text =
        ReadRegistrySetting("HKEY_CURRENT_USER\\" + GetProductDescriptor().UpdatesStateKey, "Ignore", std::string());
    CStringTokenizer words(text, " ");
    for (std::string word = words.NextToken(); !word.empty(); word = words.NextToken())
        m_ignoreList.push_back(word);
}

void CKWUpdateCatalog::StartLoad()
{
    m_validity = kNotLoaded;
    m_signed = false;
    m_serial = 0;
    m_expires = 0;
    m_signatureCheck = kSignatureGood;
    m_refusalDetail.clear();
    m_serverName.clear();
    // A status belongs to the document that brought it; keeping it would
    // report an old server message for a later, different failure.
    m_serverStatus.reset();
}

bool CKWUpdateCatalog::LoadFromUrl(const std::string& url)
{
    return LoadFromUrl(url, ReadCatalogTrust());
}

bool CKWUpdateCatalog::LoadFromUrl(const std::string& url, const CatalogTrust& trust)
{
    StartLoad();
    std::string bytes;
    bool loaded = FetchDocument(url, bytes);
    // The parser never sees bytes that no key vouches for.
    if (loaded && !trust.keys.empty() && !CheckSignature(url, bytes, trust.keys)) {
        LoadSources();
        return true;
    }
    if (loaded)
        loaded = ParseDocument(bytes);
    if (loaded && m_signed)
        CheckFreshness(trust);
    if (loaded && IsValid()) {
        loaded = ReloadOwnXml();
        if (loaded)
            DeleteCachedCatalogs(GetProductDescriptor().CatalogFileName);
        else
            m_validity = kNotReloaded;
    }
    LoadSources();
    return loaded;
}

bool CKWUpdateCatalog::CheckSignature(const std::string& url, const std::string& bytes,
                                      const std::vector<std::string>& keys)
{
    // A signature file is one short line; anything far longer is not one.
    const std::size_t kMaxSignatureBytes = 4096;
    const std::string location = SignatureLocation(url);
    std::string signature;
    DWORD error = ReadLocation(location, kMaxSignatureBytes, signature);
    if (error != 0) {
        Refuse(kSignatureMissing, location + ": " + CHttpClient::ErrorText(error));
        return false;
    }
    m_signatureCheck = VerifyCatalogSignature(bytes, signature, keys);
    if (m_signatureCheck != kSignatureGood) {
        Refuse(kSignatureRefused, location);
        return false;
    }
    m_signed = true;
    return true;
}

void CKWUpdateCatalog::CheckFreshness(const CatalogTrust& trust)
{
    IXMLDOMElement* root = GetRoot();
    const std::string serial = GetAttribute(root, "serial");
    const std::string expires = GetAttribute(root, "expires");
    if (!ParseCatalogSerial(serial, m_serial))
        Refuse(kSerialMalformed, serial);
    else if (m_serial < trust.acceptedSerial)
        Refuse(kSerialOlder, std::to_string(m_serial) + " is lower than " + std::to_string(trust.acceptedSerial));
    else if (!expires.empty() && !ParseCatalogDate(expires, m_expires))
        Refuse(kExpiresMalformed, expires);
    else if (m_expires != 0 && m_expires < trust.today)
        Refuse(kExpired, expires);
}

void CKWUpdateCatalog::Refuse(Validity validity, const std::string& detail)
{
    m_validity = validity;
    m_refusalDetail = detail;
    m_serverName.clear();
    // A refused status document must not speak to the user either.
    m_serverStatus.reset();
    SetValid(false);
}

std::string CKWUpdateCatalog::GetInvalidReason() const
{
    switch (m_validity) {
    case kValid:
        return std::string();
    case kNotLoaded:
        return "the document cannot be read: " + GetLoadError();
    case kNotReloaded:
        return "the catalog cannot be loaded again from its own text: " + GetLoadError();
    case kNoUpdatesRoot:
        return "the root element is not \"updates\"";
    case kAppNameMissing:
        return "\"appname\" is missing";
    case kAppNameDifferent:
        return "\"appname\" is \"" + GetAttribute(GetRoot(), "appname") + "\", expected \"" +
               GetProductDescriptor().AppName + "\"";
    case kServerStatusDocument:
        return m_serverStatus ? "server status " + std::to_string(m_serverStatus->GetCode()) + ": " +
                                    m_serverStatus->GetMessageText()
                              : std::string("server status");
    case kSignatureMissing:
        return "the catalog is not signed: no signature at " + m_refusalDetail;
    case kSignatureRefused:
        switch (m_signatureCheck) {
        case kSignatureNoUsableKey:
            return "none of the product's catalog keys can be read";
        case kSignatureMalformed:
            return "the signature at " + m_refusalDetail + " is not an ecdsa-p256 signature";
        default:
            return "the signature at " + m_refusalDetail + " does not match the catalog with any of the product's keys";
        }
    case kSerialMalformed:
        return "\"serial\" is \"" + m_refusalDetail + "\", not a number of at most 18 digits";
    case kSerialOlder:
        return "the serial " + m_refusalDetail + ", the highest accepted before";
    case kExpiresMalformed:
        return "\"expires\" is \"" + m_refusalDetail + "\", not a date written YYYY-MM-DD";
    case kExpired:
        return "the catalog expired on " + m_refusalDetail;
    }
    return std::string();
}

bool CKWUpdateCatalog::LoadXml(const std::string& text)
{
    StartLoad();
    bool loaded = CXmlDocument::LoadXml(text);
    LoadSources();
    return loaded;
}

bool CKWUpdateCatalog::Validate()
{
    m_validity = kNotLoaded;
    if (!CXmlDocument::Validate())
        return false;
    SetValid(false);
    try {
        XmlNode updates = SelectSingleNode(nullptr, "/updates");
        if (updates) {
            std::string appName = GetAttribute(updates.Get(), "appname");
            if (appName.empty()) {
                m_validity = kAppNameMissing;
            } else if (appName != GetProductDescriptor().AppName) {
                m_validity = kAppNameDifferent;
            } else {
                m_validity = kValid;
                m_serverName = GetAttribute(updates.Get(), "servername");
            }
            SetValid(m_validity == kValid);
            return IsValid();
        }
        m_validity = kNoUpdatesRoot;
        XmlNode status = SelectSingleNode(nullptr, "/updateserverstatus");
        if (status) {
            m_validity = kServerStatusDocument;
            m_serverStatus = std::make_unique<CServerStatus>(
                ReadLeadingInt(GetAttribute(status.Get(), "id").c_str()),
                GetNodeText(status.Get(), FormatText("./text[@lang='%s']", LanguageLetter().c_str())));
        }
    } catch (const CComError&) {
        // An unreadable document is no catalog.
    }
    return false;
}

void CKWUpdateCatalog::LoadSources()
{
    m_sources.clear();
    m_currentSource = 0;
    if (!IsValid())
        return;
    try {
        ForEachNode(*this, nullptr, "/updates/source", [this](IXMLDOMNode* source) {
            int priority = ReadLeadingInt(GetAttribute(source, "priority").c_str());
            m_sources.push_back(std::make_unique<CSourceItem>(priority, GetNodeText(source, ".")));
        });
    } catch (const CComError&) {
        // The sources read so far are still usable.
    }
    std::stable_sort(m_sources.begin(), m_sources.end(), [](const auto& a, const auto& b) {
        return a->GetPriority() < b->GetPriority();
    });
}

CSourceItem* CKWUpdateCatalog::GetFirstSource()
{
    if (m_sources.empty())
        LoadSources();
    m_currentSource = 0;
    return m_sources.empty() ? nullptr : m_sources.front().get();
}

CSourceItem* CKWUpdateCatalog::GetNextSource()
{
    if (m_currentSource + 1 >= m_sources.size())
        return nullptr;
    return m_sources[++m_currentSource].get();
}

XmlNode CKWUpdateCatalog::FindProduct(const std::string& productId) const
{
    return FindNode(*this, "/updates/product", [this, &productId](IXMLDOMNode* product) {
        return EqualsNoCase(GetAttribute(product, "id"), productId);
    });
}

bool CKWUpdateCatalog::GetProductIds(std::vector<std::string>& ids) const
{
    ids.clear();
    try {
        ForEachNode(*this, nullptr, "/updates/product", [this, &ids](IXMLDOMNode* product) {
            ids.push_back(GetAttribute(product, "id"));
        });
    } catch (const CComError&) {
        ids.clear();
    }
    return !ids.empty();
}

std::string CKWUpdateCatalog::GetProductMnemonic(const std::string& productId) const
{
    try {
        return GetAttribute(FindProduct(productId).Get(), "mne");
    } catch (const CComError&) {
        return std::string();
    }
}

bool CKWUpdateCatalog::CollectDependentProducts(std::vector<std::string>& ids) const
{
    ids.clear();
    const std::string& mainCode = GetProductDescriptor().MainUpgradeCode;
    try {
        XmlNode main = FindProduct(mainCode);
        if (!main)
            return false;
        std::vector<std::string> visiting{mainCode};
        CollectDependents(main.Get(), visiting, ids);
    } catch (const CComError&) {
        // What was collected before the failure is still right.
    }
    return !ids.empty();
}

void CKWUpdateCatalog::CollectDependents(IXMLDOMNode* product, std::vector<std::string>& visiting,
                                         std::vector<std::string>& ids) const
{
    ForEachNode(*this, product, "update/dependent", [this, &visiting, &ids](IXMLDOMNode* dependent) {
        std::string id = GetNodeText(dependent, ".");
        if (id.empty() || std::find(ids.begin(), ids.end(), id) != ids.end())
            return;
        // A product that is being visited already (the main product, or one
        // that names its own dependant again) would be followed forever; it
        // is still collected.
        bool visited = std::any_of(visiting.begin(), visiting.end(), [&id](const std::string& v) {
            return EqualsNoCase(v, id);
        });
        XmlNode named = visited ? XmlNode() : FindProduct(id);
        if (named) {
            visiting.push_back(id);
            CollectDependents(named.Get(), visiting, ids);
            visiting.pop_back();
        }
        // Through a cycle the id may have been collected while it was visited.
        if (id != GetProductDescriptor().MainUpgradeCode && std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    });
}

CKWUpdateCatalog::UpdateCheck CKWUpdateCatalog::ParseUpdate(IXMLDOMNode* update, const std::string& productId,
                                                            std::unique_ptr<CUpdateItem>& item) const
{
    item.reset();
    std::string id = GetAttribute(update, "id");
    if (id.empty())
        return kUpdateWithoutId;
    // The first child of each name counts; subject and notes in the
    // interface language only.
    const std::string letter = LanguageLetter();
    std::map<std::string, std::string> fields;
    std::vector<std::string> notes;
    ForEachChildElement(update, [this, &letter, &fields, &notes](const std::string& name, IXMLDOMNode* child) {
        if (name == "relnote") {
            ForEachChildElement(child, [this, &letter, &notes](const std::string& textName, IXMLDOMNode* text) {
                if (textName == "text" && GetAttribute(text, "lang") == letter)
                    notes.push_back(GetText(text));
            });
        } else if (name != "subject" || GetAttribute(child, "lang") == letter) {
            fields.emplace(name, GetText(child));
        }
    });
    int version = PackVersion(fields["version"]);
    int maximum = PackVersion(fields["targetversionmax"]);
    int minimum = PackVersion(fields["targetversionmin"]);
    if (!(minimum < version && maximum < version && minimum <= maximum))
        return kUpdateInconsistentVersions;
    auto record = std::make_unique<CUpdateItem>(id, productId, version, maximum, minimum);
    record->SetFileName(fields["filename"]);
    // The name is joined to the cache folder to download, check, run and
    // delete the file; it must not lead anywhere else.
    if (!IsPlainFileName(record->GetFileName()))
        return kUpdateUnsafeFileName;
    record->SetParameters(fields["parameters"]);
    if (!record->SetFormat(fields["format"]))
        return kUpdateUnknownFormat;
    record->SetFileCrc(std::strtoul(fields["filecrc"].c_str(), nullptr, 16));
    record->SetFileSize(std::strtoul(fields["filesize"].c_str(), nullptr, 10));
    // A digest that cannot be read could never be checked: better no update
    // than one that passes unchecked.
    const std::string& sha256 = fields["filesha256"];
    CSha256::Digest digest;
    if (!sha256.empty() && !CSha256::FromHex(sha256, digest))
        return kUpdateBadSha256;
    record->SetFileSha256(sha256.empty() ? std::string() : CSha256::ToHex(digest));
    record->SetSubject(fields["subject"]);
    record->SetReleaseDate(fields["releasedate"]);
    for (const std::string& paragraph : notes) {
        if (!paragraph.empty())
            record->AddReleaseNote(paragraph);
    }
    item = std::move(record);
    return kUpdateAccepted;
}

bool CKWUpdateCatalog::SelectUpdates(const std::string& productId, int installedVersion, UpdateList& updates)
{
    updates.clear();
    if (!IsValid())
        return false;
    UpdateList candidates;
    std::unique_ptr<CUpdateItem> fullPackage;
    try {
        XmlNode product = FindProduct(productId);
        if (!product)
            return false;
        std::string mnemonic = GetAttribute(product.Get(), "mne");
        if (std::find(m_ignoreList.begin(), m_ignoreList.end(), mnemonic) != m_ignoreList.end())
            return false;
        ForEachChildElement(product.Get(), [&](const std::string& name, IXMLDOMNode* update) {
            std::unique_ptr<CUpdateItem> item;
            if (name != "update" || ParseUpdate(update, productId, item) != kUpdateAccepted ||
                item->GetTargetVersionMax() < installedVersion)
                return;
            item->SetMnemonic(mnemonic);
            if (item->GetFormat() == kFormatPatch || item->GetFormat() == kFormatUpdaterUpdate)
                candidates.push_back(std::move(item));
            else
                fullPackage = std::move(item); // only the last full package counts
        });
    } catch (const CComError&) {
        return false;
    }

    if (candidates.empty()) {
        // A lone full package is offered whatever its range says: a product
        // that is not installed (version 0) receives its package this way.
        if (fullPackage)
            updates.push_back(std::move(fullPackage));
        return !updates.empty();
    }
    std::vector<CUpdateItem*> pool;
    for (const auto& candidate : candidates)
        pool.push_back(candidate.get());
    std::vector<CUpdateItem*> chain;
    int finalVersion = 0;
    uint64_t totalSize = 0;
    BuildChain(installedVersion, pool, chain, finalVersion, totalSize);
    if (fullPackage) {
        // The full package competes with the patches: the chain that goes
        // further wins, then the smaller download, then the patch chain only
        // when it has strictly fewer steps.
        pool.push_back(fullPackage.get());
        std::vector<CUpdateItem*> withFull;
        int finalWithFull = 0;
        uint64_t sizeWithFull = 0;
        BuildChain(installedVersion, pool, withFull, finalWithFull, sizeWithFull);
        bool keepPatches = finalVersion != finalWithFull ? finalVersion > finalWithFull
                           : totalSize != sizeWithFull   ? totalSize < sizeWithFull
                                                         : chain.size() < withFull.size();
        if (!keepPatches)
            chain.swap(withFull);
        candidates.push_back(std::move(fullPackage));
    }
    for (auto& candidate : candidates) {
        if (std::find(chain.begin(), chain.end(), candidate.get()) != chain.end())
            updates.push_back(std::move(candidate));
    }
    std::sort(updates.begin(), updates.end(), [](const auto& a, const auto& b) {
        return a->GetVersion() < b->GetVersion();
    });
    return !updates.empty();
}

void CKWUpdateCatalog::BuildChain(int version, std::vector<CUpdateItem*>& candidates, std::vector<CUpdateItem*>& chain,
                                  int& finalVersion, uint64_t& totalSize)
{
    chain.clear();
    totalSize = 0;
    std::stable_sort(candidates.begin(), candidates.end(), [](const CUpdateItem* a, const CUpdateItem* b) {
        if (a->GetTargetVersionMax() != b->GetTargetVersionMax())
            return a->GetTargetVersionMax() > b->GetTargetVersionMax();
        return a->GetTargetVersionMin() > b->GetTargetVersionMin();
    });
    // Each step raises the version above the range of the candidate taken,
    // and so above every candidate after it: only those before can follow.
    auto limit = candidates.end();
    for (;;) {
        auto next = std::find_if(candidates.begin(), limit, [version](const CUpdateItem* candidate) {
            return candidate->GetTargetVersionMin() <= version && version <= candidate->GetTargetVersionMax();
        });
        if (next == limit)
            break;
        totalSize += (*next)->GetFileSize();
        version = (*next)->GetVersion();
        chain.push_back(*next);
        limit = next;
    }
    finalVersion = version;
}

const std::vector<CUpdateItem*>& CKWUpdateCatalog::GetAllUpdates()
{
    if (m_allUpdates.empty()) {
        for (const auto& product : CKWInstallationData::GetInstance().GetProducts()) {
            for (const auto& update : product->GetUpdates())
                m_allUpdates.push_back(update.get());
        }
    }
    return m_allUpdates;
}

CUpdateItem* CKWUpdateCatalog::FindUpdateById(const std::string& id)
{
    return FindById(GetAllUpdates(), id);
}

CUpdateItem* CKWUpdateCatalog::FindUpdateForVersion(const std::string& productId, int version)
{
    return FindForVersion(GetAllUpdates(), productId, version);
}

void CKWUpdateCatalog::ResolveDependencies()
{
    ResolveDependencies(GetProductDescriptor().MainUpgradeCode);
}

void CKWUpdateCatalog::ResolveDependencies(const std::string& mainProductCode)
{
    ResolveDependencies(GetAllUpdates(), mainProductCode);
}

void CKWUpdateCatalog::ResolveDependencies(const std::vector<CUpdateItem*>& updates, const std::string& mainProductCode)
{
    if (updates.empty() || !IsValid())
        return;
    const DependentMap dependents = ReadDependents(*this);
    // The updates met so far, by product and version (the first of equal
    // versions).
    std::map<std::string, std::map<int, CUpdateItem*>> earlier;
    for (CUpdateItem* update : updates) {
        // Only the nearest earlier update of the product, the highest
        // version below this one, is linked: it requires the one before it
        // in turn, so the whole chain stays selected, while links to every
        // earlier update would double Select's work and counts with each
        // step of a long chain.
        std::map<int, CUpdateItem*>& versions = earlier[update->GetProductId()];
        auto above = versions.lower_bound(update->GetVersion());
        if (above != versions.begin())
            update->AddPrerequisite(std::prev(above)->second);
        versions.emplace(update->GetVersion(), update);
        auto named = dependents.find(update->GetId());
        if (named == dependents.end())
            continue;
        for (const std::string& id : named->second) {
            CUpdateItem* prerequisite =
                id == mainProductCode ? FindForVersion(updates, id, update->GetVersion()) : FindById(updates, id);
            if (prerequisite != nullptr)
                update->AddPrerequisite(prerequisite);
        }
    }
    for (CUpdateItem* update : updates)
        update->Select(true);
}

void CKWUpdateCatalog::FindDroppedUpdates(std::vector<DroppedUpdate>& dropped) const
{
    dropped.clear();
    try {
        ForEachNode(*this, nullptr, "/updates/product", [this, &dropped](IXMLDOMNode* product) {
            std::string productId = GetAttribute(product, "id");
            int position = 0;
            ForEachChildElement(product, [&](const std::string& name, IXMLDOMNode* update) {
                if (name != "update")
                    return;
                ++position;
                std::unique_ptr<CUpdateItem> item;
                UpdateCheck check = ParseUpdate(update, productId, item);
                if (check != kUpdateAccepted)
                    dropped.push_back({productId, position, GetAttribute(update, "id"), check});
            });
        });
    } catch (const CComError&) {
        // Report what could be read.
    }
}
