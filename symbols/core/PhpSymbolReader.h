// Reads the declarations of one PHP file: its HTML parts are passed over, its
// PHP regions split by the colouring engine's region lexer (strings, heredocs
// and comments as PHP reads them) and walked token by token. A file broken
// mid-way (a brace never closed, a string never ended) gives what precedes the
// break, and the walk always ends.
#pragma once

#include <string_view>
#include <vector>

#include "Symbol.h"

namespace PhpSymbolReader {

// The declarations of text in the order they stand.
std::vector<CSymbol> Read(std::string_view text);

} // namespace PhpSymbolReader
