// Table-driven tokenizer over a byte string: numbers, strings, CR LF, keywords, words.
#pragma once

#include "Token.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

class CTokenizer {
public:
    CTokenizer();
    virtual ~CTokenizer();
    CTokenizer(const CTokenizer&) = delete;
    CTokenizer& operator=(const CTokenizer&) = delete;

    // Inserts a keyword, keeping longer keywords before shorter ones (a keyword
    // joins the end of the keywords of its own length).
    void AddKeyword(std::string_view text, std::int32_t kind);

    // Discards the previous tokens, tokenizes text, appends TK_END and puts the
    // cursor on the first token. Token positions are byte indices into text;
    // text is not kept.
    void Tokenize(std::string_view text);

    // The token under the cursor; a TK_NONE token past the end.
    CToken Peek() const;
    // The token under the cursor, moving the cursor on; past the end a TK_NONE
    // token, and the cursor stays there.
    CToken Next();

    const std::vector<CKeyword>& Keywords() const { return m_arrKeywords; }
    const std::vector<CToken>& Tokens() const { return m_listTokens; }

private:
    void RebuildDispatch();
    bool MatchKeyword(std::string_view text, std::size_t i, std::size_t alnumEnd,
                      const CKeyword*& found) const;

    std::size_t m_nCursor;              // index into m_listTokens, or its size
    std::vector<CKeyword> m_arrKeywords; // longest first
    std::vector<CToken> m_listTokens;

    // First-byte dispatch: for every byte, the indices into m_arrKeywords of the
    // keywords that begin with it, longest first. Built from the table, so the
    // search order is the table's order.
    std::array<std::vector<std::uint16_t>, 256> m_arrByFirstByte;
};
