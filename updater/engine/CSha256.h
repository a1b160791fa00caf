#pragma once

#include <windows.h>

#include <bcrypt.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// SHA-256 through the system's cryptography (CNG). One object computes one
// digest: feed it the bytes with Update, then take the digest with Finish.
class CSha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    CSha256();
    ~CSha256();
    CSha256(const CSha256&) = delete;
    CSha256& operator=(const CSha256&) = delete;

    // False when the system could not provide the algorithm; nothing can
    // then be computed.
    bool IsValid() const { return m_hash != nullptr; }
    bool Update(const void* data, std::size_t size);
    // False when the digest could not be computed (it is then all zeros).
    bool Finish(Digest& digest);

    // The digest of a whole file. Returns 0, or the Windows error code when
    // the file cannot be opened or read, or the system cannot hash.
    static DWORD ComputeFile(const std::string& path, Digest& digest);

    // 64 lower-case hexadecimal digits.
    static std::string ToHex(const Digest& digest);
    // Reads 64 hexadecimal digits of either case; false for anything else.
    static bool FromHex(const std::string& text, Digest& digest);

private:
    BCRYPT_ALG_HANDLE m_algorithm = nullptr;
    BCRYPT_HASH_HANDLE m_hash = nullptr;
};
