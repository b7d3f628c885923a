// One declaration found in a PHP file: what it is, where it stands, and what
// it says of itself (parameters, return type, the first line of its doc comment).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class SymbolKind : std::uint8_t {
    Namespace,
    Class,
    Interface,
    Trait,
    Enum,
    Function,      // a function outside any class (at any depth of code)
    Method,
    Property,
    ClassConstant, // const in a class, interface, trait or enum
    EnumCase,
    Constant,      // global const, or define()
    Count
};

struct CSymbol {
    std::string name;        // as written, without namespace
    std::string scope;       // the class, interface, trait or enum of a member; empty otherwise
    std::string nameSpace;   // the namespace the declaration stands in
    std::string params;      // the parameter list as written, blanks folded; functions and methods
    std::string returnType;  // as written after ":", or empty
    std::string doc;         // the first line of the doc comment, or empty
    std::string parent;      // a class's "extends" name, as written
    int line = 0;            // from 1
    int endLine = 0;         // the line of the closing brace (types and functions), else line
    SymbolKind kind = SymbolKind::Function;
    bool isStatic = false;

    bool IsType() const
    {
        return kind == SymbolKind::Class || kind == SymbolKind::Interface || kind == SymbolKind::Trait ||
               kind == SymbolKind::Enum;
    }
    bool IsMember() const { return !scope.empty(); }
    bool operator==(const CSymbol&) const = default;
};

namespace SymbolKinds {
// "class", "function", ...: a stable ASCII name (cache, tools, tests).
std::string_view Name(SymbolKind kind);
// The kind named so, or SymbolKind::Count.
SymbolKind FromName(std::string_view name);
// The text shown to the user for the kind ("类", "函数", ...).
const char* DisplayName(SymbolKind kind);
} // namespace SymbolKinds
