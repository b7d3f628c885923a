// Table-driven tokenizer over a byte string: numbers, strings, CR LF, keywords, words.
#pragma once

#include "Token.h"

#include <array>
#include <cstdint>
#include <string>
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
    CToken Peek() const { return m_nCursor < m_listTokens.size() ? m_listTokens[m_nCursor] : CToken(); }
    // The token under the cursor, moving the cursor on; past the end a TK_NONE
    // token, and the cursor stays there.
    CToken Next() { return m_nCursor < m_listTokens.size() ? m_listTokens[m_nCursor++] : CToken(); }

    const std::vector<CKeyword>& Keywords() const { return m_arrKeywords; }
    const std::vector<CToken>& Tokens() const { return m_listTokens; }

protected:
    // Puts the cursor on the last token (TK_END after a Tokenize).
    void SetCursorToLast() { m_nCursor = m_listTokens.empty() ? 0 : m_listTokens.size() - 1; }

private:
    // A keyword as the scanner sees it: its bytes in m_strPool.
    struct KeywordRef {
        std::uint32_t offset;
        std::uint32_t length;
        std::int32_t kind;
        bool alnum;
    };

    void RebuildDispatch();
    const KeywordRef* MatchKeyword(const unsigned char* p, std::size_t i, std::size_t n,
                                   std::size_t alnumEnd) const;

    std::size_t m_nCursor;              // index into m_listTokens, or its size
    std::vector<CKeyword> m_arrKeywords; // longest first
    std::vector<CToken> m_listTokens;

    // First-byte dispatch built from the table: the keywords beginning with byte
    // c are m_arrRefs[m_arrFirst[c] .. m_arrFirst[c + 1]), in the table's order
    // (longest first); m_arrAction[c] is the rule that byte c starts.
    std::vector<KeywordRef> m_arrRefs;
    std::string m_strPool;
    std::array<std::uint32_t, 257> m_arrFirst{};
    std::array<std::uint8_t, 256> m_arrAction{};
    bool m_bDispatchStale = true;
};
