#include "CStringTokenizer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Tokens(const std::string& text, const std::string& delimiters, unsigned options)
{
    CStringTokenizer tokenizer(text, delimiters, options);
    std::vector<std::string> tokens;
    for (std::string token = tokenizer.NextToken(); !token.empty(); token = tokenizer.NextToken())
        tokens.push_back(token);
    return tokens;
}

using List = std::vector<std::string>;

} // namespace

TEST(StringTokenizer, SplitsAtAnyDelimiterAndSkipsRuns)
{
    EXPECT_EQ((List{"a", "b", "c"}), Tokens("a b c", " ", 0));
    EXPECT_EQ((List{"a", "b", "c"}), Tokens("  a,,b ,c  ", " ,", 0));
    EXPECT_EQ((List{"only"}), Tokens("only", " ", 0));
    EXPECT_EQ(List{}, Tokens("", " ", 0));
    EXPECT_EQ(List{}, Tokens("   ", " ", 0));
}

TEST(StringTokenizer, EmptyTokenOnceUsedUp)
{
    CStringTokenizer tokenizer("x y", " ");
    EXPECT_EQ("x", tokenizer.NextToken());
    EXPECT_EQ("y", tokenizer.NextToken());
    EXPECT_EQ("", tokenizer.NextToken());
    EXPECT_EQ("", tokenizer.NextToken());
}

TEST(StringTokenizer, QuotedPartsWithSpacesStayOneToken)
{
    const std::string line = "/L \"C:\\Program Files\\Melvaro 2012\\log.txt\" /S";
    EXPECT_EQ((List{"/L", "\"C:\\Program Files\\Melvaro 2012\\log.txt\"", "/S"}),
              Tokens(line, " ", CStringTokenizer::kQuoteAware));
    EXPECT_EQ((List{"/L", "\"C:\\Program", "Files\\Melvaro", "2012\\log.txt\"", "/S"}), Tokens(line, " ", 0))
        << "without the option quotes mean nothing";
    EXPECT_EQ((List{"/D=\"a b\"", "x"}), Tokens("/D=\"a b\" x", " ", CStringTokenizer::kQuoteAware));
    EXPECT_EQ((List{"\"a b\""}), Tokens("\"a b\"", " ", CStringTokenizer::kQuoteAware));
    EXPECT_EQ((List{"\"q\"", "rest"}), Tokens("\"q\"   rest", " ", CStringTokenizer::kQuoteAware))
        << "white space after the split is dropped";
}

TEST(StringTokenizer, DeliberatelyAnUnclosedQuoteKeepsTheRestAsOneToken)
{
    EXPECT_EQ((List{"\"unclosed quote"}), Tokens("\"unclosed quote", " ", CStringTokenizer::kQuoteAware));
}
