// The tokenizer's rules and the region split transcribed plainly, byte by
// byte, with no attempt at speed: the tests and the colouring fuzz target
// compare the fast scanners with them.
#pragma once

#include "HtmlTokenizer.h"
#include "PHPRegionTokenizer.h"
#include "PHPTokenizer.h"
#include "StyleTarget.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace TokenizerReference {

inline bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool IsAlnum(unsigned char c) { return IsLetter(c) || IsDigit(c); }
inline bool IsEdgeSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The rules in their written order, with no attempt at speed.
inline std::vector<CToken> Reference(const std::vector<CKeyword>& table, const std::string& text)
{
    std::vector<CToken> out;
    const std::size_t n = text.size();
    std::size_t lo = 0, hi = n;
    while (lo < hi && IsEdgeSpace(text[lo]))
        ++lo;
    while (hi > lo && IsEdgeSpace(text[hi - 1]))
        --hi;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    auto push = [&](int kind, std::size_t s, std::size_t e) {
        out.emplace_back(kind, static_cast<std::int32_t>(s), static_cast<std::int32_t>(e));
    };
    std::size_t i = lo;
    while (i < hi) {
        const unsigned char c = at(i);
        if (c == ' ' || c == '\t') { // 1
            ++i;
            continue;
        }
        if (c == '"') { // 2
            std::size_t e = text.find('"', i + 1);
            e = e == std::string::npos ? n : e + 1;
            push(TK_STRING, i, e);
            i = e;
            continue;
        }
        if (c == '\r' && i + 1 < n && at(i + 1) == '\n') { // 3
            push(TK_NEWLINE, i, i + 2);
            i += 2;
            continue;
        }
        if (IsDigit(c) || c == '.') { // 4
            std::size_t e = i;
            while (e < n && (IsDigit(at(e)) || at(e) == '.'))
                ++e;
            const std::string run = text.substr(i, e - i);
            int kind = TK_INTEGER;
            if (run.find('.') != std::string::npos)
                kind = std::atof(run.c_str()) != 0.0 ? TK_REAL : TK_OTHER;
            push(kind, i, e);
            i = e;
            continue;
        }
        const CKeyword* match = nullptr; // 5
        for (const CKeyword& k : table) {
            const std::string& w = k.m_strText;
            if (text.compare(i, w.size(), w) != 0 || i + w.size() > n)
                continue;
            bool alnum = true;
            for (unsigned char b : w)
                alnum = alnum && IsAlnum(b);
            if (alnum && i + w.size() < n && IsAlnum(at(i + w.size())))
                continue;
            match = &k;
            break;
        }
        if (match) {
            push(match->m_nKind, i, i + match->m_strText.size());
            i += match->m_strText.size();
            continue;
        }
        if (IsLetter(c)) { // 6
            std::size_t e = i + 1;
            while (e < n && (IsAlnum(at(e)) || at(e) == '_'))
                ++e;
            push(TK_IDENTIFIER, i, e);
            i = e;
            continue;
        }
        push(TK_OTHER, i, i + 1); // 7
        ++i;
    }
    push(TK_END, n, n);
    return out;
}

// The region split as written: HTML part before each region, the region with
// its tags and code on its closing tag, and a region still open at the end
// coloured as PHP to the end of the text. Returns whether the text ended in one.
inline bool ReferenceSplit(CStyleTarget& target, const std::string& text)
{
    CPHPRegionTokenizer region(target);
    CPHPTokenizer php(target);
    CHtmlTokenizer html(target);
    auto colourRegion = [&](std::int32_t phpStart, std::int32_t codeStart, std::int32_t codeEnd,
                            std::int32_t regionEnd) {
        target.ApplySlot(1, phpStart, regionEnd);
        target.ApplySlot(5, codeStart, codeEnd);
        php.ColourText(std::string_view(text).substr(codeStart, codeEnd - codeStart), codeStart);
    };
    std::int32_t htmlStart = 0, phpStart = 0, openLen = 0;
    bool inPhp = false;
    region.Tokenize(text);
    for (const CToken& t : region.Tokens()) {
        if (t.m_nKind == CPHPRegionTokenizer::RK_OPEN_PHP || t.m_nKind == CPHPRegionTokenizer::RK_OPEN_SHORT) {
            if (!inPhp) {
                phpStart = t.m_nStart;
                openLen = t.m_nEnd - t.m_nStart;
                target.ApplySlot(0, htmlStart, phpStart);
                html.ColourText(std::string_view(text).substr(htmlStart, phpStart - htmlStart), htmlStart);
            }
            inPhp = true;
        } else if (t.m_nKind == CPHPRegionTokenizer::RK_CLOSE) {
            if (inPhp) {
                colourRegion(phpStart, phpStart + openLen, t.m_nEnd - 2, t.m_nEnd);
                htmlStart = t.m_nEnd;
            }
            inPhp = false;
        }
    }
    const auto n = static_cast<std::int32_t>(text.size());
    if (inPhp) {
        colourRegion(phpStart, phpStart + openLen, n, n);
    } else {
        target.ApplySlot(0, htmlStart, n);
        html.ColourText(std::string_view(text).substr(htmlStart), htmlStart);
    }
    return inPhp;
}

} // namespace TokenizerReference
