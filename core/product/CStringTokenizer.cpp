#include "CStringTokenizer.h"

#include <algorithm>

namespace {

const char kWhiteSpace[] = " \t\r\n";

} // namespace

CStringTokenizer::CStringTokenizer(const std::string& text, const std::string& delimiters, unsigned options)
    : m_delimiters(delimiters), m_remaining(text), m_options(options)
{
}

std::string CStringTokenizer::NextToken()
{
    if (m_remaining.empty())
        return std::string();
    m_remaining.erase(0, std::min(m_remaining.find_first_not_of(m_delimiters), m_remaining.size()));
    size_t split = m_remaining.find_first_of(m_delimiters);
    if (split == std::string::npos) {
        std::string token;
        token.swap(m_remaining);
        return token;
    }
    if ((m_options & kQuoteAware) != 0 && m_remaining[split] == ' ') {
        size_t openQuote = m_remaining.find('"');
        if (openQuote < split) {
            size_t closeQuote = m_remaining.find('"', openQuote + 1);
            // An unclosed quote keeps the rest of the text together.
            split = closeQuote == std::string::npos ? m_remaining.size() : closeQuote + 1;
        }
    }
    std::string token = m_remaining.substr(0, split);
    m_remaining.erase(0, std::min(split + 1, m_remaining.size()));
    m_remaining.erase(0, std::min(m_remaining.find_first_not_of(kWhiteSpace), m_remaining.size()));
    return token;
}
