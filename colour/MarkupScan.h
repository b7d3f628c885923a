// Fast scans for the HTML colourer: they report exactly the tokens it acts on
// (its keywords and double-quoted strings), as the table-driven tokenizer would
// produce them, without building the other tokens.
//
// This is exact because of the table: every keyword is made of bytes that
// no word, number or CR LF token can hold, so outside strings and keywords each
// such byte starts a token of its own; white space at the ends of a text is
// never one of them.
#pragma once

#include <cstdint>
#include <string_view>

namespace MarkupScan {

// Calls found(kind, start, end) for every "<" (8), ">" (9), "/>" (10), "=" (11)
// and double-quoted string (TK_STRING) of text, in order.
template <class F>
void HtmlTokens(std::string_view text, F&& found);

} // namespace MarkupScan

#include "MarkupScan.inl"
