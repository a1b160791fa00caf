#pragma once

#include "KwHandle.h"
#include "KwModule.h"

#include <windows.h>

#include <tlhelp32.h>

#include <deque>
#include <string>
#include <vector>

// Lists the running processes and the modules of one process, with the
// tool-help functions where the system has them and the process-status
// library otherwise; tasks hosted by a 16-bit virtual machine are listed
// after their host in a 32-bit build on a system that still has them.
class CEnumProcess {
public:
    struct CProcessEntry {
        std::string fileName;
        DWORD processId = 0;
        WORD taskId = 0; // 0 for an ordinary process
    };
    struct CModuleEntry {
        std::string fullPath;
        void* baseAddress = nullptr;
    };

    // Bits of GetMethods().
    static const unsigned kProcessStatus = 1;
    static const unsigned kToolHelp = 2;
    static const unsigned kTasks16 = 4;

    // Tests narrow the methods to the allowed ones; tool-help wins when both
    // process methods are usable.
    explicit CEnumProcess(unsigned allowedMethods = kProcessStatus | kToolHelp | kTasks16);
    virtual ~CEnumProcess() = default;
    CEnumProcess(const CEnumProcess&) = delete;
    CEnumProcess& operator=(const CEnumProcess&) = delete;

    unsigned GetMethods() const { return m_methods; }

    // Each true while an entry was produced.
    bool FirstProcess(CProcessEntry& entry);
    bool NextProcess(CProcessEntry& entry);
    bool FirstModule(DWORD processId, CModuleEntry& entry);
    bool NextModule(DWORD processId, CModuleEntry& entry);

private:
    using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
    using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
    using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD);
    using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
    using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
    using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);
    using TaskCallbackFn = BOOL(WINAPI*)(DWORD, WORD, WORD, char*, char*, LPARAM);
    using EnumTasksFn = INT(WINAPI*)(DWORD, TaskCallbackFn, LPARAM);

    static BOOL WINAPI CollectTask(DWORD threadId, WORD module16, WORD task16, char* moduleName, char* fileName,
                                   LPARAM context);
    void CollectTasks(const CProcessEntry& host);
    bool ProcessStatusEntry(CProcessEntry& entry);
    bool ProcessStatusModule(CModuleEntry& entry);
    // Whole list of identifiers from a process-status call that fills a
    // buffer and tells how many bytes it used.
    template <typename Id, typename Fill> static std::vector<Id> ReadIds(Fill fill);

    unsigned m_methods = 0;

    KwModule m_psapi{"PSAPI"};
    EnumProcessesFn m_enumProcesses = nullptr;
    EnumProcessModulesFn m_enumProcessModules = nullptr;
    GetModuleFileNameExFn m_getModuleFileNameEx = nullptr;
    std::vector<DWORD> m_processIds;
    size_t m_processCursor = 0;
    KwHandle m_moduleProcess;
    std::vector<HMODULE> m_modules;
    size_t m_moduleCursor = 0;

    KwModule m_kernel{"Kernel32"};
    CreateSnapshotFn m_createSnapshot = nullptr;
    ProcessWalkFn m_process32First = nullptr;
    ProcessWalkFn m_process32Next = nullptr;
    ModuleWalkFn m_module32First = nullptr;
    ModuleWalkFn m_module32Next = nullptr;
    KwHandle m_processSnapshot;
    KwHandle m_moduleSnapshot;
    PROCESSENTRY32 m_processRecord = {};
    MODULEENTRY32 m_moduleRecord = {};

    KwModule m_vdmdbg{"VDMDBG"};
    EnumTasksFn m_enumTasks = nullptr;
    // Tasks of the last host, returned before the next real process.
    std::deque<CProcessEntry> m_pendingTasks;
    DWORD m_taskHostId = 0;
};
