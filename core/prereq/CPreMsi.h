#pragma once

#include "IPrerequisite.h"

// A Windows Installer engine version: ids 0 (2.0) and 1 (3.01).
class CPreMsi : public IPrerequisite {
public:
    explicit CPreMsi(int id) : IPrerequisite(id) {}
    std::string GetBaseName() const override { return "Windows Installer"; }
    int GetKind() const override { return kPrerequisiteKindMsi; }

private:
    bool Detect() override;
};
