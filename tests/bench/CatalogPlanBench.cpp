// The vendor's tool planning every product of a large catalog, as a vendor
// runs it: the real kwcatalog.exe, started beside this program.
#include "Bench.h"
#include "CatalogXml.h"
#include "KwHandle.h"
#include "TestFolder.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

const int kProducts = 100;
const int kUpdatesPerProduct = 100;

std::string BesideThisProgram(const std::string& name)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// Runs the command line with its output in the file; false when it cannot
// start or does not end with exit code 0.
bool RunToFile(const std::string& program, const std::string& arguments, const std::string& output)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    KwHandle file(CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file.Get();
    startup.hStdError = file.Get();
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\" " + arguments;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return false;
    KwHandle thread(process.hThread);
    KwHandle child(process.hProcess);
    WaitForSingleObject(child.Get(), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(child.Get(), &code);
    return code == 0;
}

std::string ChainedCatalog()
{
    std::string body;
    for (int p = 0; p < kProducts; ++p) {
        std::string updates;
        for (int i = 0; i < kUpdatesPerProduct; ++i)
            updates += UpdateXml("P" + std::to_string(p) + "-" + std::to_string(i + 1), "1.0." + std::to_string(i + 1),
                                 "1.0." + std::to_string(i), "1.0." + std::to_string(i));
        body += ProductXml("{P" + std::to_string(p) + "}", "P" + std::to_string(p), updates);
    }
    return CatalogXml(body);
}

} // namespace

// Baseline: the same program started to print its usage, which is what
// starting any program costs under this system.
KW_BENCH(CatalogPlan)
{
    TestFolder folder;
    const std::string catalog = folder.File("catalog.xml");
    const std::string output = folder.File("plan.txt");
    WriteWholeFile(catalog, ChainedCatalog());
    std::string arguments = "plan \"" + catalog + "\"";
    for (int p = 0; p < kProducts; ++p)
        arguments += " {P" + std::to_string(p) + "}=1.0.0";
    const std::string program = BesideThisProgram("kwcatalog.exe");
    bool planned = true;
    double seconds = BestSeconds(3, [&] {
        planned = RunToFile(program, arguments, output) && planned;
    });
    // Every update of every chain, and the sources line.
    std::string plan = ReadWholeFile(output);
    long lines = static_cast<long>(std::count(plan.begin(), plan.end(), '\n'));
    if (!planned || lines != kProducts * kUpdatesPerProduct + 1) {
        PrintSkipped("kwcatalog plan", "it failed or printed " + std::to_string(lines) + " lines");
        return;
    }
    double startSeconds = BestSeconds(3, [&] {
        RunToFile(program, std::string(), output);
    });
    PrintRow("kwcatalog plan, 100 products x 100 updates", seconds, "kwcatalog start (usage)", startSeconds, {0, 1.0});
}
