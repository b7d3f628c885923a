// The reserved words the grammar colouring puts in the keyword slot: PHP's
// (any case) and JavaScript's (as written).
#pragma once

#include <cstddef>

namespace GrammarWords {

// A keyword, a compile-time constant or another word PHP 8.2 reserves.
bool IsPhpReserved(const unsigned char* word, std::size_t length);
// A reserved word or literal of JavaScript, or a word that acts as one.
bool IsScriptKeyword(const unsigned char* word, std::size_t length);
// A JavaScript keyword after which a "/" starts a regular expression.
bool ScriptKeywordTakesOperand(const unsigned char* word, std::size_t length);
// "if", "while", "for" or "with": a "/" after the ")" of its condition starts
// a regular expression.
bool ScriptKeywordTakesCondition(const unsigned char* word, std::size_t length);

} // namespace GrammarWords
