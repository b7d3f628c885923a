// The tokenizer's rules and the region split transcribed plainly, byte by
// byte, with no attempt at speed: the tests and the colouring fuzz target
// compare the fast scanners with them.
#pragma once

#include "HtmlTokenizer.h"
#include "PHPRegionTokenizer.h"
#include "PHPTokenizer.h"
#include "StyleTarget.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
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

// PHP's reading of where regions open and close, byte by byte, each rule as
// the lexer states it.
class PlainRegions {
public:
    explicit PlainRegions(const std::string& text) : t(text), n(text.size()) {}

    // The length of the opening tag at i, or 0.
    std::size_t OpenTag(std::size_t i) const
    {
        if (!At(i, "<?"))
            return 0;
        std::string word = t.substr(i + 2, 3);
        for (char& c : word)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const bool blankAfter = i + 5 == n || (i + 5 < n && std::strchr(" \t\r\n", t[i + 5]) && t[i + 5]);
        return word == "php" && blankAfter ? 5 : 2;
    }
    bool CloseTag(std::size_t i) const { return At(i, "?>"); }

    // From i in PHP code: past the string, heredoc or comment that starts at
    // i (a line comment up to its end, not past it) or the operators "??"
    // and "<<",
    // else past one byte.
    std::size_t Skip(std::size_t i) const
    {
        if (t[i] == '\'')
            return Single(i + 1);
        if (t[i] == '"' || t[i] == '`')
            return Quoted(i + 1, t[i]);
        if (At(i, "/*")) {
            const std::size_t e = t.find("*/", i + 2);
            return e == std::string::npos ? n : e + 2;
        }
        if (At(i, "??"))
            return i + 2;
        if (At(i, "//") || (t[i] == '#' && !At(i, "#[")))
            return LineEnd(i);
        if (At(i, "<<<")) {
            std::size_t k = i + 3;
            while (k < n && (t[k] == ' ' || t[k] == '\t'))
                ++k;
            const char quote = k < n && (t[k] == '"' || t[k] == '\'') ? t[k] : 0;
            if (quote)
                ++k;
            const std::size_t label = k;
            while (k < n && LabelByte(t[k], k == label))
                ++k;
            if (k > label && (!quote || (k < n && t[k] == quote))) {
                const std::string name = t.substr(label, k - label);
                k += quote ? 1 : 0;
                if (At(k, "\r\n"))
                    return Doc(k + 2, name, quote == '\'');
                if (k < n && (t[k] == '\n' || t[k] == '\r'))
                    return Doc(k + 1, name, quote == '\'');
            }
        }
        if (At(i, "<<"))
            return i + 2;
        return i + 1;
    }

private:
    bool At(std::size_t i, const char* s) const { return i <= n && t.compare(i, std::strlen(s), s) == 0; }
    static bool LabelByte(char ch, bool first)
    {
        const auto c = static_cast<unsigned char>(ch);
        return IsLetter(c) || c == '_' || c >= 0x80 || (!first && IsDigit(c));
    }
    std::size_t Single(std::size_t i) const
    {
        for (; i < n; ++i) {
            if (t[i] == '\\')
                ++i;
            else if (t[i] == '\'')
                return i + 1;
        }
        return n;
    }
    std::size_t LineEnd(std::size_t i) const
    {
        while (i < n && t[i] != '\n' && t[i] != '\r' && !CloseTag(i))
            ++i;
        return i;
    }
    // Code inside "{$ }" or "${ }" from i: past its closing brace.
    std::size_t Braces(std::size_t i) const
    {
        int depth = 1;
        while (i < n) {
            if (t[i] == '{')
                ++depth;
            if (t[i] == '}' && --depth == 0)
                return i + 1;
            i = t[i] == '{' || t[i] == '}' ? i + 1 : Skip(i);
        }
        return n;
    }
    // A value inside a string that reads variables, at i: past it, or i.
    std::size_t Interpolation(std::size_t i) const
    {
        if (At(i, "{$"))
            return Braces(i + 1);
        if (At(i, "${"))
            return Braces(i + 2);
        return i;
    }
    std::size_t Quoted(std::size_t i, char end) const
    {
        while (i < n) {
            if (t[i] == '\\')
                i += 2;
            else if (t[i] == end)
                return i + 1;
            else if (const std::size_t e = Interpolation(i); e != i)
                i = e;
            else
                ++i;
        }
        return n;
    }
    // A heredoc or nowdoc body from i, a line start: past its closing label.
    std::size_t Doc(std::size_t i, const std::string& label, bool nowdoc) const
    {
        bool lineStart = true;
        while (i < n) {
            if (lineStart) {
                std::size_t k = i;
                while (k < n && (t[k] == ' ' || t[k] == '\t'))
                    ++k;
                if (At(k, label.c_str()) && (k + label.size() == n || !LabelByte(t[k + label.size()], false)))
                    return k + label.size();
            }
            lineStart = t[i] == '\n' || t[i] == '\r';
            if (At(i, "\r\n"))
                i += 2;
            else if (!nowdoc && t[i] == '\\' && i + 1 < n && t[i + 1] != '\n' && t[i + 1] != '\r')
                i += 2;
            else if (const std::size_t e = nowdoc ? i : Interpolation(i); e != i)
                i = e;
            else
                ++i;
        }
        return n;
    }

    const std::string& t;
    std::size_t n;
};

// The region split as written: HTML part before each region, the region with
// its tags and code on its closing tag, and a region still open at the end
// coloured as PHP to the end of the text. Returns whether the text ended in one.
inline bool ReferenceSplit(CStyleTarget& target, const std::string& text)
{
    CPHPTokenizer php(target);
    CHtmlTokenizer html(target);
    auto colourRegion = [&](std::int32_t phpStart, std::int32_t codeStart, std::int32_t codeEnd,
                            std::int32_t regionEnd) {
        target.ApplySlot(1, phpStart, regionEnd);
        target.ApplySlot(5, codeStart, codeEnd);
        php.ColourText(std::string_view(text).substr(codeStart, codeEnd - codeStart), codeStart);
    };
    const PlainRegions lexer(text);
    std::int32_t htmlStart = 0, phpStart = 0, openLen = 0;
    bool inPhp = false;
    for (std::size_t i = 0; i < text.size();) {
        if (!inPhp && lexer.OpenTag(i)) {
            phpStart = static_cast<std::int32_t>(i);
            openLen = static_cast<std::int32_t>(lexer.OpenTag(i));
            target.ApplySlot(0, htmlStart, phpStart);
            html.ColourText(std::string_view(text).substr(htmlStart, phpStart - htmlStart), htmlStart);
            inPhp = true;
            i += openLen;
        } else if (inPhp && lexer.CloseTag(i)) {
            const auto end = static_cast<std::int32_t>(i + 2);
            colourRegion(phpStart, phpStart + openLen, end - 2, end);
            htmlStart = end;
            inPhp = false;
            i += 2;
        } else {
            i = inPhp ? lexer.Skip(i) : i + 1;
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
