#include "GrammarWords.h"

#include <string_view>
#include <unordered_set>

namespace GrammarWords {

namespace {

using Words = std::unordered_set<std::string_view>;

const Words& PhpWords()
{
    static const Words words = {
        "__halt_compiler", "abstract", "and", "array", "as", "break", "callable", "case", "catch", "class",
        "clone", "const", "continue", "declare", "default", "die", "do", "echo", "else", "elseif", "empty",
        "enddeclare", "endfor", "endforeach", "endif", "endswitch", "endwhile", "enum", "eval", "exit",
        "extends", "final", "finally", "fn", "for", "foreach", "function", "global", "goto", "if",
        "implements", "include", "include_once", "instanceof", "insteadof", "interface", "isset", "list",
        "match", "namespace", "new", "or", "print", "private", "protected", "public", "readonly", "require",
        "require_once", "return", "static", "switch", "throw", "trait", "try", "unset", "use", "var", "while",
        "xor", "yield", "__class__", "__dir__", "__file__", "__function__", "__line__", "__method__",
        "__namespace__", "__trait__", "int", "float", "bool", "string", "true", "false", "null", "void",
        "iterable", "object", "mixed", "never"};
    return words;
}

const Words& ScriptWords()
{
    static const Words words = {
        "async", "await", "break", "case", "catch", "class", "const", "continue", "debugger", "default",
        "delete", "do", "else", "enum", "export", "extends", "false", "finally", "for", "function", "if",
        "implements", "import", "in", "instanceof", "interface", "let", "new", "null", "of", "package",
        "private", "protected", "public", "return", "static", "super", "switch", "this", "throw", "true",
        "try", "typeof", "undefined", "var", "void", "while", "with", "yield"};
    return words;
}

std::string_view View(const unsigned char* word, std::size_t length)
{
    return {reinterpret_cast<const char*>(word), length};
}

} // namespace

bool IsPhpReserved(const unsigned char* word, std::size_t length)
{
    char lower[16];
    if (length < 2 || length > sizeof lower)
        return false;
    for (std::size_t k = 0; k < length; ++k)
        lower[k] = static_cast<char>(word[k] >= 'A' && word[k] <= 'Z' ? word[k] | 0x20 : word[k]);
    return PhpWords().count(std::string_view(lower, length)) != 0;
}

bool IsScriptKeyword(const unsigned char* word, std::size_t length)
{
    return length >= 2 && length <= 10 && ScriptWords().count(View(word, length)) != 0;
}

bool ScriptKeywordTakesOperand(const unsigned char* word, std::size_t length)
{
    static const Words words = {"return", "typeof", "instanceof", "in", "of", "new", "delete", "void",
                                "throw", "case", "do", "else", "yield", "await"};
    return words.count(View(word, length)) != 0;
}

bool ScriptKeywordTakesCondition(const unsigned char* word, std::size_t length)
{
    const std::string_view w = View(word, length);
    return w == "if" || w == "while" || w == "for" || w == "with";
}

} // namespace GrammarWords
