#include "IsAdministrator.h"

#include "KwHandle.h"
#include "KwModule.h"
#include "OsInfo.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace {

struct SidDeleter {
    void operator()(void* sid) const { FreeSid(sid); }
};
using OwnedSid = std::unique_ptr<void, SidDeleter>;

OwnedSid AdministratorsSid()
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, &sid))
        return OwnedSid();
    return OwnedSid(sid);
}

using CheckTokenMembershipFunction = BOOL(WINAPI*)(HANDLE token, PSID sid, PBOOL member);

} // namespace

bool IsAdministratorByTokenGroups()
{
    OwnedSid administrators = AdministratorsSid();
    HANDLE rawToken = nullptr;
    if (!administrators || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken))
        return false;
    KwHandle token(rawToken);
    std::vector<BYTE> buffer(1024);
    DWORD size = 0;
    if (!GetTokenInformation(token.Get(), TokenGroups, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return false;
        buffer.resize(size);
        if (!GetTokenInformation(token.Get(), TokenGroups, buffer.data(), static_cast<DWORD>(buffer.size()), &size))
            return false;
    }
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (EqualSid(groups->Groups[i].Sid, administrators.get()))
            return true;
    }
    return false;
}

bool IsAdministratorByMembership()
{
    // Looked up at run time: NT before 5.0 does not have it.
    KwModule advapi("advapi32.dll");
    if (advapi.Get() == nullptr)
        return false;
    CheckTokenMembershipFunction checkMembership = reinterpret_cast<CheckTokenMembershipFunction>(
        reinterpret_cast<void*>(GetProcAddress(advapi.Get(), "CheckTokenMembership")));
    OwnedSid administrators = AdministratorsSid();
    if (checkMembership == nullptr || !administrators)
        return false;
    BOOL member = FALSE;
    return checkMembership(nullptr, administrators.get(), &member) && member;
}

bool IsAdministrator()
{
    OSVERSIONINFOEXA version;
    bool extended = false;
    if (!ReadOsVersion(version, extended))
        return false;
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return true;
    return version.dwMajorVersion < 5 ? IsAdministratorByTokenGroups() : IsAdministratorByMembership();
}
