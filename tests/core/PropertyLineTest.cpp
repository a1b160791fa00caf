#include "CKWMsiPackage.h"
#include "FakeMsi.h"

#include <gtest/gtest.h>

namespace {

const char kPath[] = "C:\\p\\product.msi";
const char kDefaults[] = "SELECT `Value` FROM `KWSetupProperty` WHERE `Property` = 'Properties'";

// The value FindProperty locates, or "(absent)".
std::string Found(const std::string& line, const std::string& name)
{
    size_t start = 0;
    size_t end = 0;
    return FindProperty(line, name, start, end) ? line.substr(start, end - start) : "(absent)";
}

class PropertyLine : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0u, fake.OpenHandles()); }

    // The line after one SetProperty (the table has no defaults to merge).
    std::string AfterSet(const std::string& line, const std::string& name, const std::string& value)
    {
        CKWMsiPackage fresh(kPath, CKWMsiPackage::kKindInstaller);
        fresh.SetPropertyLine(line);
        fresh.SetProperty(name, value);
        return fresh.GetPropertyLine();
    }
    // The line after merging the given rows of defaults into it.
    std::string Merged(const std::string& line, const std::vector<FakeMsi::Row>& rows)
    {
        scripted.queries[kDefaults] = rows;
        CKWMsiPackage fresh(kPath, CKWMsiPackage::kKindInstaller);
        fresh.SetPropertyLine(line);
        return fresh.GetPropertyLine();
    }

    FakeMsi fake;
    FakeMsi::Package& scripted = fake.packages[kPath];
};

} // namespace

TEST(FindProperty, MendedANameMatchesOnlyAWholeAssignment)
{
    // DIR inside INSTALLDIR is no match.
    EXPECT_EQ("x", Found("INSTALLDIR=C:\\A DIR=x", "DIR"));
    EXPECT_EQ("(absent)", Found("INSTALLDIR=C:\\A", "DIR"));
    EXPECT_EQ("C:\\A", Found("INSTALLDIR=C:\\A DIR=x", "INSTALLDIR"));
    EXPECT_EQ("(absent)", Found("DIRX=1 DIR 2=3", "DIR"));
    EXPECT_EQ("1", Found("/qn  DIR=1", "DIR")) << "words without = and double spaces are passed over";
    EXPECT_EQ("z", Found("A=\"x DIR=y\" DIR=z", "DIR")) << "never inside a quoted value";
    EXPECT_EQ("\"C:\\Program Files\\X\"", Found("DIR=\"C:\\Program Files\\X\" A=1", "DIR")) << "with its quotes";
    EXPECT_EQ("\"to the end", Found("B=2 A=\"to the end", "A"));
    EXPECT_EQ("", Found("A= B=2", "A"));
    EXPECT_EQ("(absent)", Found("A=1", ""));
}

TEST_F(PropertyLine, GetPropertyReadsTheLineThenTheDatabase)
{
    scripted.queries["SELECT `Value` FROM `Property` WHERE `Property` = 'KWELC'"] = {{"1"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    package.SetPropertyLine("INSTALLDIR=\"C:\\Program Files\\X\" KWELC=0");
    EXPECT_EQ("C:\\Program Files\\X", package.GetProperty("INSTALLDIR", true, true)) << "without its quotes";
    EXPECT_EQ("0", package.GetProperty("KWELC", true, true));
    EXPECT_EQ("1", package.GetProperty("KWELC", false, true));
    EXPECT_EQ("", package.GetProperty("KWELC", false, false));
    EXPECT_EQ("", package.GetProperty("ELC", true, true));
}

TEST_F(PropertyLine, SetPropertyAppendsReplacesQuotesAndRemoves)
{
    EXPECT_EQ("A=1", AfterSet("", "A", "1"));
    EXPECT_EQ("B=2 A=1", AfterSet("B=2", "A", "1"));
    EXPECT_EQ("A=3 B=2", AfterSet("A=1 B=2", "A", "3"));
    EXPECT_EQ("INSTALLDIR=\"C:\\Program Files\\X\"", AfterSet("", "INSTALLDIR", "C:\\Program Files\\X"));
    EXPECT_EQ("A=\"a b\"", AfterSet("", "A", "\"a b"));
    EXPECT_EQ("A=\"a b\"", AfterSet("", "A", "\"a b\""));
    EXPECT_EQ("A=1", AfterSet("A=1", "", "2"));
    EXPECT_EQ("INSTALLDIR=C:\\A DIR=y", AfterSet("INSTALLDIR=C:\\A", "DIR", "y"));
    EXPECT_EQ("INSTALLDIR=C:\\A DIR=y", AfterSet("INSTALLDIR=C:\\A DIR=x", "DIR", "y"));
    // An empty value removes the assignment and the spaces after it.
    EXPECT_EQ("A=1 C=3", AfterSet("A=1 B=2  C=3", "B", ""));
    EXPECT_EQ("A=1 ", AfterSet("A=1 B=2", "B", ""));
}

TEST_F(PropertyLine, MendedAQuotedValueIsReplacedOrRemovedWithBothQuotes)
{
    EXPECT_EQ("D=\"C:\\New Folder\" A=1", AfterSet("D=\"C:\\Program Files\\X\" A=1", "D", "C:\\New Folder"));
    EXPECT_EQ("D=C:\\Y A=1", AfterSet("D=\"C:\\Program Files\\X\" A=1", "D", "C:\\Y"));
    EXPECT_EQ("A=1", AfterSet("D=\"C:\\Program Files\\X\" A=1", "D", ""));
}

TEST_F(PropertyLine, MendedAnEmptyValueForAnAbsentNameAddsNothing)
{
    EXPECT_EQ("INSTALLDIR=C:\\A", AfterSet("INSTALLDIR=C:\\A", "DIR", ""));
    EXPECT_EQ("A=1", AfterSet("A=1", "REMOVE", ""));
}

TEST_F(PropertyLine, MendedDefaultsOfTheCustomTableAreCopiedExactly)
{
    EXPECT_EQ("KWTEST=5 DIR=\"C:\\Program Files\\X\" LAST=z",
              Merged("KWTEST=5", {{"DIR=\"C:\\Program Files\\X\" KWTEST=2 LAST=z"}}))
        << "assignments on the line win; quoted defaults keep their quotes";
    EXPECT_EQ("A=\"x y\"  B=1", Merged("", {{"A=\"x y\"  B=1"}, {"C=3"}})) << "an empty line takes the first row";
    EXPECT_EQ("Z=0 A=1 B=\"two words\" C=3", Merged("Z=0", {{"A=1 B=\"two words\""}, {"B=other C=3"}, {""}}));
    scripted.failingQueries.push_back(kDefaults);
    EXPECT_EQ("A=1", Merged("A=1", {})) << "no table";
}

TEST_F(PropertyLine, DefaultsAreMergedOnlyOnce)
{
    scripted.queries[kDefaults] = {{"A=1"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    package.SetPropertyLine("B=2");
    EXPECT_EQ("B=2 A=1", package.GetPropertyLine());
    package.SetPropertyLine("C=3");
    EXPECT_EQ("C=3", package.GetPropertyLine());
}
