// What a name in PHP code refers to: the word at a position and what stands
// around it (-> or ::, new, a call), the type of a variable where the code
// says it ($this, a typed parameter, an assignment of new X), and the
// declarations in the index that the name may mean.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SymbolIndex.h"

namespace SymbolLookup {

struct CNameSite {
    enum class Access { None, Object, Static };
    std::string name;     // the word, without "$" (a qualified name keeps its "\")
    std::size_t start = 0;
    std::size_t end = 0;
    Access access = Access::None;
    std::string receiver; // before -> or ::: "$this", "$v", "self", "static", "parent" or a class name
    bool isVariable = false;
    bool isCall = false;  // "(" follows
    bool isType = false;  // after new, extends, implements, instanceof, use, or before "::" or a variable
};

// The name at byte pos of text (pos inside it or just after it); none when no name is there.
std::optional<CNameSite> NameAt(std::string_view text, std::size_t pos);
// The member being typed at pos after "->" or "::" (its name so far may be empty).
std::optional<CNameSite> MemberBefore(std::string_view text, std::size_t pos);

// The innermost type declared around line in outline, or null.
const CSymbol* EnclosingType(const std::vector<CSymbol>& outline, int line);
// The type that receiver names at byte pos ("$this", "self", "static",
// "parent", a variable whose type the code states, or a class name); empty when unknown.
std::string TypeOfReceiver(std::string_view text, std::size_t pos, const std::string& receiver,
                           const std::vector<CSymbol>& outline);

struct CDefinitions {
    std::vector<CSymbolRef> targets; // one: go there; more: let the user choose
    std::string builtin;             // no target: a PHP function of this name, for the reference page
};

// The declarations the name at pos of text (the file path) may mean.
CDefinitions Definitions(const CSymbolIndex& index, const QString& path, std::string_view text, std::size_t pos);

} // namespace SymbolLookup
