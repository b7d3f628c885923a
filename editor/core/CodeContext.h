// What the text around a position is: PHP code, HTML, the CSS of a <style>
// element or the script of a <script> element, and which HTML element is
// open there. PHP regions are told from HTML as PHP's own lexer reads them;
// the HTML parts (PHP regions left out) are walked for tags, comments and
// the raw text of script and style elements.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace CodeContext {

enum class Lang { Html, Php, Css, Script };

// The language at each of positions (ascending byte offsets into text). An
// end tag of a script or style element counts as HTML, the "<?php" that
// opens a region and the "?>" that closes it as PHP.
std::vector<Lang> LanguagesAt(std::string_view text, const std::vector<std::size_t>& positions);

// The name (lower case) of the innermost element open at pos in the HTML
// text before it; empty in PHP code, inside a tag or a comment, or with no
// element open.
std::string OpenElementAt(std::string_view text, std::size_t pos);

} // namespace CodeContext
