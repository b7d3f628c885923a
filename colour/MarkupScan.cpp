#include "MarkupScan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace MarkupScan {

std::size_t NextOf(const unsigned char* p, std::size_t i, std::size_t n, unsigned char a, unsigned char b,
                   unsigned char c, unsigned char d, unsigned char e)
{
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(static_cast<char>(a)), vb = _mm_set1_epi8(static_cast<char>(b));
    const __m128i vc = _mm_set1_epi8(static_cast<char>(c)), vd = _mm_set1_epi8(static_cast<char>(d));
    const __m128i ve = _mm_set1_epi8(static_cast<char>(e));
    while (i + 16 <= n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)),
                         _mm_or_si128(_mm_cmpeq_epi8(v, vc), _mm_cmpeq_epi8(v, vd))),
            _mm_cmpeq_epi8(v, ve));
        if (const unsigned m = static_cast<unsigned>(_mm_movemask_epi8(hit)))
            return i + static_cast<std::size_t>(__builtin_ctz(m));
        i += 16;
    }
#endif
    for (; i < n; ++i) {
        const unsigned char x = p[i];
        if (x == a || x == b || x == c || x == d || x == e)
            return i;
    }
    return n;
}

} // namespace MarkupScan
