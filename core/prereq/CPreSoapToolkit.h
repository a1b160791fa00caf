#pragma once

#include "IPrerequisite.h"

// The SOAP Toolkit 3.0: id 16.
class CPreSoapToolkit : public IPrerequisite {
public:
    explicit CPreSoapToolkit(int id) : IPrerequisite(id) {}
    std::string GetBaseName() const override { return "Soap Toolkit"; }
    int GetKind() const override { return kPrerequisiteKindSoapToolkit; }

private:
    bool Detect() override;
};
