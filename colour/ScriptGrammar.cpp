#include "ScriptGrammar.h"

#include "ByteScan.h"
#include "GrammarWords.h"
#include "MarkupEnd.h"
#include "StyleSlot.h"

using ByteScan::NextAmong;
using namespace GrammarBytes;

namespace {

bool IsScriptName(unsigned char c) { return IsName(c) || c == '$'; }

// A number: decimal with fraction and exponent, or 0x, 0o, 0b; separators
// and the BigInt suffix "n" included.
std::size_t NumberEnd(const unsigned char* p, std::size_t i, std::size_t end)
{
    std::size_t k = i;
    if (p[k] == '0' && k + 1 < end && ((p[k + 1] | 0x20) == 'x' || (p[k + 1] | 0x20) == 'o' || (p[k + 1] | 0x20) == 'b')) {
        k += 2;
        while (k < end && (IsHex(p[k]) || p[k] == '_'))
            ++k;
    } else {
        while (k < end && (IsDigit(p[k]) || p[k] == '_'))
            ++k;
        if (k < end && p[k] == '.')
            for (++k; k < end && (IsDigit(p[k]) || p[k] == '_');)
                ++k;
        if (k < end && (p[k] | 0x20) == 'e') {
            std::size_t m = k + 1;
            if (m < end && (p[m] == '+' || p[m] == '-'))
                ++m;
            if (m < end && IsDigit(p[m]))
                for (k = m; k < end && (IsDigit(p[k]) || p[k] == '_');)
                    ++k;
        }
    }
    return k < end && p[k] == 'n' ? k + 1 : k;
}

} // namespace

std::size_t CScriptGrammar::Code(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out)
{
    const unsigned char c = p[i];
    std::size_t k = i + 1;
    if (IsSpace(c)) {
        while (k < end && IsSpace(p[k]))
            ++k;
        out.Fill(SLOT_PHP_IDENTIFIER, i, k);
        return k;
    }
    const bool conditionNext = m_bConditionNext;
    m_bConditionNext = false;
    if (IsNameStart(c) || c == '$') {
        while (k < end && IsScriptName(p[k]))
            ++k;
        const bool keyword = GrammarWords::IsScriptKeyword(p + i, k - i);
        m_bRegexOk = keyword && GrammarWords::ScriptKeywordTakesOperand(p + i, k - i);
        m_bConditionNext = keyword && GrammarWords::ScriptKeywordTakesCondition(p + i, k - i);
        out.Fill(keyword ? SLOT_PHP_KEYWORD : SLOT_PHP_IDENTIFIER, i, k);
        return k;
    }
    if (IsDigit(c) || (c == '.' && k < end && IsDigit(p[k]))) {
        k = NumberEnd(p, i, end);
        m_bRegexOk = false;
        out.Fill(SLOT_PHP_NUMBER, i, k);
        return k;
    }
    int slot = SLOT_PHP_OPERATOR;
    bool regexOk = true;
    switch (c) {
    case '\'':
    case '"':
    case '`':
        m_sub = c == '\'' ? SINGLE : c == '"' ? DOUBLE : TEMPLATE;
        slot = SLOT_PHP_STRING;
        break;
    case '/':
        if (k < end && (p[k] == '*' || p[k] == '/')) {
            m_sub = p[k] == '*' ? BLOCK_COMMENT : LINE_COMMENT;
            out.Fill(SLOT_PHP_COMMENT, i, k + 1);
            return k + 1;
        }
        if (m_bRegexOk) {
            m_sub = REGEX;
            slot = SLOT_PHP_STRING;
        }
        break;
    case '<':
        if (EndTagAt(p, i, end, "script")) {
            Reset();
            return i;
        }
        break;
    case '{':
        if (!m_templates.empty())
            ++m_templates.back();
        break;
    case '}':
        if (!m_templates.empty() && m_templates.back()-- == 0) {
            m_templates.pop_back();
            m_sub = TEMPLATE;
            slot = SLOT_PHP_STRING;
        }
        break;
    case '(':
        if (conditionNext)
            m_conditions.push_back(0);
        else if (!m_conditions.empty())
            ++m_conditions.back();
        break;
    case ')':
        regexOk = !m_conditions.empty() && m_conditions.back() == 0;
        if (regexOk)
            m_conditions.pop_back();
        else if (!m_conditions.empty())
            --m_conditions.back();
        break;
    case ']':
        regexOk = false;
        break;
    default:
        break;
    }
    m_bRegexOk = regexOk;
    out.Fill(slot, i, k);
    return k;
}

std::size_t CScriptGrammar::Colour(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out)
{
    while (i < end) {
        std::size_t j = end;
        switch (m_sub) {
        case CODE: {
            const std::size_t k = Code(p, i, end, out);
            if (k == i)
                return i;
            i = k;
            continue;
        }
        case BLOCK_COMMENT:
            j = NextAmong<'*', '<'>(p, i, end);
            if (j + 1 < end && p[j] == '*' && p[j + 1] == '/') {
                out.Fill(SLOT_PHP_COMMENT, i, j + 2);
                m_sub = CODE;
                i = j + 2;
                continue;
            }
            break;
        case LINE_COMMENT:
            j = NextAmong<'\n', '\r', '<'>(p, i, end);
            if (j < end && p[j] != '<') {
                out.Fill(SLOT_PHP_COMMENT, i, j);
                m_sub = CODE;
                i = j;
                continue;
            }
            break;
        case SINGLE:
        case DOUBLE:
        case TEMPLATE:
        case REGEX:
        case REGEX_CLASS: {
            j = m_sub == TEMPLATE ? NextAmong<'\\', '`', '$', '<'>(p, i, end)
                                  : NextAmong<'\\', '\'', '"', '/', '[', ']', '\n', '\r', '<'>(p, i, end);
            if (j >= end)
                break;
            const unsigned char c = p[j];
            if (c == '\\') {
                std::size_t e = j + 2;
                if (j + 2 < end && p[j + 1] == '\r' && p[j + 2] == '\n')
                    ++e;
                e = std::min(e, end);
                out.Fill(SLOT_PHP_STRING, i, e);
                i = e;
                continue;
            }
            if (c == '\n' || c == '\r') { // an unclosed string or expression ends at the line's end
                out.Fill(SLOT_PHP_STRING, i, j);
                m_sub = CODE;
                m_bRegexOk = false;
                i = j;
                continue;
            }
            if (c == '<')
                break;
            const bool closes = (m_sub == SINGLE && c == '\'') || (m_sub == DOUBLE && c == '"') ||
                                (m_sub == TEMPLATE && c == '`') || (m_sub == REGEX && c == '/');
            const bool opensCode = m_sub == TEMPLATE && c == '$' && j + 1 < end && p[j + 1] == '{';
            std::size_t e = j + (opensCode ? 2 : 1);
            if (m_sub == REGEX && c == '[')
                m_sub = REGEX_CLASS;
            else if (m_sub == REGEX_CLASS && c == ']')
                m_sub = REGEX;
            if (closes && m_sub == REGEX)
                while (e < end && IsName(p[e])) // flags
                    ++e;
            if (closes || opensCode) {
                m_sub = CODE;
                m_bRegexOk = opensCode;
                if (opensCode)
                    m_templates.push_back(0);
            }
            out.Fill(SLOT_PHP_STRING, i, e);
            i = e;
            continue;
        }
        }
        // At j: the end, or a "<" inside a comment, string or expression.
        if (j < end && EndTagAt(p, j, end, "script")) {
            out.Fill(m_sub == BLOCK_COMMENT || m_sub == LINE_COMMENT ? SLOT_PHP_COMMENT : SLOT_PHP_STRING, i, j);
            m_sub = CODE;
            Reset();
            return j;
        }
        const std::size_t e = std::min(j + 1, end);
        out.Fill(m_sub == BLOCK_COMMENT || m_sub == LINE_COMMENT ? SLOT_PHP_COMMENT : SLOT_PHP_STRING, i, e);
        i = e;
    }
    return i;
}
