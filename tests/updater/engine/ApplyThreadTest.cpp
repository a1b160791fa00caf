#include "CApplyThread.h"
#include "CCrc32.h"
#include "CKWInstallationData.h"
#include "CKWLogFile.h"
#include "CKWUpdateCatalog.h"
#include "CUpdateItem.h"
#include "CacheFile.h"
#include "CancelFlags.h"
#include "CatalogXml.h"
#include "CoreTestSupport.h"
#include "FakeMsi.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RecordingOwner.h"
#include "RegisteredMessages.h"
#include "RegistrySetting.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The scripted engine's entry points, which the thread binds again after an
// executable released the engine.
MsiEntryPoints g_fakeEntries;

UINT BindFakeEngine()
{
    static_cast<MsiEntryPoints&>(g_msi) = g_fakeEntries;
    return 0;
}

UINT FailToBindEngine()
{
    return ERROR_INSTALL_FAILURE;
}

// What the thread posted to the owner as short texts ("setpos 2 0",
// "text 2 Extracting...", "interrupted 229 0"...), freeing the action texts.
class DescribingOwner : public RecordingOwner {
public:
    ~DescribingOwner() { Take(); }

    std::vector<std::string> Take()
    {
        const RegisteredMessages& ids = GetRegisteredMessages();
        const std::pair<UINT, const char*> names[] = {
            {ids.progressSetMax, "setmax"},           {ids.progressSetPos, "setpos"},
            {ids.progressStepIt, "stepit"},           {ids.taskCompleted, "completed"},
            {ids.taskInterrupted, "interrupted"},     {ids.taskInterruptedWinErr, "winerr"},
            {ids.enableCancelButton, "cancelbutton"},
        };
        std::vector<std::string> posted;
        for (const Posted& msg : RecordingOwner::Take()) {
            if (msg.message == ids.progressSetActionText) {
                posted.push_back("text " + std::to_string(msg.wParam) + " " + TakeActionText(msg.lParam));
                continue;
            }
            for (const auto& name : names) {
                if (name.first == msg.message)
                    posted.push_back(std::string(name.second) + " " + std::to_string(msg.wParam) + " " +
                                     std::to_string(msg.lParam));
            }
        }
        return posted;
    }
};

// The texts of the log lines, without their time stamps.
std::vector<std::string> LogTexts(const std::string& path)
{
    std::vector<std::string> texts;
    std::string content = ReadWholeFile(path);
    size_t pos = 0;
    while ((pos = content.find("~M=", pos)) != std::string::npos) {
        size_t end = content.find('\n', pos);
        texts.push_back(content.substr(pos + 3, end - pos - 3));
        pos = end;
    }
    return texts;
}

// Where a text is in a list; the size when it is not there.
size_t IndexOf(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) - texts.begin();
}

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return IndexOf(texts, text) < texts.size();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    return text.replace(text.find(from), from.size(), to);
}

std::string RegistryText(HKEY root, const std::string& subkey, const char* name)
{
    char value[260] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(root, subkey.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::string();
    return value;
}

// One run of the apply thread over a cache folder and a log, with a scripted
// engine and the current user's hive redirected to a scratch key.
class ApplyRun : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        m_fake = std::make_unique<FakeMsi>();
        g_fakeEntries = g_msi;
        m_log = std::make_unique<CKWLogFile>(m_logs.File("updater.log"), false);
        g_logFile = m_log.get();
        g_installCancelled = false;
        m_cache = m_cacheRoot.File("cache") + "\\";
        CreateDirectoryA(m_cache.c_str(), nullptr);
    }

    void TearDown() override
    {
        g_installCancelled = false;
        g_logFile = nullptr;
        m_fake.reset();
        // An executable released the library binding; the other tests need it.
        g_msi.EnsureLoaded();
        CoreTest::TearDown();
    }

    // Loads the catalog and selects every update it offers the products,
    // each installed at 1.0, in records of the test's own.
    void Select(const std::string& catalogBody, const std::vector<std::string>& products)
    {
        CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
        catalog.SetIgnoreList({});
        ASSERT_TRUE(catalog.LoadXml(CatalogXml(catalogBody)));
        m_data = std::make_unique<CKWInstallationData>();
        m_data->SetWorkingFolder(m_cache);
        for (const std::string& product : products)
            m_data->AddInstalledProduct(product, PackVersion("1.0"), false);
        m_data->GetUpdateCount();
        for (const auto& product : m_data->GetProducts()) {
            for (const auto& update : product->GetChosenUpdates())
                update->Select(true);
        }
    }

    CUpdateItem& Update(const std::string& id)
    {
        for (const auto& product : m_data->GetProducts()) {
            for (const auto& update : product->GetChosenUpdates()) {
                if (update->GetId() == id)
                    return *update;
            }
        }
        throw std::logic_error("no update " + id);
    }

    // Puts a file in the cache with the catalog's CRC.
    void Cache(const std::string& id, const std::string& content)
    {
        WriteWholeFile(m_cache + Update(id).GetFileName(), content);
        SetCrcOfCachedFile(id);
    }
    void SetCrcOfCachedFile(const std::string& id)
    {
        std::uint32_t crc = 0;
        ASSERT_EQ(0u, CCrc32().ComputeFile(m_cache + Update(id).GetFileName(), crc));
        Update(id).SetFileCrc(crc);
    }
    // Packs files (name, content) into a full package in the cache.
    void CacheFullPackage(const std::string& id, const std::vector<std::pair<std::string, std::string>>& files)
    {
        TestFolder sources;
        std::string command =
            "\"" + TestProgramFolder() + "\\kwsfx.exe\" pack \"" + m_cache + Update(id).GetFileName() + "\"";
        for (const auto& file : files) {
            WriteWholeFile(sources.File(file.first), file.second);
            command += " \"" + sources.File(file.first) + "\"";
        }
        ASSERT_EQ(0u, RunProgram(command));
        SetCrcOfCachedFile(id);
    }

    // Runs the thread to its end with the current user's hive in a scratch
    // key; the values it wrote there are kept in m_dateLast.
    void Run(HWND owner, const std::string& extractionPath = std::string(),
             CApplyThread::BindEngineFunction bind = BindFakeEngine)
    {
        std::string sandbox = "Software\\KwTests\\Apply" + std::to_string(GetCurrentProcessId());
        HKEY user = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, sandbox.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &user, nullptr));
        const std::string stateKey = GetProductDescriptor().UpdatesStateKey;
        if (!extractionPath.empty())
            RegSetKeyValueA(user, stateKey.c_str(), "Extraction path", REG_SZ, extractionPath.c_str(),
                            static_cast<DWORD>(extractionPath.size() + 1));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, user));
        {
            CApplyThread thread(owner, *m_data);
            thread.SetBindEngine(bind);
            if (!m_installerProgram.empty())
                thread.SetInstallerProgram(m_installerProgram);
            thread.Start();
            EXPECT_TRUE(thread.WaitForActivityStatus(CThread::kIdle, 600));
        }
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        m_dateLast = RegistryText(user, stateKey, "DateLast");
        RegCloseKey(user);
        RegDeleteTreeA(HKEY_CURRENT_USER, sandbox.c_str());
    }

    std::vector<std::string> Log() const { return LogTexts(m_logs.File("updater.log")); }
    std::string MsiLog() const { return m_logs.File("KW#MSI.TXT"); }

    std::unique_ptr<FakeMsi> m_fake;
    TestFolder m_logs;
    TestFolder m_cacheRoot;
    std::string m_cache;
    std::unique_ptr<CKWLogFile> m_log;
    std::unique_ptr<CKWInstallationData> m_data;
    std::string m_dateLast;
    std::string m_installerProgram;
};

std::string Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[16];
    snprintf(date, sizeof date, "%02u/%02u/%04u", now.wDay, now.wMonth, now.wYear);
    return date;
}

TEST_F(ApplyRun, APatchThenAFullPackageAreInstalledInOrderAndLeaveTheCache)
{
    Select(ProductXml("{A}", "AAA", UpdateXml("p1", "1.1", "1.0", "1.0", "MSP")) +
               ProductXml("{B}", "BBB",
                          UpdateXml("f1", "1.1", "1.0", "1.0", "FMC", 100, "<parameters>ADDLOCAL=ALL</parameters>")),
           {"{A}", "{B}"});
    Cache("p1", "patch");
    CacheFullPackage("f1", {{"product.msi", "package"},
                            {"1033.mst", "english"},
                            {"3084.mst", "french"},
                            {"readme.txt", "notes"},
                            {"2057.mst", "british"}});
    const std::string tmp = m_cache + "tmp\\";
    m_fake->packages[m_cache + "p1.bin"].validPatch = true;
    m_fake->packages[tmp + "product.msi"];
    DescribingOwner owner;

    Run(owner.Get());

    std::vector<std::string> log = Log();
    const std::vector<std::string> order = {"Starting thread A",
                                            "Enabling MSI log to " + MsiLog(),
                                            "About to install p1.bin",
                                            "Patch installation succeeded",
                                            "Removed p1.bin from the cache directory",
                                            "About to install f1.bin",
                                            "tmp directory for extraction is " + tmp,
                                            "Validating content of FMC package",
                                            "Beginning full installation...",
                                            "Full installation succeeded",
                                            "Successfully removed product.msi from tmp directory",
                                            "Successfully removed tmp directory",
                                            "Removed f1.bin from the cache directory",
                                            "Ending thread A"};
    size_t last = 0;
    for (const std::string& line : order) {
        size_t at = IndexOf(log, line);
        ASSERT_LT(at, log.size()) << line;
        EXPECT_LE(last, at) << line;
        last = at;
    }
    EXPECT_TRUE(Contains(log, "Unexepected file in FMC package, skipping... (readme.txt)"));
    EXPECT_TRUE(Contains(log, "Unexpected file in FMC package, skipping... (2057.mst)"));
    EXPECT_FALSE(FileExists(m_cache + "p1.bin"));
    EXPECT_FALSE(FileExists(m_cache + "f1.bin"));
    EXPECT_FALSE(FileExists(tmp)) << "the folder the run created is gone";
    EXPECT_EQ(Today(), m_dateLast);

    EXPECT_EQ(1, m_fake->CountCalls("MsiApplyPatchA"));
    std::vector<std::string> installs = m_fake->CallsTo("MsiInstallProductA");
    ASSERT_EQ(1u, installs.size());
    EXPECT_NE(std::string::npos, installs[0].find(tmp + "product.msi|")) << installs[0];
    EXPECT_NE(std::string::npos, installs[0].find("ADDLOCAL=ALL")) << installs[0];
    EXPECT_NE(std::string::npos, installs[0].find("TRANSFORMS=" + tmp + "1033.mst")) << installs[0];
    EXPECT_EQ(std::vector<std::string>{"8095|" + MsiLog() + "|1"}, m_fake->CallsTo("MsiEnableLogA"));
    EXPECT_EQ(1, m_fake->CountCalls("MsiSetExternalUIA")) << "the progress handler serves the window";

    std::vector<std::string> posted = owner.Take();
    EXPECT_EQ((std::vector<std::string>{"setmax 1 2", "setpos 1 0", "setpos 2 0", "text 2 Initializing...",
                                        "setpos 2 0", "stepit 1 0", "setpos 2 0", "text 2 Extracting...", "setmax 2 5",
                                        "stepit 2 0", "stepit 2 0"}),
              std::vector<std::string>(posted.begin(), posted.begin() + 11));
    EXPECT_EQ("completed 0 0", posted.back());
    EXPECT_EQ(0, std::count_if(posted.begin(), posted.end(), [](const std::string& text) {
                  return text.rfind("interrupted", 0) == 0;
              }));
}

TEST_F(ApplyRun, AFullPackageNeedsExactlyOnePackageAndItsFolderIsEmptiedEitherWay)
{
    Select(ProductXml("{B}", "BBB", UpdateXml("f1", "1.1", "1.0", "1.0", "FMC")), {"{B}"});
    CacheFullPackage("f1", {{"one.msi", "1"}, {"two.MSI", "2"}});
    TestFolder extraction;
    WriteWholeFile(extraction.File("left over.txt"), "from an earlier run");
    DescribingOwner owner;

    Run(owner.Get(), extraction.Path());

    std::vector<std::string> log = Log();
    EXPECT_TRUE(Contains(log, "Successfully removed left over.txt from tmp directory"));
    EXPECT_TRUE(Contains(log, "tmp directory for extraction is " + extraction.Path() + "\\"));
    EXPECT_TRUE(Contains(log, "Expecting one msi file, found 2"));
    EXPECT_TRUE(Contains(log, "Successfully removed two.MSI from tmp directory"));
    EXPECT_FALSE(Contains(log, "Successfully removed tmp directory")) << "a folder that existed stays";
    EXPECT_TRUE(FileExists(extraction.Path()));
    EXPECT_FALSE(FileExists(extraction.File("one.msi")));
    EXPECT_TRUE(FileExists(m_cache + "f1.bin")) << "kept for a later run";
    EXPECT_EQ(0, m_fake->CountCalls("MsiInstallProductA"));
    EXPECT_EQ("", m_dateLast);
    EXPECT_EQ("interrupted 229 0", owner.Take().back());
}

TEST_F(ApplyRun, AnExtractionPathThatHadToBeCreatedIsRemovedAfterwardsMended)
{
    Select(ProductXml("{B}", "BBB", UpdateXml("f1", "1.1", "1.0", "1.0", "FMC")), {"{B}"});
    CacheFullPackage("f1", {{"product.msi", "package"}});
    TestFolder scratch;
    const std::string extraction = scratch.File("deep\\er");
    m_fake->packages[extraction + "\\product.msi"];

    Run(nullptr, extraction);

    std::vector<std::string> log = Log();
    EXPECT_TRUE(Contains(log, "Full installation succeeded"));
    EXPECT_TRUE(Contains(log, "Successfully removed tmp directory"));
    EXPECT_FALSE(FileExists(extraction)) << "the created folder goes, not the cache's own tmp folder";
    EXPECT_TRUE(FileExists(scratch.File("deep")));
    EXPECT_EQ(Today(), m_dateLast);
}

TEST_F(ApplyRun, AnExecutableReleasesTheEngineSoTheMsiLogIsRotatedAgainBeforeThePatch)
{
    Select(ProductXml("{A}", "AAA",
                      Replaced(UpdateXml("e1", "1.1", "1.0", "1.0", "EXE", 100, "<parameters>/quiet</parameters>"),
                               "e1.bin", "e1.exe") +
                          UpdateXml("p2", "1.2", "1.1", "1.1", "MSP")),
           {"{A}"});
    CopyFileA((TestProgramFolder() + "\\kwstub.exe").c_str(), (m_cache + "e1.exe").c_str(), FALSE);
    SetCrcOfCachedFile("e1");
    Cache("p2", "patch");
    m_fake->packages[m_cache + "p2.bin"].validPatch = true;
    WriteWholeFile(MsiLog(), "first run");
    WriteWholeFile(MsiLog() + ".bak", "older run");
    // The stand-in installer writes its command line where the engine's log
    // goes, so the second rotation has something to move.
    ScopedEnvironment stubLog("KWSTUB_LOG", MsiLog());
    DescribingOwner owner;

    Run(owner.Get());

    std::vector<std::string> log = Log();
    EXPECT_EQ(2, std::count(log.begin(), log.end(), "Enabling MSI log to " + MsiLog()));
    EXPECT_LT(IndexOf(log, "Installation of executable succeeded"), IndexOf(log, "About to install p2.bin"));
    EXPECT_TRUE(Contains(log, "Patch installation succeeded"));
    EXPECT_NE(std::string::npos, ReadWholeFile(MsiLog() + ".bak").find("/quiet")) << "the log of the first binding";
    EXPECT_EQ(2, m_fake->CountCalls("MsiSetInternalUI"));
    EXPECT_FALSE(FileExists(m_cache + "e1.exe"));
    EXPECT_FALSE(FileExists(m_cache + "p2.bin"));

    std::vector<std::string> posted = owner.Take();
    size_t text = IndexOf(posted, "text 2 Executing external process. This may take several minutes.");
    ASSERT_LT(text, posted.size());
    EXPECT_EQ((std::vector<std::string>{"setpos 2 0", "cancelbutton 0 0", "cancelbutton 1 0", "stepit 1 0"}),
              std::vector<std::string>(posted.begin() + text + 1, posted.begin() + text + 5));
    EXPECT_EQ("completed 0 0", posted.back());
}

TEST_F(ApplyRun, TheUpdatersOwnPatchIsHandedToMsiexecDeliberatelyByItsFullPathAndEndsTheRunSilently)
{
    // A working folder with a space. A file the catalog put there under the
    // installer's name is never what runs: the stand-in is named by its path.
    m_cache = m_cacheRoot.File("cache folder") + "\\";
    CreateDirectoryA(m_cache.c_str(), nullptr);
    WriteWholeFile(m_cache + "msiexec.exe", "not a program");
    m_installerProgram = TestProgramFolder() + "\\kwstub.exe";
    StubLog launched;
    struct Case {
        std::string parameters;
        std::string expected;
    } cases[] = {
        {"", "msiexec /p \"" + m_cache + "u1.bin\" KWSELFUPDATE=1 /qb"},
        {"REINSTALL=ALL", "msiexec /p \"" + m_cache + "u1.bin\" REINSTALL=ALL KWSELFUPDATE=1 /qb"},
        {"KWSELFUPDATE=0 REINSTALL=ALL", "msiexec /p \"" + m_cache + "u1.bin\" KWSELFUPDATE=0 REINSTALL=ALL /qb"},
    };
    const std::string updater = GetProductDescriptor().UpdaterCode;
    for (const Case& c : cases) {
        Select(ProductXml(
                   updater, "UPD",
                   UpdateXml("u1", "1.1", "1.0", "1.0", "UPD", 100, "<parameters>" + c.parameters + "</parameters>")),
               {updater});
        Cache("u1", "updater patch");
        DescribingOwner owner;

        Run(owner.Get());

        EXPECT_TRUE(Contains(Log(), "Launched " + c.expected + " successfully")) << c.expected;
        EXPECT_EQ((std::vector<std::string>{"setmax 1 1", "setpos 1 0", "setpos 2 0"}), owner.Take())
            << "neither completion nor failure is posted";
        EXPECT_TRUE(FileExists(m_cache + "u1.bin")) << "msiexec still needs it";
        EXPECT_EQ("", m_dateLast);
    }
    for (int wait = 0; wait < 100; ++wait) {
        const std::string text = launched.Text();
        if (std::count(text.begin(), text.end(), '\n') >= 3)
            break;
        Sleep(100);
    }
    EXPECT_NE(std::string::npos, launched.Text().find("KWSELFUPDATE=0 REINSTALL=ALL /qb")) << launched.Text();
    EXPECT_NE(std::string::npos, launched.Text().find("u1.bin\" KWSELFUPDATE=1 /qb")) << launched.Text();
}

TEST_F(ApplyRun, EachFailureEndsTheRunWithOneMessageNamingItsCauseDeliberatelyNotRepeated)
{
    Select(ProductXml("{A}", "AAA", UpdateXml("p1", "1.1", "1.0", "1.0", "MSP")), {"{A}"});
    Cache("p1", "patch");
    m_fake->packages[m_cache + "p1.bin"].validPatch = true;
    DescribingOwner owner;

    Run(owner.Get(), std::string(), FailToBindEngine);
    EXPECT_TRUE(Contains(Log(), "Error 1603 while trying to load MSI.DLL"));
    EXPECT_EQ((std::vector<std::string>{"setmax 1 1", "setpos 1 0", "interrupted 215 48", "interrupted 229 0"}),
              owner.Take());

    m_fake->applyPatchResult = ERROR_INSTALL_FAILURE;
    Run(owner.Get());
    EXPECT_TRUE(Contains(Log(), "Patch installation failed with error code 1603 (p1.bin)"));
    std::vector<std::string> posted = owner.Take();
    EXPECT_EQ(1, std::count(posted.begin(), posted.end(), "interrupted 229 0"));
    EXPECT_EQ("interrupted 229 0", posted.back());
    EXPECT_TRUE(FileExists(m_cache + "p1.bin"));

    g_installCancelled = true;
    Run(owner.Get());
    EXPECT_TRUE(Contains(Log(), "Installation was cancelled"));
    EXPECT_EQ(std::vector<std::string>{"interrupted 0 0"}, owner.Take());
    g_installCancelled = false;

    WriteWholeFile(m_cache + "p1.bin", "corrupted");
    Run(owner.Get());
    EXPECT_TRUE(Contains(Log(), "File p1.bin is missing or invalid. Windows error 0."));
    EXPECT_EQ("interrupted 229 0", owner.Take().back());

    DeleteFileA((m_cache + "p1.bin").c_str());
    Run(owner.Get());
    EXPECT_TRUE(Contains(Log(), "File p1.bin is missing or invalid. Windows error 2."));
    EXPECT_EQ("winerr 2 0", owner.Take().back());
    EXPECT_EQ(1, m_fake->CountCalls("MsiApplyPatchA")) << "only the run whose file was sound";
    EXPECT_EQ("", m_dateLast);
}

TEST_F(ApplyRun, AFileNameLeadingOutOfTheCacheIsRefusedMended)
{
    const std::string cache = "C:\\cache\\";
    EXPECT_EQ(cache + "p1.bin", CacheFilePath(cache, "p1.bin"));
    for (const char* name : {"..\\p1.bin", "sub\\p1.bin", "C:\\p1.bin", "D:p1.bin", "%TEMP%", "CON", "*.bin", ""})
        EXPECT_EQ("", CacheFilePath(cache, name)) << name;

    Select(ProductXml("{A}", "AAA", UpdateXml("p1", "1.1", "1.0", "1.0", "MSP")), {"{A}"});
    WriteWholeFile(m_cacheRoot.File("outside.bin"), "patch");
    Update("p1").SetFileName("tmp\\..\\..\\outside.bin");
    std::uint32_t crc = 0;
    CCrc32().ComputeFile(m_cacheRoot.File("outside.bin"), crc);
    Update("p1").SetFileCrc(crc);

    Run(nullptr);

    EXPECT_TRUE(Contains(Log(), "File tmp\\..\\..\\outside.bin is missing or invalid. Windows error 123."));
    EXPECT_TRUE(FileExists(m_cacheRoot.File("outside.bin")));
    EXPECT_EQ(0, m_fake->CountCalls("MsiApplyPatchA"));
    EXPECT_EQ(0, m_fake->CountCalls("MsiSetExternalUIA")) << "a silent run shows no engine progress";
}

} // namespace
