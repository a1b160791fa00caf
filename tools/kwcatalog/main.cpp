// The vendor's catalog tool: checks a catalog before it is published, shows
// which updates the updater would offer for given installed versions, and
// computes the checksums and sizes a catalog lists. Every rule is the
// updater's own catalog code.
#include "CCrc32.h"
#include "CKWInstallationData.h"
#include "CKWUpdateCatalog.h"
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

std::string InvalidReason(CKWUpdateCatalog& catalog)
{
    switch (catalog.GetValidity()) {
    case CKWUpdateCatalog::kValid:
        return std::string();
    case CKWUpdateCatalog::kNotLoaded:
        return "the document cannot be read: " + catalog.GetLoadError();
    case CKWUpdateCatalog::kNotReloaded:
        return "the catalog cannot be loaded again from its own text: " + catalog.GetLoadError();
    case CKWUpdateCatalog::kNoUpdatesRoot:
        return "the root element is not \"updates\"";
    case CKWUpdateCatalog::kAppNameMissing:
        return "\"appname\" is missing";
    case CKWUpdateCatalog::kAppNameDifferent:
        return "\"appname\" is \"" + catalog.GetAttribute(catalog.GetRoot(), "appname") + "\", expected \"" +
               GetProductDescriptor().AppName + "\"";
    case CKWUpdateCatalog::kServerStatusDocument: {
        const CServerStatus* status = catalog.GetServerStatus();
        return "server status " + std::to_string(status->GetCode()) + ": " + status->GetMessageText();
    }
    }
    return std::string();
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
    case CKWUpdateCatalog::kUpdateAccepted:
        break;
    }
    return "";
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
    else
        std::printf("invalid: %s\n", InvalidReason(catalog).c_str());

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
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        DWORD error = crc32.ComputeFile(argv[i], crc);
        if (error == ERROR_SUCCESS && !GetFileAttributesExA(argv[i], GetFileExInfoStandard, &attributes))
            error = GetLastError();
        if (error != ERROR_SUCCESS) {
            std::fprintf(stderr, "kwcatalog: %s: %s\n", argv[i], GetSystemErrorText(error).c_str());
            status = 1;
            continue;
        }
        unsigned long long size =
            (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
        std::printf("%08x %llu %s\n", static_cast<unsigned>(crc), size, argv[i]);
    }
    return status;
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
    return Usage();
}
