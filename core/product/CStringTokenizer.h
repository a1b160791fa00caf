#pragma once

#include <string>

// Splits a text into tokens at any of a set of delimiter characters. With
// kQuoteAware, a double-quoted part that holds spaces stays one token.
class CStringTokenizer {
public:
    enum Options { kQuoteAware = 1 };

    CStringTokenizer(const std::string& text, const std::string& delimiters, unsigned options = 0);
    // The next token; empty once the text is used up.
    virtual std::string NextToken();
    virtual ~CStringTokenizer() = default;

private:
    std::string m_delimiters;
    std::string m_remaining;
    unsigned m_options;
};
