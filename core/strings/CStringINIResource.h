#pragma once

#include "CCustomResource.h"
#include "CIniFile.h"

// Resource ids of the English and French string tables in each program.
const int kSetupEnglishTableId = 704;
const int kSetupFrenchTableId = 705;
const int kUpdaterEnglishTableId = 140;
const int kUpdaterFrenchTableId = 141;

// A string table stored as INI text in a "STRINGINI" resource. The text is
// written to a temporary file once and then read through the INI services.
class CStringINIResource : public CCustomResource {
public:
    CStringINIResource();
    ~CStringINIResource() override;
    CStringINIResource(const CStringINIResource&) = delete;
    CStringINIResource& operator=(const CStringINIResource&) = delete;

    // Does nothing when this id is already loaded.
    bool Load(int id) override;
    // Serves the other table's texts from now on (used when a language's
    // table is missing from the program).
    void TakeOver(const CStringINIResource& other);

    // The value of a key; the default when it is empty or absent, or when no
    // table is loaded.
    std::string Lookup(const std::string& section, const std::string& key, const std::string& defaultValue) const;

    bool IsLoaded() const { return m_loaded; }
    const std::string& GetTempFilePath() const { return m_tempPath; }

private:
    void DeleteOwnTempFile();

    CIniFile m_ini;
    std::string m_tempPath;
    bool m_ownsTempFile = false;
    bool m_loaded = false;
};

// The process-wide tables of each language.
CStringINIResource& EnglishStringTable();
CStringINIResource& FrenchStringTable();
