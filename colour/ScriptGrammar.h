// The text of a <script> element coloured by JavaScript's grammar: comments,
// strings, template literals (with the code in "${ }"), regular expressions,
// numbers, keywords and operators; names in the identifier slot.
#pragma once

#include "SlotSink.h"

#include <cstdint>
#include <vector>

class CScriptGrammar {
public:
    void Reset()
    {
        m_sub = CODE;
        m_bRegexOk = true;
        m_bConditionNext = false;
        m_templates.clear();
        m_conditions.clear();
    }
    // Where the scan is (5 bits); only whole when Capturable.
    std::uint32_t State() const { return m_sub | (m_bRegexOk ? 8u : 0u) | (m_bConditionNext ? 16u : 0u); }
    void SetState(std::uint32_t state)
    {
        m_sub = static_cast<Sub>(state & 7u);
        m_bRegexOk = (state & 8u) != 0;
        m_bConditionNext = (state & 16u) != 0;
        m_templates.clear();
        m_conditions.clear();
    }
    // Outside the code of any template literal and the parentheses of any
    // condition, whose nesting State leaves out.
    bool Capturable() const { return m_templates.empty() && m_conditions.empty(); }

    // Colours [i, end) up to the "</script" that ends the element; returns
    // the position of its "<", or end.
    std::size_t Colour(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out);

private:
    enum Sub : std::uint8_t { CODE, BLOCK_COMMENT, LINE_COMMENT, SINGLE, DOUBLE, TEMPLATE, REGEX, REGEX_CLASS };
    // One token of code at i; returns its end, or i at the element's end.
    std::size_t Code(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out);

    Sub m_sub = CODE;
    bool m_bRegexOk = true;               // a "/" here starts a regular expression
    bool m_bConditionNext = false;          // after "if", "while", "for" or "with"
    std::vector<std::uint32_t> m_templates; // braces open in the code of each "${"
    // Parentheses open inside each condition's: after the ")" that closes a
    // condition a "/" starts a regular expression.
    std::vector<std::uint32_t> m_conditions;
};
