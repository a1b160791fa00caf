#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

class IInstallable;

// How an update is installed, by the catalog's "format" text.
enum UpdateFormat {
    kFormatNone = -1,
    kFormatPatch = 0,         // "MSP"
    kFormatPackage = 1,       // "MSI"
    kFormatFullPackage = 2,   // "FMC": a package inside a self-extracting archive
    kFormatUpdaterUpdate = 6, // "UPD": a patch for the updater itself
    kFormatExecutable = 7,    // "EXE"
};

// One update of the catalog for one product: the version range it applies
// to, the file that carries it and how that file is installed.
class CUpdateItem {
public:
    CUpdateItem(const std::string& id, const std::string& productId, int version, int targetVersionMax,
                int targetVersionMin);
    virtual ~CUpdateItem();
    CUpdateItem(const CUpdateItem&) = delete;
    CUpdateItem& operator=(const CUpdateItem&) = delete;

    // The catalog text of a format ("MSP"...); empty for kFormatNone.
    static std::string FormatName(UpdateFormat format);

    // 0 not selected; 2 or more when a selected update requires this one.
    int GetSelectionCount() const { return m_selectionCount; }
    int GetVersion() const { return m_version; }
    int GetTargetVersionMax() const { return m_targetVersionMax; }
    int GetTargetVersionMin() const { return m_targetVersionMin; }
    uint32_t GetFileSize() const { return m_fileSize; }
    const std::string& GetFileName() const { return m_fileName; }
    const std::string& GetId() const { return m_id; }
    const std::string& GetParameters() const { return m_parameters; }
    const std::string& GetProductId() const { return m_productId; }
    const std::string& GetMnemonic() const { return m_mnemonic; }
    const std::string& GetSubject() const { return m_subject; }
    const std::string& GetReleaseDate() const { return m_releaseDate; }
    uint32_t GetFileCrc() const { return m_fileCrc; }
    // 64 lower-case hexadecimal digits; empty when the catalog gives none.
    const std::string& GetFileSha256() const { return m_fileSha256; }
    UpdateFormat GetFormat() const { return m_format; }
    const std::vector<CUpdateItem*>& GetPrerequisites() const { return m_prerequisites; }
    const std::vector<std::string>& GetReleaseNotes() const { return m_releaseNotes; }
    IInstallable* GetInstallable() const { return m_installable.get(); }

    void SetFileName(const std::string& fileName) { m_fileName = fileName; }
    void SetParameters(const std::string& parameters) { m_parameters = parameters; }
    void SetSubject(const std::string& subject) { m_subject = subject; }
    void SetReleaseDate(const std::string& releaseDate) { m_releaseDate = releaseDate; }
    void SetMnemonic(const std::string& mnemonic) { m_mnemonic = mnemonic; }
    void SetFileCrc(uint32_t crc) { m_fileCrc = crc; }
    void SetFileSha256(const std::string& sha256) { m_fileSha256 = sha256; }
    void SetFileSize(uint32_t size) { m_fileSize = size; }

    // Sets the format from its catalog text (any case) and creates the
    // installable for the file name and parameters, so both must be set
    // first. False, without installable, for an unknown text.
    bool SetFormat(const std::string& text);
    void AddReleaseNote(const std::string& text) { m_releaseNotes.push_back(text); }

    // Counts a selection (or takes one back) here and in every prerequisite,
    // once for each way it is required. A prerequisite that was not
    // selected is counted once more, so it stays selected when the update
    // that pulled it in is deselected. Counts stop at a ceiling, where they
    // stay.
    void Select(bool select);

    // True when this update needs the other one, directly or through its
    // prerequisites.
    bool Requires(const CUpdateItem* other) const;
    // Appends a prerequisite; refused (false) when it would make the update
    // require itself, which would make Select recurse without end.
    bool AddPrerequisite(CUpdateItem* prerequisite);
    // Drops the references to updates that are being destroyed.
    void RemovePrerequisites(const std::set<const CUpdateItem*>& gone);

private:
    // This update and every one it requires, each once, every update before
    // those it requires.
    std::vector<CUpdateItem*> RequiredInOrder();

    int m_selectionCount = 0;
    int m_version;
    int m_targetVersionMax;
    int m_targetVersionMin;
    uint32_t m_fileSize = 0;
    std::string m_fileName;
    std::string m_id;
    std::string m_parameters;
    std::string m_productId;
    std::string m_mnemonic;
    std::string m_subject;
    std::string m_releaseDate;
    uint32_t m_fileCrc = 0;
    std::string m_fileSha256;
    UpdateFormat m_format = kFormatNone;
    std::vector<CUpdateItem*> m_prerequisites;
    std::vector<std::string> m_releaseNotes;
    std::unique_ptr<IInstallable> m_installable;
};
