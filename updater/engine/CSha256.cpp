#include "CSha256.h"

#include "HexText.h"
#include "KwHandle.h"

#include <algorithm>
#include <vector>

namespace {

const DWORD kReadBlock = 1 << 20;

bool Succeeded(NTSTATUS status)
{
    return status >= 0;
}

} // namespace

CSha256::CSha256()
{
    if (!Succeeded(BCryptOpenAlgorithmProvider(&m_algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        m_algorithm = nullptr;
        return;
    }
    if (!Succeeded(BCryptCreateHash(m_algorithm, &m_hash, nullptr, 0, nullptr, 0, 0)))
        m_hash = nullptr;
}

CSha256::~CSha256()
{
    if (m_hash != nullptr)
        BCryptDestroyHash(m_hash);
    if (m_algorithm != nullptr)
        BCryptCloseAlgorithmProvider(m_algorithm, 0);
}

bool CSha256::Update(const void* data, std::size_t size)
{
    auto* bytes = static_cast<PUCHAR>(const_cast<void*>(data));
    while (IsValid() && size > 0) {
        ULONG piece = size > kReadBlock ? kReadBlock : static_cast<ULONG>(size);
        if (!Succeeded(BCryptHashData(m_hash, bytes, piece, 0)))
            return false;
        bytes += piece;
        size -= piece;
    }
    return IsValid();
}

bool CSha256::Finish(Digest& digest)
{
    digest.fill(0);
    if (!IsValid() || !Succeeded(BCryptFinishHash(m_hash, digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        digest.fill(0);
        return false;
    }
    return true;
}

DWORD CSha256::ComputeFile(const std::string& path, Digest& digest)
{
    digest.fill(0);
    KwHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.IsValid())
        return GetLastError();
    CSha256 hash;
    std::vector<unsigned char> buffer(kReadBlock);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer.data(), kReadBlock, &read, nullptr)) {
            // A digest of part of the file must not pass for the file's.
            DWORD error = GetLastError();
            return error != 0 ? error : ERROR_READ_FAULT;
        }
        if (read == 0)
            break;
        if (!hash.Update(buffer.data(), read))
            return ERROR_FUNCTION_FAILED;
    }
    return hash.Finish(digest) ? 0 : ERROR_FUNCTION_FAILED;
}

std::string CSha256::ToHex(const Digest& digest)
{
    return ToHexText(digest.data(), digest.size());
}

bool CSha256::FromHex(const std::string& text, Digest& digest)
{
    std::vector<std::uint8_t> bytes;
    if (text.size() != digest.size() * 2 || !FromHexText(text, bytes))
        return false;
    std::copy(bytes.begin(), bytes.end(), digest.begin());
    return true;
}
