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
    ASSERT_EQ(0u, query.Open(kQuery, ReadOnlyOpenMode()));
    std::string text = "stale";
    EXPECT_EQ(259u, query.GetString(1, text)) << "no row fetched yet";
    EXPECT_EQ("", text);
    EXPECT_EQ(static_cast<int>(MSI_NULL_INTEGER), query.GetInteger(2));

    ASSERT_TRUE(query.Fetch());
    EXPECT_EQ(0u, query.GetString(1, text));
    EXPECT_EQ("Core", text);
    EXPECT_EQ(1, query.GetInteger(2));
    ASSERT_TRUE(query.Fetch());
    EXPECT_EQ(0u, query.GetString(1, text));
    EXPECT_EQ(std::string(300, 'x'), text) << "read again beyond 260 characters";
    EXPECT_FALSE(query.Fetch());
    EXPECT_EQ(259u, query.GetString(1, text));
    EXPECT_EQ(5u, query.Open(kQuery, ReadOnlyOpenMode())) << "already open";

    query.Close();
    EXPECT_EQ(0u, fake.OpenHandles());
    EXPECT_EQ(5u, query.GetString(1, text));
    EXPECT_FALSE(query.Fetch());
    ASSERT_EQ(0u, query.Open(kQuery, ReadOnlyOpenMode())) << "opens again; the destructor closes";
    ASSERT_TRUE(query.Fetch());
}

TEST_F(MsiQuery, FailedOpenLeavesNothingOpen)
{
    fake.packages[kPackage].failingQueries.push_back(kQuery);
    CKWMsiQuery query(kPackage);
    EXPECT_EQ(static_cast<UINT>(ERROR_BAD_QUERY_SYNTAX), query.Open(kQuery, ReadOnlyOpenMode()));
    EXPECT_FALSE(query.IsOpen());
    EXPECT_EQ(0u, fake.OpenHandles());
    fake.packages.erase(kPackage);
    EXPECT_EQ(static_cast<UINT>(ERROR_OPEN_FAILED), query.Open(kQuery, ReadOnlyOpenMode()));
}

TEST_F(MsiQuery, PatchesAreValidThroughThePatchFileMode)
{
    FakeMsi::Package& patch = fake.packages["C:\\p\\fix.msp"];
    patch.validInstaller = false;
    patch.validPatch = true;
    CKWMsiQuery query("C:\\p\\fix.msp");
    EXPECT_TRUE(query.IsValid());
    EXPECT_EQ(0u, fake.OpenHandles()) << "the check closes its database";
    EXPECT_EQ(std::vector<std::string>{"C:\\p\\fix.msp|32"}, fake.CallsTo("MsiOpenDatabaseA"));

    fake.packages["C:\\p\\text.txt"].validInstaller = false;
    CKWMsiQuery invalid("C:\\p\\text.txt");
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_EQ(87u, invalid.Open(kQuery, ReadOnlyOpenMode()));
    EXPECT_FALSE(CKWMsiQuery("").IsValid());
    fake.Unbind();
    EXPECT_FALSE(CKWMsiQuery(kPackage).IsValid());
}
