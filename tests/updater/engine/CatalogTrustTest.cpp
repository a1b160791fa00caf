#include "CKWUpdateCatalog.h"
#include "CacheFile.h"
#include "CatalogFreshness.h"
#include "CatalogKeys.h"
#include "CatalogSignature.h"
#include "CatalogXml.h"
#include "TestFolder.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string MakeKey(CEcdsaKey& key)
{
    EXPECT_TRUE(key.Generate());
    return PublicKeyText(key);
}

// A catalog with one update in a folder, signed with the key when given.
class SignedCatalog : public ::testing::Test {
protected:
    void SetUp() override { m_public = MakeKey(m_key); }

    std::string Write(const std::string& rootAttributes, bool sign = true)
    {
        std::string xml = CatalogXml(ProductXml("{P}", "P", UpdateXml("u1", "1.1", "1.0", "1.0")) +
                                     "<source>http://dl.example.com/</source>");
        xml.replace(xml.find("<updates ") + 9, 0, rootAttributes + " ");
        const std::string path = m_folder.File("catalog.xml");
        WriteWholeFile(path, xml);
        std::string signature;
        EXPECT_TRUE(SignCatalog(xml, m_key, signature));
        if (sign)
            WriteWholeFile(SignatureLocation(path), signature);
        return path;
    }

    CatalogTrust Trust(std::uint64_t acceptedSerial = 0) const { return {{m_public}, acceptedSerial, 20130115}; }

    TestFolder m_folder;
    CEcdsaKey m_key;
    std::string m_public;
};

} // namespace

TEST(CatalogSignature, OnlyTheExactBytesSignedByACarriedKeyVerify)
{
    CEcdsaKey signer, other;
    const std::string signerText = MakeKey(signer), otherText = MakeKey(other);
    ASSERT_EQ(0u, signerText.find("ecdsa-p256:"));
    ASSERT_EQ(11u + 128u, signerText.size());

    // The key file brings back a key that signs for the printed public key.
    CEcdsaKey reread;
    ASSERT_TRUE(ReadKeyFileText(KeyFileText(signer), reread));
    const std::string bytes = "<updates appname=\"Melvaro 2012\"/>";
    std::string signature;
    ASSERT_TRUE(SignCatalog(bytes, reread, signature));

    EXPECT_EQ(kSignatureGood, VerifyCatalogSignature(bytes, signature, {signerText}));
    EXPECT_EQ(kSignatureGood, VerifyCatalogSignature(bytes, " " + signature + "\n", {otherText, signerText}));
    std::string tampered = bytes;
    tampered[10] ^= 1;
    EXPECT_EQ(kSignatureNotMatching, VerifyCatalogSignature(tampered, signature, {signerText}));
    EXPECT_EQ(kSignatureNotMatching, VerifyCatalogSignature(bytes, signature, {otherText}));
    EXPECT_EQ(kSignatureMalformed, VerifyCatalogSignature(bytes, "", {signerText}));
    EXPECT_EQ(kSignatureMalformed, VerifyCatalogSignature(bytes, signature.substr(0, 100), {signerText}));
    EXPECT_EQ(kSignatureNoUsableKey, VerifyCatalogSignature(bytes, signature, {"ecdsa-p256:00", "x"}));
    EXPECT_FALSE(ReadKeyFileText("public " + signerText, reread));
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "d"}), SplitCatalogKeys(" a,b;\r\nc\t d "));
}

TEST(CatalogSignature, TheSignatureLiesBesideTheCatalogWithTheQueryKept)
{
    EXPECT_EQ("http://h/c.xml.sig?x=1", SignatureLocation("http://h/c.xml?x=1"));
    EXPECT_EQ("HTTPS://h:81/a/qrzupd.asp.sig?CompanyName=2012-&Year=2012#top",
              SignatureLocation("HTTPS://h:81/a/qrzupd.asp?CompanyName=2012-&Year=2012#top"));
    EXPECT_EQ("http://h/c.xml.sig", SignatureLocation("http://h/c.xml"));
    EXPECT_EQ("http://h/.sig?a=/b", SignatureLocation("http://h?a=/b"));
    EXPECT_EQ("C:\\cat?alog#1.xml.sig", SignatureLocation("C:\\cat?alog#1.xml"));
}

TEST(CatalogFreshness, SerialsAndDatesAreReadStrictly)
{
    std::uint64_t serial = 1;
    EXPECT_TRUE(ParseCatalogSerial("", serial) && serial == 0);
    EXPECT_TRUE(ParseCatalogSerial("999999999999999999", serial) && serial == 999999999999999999ull);
    for (const char* bad : {"-1", "1e3", " 7", "0x10", "9999999999999999999"})
        EXPECT_FALSE(ParseCatalogSerial(bad, serial)) << bad;
    int date = 0;
    EXPECT_TRUE(ParseCatalogDate("2012-02-29", date) && date == 20120229);
    for (const char* bad : {"2013-02-29", "2013-1-31", "31/01/2013", "2013-13-01", "2013-04-31", "2013-01-31Z"})
        EXPECT_FALSE(ParseCatalogDate(bad, date)) << bad;
}

TEST_F(SignedCatalog, ASignedCatalogIsReadWithItsSerialAndExpiry)
{
    CKWUpdateCatalog catalog;
    ASSERT_TRUE(catalog.LoadFromUrl(Write("serial=\"7\" expires=\"2013-01-15\""), Trust(7)));
    EXPECT_TRUE(catalog.IsValid()) << catalog.GetInvalidReason();
    EXPECT_TRUE(catalog.IsSigned());
    EXPECT_EQ(7u, catalog.GetSerial());
    EXPECT_EQ(20130115, catalog.GetExpires());
    EXPECT_EQ(1u, catalog.GetSources().size());
}

TEST_F(SignedCatalog, WithAKeyUnsignedTamperedOlderOrExpiredCatalogsAreRefusedUnread)
{
    struct Case {
        std::string attributes;
        bool sign;
        std::uint64_t accepted;
        CKWUpdateCatalog::Validity validity;
    } cases[] = {
        {"serial=\"8\"", false, 0, CKWUpdateCatalog::kSignatureMissing},
        {"serial=\"6\"", true, 7, CKWUpdateCatalog::kSerialOlder},
        {"", true, 1, CKWUpdateCatalog::kSerialOlder},
        {"serial=\"x\"", true, 0, CKWUpdateCatalog::kSerialMalformed},
        {"expires=\"2013-01-14\"", true, 0, CKWUpdateCatalog::kExpired},
        {"expires=\"15/01/2013\"", true, 0, CKWUpdateCatalog::kExpiresMalformed},
    };
    for (const Case& c : cases) {
        CKWUpdateCatalog catalog;
        EXPECT_TRUE(catalog.LoadFromUrl(Write(c.attributes, c.sign), Trust(c.accepted)));
        EXPECT_EQ(c.validity, catalog.GetValidity()) << c.attributes << ": " << catalog.GetInvalidReason();
        EXPECT_FALSE(catalog.IsValid());
        EXPECT_TRUE(catalog.IsTrustRefusal());
        EXPECT_TRUE(catalog.GetSources().empty());
    }

    // One byte changed after signing: the parser never sees it.
    const std::string path = Write("serial=\"9\"");
    std::string xml = ReadWholeFile(path);
    xml.replace(xml.find("dl.example"), 2, "ev");
    WriteWholeFile(path, xml);
    CKWUpdateCatalog catalog;
    EXPECT_TRUE(catalog.LoadFromUrl(path, Trust()));
    EXPECT_EQ(CKWUpdateCatalog::kSignatureRefused, catalog.GetValidity());
    EXPECT_FALSE(catalog.IsLoaded());
    EXPECT_NE(std::string::npos, catalog.GetInvalidReason().find("does not match")) << catalog.GetInvalidReason();
}

TEST_F(SignedCatalog, WithoutAKeyNothingIsAskedOfTheCatalog)
{
    CKWUpdateCatalog catalog;
    ASSERT_TRUE(
        catalog.LoadFromUrl(Write("serial=\"x\" expires=\"2000-01-01\"", false), CatalogTrust{{}, 50, 20130115}));
    EXPECT_TRUE(catalog.IsValid()) << catalog.GetInvalidReason();
    EXPECT_FALSE(catalog.IsSigned());
}

TEST(CatalogSha256, AFileWithTheRightCrcButAnotherSha256FailsItsCheck)
{
    TestFolder folder;
    WriteWholeFile(folder.File("u.msp"), "123456789");
    CUpdateItem update("u", "{P}", 2, 1, 1);
    update.SetFileName("u.msp");
    update.SetFileCrc(0xCBF43926);
    DWORD error = 0;
    update.SetFileSha256("15e2b0d3c33891ebb0f1ef609ec419420c20e320ce94c65fbc8c3312448eb225");
    EXPECT_TRUE(VerifyCacheFile(update, folder.Path() + "\\", error));
    update.SetFileSha256("25e2b0d3c33891ebb0f1ef609ec419420c20e320ce94c65fbc8c3312448eb225");
    EXPECT_FALSE(VerifyCacheFile(update, folder.Path() + "\\", error));
    EXPECT_EQ(kErrorDataChecksum, error);

    // A digest the catalog gives but that cannot be read drops the update.
    CKWUpdateCatalog catalog;
    ASSERT_TRUE(catalog.LoadXml(CatalogXml(ProductXml(
        "{P}", "P",
        UpdateXml("good", "1.1", "1.0", "1.0", "MSP", 1,
                  "<filesha256>15E2B0D3C33891EBB0F1EF609EC419420C20E320CE94C65FBC8C3312448EB225</filesha256>") +
            UpdateXml("bad", "1.2", "1.1", "1.1", "MSP", 1, "<filesha256>15e2b0d3</filesha256>")))));
    std::vector<CKWUpdateCatalog::DroppedUpdate> dropped;
    catalog.FindDroppedUpdates(dropped);
    ASSERT_EQ(1u, dropped.size());
    EXPECT_EQ(CKWUpdateCatalog::kUpdateBadSha256, dropped[0].reason);
    CKWUpdateCatalog::UpdateList updates;
    ASSERT_TRUE(catalog.SelectUpdates("{P}", PackVersion("1.0"), updates));
    EXPECT_EQ("15e2b0d3c33891ebb0f1ef609ec419420c20e320ce94c65fbc8c3312448eb225", updates[0]->GetFileSha256());
}
