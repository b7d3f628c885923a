#include "StyleGrammar.h"

#include "ByteScan.h"
#include "MarkupEnd.h"
#include "StyleSlot.h"

using ByteScan::NextAmong;
using namespace GrammarBytes;

namespace {

bool IsStyleName(unsigned char c) { return IsName(c) || c == '-'; }

std::size_t NameEnd(const unsigned char* p, std::size_t k, std::size_t end)
{
    while (k < end && (IsStyleName(p[k]) || (p[k] == '\\' && k + 1 < end && p[k + 1] != '\n')))
        k += p[k] == '\\' ? 2 : 1;
    return k;
}

bool StartsNumber(const unsigned char* p, std::size_t i, std::size_t end)
{
    return IsDigit(p[i]) || (p[i] == '.' && i + 1 < end && IsDigit(p[i + 1]));
}

// A number with its sign, fraction, exponent and unit (or "%").
std::size_t NumberEnd(const unsigned char* p, std::size_t k, std::size_t end)
{
    if (p[k] == '+' || p[k] == '-')
        ++k;
    while (k < end && IsDigit(p[k]))
        ++k;
    if (k + 1 < end && p[k] == '.' && IsDigit(p[k + 1]))
        for (++k; k < end && IsDigit(p[k]);)
            ++k;
    if (k < end && (p[k] | 0x20) == 'e') {
        std::size_t m = k + 1;
        if (m < end && (p[m] == '+' || p[m] == '-'))
            ++m;
        if (m < end && IsDigit(p[m]))
            for (k = m; k < end && IsDigit(p[k]);)
                ++k;
    }
    if (k < end && p[k] == '%')
        return k + 1;
    return k < end && (IsNameStart(p[k]) || p[k] == '-') ? NameEnd(p, k, end) : k;
}

} // namespace

std::size_t CStyleGrammar::Code(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out)
{
    const unsigned char c = p[i];
    std::size_t k = i + 1;
    int slot = SLOT_PHP_OPERATOR;
    if (IsSpace(c)) {
        while (k < end && IsSpace(p[k]))
            ++k;
        slot = SLOT_PHP_IDENTIFIER;
    } else if (StartsNumber(p, i, end) || ((c == '+' || c == '-') && k < end && StartsNumber(p, k, end))) {
        k = NumberEnd(p, i, end);
        slot = SLOT_PHP_NUMBER;
    } else if (IsNameStart(c) || c == '\\' || (c == '-' && k < end && (IsNameStart(p[k]) || p[k] == '-'))) {
        k = NameEnd(p, i, end);
        slot = SLOT_PHP_IDENTIFIER;
    } else {
        switch (c) {
        case '/':
            if (k < end && p[k] == '*') {
                m_sub = COMMENT;
                out.Fill(SLOT_PHP_COMMENT, i, k + 1);
                return k + 1;
            }
            break;
        case '\'':
        case '"':
            m_sub = c == '\'' ? SINGLE : DOUBLE;
            slot = SLOT_PHP_STRING;
            break;
        case '<':
            if (EndTagAt(p, i, end, "style"))
                return i;
            break;
        case '@':
            k = NameEnd(p, k, end);
            slot = SLOT_PHP_KEYWORD;
            break;
        case '!': {
            std::size_t m = k;
            while (m < end && (p[m] == ' ' || p[m] == '\t'))
                ++m;
            const std::size_t e = NameEnd(p, m, end);
            static constexpr char kImportant[] = "important";
            if (e - m == sizeof kImportant - 1) {
                bool same = true;
                for (std::size_t x = 0; x < e - m; ++x)
                    same = same && (p[m + x] | 0x20) == kImportant[x];
                if (same) {
                    k = e;
                    slot = SLOT_PHP_KEYWORD;
                }
            }
            break;
        }
        case '#': {
            const std::size_t e = NameEnd(p, k, end);
            std::size_t hex = k;
            while (hex < e && IsHex(p[hex]))
                ++hex;
            const std::size_t n = e - k;
            slot = m_bValue && hex == e && (n == 3 || n == 4 || n == 6 || n == 8) ? SLOT_PHP_NUMBER
                                                                                  : SLOT_PHP_IDENTIFIER;
            k = e;
            break;
        }
        case '{':
            m_depth = m_depth < 3 ? m_depth + 1 : 3;
            m_bValue = false;
            break;
        case '}':
            m_depth = m_depth > 0 ? m_depth - 1 : 0;
            m_bValue = false;
            break;
        case ';':
            m_bValue = false;
            break;
        case ':':
            m_bValue = m_depth > 0;
            break;
        default:
            break;
        }
    }
    out.Fill(slot, i, k);
    return k;
}

std::size_t CStyleGrammar::Colour(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out)
{
    while (i < end) {
        if (m_sub == CODE) {
            const std::size_t k = Code(p, i, end, out);
            if (k == i)
                return i;
            i = k;
            continue;
        }
        const int slot = m_sub == COMMENT ? SLOT_PHP_COMMENT : SLOT_PHP_STRING;
        const std::size_t j = m_sub == COMMENT ? NextAmong<'*', '<'>(p, i, end)
                                               : NextAmong<'\\', '\'', '"', '\n', '\r', '<'>(p, i, end);
        if (j >= end) {
            out.Fill(slot, i, end);
            return end;
        }
        std::size_t e = j + 1;
        const unsigned char c = p[j];
        if (c == '<') {
            if (EndTagAt(p, j, end, "style")) {
                out.Fill(slot, i, j);
                m_sub = CODE;
                return j;
            }
        } else if (m_sub == COMMENT) {
            if (j + 1 < end && p[j + 1] == '/') {
                e = j + 2;
                m_sub = CODE;
            }
        } else if (c == '\\') {
            e = std::min(j + 2, end);
        } else if (c == '\n' || c == '\r') { // an unclosed string ends at the line's end
            e = j;
            m_sub = CODE;
        } else if ((c == '\'') == (m_sub == SINGLE)) {
            m_sub = CODE;
        }
        out.Fill(slot, i, e);
        i = e;
    }
    return i;
}
