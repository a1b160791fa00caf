#pragma once

#include "CKWInstalledProduct.h"

class IPrerequisite;

// A product of the catalog that the main product depends on and that names
// a platform prerequisite by its mnemonic: its updates are offered only
// while that prerequisite is missing.
class CKWInstalledPrerequisite : public CKWInstalledProduct {
public:
    CKWInstalledPrerequisite(const std::string& code, const std::string& mnemonic);

    const UpdateList& GetUpdates() override;

    const std::string& GetPrerequisiteName() const { return m_prerequisiteName; }

private:
    std::string m_prerequisiteName;
    IPrerequisite* m_prerequisite;
};
