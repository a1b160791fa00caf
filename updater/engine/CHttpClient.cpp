#include "CHttpClient.h"

#include "FormatText.h"
#include "IsHttpLocation.h"
#include "KwHandle.h"
#include "SystemMessage.h"

#include <cstdlib>
#include <vector>

namespace {

const char kAgent[] = "Zentrel";
const DWORD kReadBlock = 256 * 1024;
// Not among WinINet's status names.
const DWORD kStatusRangeNotSatisfiable = 416;

// Every answer comes from the server, never from or into the internet
// cache: an endless answer must not fill the cache, and a stale file must
// not pass for a fresh one. Redirects are followed by Open, which counts them.
const DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                            INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
const DWORD kStatisticsFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                               INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_TRANSFER_BINARY;

bool IsRedirect(DWORD status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A header of the answer as text; false when the answer has none.
bool QueryHeader(HINTERNET request, DWORD query, std::string& value)
{
    std::vector<char> buffer(256);
    DWORD size = static_cast<DWORD>(buffer.size());
    BOOL found = HttpQueryInfoA(request, query, buffer.data(), &size, nullptr);
    if (!found && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size + 1);
        found = HttpQueryInfoA(request, query, buffer.data(), &size, nullptr);
    }
    if (!found)
        return false;
    value.assign(buffer.data(), size);
    return true;
}

// Reads a decimal number that must fill the text.
bool ParseSize(const std::string& text, std::uint64_t& value)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 10);
    return *end == '\0';
}

bool ContentLength(HINTERNET request, std::uint64_t& length)
{
    std::string text;
    return QueryHeader(request, HTTP_QUERY_CONTENT_LENGTH, text) && ParseSize(text, length);
}

// The first byte of a partial answer ("Content-Range: bytes 100-199/200").
bool RangeStart(HINTERNET request, std::uint64_t& start)
{
    std::string text;
    if (!QueryHeader(request, HTTP_QUERY_CONTENT_RANGE, text) || text.compare(0, 6, "bytes ") != 0)
        return false;
    size_t dash = text.find('-', 6);
    return dash != std::string::npos && ParseSize(text.substr(6, dash - 6), start);
}

// The size of the file, 0 when there is none.
std::uint64_t ExistingSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return 0;
    return (static_cast<std::uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
}

bool Stopped(const CHttpClient::CancelCheck& cancelled)
{
    return cancelled && cancelled();
}

} // namespace

CHttpClient::CHttpClient() : CHttpClient(Options())
{
}

CHttpClient::CHttpClient(const Options& options) : m_options(options)
{
    m_session.Reset(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!m_session) {
        m_sessionError = LastErrorCode();
        return;
    }
    DWORD connect = m_options.connectTimeoutMs;
    DWORD read = m_options.readTimeoutMs;
    InternetSetOptionA(m_session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionA(m_session.Get(), INTERNET_OPTION_SEND_TIMEOUT, &read, sizeof read);
    InternetSetOptionA(m_session.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &read, sizeof read);
}

std::string CHttpClient::TemporaryPath(const std::string& target)
{
    return target + ".part";
}

std::string CHttpClient::ErrorText(DWORD error)
{
    if (IsHttpStatusError(error))
        return FormatText("the server answered with HTTP status %lu", HttpStatusOf(error));
    // The failures the client finds itself, which Wine has no texts for.
    switch (error) {
    case ERROR_FILE_TOO_LARGE:
        return "the answer is larger than the size limit";
    case ERROR_HTTP_REDIRECT_FAILED:
        return "too many redirects, or a redirect away from http and https";
    case ERROR_INTERNET_CONNECTION_ABORTED:
        return "the connection closed before the whole answer arrived";
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        return "not an http:// or https:// URL";
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
        // Wine reports an unknown root as a failed revocation check.
        return "the server's certificate does not lead to a root this machine trusts";
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
        return "the server's certificate is for another name";
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
        return "the server's certificate has expired or is not yet valid";
    }
    std::string text;
    if (error >= INTERNET_ERROR_BASE && error <= INTERNET_ERROR_LAST) {
        char* buffer = nullptr;
        DWORD length =
            FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                           GetModuleHandleA("wininet.dll"), error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
        if (length > 0)
            text.assign(buffer, length);
        LocalFree(buffer);
    } else {
        text = GetSystemErrorText(error);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (!text.empty())
        return text;
    return FormatText("error %lu", error);
}

DWORD CHttpClient::Open(const std::string& url, const std::string& headers, DWORD flags, Answer& answer) const
{
    std::string current = url;
    for (int redirects = 0;; ++redirects) {
        if (!IsHttpLocation(current))
            return redirects == 0 ? ERROR_INTERNET_UNRECOGNIZED_SCHEME : ERROR_HTTP_REDIRECT_FAILED;
        DWORD error = Send(current, headers, flags, answer);
        if (error != 0)
            return error;
        std::string location;
        if (!IsRedirect(answer.status) || !QueryHeader(answer.request.Get(), HTTP_QUERY_LOCATION, location))
            return 0;
        // A redirect loop would otherwise keep the updater busy forever.
        if (redirects >= m_options.maxRedirects)
            return ERROR_HTTP_REDIRECT_FAILED;
        std::vector<char> combined(current.size() + location.size() + 64);
        DWORD length = static_cast<DWORD>(combined.size());
        if (!InternetCombineUrlA(current.c_str(), location.c_str(), combined.data(), &length, ICU_NO_ENCODE))
            return ERROR_HTTP_REDIRECT_FAILED;
        current.assign(combined.data(), length);
    }
}

DWORD CHttpClient::Send(const std::string& url, const std::string& headers, DWORD flags, Answer& answer) const
{
    answer.request.Reset();
    answer.connection.Reset();
    if (!m_session)
        return m_sessionError;
    char host[INTERNET_MAX_HOST_NAME_LENGTH] = "";
    char user[INTERNET_MAX_USER_NAME_LENGTH] = "";
    char password[INTERNET_MAX_PASSWORD_LENGTH] = "";
    std::vector<char> path(url.size() + 1);
    std::vector<char> extra(url.size() + 1);
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUserName = user;
    parts.dwUserNameLength = sizeof user;
    parts.lpszPassword = password;
    parts.dwPasswordLength = sizeof password;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return LastErrorCode();
    bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    answer.connection.Reset(InternetConnectA(m_session.Get(), host, parts.nPort, user[0] ? user : nullptr,
                                             password[0] ? password : nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!answer.connection)
        return LastErrorCode();
    std::string object = std::string(path.data()) + extra.data();
    if (object.empty())
        object = "/";
    answer.request.Reset(HttpOpenRequestA(answer.connection.Get(), "GET", object.c_str(), nullptr, nullptr, nullptr,
                                          flags | INTERNET_FLAG_NO_AUTO_REDIRECT | (secure ? INTERNET_FLAG_SECURE : 0),
                                          1));
    if (!answer.request)
        return LastErrorCode();
    // Set on the request itself: Wine does not hand the session's time-outs
    // down to its requests.
    DWORD connect = m_options.connectTimeoutMs;
    DWORD read = m_options.readTimeoutMs;
    InternetSetOptionA(answer.request.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionA(answer.request.Get(), INTERNET_OPTION_SEND_TIMEOUT, &read, sizeof read);
    InternetSetOptionA(answer.request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &read, sizeof read);
    if (!HttpSendRequestA(answer.request.Get(), headers.empty() ? nullptr : headers.c_str(),
                          static_cast<DWORD>(headers.size()), nullptr, 0))
        return LastErrorCode();
    DWORD size = sizeof answer.status;
    if (!HttpQueryInfoA(answer.request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &answer.status, &size,
                        nullptr))
        return LastErrorCode();
    return 0;
}

DWORD CHttpClient::Fetch(const std::string& url, std::size_t maxBytes, std::string& body)
{
    body.clear();
    Answer answer;
    DWORD error = Open(url, std::string(), kRequestFlags, answer);
    if (error != 0)
        return error;
    if (answer.status != HTTP_STATUS_OK)
        return HttpStatusError(answer.status);
    std::uint64_t announced = 0;
    bool hasLength = ContentLength(answer.request.Get(), announced);
    if (hasLength && announced > maxBytes)
        return ERROR_FILE_TOO_LARGE;
    std::vector<char> buffer(kReadBlock);
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(answer.request.Get(), buffer.data(), kReadBlock, &read)) {
            body.clear();
            return LastErrorCode();
        }
        if (read == 0)
            break;
        if (body.size() + read > maxBytes) {
            body.clear();
            return ERROR_FILE_TOO_LARGE;
        }
        body.append(buffer.data(), read);
    }
    if (hasLength && body.size() < announced) {
        body.clear();
        return ERROR_INTERNET_CONNECTION_ABORTED;
    }
    return 0;
}

DWORD CHttpClient::Ping(const std::string& url)
{
    Answer answer;
    DWORD error = Open(url, std::string(), kStatisticsFlags, answer);
    if (error != 0)
        return error;
    return answer.status >= 200 && answer.status < 300 ? 0 : HttpStatusError(answer.status);
}

DWORD CHttpClient::Download(const std::string& url, const std::string& target, IDownloadProgress* progress,
                            const CancelCheck& cancelled, std::uint64_t maxBytes)
{
    std::string temporary = TemporaryPath(target);
    DWORD error = Transfer(url, temporary, progress, cancelled, maxBytes);
    if (error == ERROR_FILE_TOO_LARGE)
        DeleteFileA(temporary.c_str());
    if (error != 0)
        return error;
    if (!MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        return LastErrorCode();
    return 0;
}

DWORD CHttpClient::Transfer(const std::string& url, const std::string& temporary, IDownloadProgress* progress,
                            const CancelCheck& cancelled, std::uint64_t maxBytes)
{
    if (Stopped(cancelled))
        return ERROR_CANCELLED;
    std::uint64_t offset = ExistingSize(temporary);
    Answer answer;
    DWORD error =
        Open(url, offset > 0 ? FormatText("Range: bytes=%llu-\r\n", offset) : std::string(), kRequestFlags, answer);
    if (error != 0)
        return error;
    std::uint64_t start = 0;
    if (offset > 0 && (answer.status == kStatusRangeNotSatisfiable ||
                       (answer.status == HTTP_STATUS_PARTIAL_CONTENT &&
                        (!RangeStart(answer.request.Get(), start) || start != offset)))) {
        // What was kept does not fit the server's file: start over.
        offset = 0;
        error = Open(url, std::string(), kRequestFlags, answer);
        if (error != 0)
            return error;
    }
    if (answer.status == HTTP_STATUS_OK)
        offset = 0;
    else if (answer.status != HTTP_STATUS_PARTIAL_CONTENT || offset == 0)
        return HttpStatusError(answer.status);

    std::uint64_t length = 0;
    bool hasLength = ContentLength(answer.request.Get(), length);
    std::uint64_t total = hasLength ? offset + length : 0;
    if (maxBytes != 0 && total > maxBytes)
        return ERROR_FILE_TOO_LARGE;
    KwHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, offset > 0 ? OPEN_EXISTING : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return LastErrorCode();
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN) || !SetEndOfFile(file.Get()))
        return LastErrorCode();

    if (progress != nullptr && !progress->OnBegin(total))
        return ERROR_CANCELLED;
    std::uint64_t received = offset;
    std::vector<char> buffer(kReadBlock);
    for (;;) {
        if (Stopped(cancelled))
            return ERROR_CANCELLED;
        DWORD read = 0;
        if (!InternetReadFile(answer.request.Get(), buffer.data(), kReadBlock, &read))
            return LastErrorCode();
        if (read == 0)
            break;
        DWORD written = 0;
        if (!WriteFile(file.Get(), buffer.data(), read, &written, nullptr) || written != read)
            return LastErrorCode();
        received += read;
        if (maxBytes != 0 && received > maxBytes)
            return ERROR_FILE_TOO_LARGE;
        if (progress != nullptr && !progress->OnProgress(received, total))
            return ERROR_CANCELLED;
    }
    // The bytes kept so far let the next attempt resume.
    if (hasLength && received < total)
        return ERROR_INTERNET_CONNECTION_ABORTED;
    if (progress != nullptr && !progress->OnEnd(received))
        return ERROR_CANCELLED;
    return 0;
}
