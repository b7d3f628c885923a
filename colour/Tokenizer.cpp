#include "Tokenizer.h"

#include "ByteClass.h"

#include <cstdlib>
#include <cstring>
#include <string>

using namespace ByteClass;

namespace {

// Fraction digits beyond which a double may underflow to zero; past this the
// C library decides, so that a run is zero exactly when atof reads zero.
constexpr std::size_t kSafeFractionDigits = 300;

// The kind of a run of digits and points [p, p + len) holding at least one
// point: TK_REAL when its value, read as atof reads it (digits, one point, the
// digits after it), is non-zero, TK_OTHER otherwise.
std::int32_t KindOfPointedRun(const unsigned char* p, std::size_t len)
{
    bool afterPoint = false;
    std::size_t fraction = 0;
    for (std::size_t k = 0; k < len; ++k) {
        const unsigned char c = p[k];
        if (c == '.') {
            if (afterPoint)
                break; // atof stops at the second point
            afterPoint = true;
            continue;
        }
        if (afterPoint)
            ++fraction;
        if (c != '0') {
            if (!afterPoint || fraction <= kSafeFractionDigits)
                return TK_REAL;
            const std::string run(reinterpret_cast<const char*>(p), len);
            return std::atof(run.c_str()) != 0.0 ? TK_REAL : TK_OTHER;
        }
    }
    return TK_OTHER;
}

} // namespace

CTokenizer::CTokenizer() : m_nCursor(0) {}

CTokenizer::~CTokenizer() = default;

void CTokenizer::AddKeyword(std::string_view text, std::int32_t kind)
{
    auto pos = m_arrKeywords.begin();
    while (pos != m_arrKeywords.end() && pos->m_strText.size() >= text.size())
        ++pos;
    m_arrKeywords.insert(pos, CKeyword(std::string(text), kind));
    RebuildDispatch();
}

void CTokenizer::RebuildDispatch()
{
    for (auto& list : m_arrByFirstByte)
        list.clear();
    for (std::size_t k = 0; k < m_arrKeywords.size(); ++k) {
        const std::string& t = m_arrKeywords[k].m_strText;
        if (!t.empty())
            m_arrByFirstByte[static_cast<unsigned char>(t[0])].push_back(static_cast<std::uint16_t>(k));
    }
}

// Finds the first keyword, longest first, that equals the text at i and passes
// the word-boundary test. alnumEnd is the end of the run of letters and digits
// starting at i (i itself when text[i] is neither).
bool CTokenizer::MatchKeyword(std::string_view text, std::size_t i, std::size_t alnumEnd,
                              const CKeyword*& found) const
{
    const auto& candidates = m_arrByFirstByte[static_cast<unsigned char>(text[i])];
    const std::size_t left = text.size() - i;
    for (std::uint16_t k : candidates) {
        const CKeyword& kw = m_arrKeywords[k];
        const std::size_t len = kw.m_strText.size();
        if (len > left)
            continue;
        // A keyword of letters and digits followed by a letter or digit is the
        // start of a longer word: it matches only when it spans the whole run.
        if (kw.m_bAlnum && len != alnumEnd - i)
            continue;
        if (std::memcmp(text.data() + i, kw.m_strText.data(), len) == 0) {
            found = &kw;
            return true;
        }
    }
    return false;
}

void CTokenizer::Tokenize(std::string_view text)
{
    m_listTokens.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t lo = 0;
    std::size_t hi = n;
    while (lo < hi && Is(p[lo], EdgeSpace))
        ++lo;
    while (hi > lo && Is(p[hi - 1], EdgeSpace))
        --hi;
    if (m_listTokens.capacity() < (hi - lo) / 4)
        m_listTokens.reserve((hi - lo) / 4);

    auto push = [this](std::int32_t kind, std::size_t s, std::size_t e) {
        m_listTokens.emplace_back(kind, static_cast<std::int32_t>(s), static_cast<std::int32_t>(e));
    };

    std::size_t i = lo;
    while (i < hi) {
        const unsigned char c = p[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        if (c == '"') {
            const void* q = std::memchr(p + i + 1, '"', n - i - 1);
            const std::size_t e = q ? static_cast<std::size_t>(static_cast<const unsigned char*>(q) - p) + 1 : n;
            push(TK_STRING, i, e);
            i = e;
            continue;
        }
        if (c == '\r' && i + 1 < n && p[i + 1] == '\n') {
            push(TK_NEWLINE, i, i + 2);
            i += 2;
            continue;
        }
        if (Is(c, Digit | Point)) {
            std::size_t e = i + 1;
            bool point = (c == '.');
            while (e < n && Is(p[e], Digit | Point)) {
                point = point || p[e] == '.';
                ++e;
            }
            push(point ? KindOfPointedRun(p + i, e - i) : TK_INTEGER, i, e);
            i = e;
            continue;
        }
        const bool letter = Is(c, Letter);
        std::size_t alnumEnd = i;
        if (letter) {
            alnumEnd = i + 1;
            while (alnumEnd < n && IsAlnum(p[alnumEnd]))
                ++alnumEnd;
        }
        if (!m_arrByFirstByte[c].empty()) {
            const CKeyword* kw = nullptr;
            if (MatchKeyword(text, i, alnumEnd, kw)) {
                const std::size_t e = i + kw->m_strText.size();
                push(kw->m_nKind, i, e);
                i = e;
                continue;
            }
        }
        if (letter) {
            std::size_t e = alnumEnd;
            while (e < n && Is(p[e], Letter | Digit | Underscore))
                ++e;
            push(TK_IDENTIFIER, i, e);
            i = e;
            continue;
        }
        push(TK_OTHER, i, i + 1);
        ++i;
    }
    push(TK_END, n, n);
    m_nCursor = 0;
}

CToken CTokenizer::Peek() const
{
    if (m_nCursor < m_listTokens.size())
        return m_listTokens[m_nCursor];
    return CToken();
}

CToken CTokenizer::Next()
{
    if (m_nCursor < m_listTokens.size())
        return m_listTokens[m_nCursor++];
    return CToken();
}
