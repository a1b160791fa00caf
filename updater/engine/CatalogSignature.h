#pragma once

#include "CEcdsaKey.h"

#include <string>
#include <vector>

// The texts that carry catalog keys and signatures, and the check of a
// catalog's bytes against its detached signature.
//
// A public key is one line: "ecdsa-p256:" and 128 hexadecimal digits (the
// point X then Y). A key file holds "private ecdsa-p256:" and 192 digits (X,
// Y, then the secret) on a line of its own; "#" lines are comments. A
// signature file (the catalog's name with ".sig" added) holds
// "ecdsa-p256:" and 128 digits (r then s) over the SHA-256 of the catalog's
// exact bytes; white space around it is ignored.

extern const char* const kKeyTextPrefix;

std::string PublicKeyText(const CEcdsaKey& key);
// False, leaving no key, for any other text.
bool ReadPublicKeyText(const std::string& text, CEcdsaKey& key);
std::string KeyFileText(const CEcdsaKey& key);
bool ReadKeyFileText(const std::string& text, CEcdsaKey& key);

// The signature file's text for the bytes; false when the key cannot sign.
bool SignCatalog(const std::string& bytes, const CEcdsaKey& key, std::string& signatureText);

enum SignatureCheck {
    kSignatureGood,
    // None of the keys given is a readable public key text.
    kSignatureNoUsableKey,
    kSignatureMalformed,
    // Well formed, but no key signed these bytes.
    kSignatureNotMatching,
};

// Good when one of the keys signed exactly these bytes.
SignatureCheck VerifyCatalogSignature(const std::string& bytes, const std::string& signatureText,
                                      const std::vector<std::string>& keys);

// Where the signature of a catalog lies: ".sig" added to the path, keeping
// an HTTP URL's query and fragment ("http://h/c.xml?x=1" gives
// "http://h/c.xml.sig?x=1"); a local path gets ".sig" at its end.
std::string SignatureLocation(const std::string& catalogLocation);
