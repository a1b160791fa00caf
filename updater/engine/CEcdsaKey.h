#pragma once

#include "CSha256.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// An ECDSA key on the NIST P-256 curve through the system's cryptography
// (CNG): a private key signs SHA-256 digests, a public one checks their
// signatures. Keys travel as raw numbers: the public point X then Y, and for
// a private key the secret scalar after them, each 32 bytes big-endian.
class CEcdsaKey {
public:
    static constexpr std::size_t kPartBytes = 32;
    static constexpr std::size_t kPublicBytes = 2 * kPartBytes;
    static constexpr std::size_t kPrivateBytes = 3 * kPartBytes;
    // r then s, 32 bytes each.
    static constexpr std::size_t kSignatureBytes = 2 * kPartBytes;

    CEcdsaKey();
    ~CEcdsaKey();
    CEcdsaKey(const CEcdsaKey&) = delete;
    CEcdsaKey& operator=(const CEcdsaKey&) = delete;

    // Each replaces any key held before; false leaves no key.
    bool Generate();
    bool ImportPublic(const std::vector<std::uint8_t>& point);
    bool ImportPrivate(const std::vector<std::uint8_t>& pointAndScalar);

    bool HasKey() const { return m_key != nullptr; }
    bool ExportPublic(std::vector<std::uint8_t>& point) const;
    bool ExportPrivate(std::vector<std::uint8_t>& pointAndScalar) const;

    bool Sign(const CSha256::Digest& digest, std::vector<std::uint8_t>& signature) const;
    // False for a signature of another length, another key or other data.
    bool Verify(const CSha256::Digest& digest, const std::vector<std::uint8_t>& signature) const;

private:
    void Forget();
    bool Import(LPCWSTR blobType, ULONG magic, const std::vector<std::uint8_t>& parts);
    bool Export(LPCWSTR blobType, std::size_t partsSize, std::vector<std::uint8_t>& parts) const;

    BCRYPT_ALG_HANDLE m_algorithm = nullptr;
    BCRYPT_KEY_HANDLE m_key = nullptr;
};
