#include "Tokenizer.h"

#include "ByteClass.h"

#include <cstdlib>
#include <cstring>
#include <new>
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

#if defined(__SSE2__)
// Bit k set when p[k] is not an ASCII letter or digit, for the 64 bytes from p.
inline std::uint64_t NonAlnum64(const unsigned char* p)
{
    const __m128i flip = _mm_set1_epi8(0x20);
    const __m128i aMinus = _mm_set1_epi8('a' - 1), zPlus = _mm_set1_epi8('z' + 1);
    const __m128i d0Minus = _mm_set1_epi8('0' - 1), d9Plus = _mm_set1_epi8('9' + 1);
    std::uint64_t alnum = 0;
    for (int q = 0; q < 4; ++q) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * q));
        const __m128i lower = _mm_or_si128(v, flip);
        const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, aMinus), _mm_cmpgt_epi8(zPlus, lower));
        const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(v, d0Minus), _mm_cmpgt_epi8(d9Plus, v));
        alnum |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(letter, digit))))
                 << (16 * q);
    }
    return ~alnum;
}
#endif

// One past the first double quote from i on, or n without one. Strings are
// short: most end within the first sixteen bytes, without a library call.
inline std::size_t QuoteEnd(const unsigned char* p, std::size_t i, std::size_t n)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (const auto hit = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, quote))))
            return i + static_cast<std::size_t>(__builtin_ctz(hit)) + 1;
    }
#endif
    const void* q = std::memchr(p + i, '"', n - i);
    return q ? static_cast<std::size_t>(static_cast<const unsigned char*>(q) - p) + 1 : n;
}

// The eight bytes at p, in memory order from the lowest bit up.
inline std::uint64_t Load8(const unsigned char* p)
{
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The first bytes of a keyword packed as Load8 would read them, and the mask of
// the bytes that count.
std::uint64_t PackHead(std::string_view kw)
{
    std::uint64_t head = 0;
    const std::size_t len = kw.size() < 8 ? kw.size() : 8;
    std::memcpy(&head, kw.data(), len);
    return head;
}

std::uint64_t HeadMask(std::size_t length)
{
    return length >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * length)) - 1;
}

} // namespace

// What a byte starts, decided once per table.
enum Action : std::uint8_t {
    A_ONE,         // a one-byte token: the byte's keyword, or TK_OTHER
    A_SPACE,       // space or tab: skipped
    A_QUOTE,       // a string
    A_CR,          // CR LF, or else as A_OP
    A_NUMBER,      // digits and points
    A_OP,          // a keyword of two bytes or more, or else as A_ONE
    A_LETTER,      // a keyword of letters and digits, or a word
    A_LETTER_LONG, // a keyword with other bytes too, or else as A_LETTER
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
    m_arrLong.clear();
    m_arrAlnum.clear();
    m_strPool.clear();
    m_arrAlnumLengths.fill(0);
    m_arrPairs.fill(0);
    m_arrKind1.fill(TK_OTHER);
    std::array<bool, 256> kind1Set{};

    // Table order is kept within each list: longest first, and of two equal
    // keywords the earlier one.
    for (int c = 0; c < 256; ++c) {
        m_arrLongFirst[c] = static_cast<std::uint32_t>(m_arrLong.size());
        m_arrAlnumFirst[c] = static_cast<std::uint32_t>(m_arrAlnum.size());
        for (const CKeyword& kw : m_arrKeywords) {
            const std::string& t = kw.m_strText;
            if (t.empty() || static_cast<unsigned char>(t[0]) != c)
                continue;
            const KeywordRef ref{PackHead(t), HeadMask(t.size()), static_cast<std::uint32_t>(m_strPool.size()),
                                 static_cast<std::uint32_t>(t.size()), kw.m_nKind};
            if (kw.m_bAlnum) {
                // Keywords beginning with a digit are never reached: the number rule comes first.
                if (!Is(static_cast<unsigned char>(c), Letter))
                    continue;
                m_arrAlnum.push_back(ref);
                m_arrAlnumLengths[c] |= std::uint64_t{1} << (t.size() < 63 ? t.size() : 63);
            } else if (t.size() == 1) {
                if (!kind1Set[c])
                    m_arrKind1[c] = kw.m_nKind;
                kind1Set[c] = true;
                continue;
            } else {
                m_arrLong.push_back(ref);
                const std::size_t pair = static_cast<std::size_t>(c) * 256 + static_cast<unsigned char>(t[1]);
                m_arrPairs[pair >> 6] |= std::uint64_t{1} << (pair & 63);
            }
            m_strPool += t;
        }
    }
    m_arrLongFirst[256] = static_cast<std::uint32_t>(m_arrLong.size());
    m_arrAlnumFirst[256] = static_cast<std::uint32_t>(m_arrAlnum.size());

    for (int c = 0; c < 256; ++c) {
        const bool longKeywords = m_arrLongFirst[c] != m_arrLongFirst[c + 1];
        const auto b = static_cast<unsigned char>(c);
        Action a = longKeywords ? A_OP : A_ONE;
        if (b == ' ' || b == '\t')
            a = A_SPACE;
        else if (b == '"')
            a = A_QUOTE;
        else if (b == '\r')
            a = A_CR;
        else if (Is(b, Digit | Point))
            a = A_NUMBER;
        else if (Is(b, Letter))
            a = longKeywords ? A_LETTER_LONG : A_LETTER;
        m_arrAction[c] = a;
    }
}

namespace {

// Whether the length bytes at p equal kw; kept out of line so that the rare
// compares (keywords of more than eight bytes, text near its end) do not
// crowd the scan's registers.
[[gnu::noinline]] bool SameBytes(const unsigned char* p, const char* kw, std::size_t length)
{
    return std::memcmp(p, kw, length) == 0;
}

} // namespace

inline const CTokenizer::KeywordRef* CTokenizer::FirstEqual(const KeywordRef* k, const KeywordRef* end,
                                                            const unsigned char* p, std::size_t i,
                                                            std::size_t n) const
{
    const std::size_t left = n - i;
    if (left >= 8) {
        const std::uint64_t w = Load8(p + i);
        for (; k != end; ++k) {
            if ((w ^ k->head) & k->mask)
                continue;
            if (k->length <= 8 || (k->length <= left && SameBytes(p + i, m_strPool.data() + k->offset, k->length)))
                return k;
        }
        return nullptr;
    }
    for (; k != end; ++k)
        if (k->length <= left && SameBytes(p + i, m_strPool.data() + k->offset, k->length))
            return k;
    return nullptr;
}

void CTokenizer::Tokenize(std::string_view text)
{
    TokenizePart(text, 0, kNoBound);
}

std::size_t CTokenizer::TokenizePart(std::string_view text, std::size_t from, std::size_t maxTokens)
{
    if (m_bDispatchStale)
        RebuildDispatch();
    m_listTokens.SetSize(0);
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t lo = from < n ? from : n;
    std::size_t hi = n;
    // Leading white space is trimmed only at the text's start; a later call
    // resumes exactly where the scan stood.
    if (from == 0)
        while (lo < hi && Is(p[lo], EdgeSpace))
            ++lo;
    while (hi > lo && Is(p[hi - 1], EdgeSpace))
        --hi;
    // The list never holds more than this many slots while bounded: a batch of
    // the scan below stops once fewer than 4096 are left.
    const std::size_t bound = maxTokens == kNoBound ? kNoBound : maxTokens + 4097;
    auto boundedEnd = [&] {
        const std::size_t cap = m_listTokens.Capacity();
        return m_listTokens.Storage() + (cap < bound ? cap : bound);
    };

    // Tokens are written straight into the list's storage. Every step of the
    // scan consumes at least one byte and writes at most one token, so the
    // steps starting before i + room - 1 cannot overrun it (one slot is kept
    // for TK_END). Real pages hold about one token in three bytes: room for
    // one in two rarely needs to grow.
    const std::size_t first = (hi - lo) / 2 + 2;
    CToken* out = m_listTokens.Grow(0, first < bound ? first : bound);
    CToken* limit = boundedEnd();
    auto push = [&](std::int32_t kind, std::size_t s, std::size_t e) {
        ::new (static_cast<void*>(out)) CToken(kind, static_cast<std::int32_t>(s), static_cast<std::int32_t>(e));
        ++out;
    };
    auto pairs = [this](unsigned char c, unsigned char d) {
        const std::size_t pair = static_cast<std::size_t>(c) * 256 + d;
        return (m_arrPairs[pair >> 6] >> (pair & 63)) & 1;
    };

#if defined(__SSE2__)
    // Bit k of winStops: text[winBase + k] is not a letter or digit, for
    // winBase <= winBase + k < winEnd.
    std::size_t winBase = 0;
    std::size_t winEnd = 0;
    std::uint64_t winStops = 0;
#endif

    std::size_t i = lo;
    while (i < hi) {
        auto room = static_cast<std::size_t>(limit - out);
        if (room <= hi - i && room < 4096) {
            const auto used = static_cast<std::size_t>(out - m_listTokens.Storage());
            if (used >= maxTokens) {
                m_listTokens.SetSize(used);
                m_nCursor = 0;
                return i;
            }
            const std::size_t want = 2 * m_listTokens.Capacity() + 4096;
            out = m_listTokens.Grow(used, want < bound ? want : bound) + used;
            limit = boundedEnd();
            room = static_cast<std::size_t>(limit - out);
        }
        const std::size_t stop = room - 1 < hi - i ? i + room - 1 : hi;
        while (i < stop) {
            unsigned char c = p[i];
            // Spaces between tokens are skipped here rather than through the
            // dispatch below: one test instead of an indirect jump. The byte
            // before hi is not white space, so a run of spaces or tabs from
            // i < hi ends before hi and needs no bound of its own.
            if (c == ' ') {
                do
                    ++i;
                while (p[i] == ' ');
                c = p[i];
            }
            switch (m_arrAction[c] & 7) { // every action is below 8
            case A_SPACE:
                ++i;
                while (p[i] == ' ' || p[i] == '\t')
                    ++i;
                continue;
            case A_ONE:
                push(m_arrKind1[c], i, i + 1);
                ++i;
                continue;
            case A_QUOTE: {
                const std::size_t e = QuoteEnd(p, i + 1, n);
                push(TK_STRING, i, e);
                i = e;
                continue;
            }
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
            case A_CR:
                if (i + 1 < n && p[i + 1] == '\n') {
                    push(TK_NEWLINE, i, i + 2);
                    i += 2;
                    continue;
                }
                [[fallthrough]];
            case A_OP:
                // Most operator bytes stand alone: the pair test rules out the
                // longer keywords without comparing them.
                if (i + 1 < n && pairs(c, p[i + 1])) {
                    if (const KeywordRef* kw = FirstEqual(m_arrLong.data() + m_arrLongFirst[c],
                                                          m_arrLong.data() + m_arrLongFirst[c + 1], p, i, n)) {
                        push(kw->kind, i, i + kw->length);
                        i += kw->length;
                        continue;
                    }
                }
                push(m_arrKind1[c], i, i + 1);
                ++i;
                continue;
            case A_LETTER_LONG:
                // A keyword with bytes other than letters and digits that matches
                // is longer than the run of letters and digits at i, so it comes
                // first in the longest-first order.
                if (i + 1 < n && pairs(c, p[i + 1])) {
                    if (const KeywordRef* kw = FirstEqual(m_arrLong.data() + m_arrLongFirst[c],
                                                          m_arrLong.data() + m_arrLongFirst[c + 1], p, i, n)) {
                        push(kw->kind, i, i + kw->length);
                        i += kw->length;
                        continue;
                    }
                }
                [[fallthrough]];
            case A_LETTER: {
                // A keyword of letters and digits passes the word-boundary test
                // only when it spans the whole run of letters and digits at i, so
                // only the keywords of exactly that length are compared.
                std::size_t alnumEnd;
#if defined(__SSE2__)
                // Runs are found in a window of 64 classified bytes, refilled when
                // a word starts past it: a shift and a bit scan per word.
                const std::size_t j = i + 1;
                if (j >= winEnd && j + 64 <= n) {
                    winBase = j;
                    winEnd = j + 64;
                    winStops = NonAlnum64(p + j);
                }
                if (j < winEnd) {
                    const std::uint64_t stops = winStops >> (j - winBase);
                    alnumEnd = stops ? j + static_cast<std::size_t>(__builtin_ctzll(stops))
                                     : WordEnd(p, winEnd, n, false);
                } else {
                    alnumEnd = WordEnd(p, j, n, false);
                }
#else
                alnumEnd = WordEnd(p, i + 1, n, false);
#endif
                const std::size_t len = alnumEnd - i;
                if ((m_arrAlnumLengths[c] >> (len < 63 ? len : 63)) & 1) {
                    const KeywordRef* k = m_arrAlnum.data() + m_arrAlnumFirst[c];
                    const KeywordRef* end = m_arrAlnum.data() + m_arrAlnumFirst[c + 1];
                    while (k != end && k->length > len)
                        ++k;
                    const KeywordRef* same = k;
                    while (same != end && same->length == len)
                        ++same;
                    if (const KeywordRef* kw = FirstEqual(k, same, p, i, n)) {
                        push(kw->kind, i, alnumEnd);
                        i = alnumEnd;
                        continue;
                    }
                }
                const std::size_t e =
                    alnumEnd < n && p[alnumEnd] == '_' ? WordEnd(p, alnumEnd + 1, n, true) : alnumEnd;
                push(TK_IDENTIFIER, i, e);
                i = e;
                continue;
            }
            }
        }
    }
    if (out == limit) {
        const auto used = static_cast<std::size_t>(out - m_listTokens.Storage());
        out = m_listTokens.Grow(used, used + 1) + used;
    }
    push(TK_END, n, n);
    m_listTokens.SetSize(static_cast<std::size_t>(out - m_listTokens.Storage()));
    m_nCursor = 0;
    return n;
}
