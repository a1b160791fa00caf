#pragma once

#include <string>

// Builders of small catalogs for the tests, in the vendor's format.

// An "update" element; `inner` adds further children (dependents, notes).
std::string UpdateXml(const std::string& id, const std::string& version, const std::string& minimum,
                      const std::string& maximum, const std::string& format = "MSP", unsigned size = 100,
                      const std::string& inner = std::string());
std::string ProductXml(const std::string& id, const std::string& mnemonic, const std::string& updates);
std::string CatalogXml(const std::string& body, const std::string& appName = "Melvaro 2012");
std::string DependentXml(const std::string& id);
