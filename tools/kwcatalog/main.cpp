// The vendor's catalog tool: checks a catalog before it is published, shows
// which updates the updater would offer for given installed versions,
// computes the checksums and sizes a catalog lists, and makes the key that
// signs catalogs and the signatures. Every rule is the updater's own catalog
// code.
#include "CCrc32.h"
#include "CKWInstallationData.h"
#include "CKWUpdateCatalog.h"
#include "CSha256.h"
#include "CatalogKeys.h"
#include "CatalogSignature.h"
#include "KwHandle.h"
#include "CResString.h"
#include "ComError.h"
#include "IsHttpLocation.h"
#include "MakeFullPath.h"
#include "ProductDescriptor.h"
#include "SystemMessage.h"
#include "Version.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kUsage[] = "usage: kwcatalog check [--lang E|F] CATALOG\n"
                      "       kwcatalog plan CATALOG [--lang E|F] [--ignore MNE]... [--main GUID] PRODUCT=VERSION...\n"
                      "       kwcatalog crc FILE...\n"
                      "       kwcatalog keygen KEYFILE\n"
                      "       kwcatalog sign CATALOG KEYFILE\n"
                      "       kwcatalog verify CATALOG\n"
                      "CATALOG is a local path or an http:// or https:// URL.\n";

int Usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

struct Options {
    std::string catalog;
    bool ignoreGiven = false;
    std::vector<std::string> ignore;
    std::string mainProduct;
    std::vector<std::string> products;
};

// Options may stand anywhere after the command; the first other argument is
// the catalog, the rest are products.
bool ParseOptions(int argc, char** argv, bool allowProducts, Options& options)
{
    for (int i = 2; i < argc; ++i) {
        std::string argument = argv[i];
        bool hasValue = i + 1 < argc;
        if (argument == "--lang" && hasValue) {
            std::string letter = argv[++i];
            if (letter != "E" && letter != "F")
                return false;
            g_language = letter == "F" ? kLanguageFrench : kLanguageEnglish;
        } else if (argument == "--ignore" && hasValue && allowProducts) {
            options.ignoreGiven = true;
            options.ignore.push_back(argv[++i]);
        } else if (argument == "--main" && hasValue && allowProducts) {
            options.mainProduct = argv[++i];
        } else if (argument.compare(0, 2, "--") == 0) {
            return false;
        } else if (options.catalog.empty()) {
            options.catalog = argument;
        } else if (allowProducts && argument.find('=') != std::string::npos) {
            options.products.push_back(argument);
        } else {
            return false;
        }
    }
    return !options.catalog.empty();
}

// Loads the catalog; a COM failure is written to the error stream instead
// of a message box nobody would answer.
bool LoadCatalog(CKWUpdateCatalog& catalog, std::string location)
{
    ComErrorBox() = [](HWND, const char* text, const char*, UINT) {
        std::fprintf(stderr, "kwcatalog: %s\n", text);
        return IDOK;
    };
    if (!IsHttpLocation(location))
        MakeFullPath(location);
    return catalog.LoadFromUrl(location);
}

const char* DropReason(CKWUpdateCatalog::UpdateCheck check)
{
    switch (check) {
    case CKWUpdateCatalog::kUpdateWithoutId:
        return "no id";
    case CKWUpdateCatalog::kUpdateInconsistentVersions:
        return "inconsistent versions (needs targetversionmin <= targetversionmax < version)";
    case CKWUpdateCatalog::kUpdateUnknownFormat:
        return "unknown format (MSP, MSI, FMC, UPD or EXE)";
    case CKWUpdateCatalog::kUpdateUnsafeFileName:
        return "unsafe file name (needs a plain name: no path, drive, stream, wildcard, control character or device "
               "name, not ending in a dot or space)";
    case CKWUpdateCatalog::kUpdateBadSha256:
        return "filesha256 is not 64 hexadecimal digits";
    case CKWUpdateCatalog::kUpdateAccepted:
        break;
    }
    return "";
}

// The serial and expiry of a signed catalog.
std::string SignedSummary(const CKWUpdateCatalog& catalog)
{
    int expires = catalog.GetExpires();
    char date[16] = "never";
    if (expires != 0)
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", expires / 10000, expires / 100 % 100, expires % 100);
    return "serial " + std::to_string(catalog.GetSerial()) + ", expires " + date;
}

// The sources as the download walks them.
std::vector<const CSourceItem*> SourcesInOrder(CKWUpdateCatalog& catalog)
{
    std::vector<const CSourceItem*> sources;
    for (const CSourceItem* source = catalog.GetFirstSource(); source != nullptr; source = catalog.GetNextSource())
        sources.push_back(source);
    return sources;
}

int Check(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, false, options))
        return Usage();
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    LoadCatalog(catalog, options.catalog);
    if (catalog.IsValid())
        std::printf("valid: server name \"%s\"\n", catalog.GetServerName().c_str());
    if (catalog.IsSigned())
        std::printf("signed: %s\n", SignedSummary(catalog).c_str());
    if (!catalog.IsValid())
        std::printf("invalid: %s\n", catalog.GetInvalidReason().c_str());

    std::vector<CKWUpdateCatalog::DroppedUpdate> dropped;
    catalog.FindDroppedUpdates(dropped);
    for (const CKWUpdateCatalog::DroppedUpdate& update : dropped) {
        std::string id = update.updateId.empty() ? std::string() : " \"" + update.updateId + "\"";
        std::printf("dropped: product %s, update %d%s: %s\n", update.productId.c_str(), update.position, id.c_str(),
                    DropReason(update.reason));
    }

    std::vector<const CSourceItem*> sources = SourcesInOrder(catalog);
    std::printf("sources in the order tried:%s\n", sources.empty() ? " none" : "");
    for (const CSourceItem* source : sources)
        std::printf("  %d %s %s\n", source->GetPriority(), source->IsHttp() ? "http" : "folder",
                    source->GetLocation().c_str());
    return catalog.IsValid() ? 0 : 1;
}

std::string JoinPrerequisites(const CUpdateItem& update)
{
    std::string ids;
    for (const CUpdateItem* prerequisite : update.GetPrerequisites())
        ids += (ids.empty() ? "" : ",") + prerequisite->GetId();
    return ids.empty() ? "-" : ids;
}

int Plan(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, true, options))
        return Usage();
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    if (options.ignoreGiven)
        catalog.SetIgnoreList(options.ignore);
    LoadCatalog(catalog, options.catalog);
    if (const CServerStatus* status = catalog.GetServerStatus()) {
        std::printf("STATUS %d %s\n", status->GetCode(), status->GetMessageText().c_str());
        return 0;
    }
    if (!catalog.IsValid()) {
        std::printf("INVALID\n");
        return 0;
    }

    CKWInstallationData& installation = CKWInstallationData::GetInstance();
    for (const std::string& product : options.products) {
        size_t equals = product.find('=');
        std::string code = product.substr(0, equals);
        installation.AddInstalledProduct(code, PackVersion(product.substr(equals + 1)), false);
        if (options.mainProduct.empty())
            options.mainProduct = code;
    }
    installation.GetUpdateCount();
    catalog.ResolveDependencies(options.mainProduct);

    for (const CUpdateItem* update : catalog.GetAllUpdates()) {
        std::printf("%s\t%s\t%s\t%s\t%u\t%d\t%s\n", update->GetProductId().c_str(), update->GetId().c_str(),
                    CUpdateItem::FormatName(update->GetFormat()).c_str(), FormatVersion(update->GetVersion()).c_str(),
                    static_cast<unsigned>(update->GetFileSize()), update->GetSelectionCount(),
                    JoinPrerequisites(*update).c_str());
    }
    std::string line = "sources:";
    for (const CSourceItem* source : SourcesInOrder(catalog))
        line += " " + source->GetLocation();
    std::printf("%s\n", line.c_str());
    return 0;
}

int Crc(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    CCrc32 crc32;
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        uint32_t crc = 0;
        CSha256::Digest digest;
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        DWORD error = crc32.ComputeFile(argv[i], crc);
        if (error == ERROR_SUCCESS)
            error = CSha256::ComputeFile(argv[i], digest);
        if (error == ERROR_SUCCESS && !GetFileAttributesExA(argv[i], GetFileExInfoStandard, &attributes))
            error = GetLastError();
        if (error != ERROR_SUCCESS) {
            std::fprintf(stderr, "kwcatalog: %s: %s\n", argv[i], GetSystemErrorText(error).c_str());
            status = 1;
            continue;
        }
        unsigned long long size =
            (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
        std::printf("%08x %llu %s %s\n", static_cast<unsigned>(crc), size, CSha256::ToHex(digest).c_str(), argv[i]);
    }
    return status;
}

int Fail(const std::string& what, DWORD error)
{
    std::fprintf(stderr, "kwcatalog: %s: %s\n", what.c_str(), GetSystemErrorText(error).c_str());
    return 1;
}

// Writes the text to the path; a key file is never written over another.
DWORD WriteTextFile(const std::string& path, const std::string& text, bool mustBeNew)
{
    KwHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, mustBeNew ? CREATE_NEW : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return GetLastError();
    DWORD written = 0;
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return GetLastError();
    return written == text.size() ? 0 : ERROR_WRITE_FAULT;
}

int KeyGen(int argc, char** argv)
{
    if (argc != 3)
        return Usage();
    CEcdsaKey key;
    if (!key.Generate())
        return Fail("cannot make an ECDSA P-256 key", ERROR_NOT_SUPPORTED);
    DWORD error = WriteTextFile(argv[2], KeyFileText(key), true);
    if (error != 0)
        return Fail(argv[2], error);
    std::printf("%s\n", PublicKeyText(key).c_str());
    return 0;
}

int Sign(int argc, char** argv)
{
    if (argc != 4)
        return Usage();
    const std::string catalogPath = argv[2];
    std::string keyText;
    DWORD error = CXmlDocument::ReadLocation(argv[3], 64 * 1024, keyText);
    if (error != 0)
        return Fail(argv[3], error);
    CEcdsaKey key;
    if (!ReadKeyFileText(keyText, key)) {
        std::fprintf(stderr, "kwcatalog: %s: not a catalog signing key\n", argv[3]);
        return 1;
    }
    std::string bytes;
    std::string signature;
    error = CXmlDocument::ReadLocation(catalogPath, CXmlDocument::kMaxDocumentBytes, bytes);
    if (error != 0)
        return Fail(catalogPath, error);
    if (!SignCatalog(bytes, key, signature))
        return Fail("cannot sign " + catalogPath, ERROR_NOT_SUPPORTED);
    const std::string target = SignatureLocation(catalogPath);
    error = WriteTextFile(target, signature, false);
    if (error != 0)
        return Fail(target, error);
    std::printf("signed: %s\n", target.c_str());
    return 0;
}

int Verify(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, false, options))
        return Usage();
    if (GetCatalogKeys().empty()) {
        std::printf("refused: the product carries no catalog key, so the updater takes catalogs unsigned\n");
        return 1;
    }
    CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
    LoadCatalog(catalog, options.catalog);
    if (catalog.IsValid() && catalog.IsSigned()) {
        std::printf("verified: %s\n", SignedSummary(catalog).c_str());
        return 0;
    }
    std::printf("refused: %s\n", catalog.GetInvalidReason().c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    if (std::strcmp(argv[1], "check") == 0)
        return Check(argc, argv);
    if (std::strcmp(argv[1], "plan") == 0)
        return Plan(argc, argv);
    if (std::strcmp(argv[1], "crc") == 0)
        return Crc(argc, argv);
    if (std::strcmp(argv[1], "keygen") == 0)
        return KeyGen(argc, argv);
    if (std::strcmp(argv[1], "sign") == 0)
        return Sign(argc, argv);
    if (std::strcmp(argv[1], "verify") == 0)
        return Verify(argc, argv);
    return Usage();
}
