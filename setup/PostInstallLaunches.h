#pragma once

#include <string>
#include <vector>

class CSetupInstallationData;
struct ProductDescriptor;

// What the completion page asked to start once the wizard has closed: the
// readme in Notepad, then the product. Nothing after a cancel or when a
// restart is scheduled.
std::vector<std::string> PostInstallCommands(const CSetupInstallationData& data, const ProductDescriptor& product);

// Starts each command without waiting and logs its result.
void RunPostInstallLaunches(const CSetupInstallationData& data, const ProductDescriptor& product);
