#pragma once

#include <array>
#include <string>

// The product's fixed texts, compiled into both programs. Fields keep their
// historical order; the numbered copies and reserved slots stay so that the
// order never changes.
struct ProductDescriptor {
    std::string AppName;              // 1: value of {APP_NAME}
    std::string AppTitle;             // 2: shown in captions and the log
    std::string MainUpgradeCode;      // 3: ProductCode of the main product
    std::string SetupRegistryKey;     // 4: key holding the installed folder
    std::string MainProgramCommand;   // 5: quoted command that starts the product
    std::string MainProgramPath;      // 6: the product's program file
    std::string ReadmeEnglish;        // 7
    std::string ReadmeFrench;         // 8
    std::string CompanionProductCode; // 9
    std::string MainUpgradeCodeCopy1; // 10
    std::string Reserved11;           // 11
    std::string Reserved12;           // 12
    std::string Reserved13;           // 13
    std::string InstallDirValueName;  // 14
    std::string DefaultInstallDir;    // 15
    std::string DefaultCatalogURL;    // 16
    std::string UpdatesRegistryKey;   // 17: per-user key overriding the URLs
    std::string CatalogFileName;      // 18
    std::string UpdaterCode;          // 19: ProductCode of the updater product
    std::string UpdatesStateKey;      // 20: below HKEY_CURRENT_USER
    std::string MainUpgradeCodeCopy2; // 21
    std::string CatalogURLValueName;  // 22
    std::string DefaultStatsURL;      // 23
    std::string StatsRegistryKey;     // 24
    std::string StatsURLValueName;    // 25
    std::string CatalogKeys;          // 26: public keys that sign catalogs; empty: unsigned

    struct Field {
        const char* name;
        const std::string* value;
    };
    static constexpr size_t kFieldCount = 26;
    // The fields in their numbered order (index 0 is field 1).
    std::array<Field, kFieldCount> Fields() const;
};

// The descriptor of this product, with its macros expanded.
const ProductDescriptor& GetProductDescriptor();

// Builds a descriptor from the compiled-in defaults for a system folder on
// the given drive.
ProductDescriptor MakeProductDescriptor(char defaultDrive);

// Replaces "{THIS_YEAR}", "{APP_NAME}" and "{DEFAULT_DRIVE}" in a text.
std::string ExpandProductMacros(const std::string& text);

// The same with explicit macro values.
std::string ExpandMacros(const std::string& text, const std::string& appName, char defaultDrive);

// The drive letter of the Windows system folder.
char GetSystemDriveLetter();
