// Matching a typed filter against symbol names, as 查找符号 and the filter
// boxes do: by substring and by the initials or first letters of the words of
// a name ("gtp" finds get_the_post, "tplcont" tpl_content), with a score that
// puts the best matches first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace SymbolMatch {

// Above 0 when name matches filter (an empty filter matches everything with
// 1); higher is better: the whole name, then a prefix or the starts of its
// first words one after the other ("tplcont": tpl_content), then a substring
// at the start of a word, then anywhere, then the starts of words with others
// between. Letter case is ignored.
int Score(std::string_view name, std::string_view filter);

// The same with the lower-case forms of both given (for many names, one filter).
int ScoreLower(std::string_view name, std::string_view lowerName, std::string_view lowerFilter);

std::string Lower(std::string_view s);

// The indices of the names that match filter, best first (equal scores: lower
// rank first when ranks are given, then shorter names, then in the order
// given), at most limit of them.
std::vector<int> Best(const std::vector<std::string>& names, const std::vector<std::string>& lowerNames,
                      std::string_view filter, std::size_t limit, const std::vector<std::uint8_t>* rank = nullptr);

} // namespace SymbolMatch
