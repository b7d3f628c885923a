#include "LiteralSearch.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

inline unsigned char Fold(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

// Whether bytes hold seq (2 or 3 bytes): a look at each place of its first
// byte, which memchr finds far faster than a general search would.
bool Contains(const QByteArray& bytes, const char* seq)
{
    const qsizetype n = static_cast<qsizetype>(std::strlen(seq));
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while ((p = static_cast<const char*>(std::memchr(p, seq[0], end - p))) != nullptr) {
        if (end - p >= n && std::memcmp(p, seq, n) == 0)
            return true;
        ++p;
    }
    return false;
}

inline bool IsLetter(unsigned char c)
{
    return c >= 'a' && c <= 'z';
}

} // namespace

CLiteralSearch::CLiteralSearch(const QString& text, bool matchCase) : m_bMatchCase(matchCase)
{
    if (text.isEmpty())
        return;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
            return;
    m_needle = text.toLatin1();
    if (!matchCase) {
        for (char& c : m_needle)
            c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
        m_bFoldsBeyondAscii = m_needle.contains('k') || m_needle.contains('s');
    }
    m_bUsable = true;
}

bool CLiteralSearch::MatchesAt(const unsigned char* s) const
{
    const auto* p = reinterpret_cast<const unsigned char*>(m_needle.constData());
    const qsizetype n = m_needle.size();
    if (m_bMatchCase)
        return std::memcmp(s, p, n) == 0;
    for (qsizetype k = 0; k < n; ++k)
        if (Fold(s[k]) != p[k])
            return false;
    return true;
}

qsizetype CLiteralSearch::Find(const char* data, qsizetype size, qsizetype from) const
{
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    const auto* p = reinterpret_cast<const unsigned char*>(m_needle.constData());
    const qsizetype n = m_needle.size();
    qsizetype i = from;
#ifdef __SSE2__
    // Sixteen places at a time: where the first and the last byte of the text
    // both fit (a letter's case bit set when case does not count, which lets
    // a few other bytes through for the whole comparison to turn away).
    const unsigned char first = p[0];
    const unsigned char last = p[n - 1];
    const __m128i firstByte = _mm_set1_epi8(static_cast<char>(first));
    const __m128i lastByte = _mm_set1_epi8(static_cast<char>(last));
    const __m128i firstCase = _mm_set1_epi8(!m_bMatchCase && IsLetter(first) ? 0x20 : 0);
    const __m128i lastCase = _mm_set1_epi8(!m_bMatchCase && IsLetter(last) ? 0x20 : 0);
    for (; i + n - 1 + 16 <= size; i += 16) {
        const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)), firstCase);
        const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + n - 1)), lastCase);
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, firstByte), _mm_cmpeq_epi8(b, lastByte))));
        while (mask) {
            const int bit = __builtin_ctz(mask);
            if (MatchesAt(s + i + bit))
                return i + bit;
            mask &= mask - 1;
        }
    }
#endif
    for (; i + n <= size; ++i)
        if ((m_bMatchCase ? s[i] : Fold(s[i])) == p[0] && MatchesAt(s + i))
            return i;
    return -1;
}

bool CLiteralSearch::MayMatchBeyondBytes(const QByteArray& bytes, bool validUtf8) const
{
    if (!m_bFoldsBeyondAscii)
        return false;
    if (!validUtf8)
        return true;
    return Contains(bytes, "\xE2\x84\xAA") || Contains(bytes, "\xC5\xBF");
}

qsizetype CLiteralSearch::Utf16Length(const char* data, qsizetype size)
{
    qsizetype units = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        if ((c & 0xC0) != 0x80)
            units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}
