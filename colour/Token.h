// Token kinds, tokens and keyword-table entries shared by every tokenizer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Built-in kinds; each tokenizer numbers its own keywords from TK_FIRST_KEYWORD up.
enum TokenKind : std::int32_t {
    TK_NONE = 0,       // returned when the cursor is past the end
    TK_IDENTIFIER = 1, // a letter followed by letters, digits and underscores
    TK_INTEGER = 2,    // a run of digits
    TK_REAL = 3,       // digits and points with at least one point, non-zero value
    TK_STRING = 4,     // a double-quoted string, quotes included
    TK_OTHER = 5,      // any other single byte; also a zero-valued run of digits and points
    TK_NEWLINE = 6,    // the pair CR LF
    TK_END = 7,        // appended after the last token of every text
    TK_FIRST_KEYWORD = 8
};

// One token: its kind and the byte range [m_nStart, m_nEnd) of the tokenized text.
// A plain value (no virtual members) so that token lists stay compact.
class CToken {
public:
    CToken() = default;
    CToken(std::int32_t kind, std::int32_t start, std::int32_t end)
        : m_nKind(kind), m_nStart(start), m_nEnd(end) {}

    std::int32_t m_nKind = TK_NONE;
    std::int32_t m_nStart = 0;
    std::int32_t m_nEnd = 0;
};

// One keyword-table entry: an ASCII byte string and the kind a match produces.
class CKeyword {
public:
    CKeyword(std::string text, std::int32_t kind);

    std::string m_strText;
    std::int32_t m_nKind;
    // True when every byte is an ASCII letter or digit: only such keywords are
    // subject to the word-boundary test.
    bool m_bAlnum;
};

// The tokenizer's token list: a growable array whose spare capacity is left
// uninitialised, so that the scanner can write tokens straight into it and
// set the count once at the end.
class CTokenList {
public:
    CTokenList() = default;
    ~CTokenList();
    CTokenList(const CTokenList&) = delete;
    CTokenList& operator=(const CTokenList&) = delete;

    const CToken* data() const { return m_pTokens; }
    const CToken* begin() const { return m_pTokens; }
    const CToken* end() const { return m_pTokens + m_nSize; }
    std::size_t size() const { return m_nSize; }
    bool empty() const { return m_nSize == 0; }
    const CToken& operator[](std::size_t k) const { return m_pTokens[k]; }

    std::size_t Capacity() const { return m_nCapacity; }
    // Room for at least capacity tokens, keeping the first kept ones; returns
    // the storage (its first kept slots hold those tokens).
    CToken* Grow(std::size_t kept, std::size_t capacity);
    // The storage; slots from size() on are raw until written.
    CToken* Storage() { return m_pTokens; }
    // The first n slots of the storage hold tokens.
    void SetSize(std::size_t n) { m_nSize = n; }

private:
    CToken* m_pTokens = nullptr;
    std::size_t m_nSize = 0;
    std::size_t m_nCapacity = 0;
};
