#include "HtmlGrammar.h"

#include "ByteScan.h"
#include "StyleSlot.h"

#include <algorithm>
#include <string_view>

using ByteScan::NextAmong;
using namespace GrammarBytes;

namespace {

bool NameIs(const unsigned char* p, std::size_t i, std::size_t k, std::string_view name)
{
    if (k - i != name.size())
        return false;
    for (std::size_t x = 0; x < name.size(); ++x)
        if ((p[i + x] | 0x20) != static_cast<unsigned char>(name[x]))
            return false;
    return true;
}

} // namespace

std::uint32_t CHtmlGrammar::State() const
{
    std::uint32_t state = m_context | (m_element << 4);
    if (m_context == SCRIPT)
        state |= m_script.State() << 6;
    else if (m_context == STYLE)
        state |= m_style.State() << 11;
    return state;
}

void CHtmlGrammar::SetState(std::uint32_t state)
{
    m_context = static_cast<Context>(state & 15u);
    m_element = static_cast<Element>((state >> 4) & 3u);
    m_script.SetState((state >> 6) & 31u);
    m_style.SetState((state >> 11) & 31u);
}

std::size_t CHtmlGrammar::Text(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out)
{
    const std::size_t j = NextAmong<'<'>(p, i, end);
    out.Fill(SLOT_HTML_ELEMENT, i, j);
    if (j >= end)
        return end;
    if (j + 3 < end && p[j + 1] == '!' && p[j + 2] == '-' && p[j + 3] == '-') {
        out.Fill(SLOT_PHP_COMMENT, j, j + 4);
        m_context = COMMENT;
        return j + 4;
    }
    const bool start = j + 1 < end && (IsAlpha(p[j + 1]) || p[j + 1] == '!');
    const bool endTag = !start && j + 2 < end && p[j + 1] == '/' && IsAlpha(p[j + 2]);
    if (!start && !endTag) {
        out.Fill(SLOT_HTML_ELEMENT, j, j + 1);
        return j + 1;
    }
    const std::size_t name = j + (start ? 1 : 2);
    out.Fill(SLOT_HTML_DELIMITER, j, name);
    std::size_t k = name;
    while (k < end && !IsSpace(p[k]) && p[k] != '>' && p[k] != '/' && p[k] != '=' && p[k] != '<')
        ++k;
    out.Fill(SLOT_HTML_ELEMENT, name, k);
    m_element = !start ? OTHER : NameIs(p, name, k, "script") ? SCRIPT_ELEMENT : NameIs(p, name, k, "style") ? STYLE_ELEMENT : OTHER;
    m_context = TAG;
    return k;
}

std::size_t CHtmlGrammar::Tag(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out)
{
    const std::size_t j = NextAmong<'>', '/', '=', '"', '\''>(p, i, end);
    out.Fill(SLOT_HTML_ELEMENT, i, j);
    if (j >= end)
        return end;
    switch (p[j]) {
    case '>':
        out.Fill(SLOT_HTML_DELIMITER, j, j + 1);
        m_context = m_element == SCRIPT_ELEMENT ? SCRIPT : m_element == STYLE_ELEMENT ? STYLE : TEXT;
        m_element = OTHER;
        m_script.Reset();
        m_style.Reset();
        return j + 1;
    case '/':
        if (j + 1 < end && p[j + 1] == '>') {
            out.Fill(SLOT_HTML_DELIMITER, j, j + 2);
            m_context = TEXT;
            m_element = OTHER;
            return j + 2;
        }
        out.Fill(SLOT_HTML_ELEMENT, j, j + 1);
        return j + 1;
    case '=':
        out.Fill(SLOT_HTML_DELIMITER, j, j + 1);
        m_context = AFTER_EQUALS;
        return j + 1;
    default:
        out.Fill(SLOT_HTML_ATTRVALUE, j, j + 1);
        m_context = p[j] == '"' ? VALUE_DOUBLE : VALUE_SINGLE;
        return j + 1;
    }
}

void CHtmlGrammar::Colour(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out)
{
    while (i < end) {
        switch (m_context) {
        case TEXT:
            i = Text(p, i, end, out);
            break;
        case TAG:
            i = Tag(p, i, end, out);
            break;
        case AFTER_EQUALS: {
            std::size_t k = i;
            while (k < end && IsSpace(p[k]))
                ++k;
            out.Fill(SLOT_HTML_ELEMENT, i, k);
            i = k;
            if (k < end) {
                m_context = p[k] == '>' ? TAG : p[k] == '"' ? VALUE_DOUBLE : p[k] == '\'' ? VALUE_SINGLE : VALUE_BARE;
                if (m_context == VALUE_DOUBLE || m_context == VALUE_SINGLE) {
                    out.Fill(SLOT_HTML_ATTRVALUE, k, k + 1);
                    i = k + 1;
                }
            }
            break;
        }
        case VALUE_DOUBLE:
        case VALUE_SINGLE: {
            const std::size_t j = m_context == VALUE_DOUBLE ? NextAmong<'"'>(p, i, end) : NextAmong<'\''>(p, i, end);
            const std::size_t e = std::min(j + 1, end);
            out.Fill(SLOT_HTML_ATTRVALUE, i, e);
            if (j < end)
                m_context = TAG;
            i = e;
            break;
        }
        case VALUE_BARE: {
            std::size_t k = i;
            while (k < end && !IsSpace(p[k]) && p[k] != '>')
                ++k;
            out.Fill(SLOT_HTML_ATTRVALUE, i, k);
            if (k < end)
                m_context = TAG;
            i = k;
            break;
        }
        case COMMENT: {
            std::size_t k = i;
            for (;;) {
                const std::size_t j = NextAmong<'-'>(p, k, end);
                if (j >= end) {
                    out.Fill(SLOT_PHP_COMMENT, i, end);
                    i = end;
                    break;
                }
                if (j + 2 < end && p[j + 1] == '-' && p[j + 2] == '>') {
                    out.Fill(SLOT_PHP_COMMENT, i, j + 3);
                    m_context = TEXT;
                    i = j + 3;
                    break;
                }
                k = j + 1;
            }
            break;
        }
        case SCRIPT:
        case STYLE: {
            const std::size_t k = m_context == SCRIPT ? m_script.Colour(p, i, end, out) : m_style.Colour(p, i, end, out);
            if (k < end)
                m_context = TEXT;
            i = k;
            break;
        }
        default:
            m_context = TEXT;
            break;
        }
    }
}
