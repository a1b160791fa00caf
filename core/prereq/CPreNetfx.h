#pragma once

#include "IPrerequisite.h"

// A .NET Framework version: ids 8 (1.0) to 15 (4.5).
class CPreNetfx : public IPrerequisite {
public:
    explicit CPreNetfx(int id) : IPrerequisite(id) {}
    std::string GetBaseName() const override { return ".Net Framework"; }
    int GetKind() const override { return kPrerequisiteKindNetfx; }

private:
    bool Detect() override;
};
