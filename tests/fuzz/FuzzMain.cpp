// Feeds generated catalogs, setup.ini files and command lines to the
// product's parsers. The parent process only watches: it runs a child that
// feeds the inputs, reads in shared memory which input the child is on,
// kills it when one input takes longer than the limit, and starts a new
// child after the input that crashed or hung, keeping that input in a file.
#include "CKWMsiDll.h"
#include "ComApartment.h"
#include "ComError.h"
#include "FuzzInputs.h"
#include "FuzzSandbox.h"
#include "FuzzTargets.h"
#include "KwHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const DWORD kHangMillis = 5000;

// What the child tells the parent while it runs.
struct FuzzProgress {
    volatile LONG current; // sequence number of the input being fed; -1 before
    volatile LONG fed;
    volatile LONG problems;
    volatile LONG writes;
    volatile LONG slowestMillis;
    volatile LONG slowestInput;
    volatile LONG millisByKind[3];
};

struct FuzzPlan {
    uint64_t seed = 1;
    long catalogs = 100000;
    long inis = 20000;
    long commandLines = 20000;
    std::string outFolder = "fuzz-out";

    long Total() const { return catalogs + inis + commandLines; }
    // The kind and index of a sequence number.
    FuzzKind KindOf(long sequence, long& index) const
    {
        if (sequence < catalogs) {
            index = sequence;
            return kFuzzCatalog;
        }
        if (sequence < catalogs + inis) {
            index = sequence - catalogs;
            return kFuzzSetupIni;
        }
        index = sequence - catalogs - inis;
        return kFuzzCommandLine;
    }
};

const char* KindName(FuzzKind kind)
{
    return kind == kFuzzCatalog ? "catalog" : kind == kFuzzSetupIni ? "setup.ini" : "command line";
}

const char* KindExtension(FuzzKind kind)
{
    return kind == kFuzzCatalog ? ".xml" : kind == kFuzzSetupIni ? ".ini" : ".txt";
}

// Keeps the input that went wrong, with how to make it again.
void SaveInput(const FuzzPlan& plan, long sequence, const std::string& what)
{
    long index = 0;
    FuzzKind kind = plan.KindOf(sequence, index);
    std::string base = plan.outFolder + "\\" + what + "-" + std::to_string(plan.seed) + "-" +
                       std::string(kind == kFuzzCatalog    ? "catalog"
                                   : kind == kFuzzSetupIni ? "ini"
                                                           : "cmd") +
                       "-" + std::to_string(index);
    CreateDirectoryA(plan.outFolder.c_str(), nullptr);
    WriteFuzzFile(base + KindExtension(kind), MakeFuzzInput(kind, plan.seed, index));
    std::printf("fuzz: %s on %s %ld (seed %llu): %s\n", what.c_str(), KindName(kind), index,
                static_cast<unsigned long long>(plan.seed), (base + KindExtension(kind)).c_str());
}

int NoBox(HWND, const char*, const char*, UINT)
{
    return IDOK;
}

int RunChild(const FuzzPlan& plan, long start, const std::string& mappingName)
{
    KwHandle mapping(OpenFileMappingA(FILE_MAP_WRITE, FALSE, mappingName.c_str()));
    if (!mapping.IsValid())
        return 2;
    auto* progress =
        static_cast<FuzzProgress*>(MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(FuzzProgress)));
    if (progress == nullptr)
        return 2;
    // A crash must end the child at once, without Wine's crash dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ComApartment apartment;
    ComErrorBox() = NoBox;
    FuzzSandbox sandbox;
    SetCurrentDirectoryA(sandbox.Cache().c_str());
    // The updater binds the engine before the check; the records ask it.
    g_msi.EnsureLoaded();
    for (long sequence = start; sequence < plan.Total(); ++sequence) {
        InterlockedExchange(&progress->current, sequence);
        long index = 0;
        FuzzKind kind = plan.KindOf(sequence, index);
        std::string input = MakeFuzzInput(kind, plan.seed, index);
        DWORD started = GetTickCount();
        std::string problem = kind == kFuzzCatalog    ? FeedCatalog(input, plan.seed, index, sandbox)
                              : kind == kFuzzSetupIni ? FeedSetupIni(input, index, sandbox)
                                                      : FeedCommandLine(input);
        LONG millis = static_cast<LONG>(GetTickCount() - started);
        InterlockedExchangeAdd(&progress->millisByKind[kind], millis);
        if (millis > progress->slowestMillis) {
            progress->slowestMillis = millis;
            progress->slowestInput = sequence;
        }
        for (const std::string& path : sandbox.TakeWrites()) {
            std::printf("fuzz: written: %s\n", path.c_str());
            problem += (problem.empty() ? "" : "; ") + std::string("wrote ") + path;
            InterlockedIncrement(&progress->writes);
        }
        if (!problem.empty()) {
            InterlockedIncrement(&progress->problems);
            SaveInput(plan, sequence, "problem");
            std::printf("fuzz:   %s\n", problem.c_str());
        }
        InterlockedIncrement(&progress->fed);
        std::fflush(stdout);
    }
    UnmapViewOfFile(progress);
    return 0;
}

struct Totals {
    long fed = 0;
    long crashes = 0;
    long hangs = 0;
    long problems = 0;
    long writes = 0;
    long slowestMillis = 0;
    long slowestInput = -1;
    double secondsByKind[3] = {};
};

void AddChild(const FuzzProgress& progress, Totals& totals)
{
    totals.fed += progress.fed;
    totals.problems += progress.problems;
    totals.writes += progress.writes;
    for (int kind = 0; kind < 3; ++kind)
        totals.secondsByKind[kind] += progress.millisByKind[kind] / 1000.0;
    if (progress.slowestMillis > totals.slowestMillis) {
        totals.slowestMillis = progress.slowestMillis;
        totals.slowestInput = progress.slowestInput;
    }
}

bool StartChild(const FuzzPlan& plan, long start, const std::string& mappingName, PROCESS_INFORMATION& process)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string line = "\"" + std::string(self) + "\" --child " + std::to_string(start) + " " + mappingName +
                       " --seed " + std::to_string(plan.seed) + " --catalogs " + std::to_string(plan.catalogs) +
                       " --inis " + std::to_string(plan.inis) + " --command-lines " +
                       std::to_string(plan.commandLines) + " --out \"" + plan.outFolder + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process) != 0;
}

int RunParent(FuzzPlan plan)
{
    char full[MAX_PATH];
    if (GetFullPathNameA(plan.outFolder.c_str(), MAX_PATH, full, nullptr) != 0)
        plan.outFolder = full;
    std::string mappingName = "kwfuzz-progress-" + std::to_string(GetCurrentProcessId());
    KwHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FuzzProgress),
                                        mappingName.c_str()));
    auto* progress =
        mapping.IsValid()
            ? static_cast<FuzzProgress*>(MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(FuzzProgress)))
            : nullptr;
    if (progress == nullptr) {
        std::fprintf(stderr, "fuzz: no shared memory\n");
        return 2;
    }
    std::vector<std::string> rootBefore = ListFolder("C:");
    Totals totals;
    DWORD runStarted = GetTickCount();
    long start = 0;
    while (start < plan.Total()) {
        std::memset(progress, 0, sizeof *progress);
        progress->current = -1;
        PROCESS_INFORMATION process = {};
        if (!StartChild(plan, start, mappingName, process)) {
            std::fprintf(stderr, "fuzz: the child cannot start\n");
            return 2;
        }
        KwHandle child(process.hProcess);
        CloseHandle(process.hThread);
        LONG watched = -2;
        DWORD since = GetTickCount();
        bool hung = false;
        while (WaitForSingleObject(child.Get(), 100) == WAIT_TIMEOUT) {
            LONG current = progress->current;
            if (current != watched) {
                watched = current;
                since = GetTickCount();
            } else if (current >= 0 && GetTickCount() - since > kHangMillis) {
                TerminateProcess(child.Get(), 1);
                WaitForSingleObject(child.Get(), INFINITE);
                hung = true;
            }
        }
        DWORD code = 0;
        GetExitCodeProcess(child.Get(), &code);
        AddChild(*progress, totals);
        if (!hung && code == 0)
            break;
        long failed = progress->current;
        if (failed < 0) {
            std::fprintf(stderr, "fuzz: the child failed before its first input (exit code 0x%lx)\n", code);
            return 2;
        }
        if (hung) {
            ++totals.hangs;
            SaveInput(plan, failed, "hang");
        } else {
            ++totals.crashes;
            SaveInput(plan, failed, "crash");
            std::printf("fuzz:   exit code 0x%lx\n", code);
        }
        ++totals.fed;
        start = failed + 1;
    }
    for (const std::string& name : ListFolder("C:")) {
        if (std::find(rootBefore.begin(), rootBefore.end(), name) == rootBefore.end()) {
            std::printf("fuzz: written: C:\\%s\n", name.c_str());
            ++totals.writes;
        }
    }
    double seconds = (GetTickCount() - runStarted) / 1000.0;
    std::printf("fuzz: seed %llu: %ld catalogs, %ld setup.ini files, %ld command lines: %ld fed in %.0f s\n",
                static_cast<unsigned long long>(plan.seed), plan.catalogs, plan.inis, plan.commandLines, totals.fed,
                seconds);
    std::printf("fuzz: feeding took %.1f s for catalogs, %.1f s for setup.ini, %.1f s for command lines; slowest "
                "input %ld ms (sequence %ld)\n",
                totals.secondsByKind[0], totals.secondsByKind[1], totals.secondsByKind[2], totals.slowestMillis,
                totals.slowestInput);
    std::printf("fuzz: crashes %ld, hangs %ld, files written outside the cache %ld, unsafe results %ld\n",
                totals.crashes, totals.hangs, totals.writes, totals.problems - totals.writes);
    bool clean = totals.crashes == 0 && totals.hangs == 0 && totals.problems == 0 && totals.writes == 0;
    return clean ? 0 : 1;
}

int Usage()
{
    std::fputs("usage: kwfuzz [--seed N] [--catalogs N] [--inis N] [--command-lines N] [--out FOLDER]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    FuzzPlan plan;
    long childStart = -1;
    std::string mappingName;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        bool hasValue = i + 1 < argc;
        if (option == "--child" && i + 2 < argc) {
            childStart = std::strtol(argv[++i], nullptr, 10);
            mappingName = argv[++i];
        } else if (option == "--seed" && hasValue) {
            plan.seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (option == "--catalogs" && hasValue) {
            plan.catalogs = std::strtol(argv[++i], nullptr, 10);
        } else if (option == "--inis" && hasValue) {
            plan.inis = std::strtol(argv[++i], nullptr, 10);
        } else if (option == "--command-lines" && hasValue) {
            plan.commandLines = std::strtol(argv[++i], nullptr, 10);
        } else if (option == "--out" && hasValue) {
            plan.outFolder = argv[++i];
        } else {
            return Usage();
        }
    }
    if (childStart >= 0)
        return RunChild(plan, childStart, mappingName);
    return RunParent(plan);
}
