#include "PhpGrammar.h"

#include "ByteScan.h"
#include "GrammarWords.h"
#include "RegionLexer.h"
#include "StyleSlot.h"

#include <algorithm>

using namespace GrammarBytes;

namespace {

// Strings inside the code of strings deeper than this stay string colour.
constexpr int kMaxDepth = 32;

bool IsBinary(unsigned char c) { return c == '0' || c == '1'; }
bool IsOctal(unsigned char c) { return c >= '0' && c <= '7'; }

// Whether [i, i + word length) is word (lower case) in any case.
bool WordAt(const unsigned char* p, std::size_t i, std::size_t end, std::string_view word)
{
    if (i + word.size() > end)
        return false;
    for (std::size_t k = 0; k < word.size(); ++k)
        if ((p[i + k] | 0x20) != static_cast<unsigned char>(word[k]))
            return false;
    return true;
}

} // namespace

std::size_t CPhpGrammar::NumberEnd(std::size_t i, std::size_t end) const
{
    const unsigned char* p = m_p;
    // A run of digits with single underscores between them, from a digit at k.
    auto run = [&](std::size_t k, bool (*digit)(unsigned char)) {
        for (;;) {
            while (k < end && digit(p[k]))
                ++k;
            if (k + 1 < end && p[k] == '_' && digit(p[k + 1])) {
                ++k;
                continue;
            }
            return k;
        }
    };
    if (p[i] == '0' && i + 2 < end) {
        const unsigned char x = p[i + 1] | 0x20;
        if (x == 'x' && IsHex(p[i + 2]))
            return run(i + 2, IsHex);
        if (x == 'b' && IsBinary(p[i + 2]))
            return run(i + 2, IsBinary);
        if (x == 'o' && IsOctal(p[i + 2]))
            return run(i + 2, IsOctal);
    }
    std::size_t k = IsDigit(p[i]) ? run(i, IsDigit) : i;
    if (k < end && p[k] == '.') {
        if (k + 1 < end && IsDigit(p[k + 1]))
            k = run(k + 1, IsDigit);
        else if (k > i)
            ++k;
    }
    if (k < end && (p[k] | 0x20) == 'e') {
        std::size_t m = k + 1;
        if (m < end && (p[m] == '+' || p[m] == '-'))
            ++m;
        if (m < end && IsDigit(p[m]))
            k = run(m, IsDigit);
    }
    return k;
}

std::size_t CPhpGrammar::Word(std::size_t i, std::size_t end, const CSlotSink& out)
{
    const unsigned char* p = m_p;
    std::size_t k = i;
    bool qualified = p[k] == '\\';
    if (qualified)
        ++k;
    for (;;) {
        while (k < end && IsName(p[k]))
            ++k;
        if (k + 1 < end && p[k] == '\\' && IsNameStart(p[k + 1])) {
            qualified = true;
            ++k;
            continue;
        }
        break;
    }
    bool keyword = !qualified && !m_bAfterArrow && GrammarWords::IsPhpReserved(p + i, k - i);
    m_bAfterArrow = false;
    std::size_t m = k;
    while (m < end && (p[m] == ' ' || p[m] == '\t'))
        ++m;
    if (keyword && k - i == 4 && WordAt(p, i, k, "enum")) {
        // "enum" is a keyword only before the name of the enumeration (on
        // its line, as far as is read here).
        if (m < end && IsNameStart(p[m]))
            keyword = !WordAt(p, m, end, "extends") && !WordAt(p, m, end, "implements");
        else
            keyword = m >= end || p[m] == '\n' || p[m] == '\r';
    } else if (keyword && k - i == 5 && WordAt(p, i, k, "yield") && m > k && WordAt(p, m, end, "from") &&
               m + 4 < m_n && !IsName(p[m + 4])) {
        k = m + 4; // "yield from" is one reserved word, blanks included
    }
    out.Fill(keyword ? SLOT_PHP_KEYWORD : SLOT_PHP_IDENTIFIER, i, k);
    return k;
}

std::size_t CPhpGrammar::MatchingBrace(std::size_t i, std::size_t end) const
{
    std::size_t depth = 1;
    while (i < end) {
        const std::size_t j = ByteScan::NextAmong<'\'', '"', '`', '/', '#', '<', '{', '}'>(m_p, i, end);
        if (j >= end)
            return end;
        if (m_p[j] == '{') {
            ++depth;
            i = j + 1;
        } else if (m_p[j] == '}') {
            if (--depth == 0)
                return j;
            i = j + 1;
        } else {
            i = std::max(j + 1, RegionLexer::SkipConstruct(m_p, j, m_n));
        }
    }
    return end;
}

void CPhpGrammar::Interpolated(std::size_t i, std::size_t end, bool heredoc, const CSlotSink& out, int depth)
{
    const unsigned char* p = m_p;
    while ((i = ByteScan::NextAmong<'\\', '{', '$'>(p, i, end)) < end) {
        if (p[i] == '\\') {
            i += heredoc && i + 1 < end && (p[i + 1] == '\n' || p[i + 1] == '\r') ? 1 : 2;
            continue;
        }
        const bool brace = p[i] == '{' && i + 1 < end && p[i + 1] == '$';
        const bool dollar = p[i] == '$' && i + 1 < end && p[i + 1] == '{';
        if (!brace && !dollar) {
            ++i;
            continue;
        }
        const std::size_t codeStart = i + (dollar ? 2 : 1);
        const std::size_t close = MatchingBrace(codeStart, end);
        if (depth < kMaxDepth) {
            const bool afterArrow = m_bAfterArrow;
            m_bAfterArrow = false;
            out.Fill(SLOT_PHP_OPERATOR, i, codeStart);
            Code(codeStart, close, out, depth + 1);
            out.Fill(SLOT_PHP_OPERATOR, close, std::min(close + 1, end));
            m_bAfterArrow = afterArrow;
        }
        i = close + 1;
    }
}

void CPhpGrammar::Code(std::size_t i, std::size_t end, const CSlotSink& out, int depth)
{
    const unsigned char* p = m_p;
    auto op = [&](std::size_t len) {
        out.Fill(SLOT_PHP_OPERATOR, i, std::min(i + len, end));
        i = std::min(i + len, end);
    };
    while (i < end) {
        const unsigned char c = p[i];
        if (IsSpace(c)) {
            std::size_t k = i + 1;
            while (k < end && IsSpace(p[k]))
                ++k;
            out.Fill(SLOT_PHP_IDENTIFIER, i, k);
            i = k;
            continue;
        }
        if (IsNameStart(c) || (c == '\\' && i + 1 < end && IsNameStart(p[i + 1]))) {
            i = Word(i, end, out);
            continue;
        }
        m_bAfterArrow = false;
        if (c == '$') {
            std::size_t k = i + 1;
            while (k < end && IsName(p[k]))
                ++k;
            out.Fill(SLOT_PHP_IDENTIFIER, i, k);
            i = k;
            continue;
        }
        if (IsDigit(c) || (c == '.' && i + 1 < end && IsDigit(p[i + 1]))) {
            const std::size_t k = NumberEnd(i, end);
            out.Fill(SLOT_PHP_NUMBER, i, k);
            i = k;
            continue;
        }
        switch (c) {
        case '\'':
        case '"':
        case '`':
        case '/':
        case '#':
        case '<': {
            const std::size_t e = std::min(RegionLexer::SkipConstruct(p, i, m_n), end);
            // "#[" opens an attribute, which is code.
            const bool comment = (c == '/' && e > i + 1) || (c == '#' && !(i + 1 < m_n && p[i + 1] == '['));
            const bool heredoc = c == '<' && e > i + 2;
            if (comment) {
                out.Fill(SLOT_PHP_COMMENT, i, e);
            } else if (c == '\'' || c == '"' || c == '`' || heredoc) {
                out.Fill(SLOT_PHP_STRING, i, e);
                if (c != '\'' && depth < kMaxDepth) {
                    std::size_t body = i + 1;
                    bool nowdoc = false;
                    if (heredoc) {
                        body = i + 3;
                        while (body < e && (p[body] == ' ' || p[body] == '\t'))
                            ++body;
                        nowdoc = body < e && p[body] == '\'';
                        while (body < e && p[body] != '\n' && p[body] != '\r')
                            ++body;
                    }
                    if (!nowdoc)
                        Interpolated(body, e, heredoc, out, depth);
                }
            } else {
                op(e - i);
                continue;
            }
            i = e;
            continue;
        }
        case '-':
            if (i + 1 < end && p[i + 1] == '>') {
                op(2);
                m_bAfterArrow = true;
            } else {
                op(i + 1 < end && p[i + 1] == '-' ? 2 : 1);
            }
            continue;
        case '+':
            op(i + 1 < end && p[i + 1] == '+' ? 2 : 1);
            continue;
        case '?':
            if (i + 2 < end && p[i + 1] == '-' && p[i + 2] == '>') {
                op(3);
                m_bAfterArrow = true;
            } else {
                op(i + 1 < end && p[i + 1] == '?' ? 2 : 1);
            }
            continue;
        default:
            op(1);
            continue;
        }
    }
}
