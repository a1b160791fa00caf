#include "ShutdownRequest.h"

#include <cstring>

namespace {

template <size_t N> void CopyField(char (&field)[N], const std::string& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
}

} // namespace

ShutdownRequest MakeShutdownRequest(const std::string& updaterCode, const std::string& mainProgramPath)
{
    ShutdownRequest request;
    CopyField(request.updaterCode, updaterCode);
    CopyField(request.mainProgramPath, mainProgramPath);
    return request;
}

std::string ShutdownAcceptedEventName(const std::string& updaterCode)
{
    return updaterCode + "_ACCEPTED";
}

std::string ShutdownRefusedEventName(const std::string& updaterCode)
{
    return updaterCode + "_REFUSED";
}
