#include "SymbolMatch.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLowerOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// Where the words of name begin: after "_" and "\", at an upper-case letter after
// a lower-case one or a digit, at a digit after a letter.
int WordStarts(std::string_view name, int* starts, int max)
{
    int count = 0;
    for (std::size_t i = 0; i < name.size() && count < max; ++i) {
        const char c = name[i];
        if (c == '_' || c == '\\')
            continue;
        const char prev = i ? name[i - 1] : '_';
        const bool digit = c >= '0' && c <= '9';
        const bool prevDigit = prev >= '0' && prev <= '9';
        if (prev == '_' || prev == '\\' || (IsUpper(c) && IsLowerOrDigit(prev)) || (digit && !prevDigit))
            starts[count++] = int(i);
    }
    return count;
}

// Whether filter [fi..) is a run of prefixes of the words from word w on, in
// order; adjacent: of the words w, w + 1, ... with none passed over.
// budget: how many more steps the search may take, so that no name costs much.
bool WordPrefixes(std::string_view lowerName, const int* starts, int words, int w, std::string_view filter,
                  std::size_t fi, int& budget, bool adjacent = false)
{
    if (fi == filter.size())
        return true;
    if (--budget <= 0)
        return false;
    for (const int last = adjacent ? std::min(w + 1, words) : words; w < last; ++w) {
        const std::size_t end = w + 1 < words ? std::size_t(starts[w + 1]) : lowerName.size();
        std::size_t k = 0;
        while (fi + k < filter.size() && starts[w] + k < end && lowerName[starts[w] + k] == filter[fi + k])
            ++k;
        for (; k > 0; --k)
            if (WordPrefixes(lowerName, starts, words, w + 1, filter, fi + k, budget, adjacent))
                return true;
    }
    return false;
}

} // namespace

namespace SymbolMatch {

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (IsUpper(c))
            c = char(c | 0x20);
    return out;
}

int ScoreLower(std::string_view name, std::string_view lowerName, std::string_view f)
{
    if (f.empty())
        return 1;
    if (f.size() > lowerName.size())
        return 0;
    // Every match holds the filter's letters in order: most names fail here, cheaply.
    for (std::size_t i = 0, k = 0; k < f.size(); ++i, ++k) {
        const void* q = std::memchr(lowerName.data() + i, f[k], lowerName.size() - i);
        if (!q)
            return 0;
        i = std::size_t(static_cast<const char*>(q) - lowerName.data());
    }
    if (lowerName == f)
        return name.substr(0, f.size()) == f ? 1001 : 1000;
    const std::size_t at = lowerName.find(f);
    if (at == 0)
        return 900;
    int starts[64];
    const int words = WordStarts(name, starts, 64);
    if (at != std::string_view::npos) {
        for (int w = 0; w < words; ++w)
            if (std::size_t(starts[w]) == at)
                return 800;
        return 700;
    }
    // The starts of the first words one after the other read as well as a prefix.
    int budget = 256;
    if (words && starts[0] == 0 && lowerName[0] == f[0] && WordPrefixes(lowerName, starts, words, 0, f, 0, budget, true))
        return 900;
    budget = 256;
    if (words && lowerName[starts[0]] == f[0] && WordPrefixes(lowerName, starts, words, 0, f, 0, budget))
        return 600;
    return 0;
}

int Score(std::string_view name, std::string_view filter)
{
    const std::string lowerName = Lower(name);
    const std::string lowerFilter = Lower(filter);
    return ScoreLower(name, lowerName, lowerFilter);
}

std::vector<int> Best(const std::vector<std::string>& names, const std::vector<std::string>& lowerNames,
                      std::string_view filter, std::size_t limit, const std::vector<std::uint8_t>* rank)
{
    const std::string f = Lower(filter);
    struct Hit {
        int score;
        int rank;
        int length;
        int index;
    };
    std::vector<Hit> hits;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (const int s = ScoreLower(names[i], lowerNames[i], f))
            hits.push_back({s, rank ? int((*rank)[i]) : 0, int(names[i].size()), int(i)});
    const auto better = [](const Hit& a, const Hit& b) {
        if (a.score != b.score)
            return a.score > b.score;
        if (a.rank != b.rank)
            return a.rank < b.rank;
        if (a.length != b.length)
            return a.length < b.length;
        return a.index < b.index;
    };
    const std::size_t n = std::min(limit, hits.size());
    std::partial_sort(hits.begin(), hits.begin() + std::ptrdiff_t(n), hits.end(), better);
    std::vector<int> out;
    out.reserve(n);
    for (std::size_t k = 0; k < n; ++k)
        out.push_back(hits[k].index);
    return out;
}

} // namespace SymbolMatch
