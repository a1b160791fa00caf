#pragma once

#include <functional>
#include <string>

class CIniFile;
class CSetupInstallationData;
class ISetupWizard;
struct ProductDescriptor;

// The start-up work between the wait dialog opening and the wizard showing:
// reads the packages, makes the engine ready (engine log into logPath when
// it is not empty), validates the packages and works out the installation
// data. `step` advances the wait dialog. Every stage logs its outcome; false
// after the first failure or when the user cancelled.
bool PrepareInstallation(const CIniFile& ini, CSetupInstallationData& data, const ProductDescriptor& product,
                         ISetupWizard* wizard, const std::string& logPath, const std::function<void()>& step);
