#include "CEcdsaKey.h"

#include <cstring>

namespace {

bool Succeeded(NTSTATUS status)
{
    return status >= 0;
}

} // namespace

CEcdsaKey::CEcdsaKey()
{
    if (!Succeeded(BCryptOpenAlgorithmProvider(&m_algorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)))
        m_algorithm = nullptr;
}

CEcdsaKey::~CEcdsaKey()
{
    Forget();
    if (m_algorithm != nullptr)
        BCryptCloseAlgorithmProvider(m_algorithm, 0);
}

void CEcdsaKey::Forget()
{
    if (m_key != nullptr)
        BCryptDestroyKey(m_key);
    m_key = nullptr;
}

bool CEcdsaKey::Generate()
{
    Forget();
    if (m_algorithm == nullptr || !Succeeded(BCryptGenerateKeyPair(m_algorithm, &m_key, 256, 0))) {
        m_key = nullptr;
        return false;
    }
    if (!Succeeded(BCryptFinalizeKeyPair(m_key, 0))) {
        Forget();
        return false;
    }
    return true;
}

bool CEcdsaKey::Import(LPCWSTR blobType, ULONG magic, const std::vector<std::uint8_t>& parts)
{
    Forget();
    if (m_algorithm == nullptr)
        return false;
    BCRYPT_ECCKEY_BLOB header = {magic, static_cast<ULONG>(kPartBytes)};
    std::vector<std::uint8_t> blob(sizeof header + parts.size());
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, parts.data(), parts.size());
    if (!Succeeded(BCryptImportKeyPair(m_algorithm, nullptr, blobType, &m_key, blob.data(),
                                       static_cast<ULONG>(blob.size()), 0))) {
        m_key = nullptr;
        return false;
    }
    return true;
}

bool CEcdsaKey::ImportPublic(const std::vector<std::uint8_t>& point)
{
    if (point.size() != kPublicBytes) {
        Forget();
        return false;
    }
    return Import(BCRYPT_ECCPUBLIC_BLOB, BCRYPT_ECDSA_PUBLIC_P256_MAGIC, point);
}

bool CEcdsaKey::ImportPrivate(const std::vector<std::uint8_t>& pointAndScalar)
{
    if (pointAndScalar.size() != kPrivateBytes) {
        Forget();
        return false;
    }
    return Import(BCRYPT_ECCPRIVATE_BLOB, BCRYPT_ECDSA_PRIVATE_P256_MAGIC, pointAndScalar);
}

bool CEcdsaKey::Export(LPCWSTR blobType, std::size_t partsSize, std::vector<std::uint8_t>& parts) const
{
    parts.clear();
    if (m_key == nullptr)
        return false;
    std::vector<std::uint8_t> blob(sizeof(BCRYPT_ECCKEY_BLOB) + kPrivateBytes);
    ULONG written = 0;
    if (!Succeeded(
            BCryptExportKey(m_key, nullptr, blobType, blob.data(), static_cast<ULONG>(blob.size()), &written, 0)) ||
        written != sizeof(BCRYPT_ECCKEY_BLOB) + partsSize)
        return false;
    parts.assign(blob.begin() + sizeof(BCRYPT_ECCKEY_BLOB), blob.begin() + written);
    return true;
}

bool CEcdsaKey::ExportPublic(std::vector<std::uint8_t>& point) const
{
    return Export(BCRYPT_ECCPUBLIC_BLOB, kPublicBytes, point);
}

bool CEcdsaKey::ExportPrivate(std::vector<std::uint8_t>& pointAndScalar) const
{
    return Export(BCRYPT_ECCPRIVATE_BLOB, kPrivateBytes, pointAndScalar);
}

bool CEcdsaKey::Sign(const CSha256::Digest& digest, std::vector<std::uint8_t>& signature) const
{
    signature.assign(kSignatureBytes, 0);
    ULONG written = 0;
    if (m_key == nullptr ||
        !Succeeded(BCryptSignHash(m_key, nullptr, const_cast<PUCHAR>(digest.data()), static_cast<ULONG>(digest.size()),
                                  signature.data(), static_cast<ULONG>(signature.size()), &written, 0)) ||
        written != kSignatureBytes) {
        signature.clear();
        return false;
    }
    return true;
}

bool CEcdsaKey::Verify(const CSha256::Digest& digest, const std::vector<std::uint8_t>& signature) const
{
    if (m_key == nullptr || signature.size() != kSignatureBytes)
        return false;
    return BCryptVerifySignature(m_key, nullptr, const_cast<PUCHAR>(digest.data()), static_cast<ULONG>(digest.size()),
                                 const_cast<PUCHAR>(signature.data()), static_cast<ULONG>(signature.size()),
                                 0) == 0; // STATUS_SUCCESS: any other status is a refusal
}
