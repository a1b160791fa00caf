#pragma once

#include <cstdint>

// Follows one file transfer. Every answer may stop it: false aborts the
// transfer, which then fails with ERROR_CANCELLED.
class IDownloadProgress {
public:
    virtual ~IDownloadProgress() = default;

    // The transfer starts; total is the file's size in bytes, 0 when the
    // server does not say.
    virtual bool OnBegin(std::uint64_t total) = 0;
    // Bytes of the file received so far, a resumed part included.
    virtual bool OnProgress(std::uint64_t received, std::uint64_t total) = 0;
    // Every byte arrived; total is the file's size.
    virtual bool OnEnd(std::uint64_t total) = 0;
};
