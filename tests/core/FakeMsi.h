#pragma once

#include "CKWMsiDll.h"

#include <map>
#include <string>
#include <vector>

// A scripted Windows Installer engine for unit tests. While an instance
// lives, g_msi calls its functions: they answer from the script below and
// record every call. The previous binding is restored on destruction.
class FakeMsi {
public:
    using Row = std::vector<std::string>;

    struct Package {
        bool validInstaller = true; // MsiVerifyPackageA succeeds
        bool validPatch = false;    // opens in patch-file mode
        std::string packageCode;    // summary information property 9
        // Rows by exact query text; integers are written as decimal text.
        std::map<std::string, std::vector<Row>> queries;
        // Queries whose view cannot be opened (missing table).
        std::vector<std::string> failingQueries;
        // Condition text -> MSICONDITION; unlisted conditions are true.
        std::map<std::string, int> conditions;
        bool openPackageFails = false;
    };

    FakeMsi();
    ~FakeMsi();
    FakeMsi(const FakeMsi&) = delete;
    FakeMsi& operator=(const FakeMsi&) = delete;

    static FakeMsi& Current();

    // Clears every entry point, as when no engine is bound; the destructor
    // restores the binding.
    void Unbind();

    // Script.
    std::map<std::string, Package> packages;                               // by path as the code passes it
    std::map<std::string, int> productStates;                              // by product code; absent: -1
    std::map<std::string, std::map<std::string, std::string>> productInfo; // product code -> attribute -> value
    std::map<std::string, int> featureStates;                              // "product|feature"; absent: -1
    UINT installResult = 0;
    UINT reinstallResult = 0;
    UINT configureResult = 0;
    UINT applyPatchResult = 0;

    // Record: "Function|arg|arg..." in call order.
    std::vector<std::string> calls;
    // The argument parts of every call to one function.
    std::vector<std::string> CallsTo(const std::string& function) const;
    int CountCalls(const std::string& function) const;
    // Handles opened and not closed yet.
    size_t OpenHandles() const { return handles.size(); }

    // Internal bookkeeping of the fake functions.
    struct Handle {
        enum Type { Database, View, Record, Summary, Product } type;
        std::string path;
        std::vector<Row> rows;
        size_t next = 0;
        Row row;
    };
    std::map<MSIHANDLE, Handle> handles;
    MSIHANDLE nextHandle = 100;
    MSIHANDLE NewHandle(Handle handle);
    Package* FindPackage(const std::string& path);

private:
    MsiEntryPoints m_saved;
};
