#include "CKWMsiPackage.h"
#include "FakeMsi.h"

#include <gtest/gtest.h>

namespace {

const char kPath[] = "C:\\p\\product.msi";
const char kDefaultsQuery[] = "SELECT `Value` FROM `KWSetupProperty` WHERE `Property` = 'Properties'";

// The value FindProperty locates, or "(absent)".
std::string Found(const std::string& line, const std::string& name)
{
    size_t start = 0;
    size_t end = 0;
    return FindProperty(line, name, start, end) ? line.substr(start, end - start) : "(absent)";
}

class PropertyLine : public ::testing::Test {
protected:
    PropertyLine() { fake.packages[kPath]; }
    void TearDown() override { EXPECT_EQ(0u, fake.OpenHandles()); }

    // The line after one SetProperty on a fresh package (whose table has no
    // defaults to merge).
    std::string AfterSet(const std::string& line, const std::string& name, const std::string& value)
    {
        CKWMsiPackage fresh(kPath, CKWMsiPackage::kKindInstaller);
        fresh.SetPropertyLine(line);
        fresh.SetProperty(name, value);
        return fresh.GetPropertyLine();
    }

    FakeMsi fake;
    CKWMsiPackage package{kPath, CKWMsiPackage::kKindInstaller};
};

} // namespace

TEST(FindProperty, ANameMatchesOnlyAWholeAssignment)
{
    // The old trap: DIR inside INSTALLDIR.
    EXPECT_EQ("x", Found("INSTALLDIR=C:\\A DIR=x", "DIR"));
    EXPECT_EQ("(absent)", Found("INSTALLDIR=C:\\A", "DIR"));
    EXPECT_EQ("C:\\A", Found("INSTALLDIR=C:\\A DIR=x", "INSTALLDIR"));
    EXPECT_EQ("(absent)", Found("DIRX=1 ADIR=2", "DIR"));
    EXPECT_EQ("(absent)", Found("DIR DIR2=3", "DIR")) << "a name must be followed by =";
    EXPECT_EQ("1", Found("/qn  DIR=1", "DIR")) << "words without = and double spaces are passed over";
    EXPECT_EQ("z", Found("A=\"x DIR=y\" DIR=z", "DIR")) << "never inside a quoted value";
    EXPECT_EQ("", Found("A= B=2", "A"));
    EXPECT_EQ("(absent)", Found("A=1", ""));
    EXPECT_EQ("(absent)", Found("", "A"));
}

TEST(FindProperty, AQuotedValueRunsThroughItsClosingQuote)
{
    EXPECT_EQ("\"C:\\Program Files\\X\"", Found("INSTALLDIR=\"C:\\Program Files\\X\" A=1", "INSTALLDIR"));
    EXPECT_EQ("1", Found("INSTALLDIR=\"C:\\Program Files\\X\" A=1", "A"));
    EXPECT_EQ("\"open to the end", Found("B=2 A=\"open to the end", "A"));
}

TEST_F(PropertyLine, GetPropertyReadsTheLineThenTheDatabase)
{
    fake.packages[kPath].queries["SELECT `Value` FROM `Property` WHERE `Property` = 'KWELC'"] = {{"1"}};
    package.SetPropertyLine("INSTALLDIR=\"C:\\Program Files\\X\" KWPermanent=\"1\" KWELC=0");
    EXPECT_EQ("C:\\Program Files\\X", package.GetProperty("INSTALLDIR", true, true)) << "without its quotes";
    EXPECT_EQ("1", package.GetProperty("KWPermanent", true, false));
    EXPECT_EQ("0", package.GetProperty("KWELC", true, true));
    EXPECT_EQ("1", package.GetProperty("KWELC", false, true));
    EXPECT_EQ("", package.GetProperty("KWELC", false, false));
    EXPECT_EQ("", package.GetProperty("ELC", true, true));
}

TEST_F(PropertyLine, SetPropertyAppendsReplacesAndQuotes)
{
    EXPECT_EQ("A=1", AfterSet("", "A", "1"));
    EXPECT_EQ("B=2 A=1", AfterSet("B=2", "A", "1"));
    EXPECT_EQ("A=3 B=2", AfterSet("A=1 B=2", "A", "3"));
    EXPECT_EQ("INSTALLDIR=\"C:\\Program Files\\X\"", AfterSet("", "INSTALLDIR", "C:\\Program Files\\X"));
    EXPECT_EQ("A=\"a b\"", AfterSet("", "A", "\"a b"));
    EXPECT_EQ("A=\"a b\"", AfterSet("", "A", "a b\""));
    EXPECT_EQ("A=\"a b\"", AfterSet("", "A", "\"a b\""));
    EXPECT_EQ("A=1", AfterSet("A=1", "", "2"));
    // Setting DIR leaves INSTALLDIR alone.
    EXPECT_EQ("INSTALLDIR=C:\\A DIR=y", AfterSet("INSTALLDIR=C:\\A", "DIR", "y"));
    EXPECT_EQ("INSTALLDIR=C:\\A DIR=y", AfterSet("INSTALLDIR=C:\\A DIR=x", "DIR", "y"));
}

TEST_F(PropertyLine, SetPropertyReplacesAQuotedValueWhole)
{
    EXPECT_EQ("INSTALLDIR=\"C:\\New Folder\" A=1",
              AfterSet("INSTALLDIR=\"C:\\Program Files\\X\" A=1", "INSTALLDIR", "C:\\New Folder"));
    EXPECT_EQ("INSTALLDIR=C:\\Y A=1", AfterSet("INSTALLDIR=\"C:\\Program Files\\X\" A=1", "INSTALLDIR", "C:\\Y"));
    EXPECT_EQ("A=1", AfterSet("INSTALLDIR=\"C:\\Program Files\\X\" A=1", "INSTALLDIR", ""));
}

TEST_F(PropertyLine, AnEmptyValueRemovesTheAssignmentAndTheSpacesAfterIt)
{
    EXPECT_EQ("A=1 C=3", AfterSet("A=1 B=2  C=3", "B", ""));
    EXPECT_EQ("B=2", AfterSet("A=1 B=2", "A", ""));
    EXPECT_EQ("A=1 ", AfterSet("A=1 B=2", "B", ""));
    EXPECT_EQ("INSTALLDIR=C:\\A", AfterSet("INSTALLDIR=C:\\A", "DIR", "")) << "nothing to remove";
    EXPECT_EQ("A=1", AfterSet("A=1", "REMOVE", "")) << "an absent property is not added empty";
}

TEST_F(PropertyLine, DefaultsOfTheCustomTableAreMergedOnce)
{
    fake.packages[kPath].queries[kDefaultsQuery] = {{"INSTALLDIR=\"C:\\Program Files\\X\" KWTEST=2 LAST=z"}};
    package.SetPropertyLine("KWTEST=5");
    EXPECT_EQ("KWTEST=5 INSTALLDIR=\"C:\\Program Files\\X\" LAST=z", package.GetPropertyLine())
        << "assignments on the line win; quoted defaults keep their quotes";

    fake.packages[kPath].queries[kDefaultsQuery] = {{"NEW=1"}};
    package.SetProperty("LAST", "");
    EXPECT_EQ("KWTEST=5 INSTALLDIR=\"C:\\Program Files\\X\" ", package.GetPropertyLine()) << "merged only once";
}

TEST_F(PropertyLine, AnEmptyLineTakesTheFirstRowAsItIs)
{
    fake.packages[kPath].queries[kDefaultsQuery] = {{"A=\"x y\"  B=1"}, {"C=3"}};
    EXPECT_EQ("A=\"x y\"  B=1", package.GetPropertyLine());
}

TEST_F(PropertyLine, EveryRowAddsItsMissingDefaults)
{
    fake.packages[kPath].queries[kDefaultsQuery] = {{"A=1 B=\"two words\""}, {"B=other C=3"}, {""}};
    package.SetPropertyLine("Z=0");
    EXPECT_EQ("Z=0 A=1 B=\"two words\" C=3", package.GetPropertyLine());
}

TEST_F(PropertyLine, WithoutTheCustomTableTheLineStaysAsItIs)
{
    fake.packages[kPath].failingQueries.push_back(kDefaultsQuery);
    package.SetPropertyLine("A=1");
    EXPECT_EQ("A=1", package.GetPropertyLine());
}
