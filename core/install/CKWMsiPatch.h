#pragma once

#include "CKWMsiPackage.h"

// A Windows Installer patch applied to an installed product (or to an
// administrative image).
class CKWMsiPatch : public CKWMsiPackage {
public:
    explicit CKWMsiPatch(const std::string& path);

    UINT Execute() override;
    // True when the file opens as a patch package.
    bool IsValidPackage() override;
};
