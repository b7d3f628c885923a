// Fast scans over bytes, sixteen at a time where SSE2 is there: the next of a
// few given bytes, and how many times one byte occurs.
#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ByteScan {

// The position of the first byte at or after i that is one of Cs, or n.
template <unsigned char... Cs>
std::size_t NextAmong(const unsigned char* p, std::size_t i, std::size_t n)
{
#if defined(__SSE2__)
    while (i + 16 <= n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        __m128i hit = _mm_setzero_si128();
        ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(Cs))))), ...);
        if (const unsigned m = static_cast<unsigned>(_mm_movemask_epi8(hit)))
            return i + static_cast<std::size_t>(__builtin_ctz(m));
        i += 16;
    }
#endif
    for (; i < n; ++i) {
        const unsigned char x = p[i];
        if (((x == Cs) || ...))
            return i;
    }
    return n;
}

// How many bytes of [i, end) are c.
inline std::size_t CountOf(const unsigned char* p, std::size_t i, std::size_t end, unsigned char c)
{
    std::size_t count = 0;
#if defined(__SSE2__)
    const __m128i vc = _mm_set1_epi8(static_cast<char>(c));
    for (; i + 16 <= end; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        count += static_cast<std::size_t>(__builtin_popcount(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, vc)))));
    }
#endif
    for (; i < end; ++i)
        count += p[i] == c;
    return count;
}

} // namespace ByteScan
