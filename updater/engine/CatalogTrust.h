#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a catalog load checks a catalog against. With no key, catalogs are
// taken unsigned and the rest is not looked at.
struct CatalogTrust {
    // Public key texts (see CatalogSignature.h).
    std::vector<std::string> keys;
    // The highest serial accepted before; a lower one is refused.
    std::uint64_t acceptedSerial = 0;
    // YYYYMMDD; a catalog that expired before this day is refused.
    int today = 0;
};

// This machine's: the product's keys, this user's accepted serial, today.
CatalogTrust ReadCatalogTrust();
