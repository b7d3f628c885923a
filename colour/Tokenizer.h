// Table-driven tokenizer over a byte string: numbers, strings, CR LF, keywords, words.
#pragma once

#include "Token.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CTokenizer {
public:
    static constexpr std::size_t kNoBound = static_cast<std::size_t>(-1);

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

    // Tokenizes text from byte `from` (0, or where an earlier call on the same
    // text stopped) as Tokenize does, but lists at most about maxTokens tokens:
    // it stops at a token boundary and returns that byte, with no TK_END; once
    // it reaches the end it appends TK_END and returns text.size(). The lists of
    // the calls one after the other hold the tokens of Tokenize(text), so a text
    // of millions of tokens needs no list of them all.
    std::size_t TokenizePart(std::string_view text, std::size_t from, std::size_t maxTokens);

    // The token under the cursor; a TK_NONE token past the end.
    CToken Peek() const { return m_nCursor < m_listTokens.size() ? m_listTokens[m_nCursor] : CToken(); }
    // The token under the cursor, moving the cursor on; past the end a TK_NONE
    // token, and the cursor stays there.
    CToken Next() { return m_nCursor < m_listTokens.size() ? m_listTokens[m_nCursor++] : CToken(); }

    const std::vector<CKeyword>& Keywords() const { return m_arrKeywords; }
    std::span<const CToken> Tokens() const { return {m_listTokens.data(), m_listTokens.size()}; }

protected:
    // Puts the cursor on the last token (TK_END after a Tokenize).
    void SetCursorToLast() { m_nCursor = m_listTokens.empty() ? 0 : m_listTokens.size() - 1; }

private:
    // A keyword as the scanner sees it: its first bytes packed for a one-load
    // compare (head under mask), all of its bytes in m_strPool.
    struct KeywordRef {
        std::uint64_t head;
        std::uint64_t mask;
        std::uint32_t offset;
        std::uint32_t length;
        std::int32_t kind;
    };

    void RebuildDispatch();
    // The first of refs [k, end) (longest first) whose bytes equal the text at i.
    const KeywordRef* FirstEqual(const KeywordRef* k, const KeywordRef* end, const unsigned char* p,
                                 std::size_t i, std::size_t n) const;

    std::size_t m_nCursor;              // index into m_listTokens, or its size
    std::vector<CKeyword> m_arrKeywords; // longest first
    CTokenList m_listTokens;

    // Dispatch built from the table, by first byte c:
    // - m_arrAction[c]: the rule that byte c starts;
    // - m_arrKind1[c]: the token of c alone when no longer keyword matches
    //   (the one-byte keyword c, or TK_OTHER);
    // - m_arrLong[m_arrLongFirst[c] .. m_arrLongFirst[c + 1]): the keywords of
    //   two bytes or more that begin with c and are not all letters and digits,
    //   longest first; m_arrPairs has bit (c, d) set when one begins with c, d;
    // - m_arrAlnum[m_arrAlnumFirst[c] ..): the keywords of letters and digits
    //   that begin with c, longest first; m_arrAlnumLengths[c] has bit L set
    //   for each length L below 63 among them, bit 63 for the longer ones.
    std::vector<KeywordRef> m_arrLong;
    std::vector<KeywordRef> m_arrAlnum;
    std::string m_strPool;
    std::array<std::uint32_t, 257> m_arrLongFirst{};
    std::array<std::uint32_t, 257> m_arrAlnumFirst{};
    std::array<std::uint64_t, 256> m_arrAlnumLengths{};
    std::array<std::uint64_t, 256 * 256 / 64> m_arrPairs{};
    std::array<std::int32_t, 256> m_arrKind1{};
    std::array<std::uint8_t, 256> m_arrAction{};
    bool m_bDispatchStale = true;
};
