// Shows what the shared foundation knows about this machine and product:
// the running Windows, the expanded product descriptor, the installed folder,
// a few localized texts, and one line written to a real log file.
#include "CKWLogFile.h"
#include "CResString.h"
#include "OsInfo.h"
#include "ProductDescriptor.h"
#include "RegistrySetting.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::string DefaultLogPath()
{
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "kwinfo\\KW#INFO.txt";
}

void ShowLocalizedTexts(unsigned short language)
{
    g_language = language;
    const ProductDescriptor& product = GetProductDescriptor();
    std::string searching;
    LoadFormatted(searching, 208, product.CatalogFileName.c_str());
    std::string upToDate;
    LoadFormatted(upToDate, 222, product.AppTitle.c_str());
    std::printf("  [strings] 107 = %s\n", CResString(107).c_str());
    std::printf("  [strings] 208 = %s\n", searching.c_str());
    std::printf("  [strings] 222 = %s\n", upToDate.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    std::string logPath = DefaultLogPath();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc) {
            logPath = argv[++i];
        } else {
            std::fprintf(stderr, "usage: kwinfo [--log PATH]\n");
            return 2;
        }
    }

    const ProductDescriptor& product = GetProductDescriptor();
    std::printf("Running on %s (OS class %d)\n\n", GetOsDescription().c_str(), GetOsClass());

    std::printf("Product descriptor:\n");
    int number = 1;
    for (const ProductDescriptor::Field& field : product.Fields())
        std::printf("  %2d %-21s %s\n", number++, field.name, field.value->c_str());

    std::string installed =
        ReadRegistrySetting(product.SetupRegistryKey, product.InstallDirValueName, product.DefaultInstallDir);
    std::printf("\nInstalled folder (%s\\%s): %s%s\n", product.SetupRegistryKey.c_str(),
                product.InstallDirValueName.c_str(), installed.c_str(),
                installed == product.DefaultInstallDir ? "  (default: no value in the registry)" : "");

    std::printf("\nString tables, English:\n");
    ShowLocalizedTexts(kLanguageEnglish);
    std::printf("String tables, French:\n");
    ShowLocalizedTexts(kLanguageFrench);

    try {
        std::unique_ptr<CKWLogFile> log(new CKWLogFile(logPath, true));
        g_logFile = log.get();
        LogMessage("kwinfo: %s on %s", product.AppTitle.c_str(), GetOsDescription().c_str());
        g_logFile = nullptr;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot open the log: %s\n", e.what());
        return 1;
    }
    std::printf("\nLog line appended to %s\n", logPath.c_str());
    return 0;
}
