// The split of a text into HTML parts and PHP regions as PHP's own lexer reads
// it (short tags on): in HTML, "<?php" with a blank or the end after it, "<?="
// and "<?" open a region wherever they stand; in PHP, "?>" closes the region
// unless it stands in a string of any form or a block comment or follows
// another "?" (the operator "??"), and a line
// comment ends at the line break or at a "?>", which then closes the region.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace RegionLexer {

enum Event { GAP, OPEN, CLOSE };

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

// The length of the opening tag at i ("<?" there): 5 for "<?php" (any case)
// followed by a blank or the end, else 2.
std::size_t OpenTagLength(const unsigned char* p, std::size_t i, std::size_t n);

// The end of the PHP construct that starts at i: a string of any form, a
// heredoc or nowdoc, or a block comment (to its end, or n); for a line comment
// the position of the line break or "?>" that ends it; else i + 1.
std::size_t SkipConstruct(const unsigned char* p, std::size_t i, std::size_t n);

// Walks text from byte i, in a PHP region when inPhp, and calls
// on(event, start, end) with, in order: GAP for each stretch where the lexer
// rests (in HTML, or in PHP code outside any string or comment: every
// position in [start, end] is such a rest), OPEN and CLOSE for each tag. Stops
// when on returns true or at the end of the text.
template <class F>
void Scan(std::string_view text, std::size_t i, bool inPhp, F&& on)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (;;) {
        if (!inPhp) {
            std::size_t j = i;
            for (;;) {
                const void* q = j < n ? std::memchr(p + j, '<', n - j) : nullptr;
                j = q ? static_cast<std::size_t>(static_cast<const unsigned char*>(q) - p) : n;
                if (j >= n || (j + 1 < n && p[j + 1] == '?'))
                    break;
                ++j;
            }
            if (on(GAP, i, j) || j >= n)
                return;
            const std::size_t e = j + OpenTagLength(p, j, n);
            if (on(OPEN, j, e))
                return;
            i = e;
            inPhp = true;
        } else {
            const std::size_t j = NextAmong<'\'', '"', '`', '/', '#', '?', '<'>(p, i, n);
            if (on(GAP, i, j) || j >= n)
                return;
            if (p[j] == '?') {
                if (j + 1 < n && p[j + 1] == '>') {
                    if (on(CLOSE, j, j + 2))
                        return;
                    inPhp = false;
                    i = j + 2;
                } else {
                    // "??" is one token, so "??>" closes nothing.
                    i = j + 1 < n && p[j + 1] == '?' ? j + 2 : j + 1;
                }
            } else {
                i = SkipConstruct(p, j, n);
            }
        }
    }
}

} // namespace RegionLexer
