#pragma once

#include "IPrerequisite.h"

// An Internet Explorer version: ids 2 (4) to 7 (8).
class CPreIE : public IPrerequisite {
public:
    explicit CPreIE(int id) : IPrerequisite(id) {}
    std::string GetBaseName() const override { return "Internet Explorer"; }
    int GetKind() const override { return kPrerequisiteKindIE; }

private:
    bool Detect() override;
};
