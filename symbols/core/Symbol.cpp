#include "Symbol.h"

namespace {
struct KindNames {
    std::string_view ascii;
    const char* display;
};
constexpr KindNames kNames[] = {
    {"namespace", "命名空间"}, {"class", "类"},       {"interface", "接口"}, {"trait", "特性"},
    {"enum", "枚举"},          {"function", "函数"},  {"method", "方法"},    {"property", "属性"},
    {"classconst", "类常量"},  {"enumcase", "枚举项"}, {"constant", "常量"},
};
static_assert(std::size(kNames) == std::size_t(SymbolKind::Count));
} // namespace

namespace SymbolKinds {

std::string_view Name(SymbolKind kind)
{
    return kind < SymbolKind::Count ? kNames[std::size_t(kind)].ascii : std::string_view();
}

SymbolKind FromName(std::string_view name)
{
    for (std::size_t k = 0; k < std::size(kNames); ++k)
        if (kNames[k].ascii == name)
            return SymbolKind(k);
    return SymbolKind::Count;
}

const char* DisplayName(SymbolKind kind)
{
    return kind < SymbolKind::Count ? kNames[std::size_t(kind)].display : "";
}

} // namespace SymbolKinds
