#include "RemoteMemory.h"

RemoteMemory::RemoteMemory(HWND window, size_t size) : m_size(size)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    m_process.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (m_process.IsValid())
        m_address = VirtualAllocEx(m_process.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteMemory::~RemoteMemory()
{
    if (m_address != nullptr)
        VirtualFreeEx(m_process.Get(), m_address, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(size_t offset, const void* data, size_t size) const
{
    SIZE_T written = 0;
    return IsValid() && offset + size <= m_size &&
           WriteProcessMemory(m_process.Get(), At(offset), data, size, &written) && written == size;
}

bool RemoteMemory::Read(size_t offset, void* data, size_t size) const
{
    SIZE_T read = 0;
    return IsValid() && offset + size <= m_size && ReadProcessMemory(m_process.Get(), At(offset), data, size, &read) &&
           read == size;
}
