#include "CatalogSignature.h"

#include "CStringTokenizer.h"
#include "HexText.h"
#include "IsHttpLocation.h"

const char* const kKeyTextPrefix = "ecdsa-p256:";

namespace {

const char kPrivateLinePrefix[] = "private ";
const char kWhiteSpace[] = " \t\r\n";

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

// The bytes after the prefix, when the text is the prefix and exactly that
// many bytes in hexadecimal.
bool ReadPrefixedHex(const std::string& text, size_t size, std::vector<std::uint8_t>& bytes)
{
    const std::string prefix = kKeyTextPrefix;
    return text.compare(0, prefix.size(), prefix) == 0 && text.size() == prefix.size() + 2 * size &&
           FromHexText(text.substr(prefix.size()), bytes);
}

std::string PrefixedHex(const std::vector<std::uint8_t>& bytes)
{
    return kKeyTextPrefix + ToHexText(bytes.data(), bytes.size());
}

bool Digest(const std::string& bytes, CSha256::Digest& digest)
{
    CSha256 hash;
    return hash.Update(bytes.data(), bytes.size()) && hash.Finish(digest);
}

} // namespace

std::string PublicKeyText(const CEcdsaKey& key)
{
    std::vector<std::uint8_t> point;
    return key.ExportPublic(point) ? PrefixedHex(point) : std::string();
}

bool ReadPublicKeyText(const std::string& text, CEcdsaKey& key)
{
    std::vector<std::uint8_t> point;
    if (!ReadPrefixedHex(Trimmed(text), CEcdsaKey::kPublicBytes, point)) {
        key.ImportPublic(point);
        return false;
    }
    return key.ImportPublic(point);
}

std::string KeyFileText(const CEcdsaKey& key)
{
    std::vector<std::uint8_t> secret;
    if (!key.ExportPrivate(secret))
        return std::string();
    return "# Catalog signing key (ECDSA P-256). Whoever holds this file can sign catalogs: keep it secret.\r\n" +
           std::string(kPrivateLinePrefix) + PrefixedHex(secret) + "\r\n" + "public " + PublicKeyText(key) + "\r\n";
}

bool ReadKeyFileText(const std::string& text, CEcdsaKey& key)
{
    CStringTokenizer lines(text, "\r\n");
    for (std::string line = lines.NextToken(); !line.empty(); line = lines.NextToken()) {
        line = Trimmed(line);
        if (line.compare(0, sizeof kPrivateLinePrefix - 1, kPrivateLinePrefix) != 0)
            continue;
        std::vector<std::uint8_t> secret;
        return ReadPrefixedHex(Trimmed(line.substr(sizeof kPrivateLinePrefix - 1)), CEcdsaKey::kPrivateBytes, secret) &&
               key.ImportPrivate(secret);
    }
    return false;
}

bool SignCatalog(const std::string& bytes, const CEcdsaKey& key, std::string& signatureText)
{
    signatureText.clear();
    CSha256::Digest digest;
    std::vector<std::uint8_t> signature;
    if (!Digest(bytes, digest) || !key.Sign(digest, signature))
        return false;
    signatureText = PrefixedHex(signature) + "\r\n";
    return true;
}

SignatureCheck VerifyCatalogSignature(const std::string& bytes, const std::string& signatureText,
                                      const std::vector<std::string>& keys)
{
    std::vector<std::uint8_t> signature;
    bool wellFormed = ReadPrefixedHex(Trimmed(signatureText), CEcdsaKey::kSignatureBytes, signature);
    CSha256::Digest digest;
    if (!Digest(bytes, digest))
        return kSignatureNotMatching;
    bool usableKey = false;
    for (const std::string& text : keys) {
        CEcdsaKey key;
        if (!ReadPublicKeyText(text, key))
            continue;
        usableKey = true;
        if (wellFormed && key.Verify(digest, signature))
            return kSignatureGood;
    }
    if (!usableKey)
        return kSignatureNoUsableKey;
    return wellFormed ? kSignatureNotMatching : kSignatureMalformed;
}

std::string SignatureLocation(const std::string& catalogLocation)
{
    if (!IsHttpLocation(catalogLocation))
        return catalogLocation + ".sig";
    size_t authority = catalogLocation.find("://") + 3;
    size_t pathEnd = catalogLocation.find_first_of("?#", authority);
    if (pathEnd == std::string::npos)
        pathEnd = catalogLocation.size();
    size_t pathStart = catalogLocation.find('/', authority);
    // Without a path there is no name to extend: the signature is the
    // server root's.
    const char* suffix = pathStart == std::string::npos || pathStart > pathEnd ? "/.sig" : ".sig";
    return catalogLocation.substr(0, pathEnd) + suffix + catalogLocation.substr(pathEnd);
}
