#include "CEnumProcess.h"

#include <cstring>

namespace {

const size_t kIdGrowth = 256;

template <typename Fn> bool Bind(HMODULE module, const char* name, Fn& function)
{
    if (module == nullptr)
        return false;
    function = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

std::string FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

CEnumProcess::CEnumProcess(unsigned allowedMethods)
{
    bool processStatus = Bind(m_psapi.Get(), "EnumProcesses", m_enumProcesses) &&
                         Bind(m_psapi.Get(), "EnumProcessModules", m_enumProcessModules) &&
                         Bind(m_psapi.Get(), "GetModuleFileNameExA", m_getModuleFileNameEx);
    bool toolHelp = Bind(m_kernel.Get(), "CreateToolhelp32Snapshot", m_createSnapshot) &&
                    Bind(m_kernel.Get(), "Process32First", m_process32First) &&
                    Bind(m_kernel.Get(), "Process32Next", m_process32Next) &&
                    Bind(m_kernel.Get(), "Module32First", m_module32First) &&
                    Bind(m_kernel.Get(), "Module32Next", m_module32Next);
    // Only 32-bit Windows hosts 16-bit tasks, and only a 32-bit program sees
    // them; a 64-bit Wine exports the function as a stub that must not run.
    bool tasks = sizeof(void*) == 4 && Bind(m_vdmdbg.Get(), "VDMEnumTaskWOWEx", m_enumTasks);
    if (toolHelp && (allowedMethods & kToolHelp) != 0)
        m_methods |= kToolHelp;
    else if (processStatus && (allowedMethods & kProcessStatus) != 0)
        m_methods |= kProcessStatus;
    if (tasks && (allowedMethods & kTasks16) != 0)
        m_methods |= kTasks16;
    m_processRecord.dwSize = sizeof m_processRecord;
    m_moduleRecord.dwSize = sizeof m_moduleRecord;
}

template <typename Id, typename Fill> std::vector<Id> CEnumProcess::ReadIds(Fill fill)
{
    std::vector<Id> ids(kIdGrowth);
    for (;;) {
        DWORD capacity = static_cast<DWORD>(ids.size() * sizeof(Id));
        DWORD used = 0;
        if (!fill(ids.data(), capacity, &used))
            return std::vector<Id>();
        // A full buffer may have cut the list short.
        if (used < capacity) {
            ids.resize(used / sizeof(Id));
            return ids;
        }
        ids.resize(ids.size() + kIdGrowth);
    }
}

bool CEnumProcess::FirstProcess(CProcessEntry& entry)
{
    m_pendingTasks.clear();
    if ((m_methods & kToolHelp) != 0) {
        m_processSnapshot.Reset(m_createSnapshot(TH32CS_SNAPPROCESS, 0));
        if (!m_processSnapshot.IsValid() || !m_process32First(m_processSnapshot.Get(), &m_processRecord))
            return false;
        entry = CProcessEntry{m_processRecord.szExeFile, m_processRecord.th32ProcessID, 0};
        CollectTasks(entry);
        return true;
    }
    if ((m_methods & kProcessStatus) != 0) {
        m_processIds = ReadIds<DWORD>([this](DWORD* ids, DWORD bytes, DWORD* used) {
            return m_enumProcesses(ids, bytes, used) != FALSE;
        });
        m_processCursor = 0;
        return ProcessStatusEntry(entry);
    }
    return false;
}

bool CEnumProcess::NextProcess(CProcessEntry& entry)
{
    if (!m_pendingTasks.empty()) {
        entry = m_pendingTasks.front();
        m_pendingTasks.pop_front();
        return true;
    }
    if ((m_methods & kToolHelp) != 0) {
        if (!m_processSnapshot.IsValid() || !m_process32Next(m_processSnapshot.Get(), &m_processRecord))
            return false;
        entry = CProcessEntry{m_processRecord.szExeFile, m_processRecord.th32ProcessID, 0};
        CollectTasks(entry);
        return true;
    }
    if ((m_methods & kProcessStatus) != 0)
        return ProcessStatusEntry(entry);
    return false;
}

bool CEnumProcess::ProcessStatusEntry(CProcessEntry& entry)
{
    if (m_processCursor >= m_processIds.size())
        return false;
    entry = CProcessEntry{std::string(), m_processIds[m_processCursor++], 0};
    KwHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.processId));
    if (!process.IsValid()) {
        entry.fileName = "N/A (security restriction)";
    } else {
        HMODULE first = nullptr;
        DWORD used = 0;
        char path[MAX_PATH] = "";
        if (m_enumProcessModules(process.Get(), &first, sizeof first, &used) && used >= sizeof first &&
            m_getModuleFileNameEx(process.Get(), first, path, sizeof path) != 0)
            entry.fileName = path;
        else
            entry.fileName = "N/A (error)";
    }
    CollectTasks(entry);
    return true;
}

bool CEnumProcess::FirstModule(DWORD processId, CModuleEntry& entry)
{
    if ((m_methods & kToolHelp) != 0) {
        // The second flag adds a 32-bit program's own modules.
        m_moduleSnapshot.Reset(m_createSnapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId));
        if (!m_moduleSnapshot.IsValid() || !m_module32First(m_moduleSnapshot.Get(), &m_moduleRecord))
            return false;
        entry = CModuleEntry{m_moduleRecord.szExePath, m_moduleRecord.modBaseAddr};
        return true;
    }
    if ((m_methods & kProcessStatus) != 0) {
        m_moduleProcess.Reset(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
        m_modules.clear();
        m_moduleCursor = 0;
        if (m_moduleProcess.IsValid())
            m_modules = ReadIds<HMODULE>([this](HMODULE* modules, DWORD bytes, DWORD* used) {
                return m_enumProcessModules(m_moduleProcess.Get(), modules, bytes, used) != FALSE;
            });
        return ProcessStatusModule(entry);
    }
    return false;
}

bool CEnumProcess::NextModule(DWORD processId, CModuleEntry& entry)
{
    if ((m_methods & kToolHelp) != 0) {
        if (!m_moduleSnapshot.IsValid() || !m_module32Next(m_moduleSnapshot.Get(), &m_moduleRecord) ||
            m_moduleRecord.th32ProcessID != processId)
            return false;
        entry = CModuleEntry{m_moduleRecord.szExePath, m_moduleRecord.modBaseAddr};
        return true;
    }
    if ((m_methods & kProcessStatus) != 0)
        return ProcessStatusModule(entry);
    return false;
}

bool CEnumProcess::ProcessStatusModule(CModuleEntry& entry)
{
    if (m_moduleCursor >= m_modules.size())
        return false;
    HMODULE module = m_modules[m_moduleCursor++];
    char path[MAX_PATH] = "";
    entry.baseAddress = module;
    entry.fullPath =
        m_getModuleFileNameEx(m_moduleProcess.Get(), module, path, sizeof path) != 0 ? path : "N/A (error)";
    return true;
}

void CEnumProcess::CollectTasks(const CProcessEntry& host)
{
    if ((m_methods & kTasks16) == 0 || host.taskId != 0 ||
        _stricmp(FileNameOf(host.fileName).c_str(), "NTVDM.EXE") != 0)
        return;
    m_taskHostId = host.processId;
    m_enumTasks(host.processId, &CollectTask, reinterpret_cast<LPARAM>(this));
}

BOOL WINAPI CEnumProcess::CollectTask(DWORD, WORD, WORD task16, char*, char* fileName, LPARAM context)
{
    auto* self = reinterpret_cast<CEnumProcess*>(context);
    self->m_pendingTasks.push_back(CProcessEntry{fileName != nullptr ? fileName : "", self->m_taskHostId, task16});
    return FALSE; // go on
}
