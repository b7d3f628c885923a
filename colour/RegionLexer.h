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

#include "ByteScan.h"

namespace RegionLexer {

using ByteScan::CountOf;
using ByteScan::NextAmong;

enum Event { GAP, OPEN, CLOSE };

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
