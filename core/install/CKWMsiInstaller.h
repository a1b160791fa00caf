#pragma once

#include "CKWMsiPackage.h"

#include <map>
#include <string>

// An installation package that turns the user's choices into one call of the
// engine: first installation, in-place reinstall of a known product,
// administrative installation, repair or removal.
class CKWMsiInstaller : public CKWMsiPackage {
public:
    explicit CKWMsiInstaller(const std::string& path);

    UINT Execute() override;
    UINT Repair() override;
    UINT Remove() override;

    // The transform applied for an interface language (9 or 12).
    void SetTransform(int language, const std::string& path);
    // The state requested for a feature; without a request, its installed
    // state (local or absent).
    int GetFeatureRequest(const std::string& feature);
    void SetFeatureRequest(const std::string& feature, int state);
    // Reinstall even when the same version is installed.
    void SetForced(bool forced) { m_forced = forced; }

    // False when the package's own launch conditions are not met.
    bool CheckLaunchConditions();

private:
    // Whether a repair or removal in this mode has something to do: the
    // product code when it has, else the result to return (0, or 1603
    // without the engine or a product code).
    bool ReadyFor(int installMode, std::string& productCode, UINT& result);
    // Builds the feature lists (ADDLOCAL, REMOVE...) on the property line.
    void ApplyFeatureRequests();
    std::string m_englishTransform;
    std::string m_frenchTransform;
    std::map<std::string, int> m_featureRequests;
    bool m_forced = false;
};
