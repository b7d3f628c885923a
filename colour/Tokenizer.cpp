#include "Tokenizer.h"

#include "ByteClass.h"

#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The end of the run of bytes from i on that are letters or digits (and
// underscores when withUnderscore), at most n. Sixteen bytes at a time where
// the text allows: words end at unpredictable places, and one mask test per
// word is cheaper than a mispredicted branch per byte.
inline std::size_t WordEnd(const unsigned char* p, std::size_t i, std::size_t n, bool withUnderscore)
{
#if defined(__SSE2__)
    const __m128i flip = _mm_set1_epi8(0x20);
    const __m128i aMinus = _mm_set1_epi8('a' - 1), zPlus = _mm_set1_epi8('z' + 1);
    const __m128i d0Minus = _mm_set1_epi8('0' - 1), d9Plus = _mm_set1_epi8('9' + 1);
    const __m128i under = _mm_set1_epi8(withUnderscore ? '_' : 0);
    while (i + 16 <= n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        // Signed compares: bytes of 0x80 and above are negative and never match.
        const __m128i lower = _mm_or_si128(v, flip);
        const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, aMinus), _mm_cmpgt_epi8(zPlus, lower));
        const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(v, d0Minus), _mm_cmpgt_epi8(d9Plus, v));
        __m128i word = _mm_or_si128(letter, digit);
        if (withUnderscore)
            word = _mm_or_si128(word, _mm_cmpeq_epi8(v, under));
        const unsigned stop = ~static_cast<unsigned>(_mm_movemask_epi8(word)) & 0xFFFFu;
        if (stop)
            return i + static_cast<std::size_t>(__builtin_ctz(stop));
        i += 16;
    }
#endif
    const std::uint8_t mask = withUnderscore ? (Letter | Digit | Underscore) : (Letter | Digit);
    while (i < n && Is(p[i], mask))
        ++i;
    return i;
}

} // namespace

// What a byte starts, decided once per table.
enum Action : std::uint8_t {
    A_OTHER,      // one TK_OTHER byte
    A_SPACE,      // space or tab: skipped
    A_QUOTE,      // a string
    A_CR,         // CR LF, or else as the byte's keywords or an other byte
    A_NUMBER,     // digits and points
    A_LETTER,     // a word; no keyword begins with this letter
    A_LETTER_KW,  // a keyword or a word
    A_KEYWORD,    // a keyword or an other byte
    A_SINGLE,     // the byte's only keyword is the byte itself ("$", "@")
};

CTokenizer::CTokenizer() : m_nCursor(0)
{
    RebuildDispatch();
}

CTokenizer::~CTokenizer() = default;

void CTokenizer::AddKeyword(std::string_view text, std::int32_t kind)
{
    auto pos = m_arrKeywords.begin();
    while (pos != m_arrKeywords.end() && pos->m_strText.size() >= text.size())
        ++pos;
    m_arrKeywords.insert(pos, CKeyword(std::string(text), kind));
    m_bDispatchStale = true; // rebuilt once, by the next Tokenize
}

void CTokenizer::RebuildDispatch()
{
    m_bDispatchStale = false;
    m_arrRefs.clear();
    m_strPool.clear();
    for (int c = 0; c < 256; ++c) {
        m_arrFirst[c] = static_cast<std::uint32_t>(m_arrRefs.size());
        for (const CKeyword& kw : m_arrKeywords) {
            if (kw.m_strText.empty() || static_cast<unsigned char>(kw.m_strText[0]) != c)
                continue;
            m_arrRefs.push_back({static_cast<std::uint32_t>(m_strPool.size()),
                                 static_cast<std::uint32_t>(kw.m_strText.size()), kw.m_nKind, kw.m_bAlnum});
            m_strPool += kw.m_strText;
        }
    }
    m_arrFirst[256] = static_cast<std::uint32_t>(m_arrRefs.size());

    for (int c = 0; c < 256; ++c) {
        const bool keywords = m_arrFirst[c] != m_arrFirst[c + 1];
        const auto b = static_cast<unsigned char>(c);
        Action a = keywords ? A_KEYWORD : A_OTHER;
        if (b == ' ' || b == '\t')
            a = A_SPACE;
        else if (b == '"')
            a = A_QUOTE;
        else if (b == '\r')
            a = A_CR;
        else if (Is(b, Digit | Point))
            a = A_NUMBER;
        else if (Is(b, Letter))
            a = keywords ? A_LETTER_KW : A_LETTER;
        else if (m_arrFirst[c + 1] - m_arrFirst[c] == 1 && m_arrRefs[m_arrFirst[c]].length == 1)
            a = A_SINGLE;
        m_arrAction[c] = a;
    }
}

// The first keyword, longest first, that equals the text at i and passes the
// word-boundary test; alnumEnd is the end of the run of letters and digits
// starting at i (i itself when p[i] is neither).
inline const CTokenizer::KeywordRef* CTokenizer::MatchKeyword(const unsigned char* p, std::size_t i, std::size_t n,
                                                       std::size_t alnumEnd) const
{
    const std::size_t left = n - i;
    const auto* pool = reinterpret_cast<const unsigned char*>(m_strPool.data());
    const KeywordRef* end = m_arrRefs.data() + m_arrFirst[p[i] + 1];
    for (const KeywordRef* k = m_arrRefs.data() + m_arrFirst[p[i]]; k != end; ++k) {
        if (k->length > left)
            continue;
        // A keyword of letters and digits followed by a letter or digit is the
        // start of a longer word: it matches only when it spans the whole run.
        if (k->alnum && k->length != alnumEnd - i)
            continue;
        const unsigned char* kw = pool + k->offset;
        std::size_t j = 1; // the first byte chose the list
        while (j < k->length && kw[j] == p[i + j])
            ++j;
        if (j == k->length)
            return k;
    }
    return nullptr;
}

void CTokenizer::Tokenize(std::string_view text)
{
    if (m_bDispatchStale)
        RebuildDispatch();
    m_listTokens.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t lo = 0;
    std::size_t hi = n;
    while (lo < hi && Is(p[lo], EdgeSpace))
        ++lo;
    while (hi > lo && Is(p[hi - 1], EdgeSpace))
        --hi;
    // About one token in three bytes of real pages; reserving avoids most regrowth.
    if (m_listTokens.capacity() < (hi - lo) / 2 + 1)
        m_listTokens.reserve((hi - lo) / 2 + 1);

    auto push = [this](std::int32_t kind, std::size_t s, std::size_t e) {
        m_listTokens.emplace_back(kind, static_cast<std::int32_t>(s), static_cast<std::int32_t>(e));
    };

    std::size_t i = lo;
    while (i < hi) {
        unsigned char c = p[i];
        // Spaces between tokens are skipped here rather than through the
        // dispatch below: one well-predicted test instead of an indirect jump.
        if (c == ' ') {
            do
                ++i;
            while (i < hi && p[i] == ' ');
            if (i >= hi)
                break;
            c = p[i];
        }
        std::size_t alnumEnd = i;
        switch (m_arrAction[c]) {
        case A_SPACE:
            ++i;
            while (i < hi && (p[i] == ' ' || p[i] == '\t'))
                ++i;
            continue;
        case A_SINGLE:
            push(m_arrRefs[m_arrFirst[c]].kind, i, i + 1);
            ++i;
            continue;
        case A_QUOTE: {
            const void* q = std::memchr(p + i + 1, '"', n - i - 1);
            const std::size_t e =
                q ? static_cast<std::size_t>(static_cast<const unsigned char*>(q) - p) + 1 : n;
            push(TK_STRING, i, e);
            i = e;
            continue;
        }
        case A_CR:
            if (i + 1 < n && p[i + 1] == '\n') {
                push(TK_NEWLINE, i, i + 2);
                i += 2;
                continue;
            }
            break; // as the byte's keywords, or an other byte
        case A_NUMBER: {
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
        case A_LETTER: {
            const std::size_t e = WordEnd(p, i + 1, n, true);
            push(TK_IDENTIFIER, i, e);
            i = e;
            continue;
        }
        case A_LETTER_KW:
            alnumEnd = WordEnd(p, i + 1, n, false);
            break;
        default:
            break;
        }
        // A keyword, else a word for a letter, else one other byte.
        if (m_arrFirst[c] != m_arrFirst[c + 1]) {
            if (const KeywordRef* kw = MatchKeyword(p, i, n, alnumEnd)) {
                push(kw->kind, i, i + kw->length);
                i += kw->length;
                continue;
            }
        }
        if (alnumEnd > i) {
            const std::size_t e = WordEnd(p, alnumEnd, n, true);
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
