#pragma once

#include <windows.h>

class CSetupInstallationData;
class ISetupWizard;
struct ProductDescriptor;

// The operations the wizard starts once the user confirmed. Each runs the
// packages one after the other, shows which one on the progress page, stops
// at the first failure or when the user cancelled, and hands the outcome to
// the wizard. They return the last result (1602 when cancelled between
// packages).

// Installs the missing prerequisites, then every package in setup.ini order.
UINT InstallAll(CSetupInstallationData& data, const ProductDescriptor& product, ISetupWizard* wizard);
// Repairs every package in setup.ini order.
UINT RepairAll(CSetupInstallationData& data, ISetupWizard* wizard);
// Removes every package, the last one first, since later packages may build
// on earlier ones.
UINT RemoveAll(CSetupInstallationData& data, ISetupWizard* wizard);
