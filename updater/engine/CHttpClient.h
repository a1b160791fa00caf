#pragma once

#include "IDownloadProgress.h"
#include "InternetHandle.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// An answer whose HTTP status is not the one asked for fails with this
// application error code (customer bit set) plus the status in the low 16
// bits, so no error page is ever taken for the file.
const DWORD kHttpStatusErrorBase = 0x20480000;

inline DWORD HttpStatusError(DWORD status)
{
    return kHttpStatusErrorBase | (status & 0xFFFF);
}
inline bool IsHttpStatusError(DWORD error)
{
    return (error & 0xFFFF0000) == kHttpStatusErrorBase;
}
inline DWORD HttpStatusOf(DWORD error)
{
    return IsHttpStatusError(error) ? error & 0xFFFF : 0;
}

// HTTP and HTTPS over WinINet, for the catalog, the update files and the
// download statistics. Nothing goes through the internet cache, redirects are
// followed by the client itself up to a limit, and every call returns 0 or a
// Windows error code:
// - HttpStatusError(status): the server answered another status than 200
//   (206 for a resumed download);
// - ERROR_CANCELLED: the cancel check or the progress receiver stopped it;
// - ERROR_INTERNET_CONNECTION_ABORTED: the server sent fewer bytes than it
//   announced (a cut transfer);
// - ERROR_FILE_TOO_LARGE: the answer exceeds the size limit;
// - ERROR_HTTP_REDIRECT_FAILED: more redirects than the limit, or one to
//   another scheme than http or https;
// - ERROR_INTERNET_UNRECOGNIZED_SCHEME: not an http:// or https:// URL;
// - other WinINet codes (ERROR_INTERNET_TIMEOUT, ERROR_INTERNET_CANNOT_CONNECT,
//   ...) and file errors as the system reports them.
class CHttpClient {
public:
    struct Options {
        DWORD connectTimeoutMs = 30000;
        // Longest wait for the answer's next bytes.
        DWORD readTimeoutMs = 60000;
        int maxRedirects = 5;
    };

    // True when answering it means stopping the transfer.
    using CancelCheck = std::function<bool()>;

    // Opens a WinINet session with the agent name "Zentrel"; when that fails
    // every call returns the error.
    CHttpClient();
    explicit CHttpClient(const Options& options);
    CHttpClient(const CHttpClient&) = delete;
    CHttpClient& operator=(const CHttpClient&) = delete;

    // Downloads the URL to the target path. The bytes go to
    // TemporaryPath(target), which replaces the target only once the transfer
    // is complete; a failed or cancelled transfer leaves the target as it was.
    // A temporary file left by an earlier attempt is resumed with a range
    // request; a server that ignores the range sends the whole file again.
    // The progress receiver (may be null) hears begin, progress after every
    // read and end; the cancel check (may be empty) is asked before every
    // read. maxBytes (0: no limit) stops an answer that never ends.
    DWORD Download(const std::string& url, const std::string& target, IDownloadProgress* progress,
                   const CancelCheck& cancelled, std::uint64_t maxBytes = 0);
    // Reads the whole answer into the body, refusing more than maxBytes.
    DWORD Fetch(const std::string& url, std::size_t maxBytes, std::string& body);
    // Sends a request and closes the answer unread (download statistics):
    // reload, no cache write, certificate name not checked, binary transfer.
    DWORD Ping(const std::string& url);

    // Where Download keeps the bytes of the target until they are complete.
    static std::string TemporaryPath(const std::string& target);
    // A line for the log or the vendor: the status for HTTP status errors,
    // otherwise the system's or WinINet's text.
    static std::string ErrorText(DWORD error);

private:
    // An answer being read; the request closes before its connection.
    struct Answer {
        InternetHandle connection;
        InternetHandle request;
        DWORD status = 0;
    };

    // Sends a GET request, following redirects; the answer holds the final
    // status.
    DWORD Open(const std::string& url, const std::string& headers, DWORD flags, Answer& answer) const;
    // One request to the URL, without following a redirect.
    DWORD Send(const std::string& url, const std::string& headers, DWORD flags, Answer& answer) const;
    DWORD Transfer(const std::string& url, const std::string& temporary, IDownloadProgress* progress,
                   const CancelCheck& cancelled, std::uint64_t maxBytes);

    Options m_options;
    InternetHandle m_session;
    DWORD m_sessionError = 0;
};
