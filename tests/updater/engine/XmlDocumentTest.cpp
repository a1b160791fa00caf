#include "BenchServer.h"
#include "CXmlDocument.h"
#include "ComApartment.h"
#include "ComError.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

const char kCatalog[] = "<?xml version=\"1.0\"?>\r\n<updates appname=\"Melvaro 2012\">\r\n"
                        " <product id=\"{A}\">\r\n"
                        "  <update id=\"u1\"><version>1.1.0</version><subject lang=\"E\">First</subject>"
                        "<subject lang=\"F\">Premier</subject><dependent>{B}</dependent></update>\r\n"
                        "  <update id=\"u2\"><relnote><text lang=\"E\">one</text><text lang=\"F\">un</text></relnote>"
                        "<dependent>{C}</dependent></update>\r\n"
                        " </product>\r\n <product id=\"{B}\"/>\r\n"
                        " <source priority=\"2\">http://a/</source><source>C:\\share</source>\r\n</updates>\r\n";

// Accented letters as Windows-1252 bytes, and white space that must survive.
const char kWindows1252[] = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<updates><update>"
                            "<subject lang=\"F\">Mise \xE0 jour d\xE9j\xE0 pr\xEAte</subject>"
                            "<text>  two  spaces\r\n\tand a tab  </text></update></updates>\r\n";
const char kAccented[] = "Mise \xE0 jour d\xE9j\xE0 pr\xEAte";

Strings shownBoxes;

int RecordBox(HWND, const char* text, const char*, UINT)
{
    shownBoxes.push_back(text);
    return IDOK;
}

// An attribute of every node of the list, or its text when no name is given.
Strings Collect(const CXmlDocument& document, const XmlNodeList& list, const char* attribute = nullptr)
{
    Strings values;
    while (XmlNode node = CXmlDocument::NextNode(list.Get()))
        values.push_back(attribute ? document.GetAttribute(node.Get(), attribute)
                                   : document.GetNodeText(node.Get(), "."));
    return values;
}

// Validation that rejects what loaded, as the catalog's may, or raises.
class ScriptedDocument : public CXmlDocument {
public:
    bool Validate() override
    {
        ++validations;
        if (FAILED(raise))
            throw CComError(raise);
        SetValid(false);
        return false;
    }

    int validations = 0;
    HRESULT raise = S_OK;
};

class XmlDocumentTest : public testing::Test {
protected:
    void SetUp() override
    {
        shownBoxes.clear();
        ComErrorBox() = RecordBox;
    }
    void TearDown() override { ComErrorBox() = MessageBoxA; }

    TestFolder folder;
};

} // namespace

TEST_F(XmlDocumentTest, EvaluatesTheCatalogPathsInDocumentOrder)
{
    std::string path = folder.File("catalog.xml");
    WriteWholeFile(path, kCatalog);
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromUrl(path));
    EXPECT_TRUE(document.IsValid());
    EXPECT_EQ(path, document.GetSource());
    IXMLDOMElement* root = document.GetRoot();
    EXPECT_EQ("Melvaro 2012", document.GetAttribute(root, "appname"));
    EXPECT_EQ(Strings({"{A}", "{B}"}), Collect(document, document.SelectNodes(root, "/updates/product"), "id"));

    XmlNode product = document.SelectSingleNode(root, "/updates/product");
    EXPECT_EQ("{A}", document.GetAttribute(document.SelectSingleNode(product.Get(), ".").Get(), "id"));
    EXPECT_EQ(Strings({"u1", "u2"}), Collect(document, document.SelectNodes(product.Get(), "./update"), "id"));
    EXPECT_EQ(Strings({"{B}", "{C}"}), Collect(document, document.SelectNodes(product.Get(), "update/dependent")));
    // An absolute path starts at the document whatever the node.
    EXPECT_EQ(Strings({"http://a/", "C:\\share"}),
              Collect(document, document.SelectNodes(product.Get(), "/updates/source")));
    XmlNode update = document.SelectSingleNode(product.Get(), "./update");
    EXPECT_EQ("1.1.0", document.GetNodeText(update.Get(), "./version"));
    EXPECT_EQ("Premier", document.GetNodeText(update.Get(), "./subject[@lang='F']"));
    XmlNode relnote = document.SelectSingleNode(root, "/updates/product/update/relnote");
    EXPECT_EQ("un", document.GetNodeText(relnote.Get(), "./text[@lang='F']"));

    // What is absent reads as empty, which callers take for "not there".
    EXPECT_EQ("", document.GetAttribute(product.Get(), "mne"));
    EXPECT_EQ("", document.GetAttribute(nullptr, "id"));
    EXPECT_EQ("", document.GetNodeText(update.Get(), "./filecrc"));
    EXPECT_EQ("", document.GetNodeText(update.Get(), "./subject[@lang='X']"));
    EXPECT_EQ("", document.GetNodeText(nullptr, "/updates"));
    EXPECT_FALSE(document.SelectSingleNode(root, "/updateserverstatus"));
    EXPECT_EQ(Strings(), Collect(document, document.SelectNodes(root, "/updates/nothing")));
    try {
        document.SelectNodes(nullptr, "./update");
        ADD_FAILURE() << "a relative path needs a node";
    } catch (const CComError& error) {
        EXPECT_EQ(E_POINTER, error.Code());
    }
}

TEST_F(XmlDocumentTest, TextsKeepTheirWhiteSpaceAndComeBackInWindows1252)
{
    ASSERT_EQ(1252u, GetACP()) << "the bench runs with the Windows-1252 code page";
    std::string path = folder.File("accents.xml");
    WriteWholeFile(path, kWindows1252);
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromUrl(path));
    EXPECT_EQ(kAccented, document.GetNodeText(document.GetRoot(), "./update/subject[@lang='F']"));
    // The parser turns CR LF into LF; nothing else changes.
    EXPECT_EQ("  two  spaces\n\tand a tab  ", document.GetNodeText(document.GetRoot(), "./update/text"));

    // The catalog re-loads itself from its own text: the letters survive.
    CXmlDocument copy;
    ASSERT_TRUE(copy.LoadXml(document.GetXml()));
    EXPECT_EQ(kAccented, copy.GetNodeText(copy.GetRoot(), "./update/subject[@lang='F']"));
    EXPECT_EQ("  two  spaces\n\tand a tab  ", copy.GetNodeText(copy.GetRoot(), "./update/text"));
}

TEST_F(XmlDocumentTest, MendedEveryLoadReplacesTheStateAndFailuresShowNothing)
{
    std::string path = folder.File("catalog.xml");
    WriteWholeFile(path, kCatalog);
    WriteWholeFile(folder.File("malformed.xml"), "<updates><product></updates>");
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromUrl(path));
    ASSERT_TRUE(document.LoadXml("<updates><source>s</source></updates>"));
    EXPECT_EQ("", document.GetSource());
    EXPECT_EQ("s", document.GetNodeText(document.GetRoot(), "./source"));

    for (const std::string& url : {folder.File("malformed.xml"), folder.File("missing.xml")}) {
        EXPECT_FALSE(document.LoadFromUrl(url)) << url;
        EXPECT_FALSE(document.IsValid());
        EXPECT_EQ(nullptr, document.GetRoot());
    }
    EXPECT_FALSE(document.LoadXml("<updates><source>s</updates>"));
    EXPECT_FALSE(document.LoadXml(""));
    EXPECT_TRUE(shownBoxes.empty());

    // An empty URL fails at once and leaves the DOM as it was.
    ASSERT_TRUE(document.LoadFromUrl(path));
    EXPECT_FALSE(document.LoadFromUrl(""));
    EXPECT_FALSE(document.IsValid());
    EXPECT_NE(std::string::npos, document.GetXml().find("Premier"));
}

TEST_F(XmlDocumentTest, ValidationFollowsEverySuccessfulLoadAndItsComErrorsAreShown)
{
    ScriptedDocument document;
    EXPECT_TRUE(document.LoadXml(kCatalog));
    EXPECT_FALSE(document.IsValid());
    EXPECT_FALSE(document.LoadXml("<updates>"));
    EXPECT_EQ(1, document.validations);
    EXPECT_TRUE(shownBoxes.empty());

    document.raise = E_OUTOFMEMORY;
    EXPECT_FALSE(document.LoadXml(kCatalog));
    EXPECT_FALSE(document.IsLoaded());
    EXPECT_EQ(nullptr, document.GetRoot());
    EXPECT_EQ(Strings({ComErrorText(E_OUTOFMEMORY)}), shownBoxes);
}

TEST_F(XmlDocumentTest, SavesOnlyWhatWasLoadedToAKnownPlace)
{
    CXmlDocument document;
    std::string saved = folder.File("saved.xml");
    EXPECT_FALSE(document.Save(saved));
    EXPECT_FALSE(FileExists(saved));

    ASSERT_TRUE(document.LoadXml(kCatalog));
    EXPECT_FALSE(document.Save()) << "a text has no source to save to";
    ASSERT_TRUE(document.Save(saved));
    EXPECT_EQ(saved, document.GetSource());
    EXPECT_TRUE(document.Save());
    EXPECT_FALSE(document.Save(folder.File("no such folder\\saved.xml")));

    CXmlDocument reloaded;
    ASSERT_TRUE(reloaded.LoadFromUrl(saved));
    EXPECT_EQ(document.GetXml(), reloaded.GetXml());
}

class HttpXmlDocumentTest : public XmlDocumentTest {
protected:
    void SetUp() override
    {
        XmlDocumentTest::SetUp();
        server = GetBenchServer();
        ASSERT_FALSE(server.url.empty()) << "run through CTest, or: python3 tools/kwhttpd.py -- wine <program>";
    }

    BenchServer server;
};

TEST_F(HttpXmlDocumentTest, LoadsFromAUrlWithItsQueryString)
{
    CreateDirectoryA((server.root + "\\scripts").c_str(), nullptr);
    WriteWholeFile(server.root + "\\scripts\\qrzupd.asp", kWindows1252);
    std::string query = "scripts/qrzupd.asp?CompanyName=0-&Year=2012&Language=F";
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromUrl(server.url + query));
    EXPECT_TRUE(document.IsValid());
    EXPECT_EQ(kAccented, document.GetNodeText(document.GetRoot(), "/updates/update/subject[@lang='F']"));
    std::string log = ReadWholeFile(server.log);
    EXPECT_NE(std::string::npos, log.find("GET /" + query + " HTTP/1.1\t200\n")) << log;
}

TEST_F(HttpXmlDocumentTest, FailedTransfersDoNotLoadAndShowNothing)
{
    WriteWholeFile(server.root + "\\good.xml", kCatalog);
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromUrl(server.url + "good.xml"));
    for (const std::string& url : {server.url + "missing.xml", server.url + "@status=503/good.xml",
                                   server.url + "@cut=40/good.xml", std::string("http://127.0.0.1:1/closed.xml")}) {
        EXPECT_FALSE(document.LoadFromUrl(url)) << url;
        EXPECT_FALSE(document.IsValid()) << url;
    }
    EXPECT_TRUE(shownBoxes.empty());
}

TEST_F(XmlDocumentTest, MendedADoctypeIsRefusedBeforeAnyEntityIsExpanded)
{
    // Ten levels of eight references each: 16 * 8^10 letters once expanded.
    std::string entities = "<!ENTITY a \"aaaaaaaaaaaaaaaa\">";
    for (char name = 'b'; name <= 'k'; ++name) {
        std::string reference = std::string("&") + static_cast<char>(name - 1) + ";";
        std::string value;
        for (int i = 0; i < 8; ++i)
            value += reference;
        entities += std::string("<!ENTITY ") + name + " \"" + value + "\">";
    }
    const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE updates [" + entities + "]><updates>&k;</updates>";
    CXmlDocument document;
    EXPECT_FALSE(document.LoadXml(laughs));
    EXPECT_NE(std::string::npos, document.GetLoadError().find("DOCTYPE")) << document.GetLoadError();

    // Written in UTF-16, with an outside DTD.
    const std::string external = "<!DOCTYPE updates SYSTEM \"http://127.0.0.1:1/catalog.dtd\"><updates/>";
    std::string wide = "\xFF\xFE";
    for (char c : external)
        wide += std::string(1, c) + '\0';
    WriteWholeFile(folder.File("wide.xml"), wide);
    EXPECT_FALSE(document.LoadFromUrl(folder.File("wide.xml")));
    EXPECT_NE(std::string::npos, document.GetLoadError().find("DOCTYPE")) << document.GetLoadError();
    EXPECT_TRUE(shownBoxes.empty());
}

TEST_F(XmlDocumentTest, MendedAnEndlessFileStopsAtTheSizeLimit)
{
    CXmlDocument document;
    EXPECT_FALSE(document.LoadFromUrl("Z:\\dev\\zero"));
    EXPECT_NE("", document.GetLoadError());
    EXPECT_FALSE(document.LoadFromUrl(folder.File("missing.xml")));
    EXPECT_NE("", document.GetLoadError());
}

TEST_F(HttpXmlDocumentTest, MendedErrorAnswersRedirectLoopsAndEndlessAnswersFailWithAReason)
{
    WriteWholeFile(server.root + "\\good.xml", kCatalog);
    CXmlDocument document;
    for (const char* path : {"@status=404/@errorbody/good.xml", "@status=500/@errorbody/good.xml",
                             "@redirect=1000/good.xml", "@endless/good.xml"}) {
        EXPECT_FALSE(document.LoadFromUrl(server.url + path)) << path;
        EXPECT_NE("", document.GetLoadError()) << path;
    }
    EXPECT_NE(std::string::npos, document.GetLoadError().find("large")) << document.GetLoadError();
    EXPECT_TRUE(document.LoadFromUrl(server.url + "@redirect=2/good.xml")) << document.GetLoadError();
    EXPECT_EQ("", document.GetLoadError());
    EXPECT_TRUE(shownBoxes.empty());
}

TEST(ComApartmentTest, MendedOnlyASuccessfulInitialisationIsBalanced)
{
    std::thread([] {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        {
            ComApartment apartment; // cannot join: the thread is multithreaded
        }
        EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED)) << "the thread's own COM is still up";
        CoUninitialize();
        CoUninitialize();
    }).join();
}
