#include "CKWMsiQuery.h"
#include "FakeMsi.h"

#include <gtest/gtest.h>

namespace {

const char kPackage[] = "C:\\p\\product.msi";
const char kQuery[] = "SELECT `Feature`, `Level` FROM `Feature`";

class MsiQuery : public ::testing::Test {
protected:
    MsiQuery() { fake.packages[kPackage].queries[kQuery] = {{"Core", "1"}, {std::string(300, 'x'), ""}}; }
    void TearDown() override { EXPECT_EQ(0u, fake.OpenHandles()); }

    FakeMsi fake;
};

} // namespace

TEST_F(MsiQuery, ReadsRowsAndClosesEveryHandle)
{
    CKWMsiQuery query(kPackage);
    ASSERT_TRUE(query.IsValid());
    ASSERT_EQ(0u, query.Open(kQuery, ReadOnlyOpenMode()));
    EXPECT_EQ(2u, fake.OpenHandles()) << "database and view";

    std::string text = "stale";
    EXPECT_EQ(259u, query.GetString(1, text)) << "no row fetched yet";
    EXPECT_EQ("", text);
    EXPECT_EQ(static_cast<int>(MSI_NULL_INTEGER), query.GetInteger(2));

    ASSERT_TRUE(query.Fetch());
    EXPECT_EQ(0u, query.GetString(1, text));
    EXPECT_EQ("Core", text);
    EXPECT_EQ(1, query.GetInteger(2));
    ASSERT_TRUE(query.Fetch());
    EXPECT_EQ(0u, query.GetString(1, text)) << "a value longer than 260 characters is read again";
    EXPECT_EQ(std::string(300, 'x'), text);
    EXPECT_EQ(static_cast<int>(MSI_NULL_INTEGER), query.GetInteger(2));
    EXPECT_FALSE(query.Fetch());
    EXPECT_EQ(259u, query.GetString(1, text));

    EXPECT_EQ(5u, query.Open(kQuery, ReadOnlyOpenMode())) << "already open";
    query.Close();
    EXPECT_FALSE(query.IsOpen());
    EXPECT_EQ(0u, fake.OpenHandles());
    EXPECT_FALSE(query.Fetch());
    EXPECT_EQ(5u, query.GetString(1, text));
    EXPECT_EQ(0u, query.Open(kQuery, ReadOnlyOpenMode())) << "a closed query opens again";
}

TEST_F(MsiQuery, TheDestructorCloses)
{
    {
        CKWMsiQuery query(kPackage);
        ASSERT_EQ(0u, query.Open(kQuery, ReadOnlyOpenMode()));
        ASSERT_TRUE(query.Fetch());
    }
    EXPECT_EQ(0u, fake.OpenHandles());
}

TEST_F(MsiQuery, FailedOpenLeavesNothingOpen)
{
    fake.packages[kPackage].failingQueries.push_back("SELECT * FROM `Missing`");
    CKWMsiQuery query(kPackage);
    EXPECT_EQ(static_cast<UINT>(ERROR_BAD_QUERY_SYNTAX), query.Open("SELECT * FROM `Missing`", ReadOnlyOpenMode()));
    EXPECT_FALSE(query.IsOpen());
    EXPECT_EQ(0u, fake.OpenHandles());
    EXPECT_FALSE(query.Fetch());

    fake.packages.erase(kPackage);
    EXPECT_EQ(static_cast<UINT>(ERROR_OPEN_FAILED), query.Open(kQuery, ReadOnlyOpenMode()));
    EXPECT_EQ(0u, fake.OpenHandles());
}

TEST_F(MsiQuery, PatchPackagesAreValidThroughThePatchFileMode)
{
    FakeMsi::Package& patch = fake.packages["C:\\p\\fix.msp"];
    patch.validInstaller = false;
    patch.validPatch = true;
    patch.queries["SELECT `Property`, `Value` FROM `MsiPatchMetadata`"] = {{"Classification", "Update"}};

    CKWMsiQuery query("C:\\p\\fix.msp");
    EXPECT_TRUE(query.IsValid());
    EXPECT_EQ(0u, fake.OpenHandles()) << "the patch check closes its database";
    ASSERT_EQ(0u, query.Open("SELECT `Property`, `Value` FROM `MsiPatchMetadata`", PatchOpenMode()));
    ASSERT_TRUE(query.Fetch());
    std::string value;
    EXPECT_EQ(0u, query.GetString(2, value));
    EXPECT_EQ("Update", value);
    EXPECT_EQ((std::vector<std::string>{"C:\\p\\fix.msp|32", "C:\\p\\fix.msp|32"}), fake.CallsTo("MsiOpenDatabaseA"));
}

TEST_F(MsiQuery, InvalidPackagesAndAMissingEngineRefuseToOpen)
{
    fake.packages["C:\\p\\text.txt"].validInstaller = false;
    CKWMsiQuery invalid("C:\\p\\text.txt");
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_EQ(87u, invalid.Open(kQuery, ReadOnlyOpenMode()));
    std::string text;
    EXPECT_EQ(5u, invalid.GetString(1, text));

    CKWMsiQuery noPath("");
    EXPECT_FALSE(noPath.IsValid());
    EXPECT_EQ(0, fake.CountCalls("MsiVerifyPackageA") - 1) << "an empty path is not verified";

    fake.Unbind();
    CKWMsiQuery unbound(kPackage);
    EXPECT_FALSE(unbound.IsValid());
    EXPECT_EQ(87u, unbound.Open(kQuery, ReadOnlyOpenMode()));
}
