// PHP code coloured by PHP's grammar: whole comments, strings of every form
// (with the code inside "{$ }" and "${ }" coloured as code), reserved words,
// numbers in every form, operators; the rest in the identifier slot.
#pragma once

#include "SlotSink.h"

#include <cstdint>
#include <string_view>

class CPhpGrammar {
public:
    explicit CPhpGrammar(std::string_view text)
        : m_p(reinterpret_cast<const unsigned char*>(text.data())), m_n(text.size())
    {
    }

    // What carries from one stretch of code to the next: whether a property
    // name follows ("->" and blanks before it), which is never a keyword.
    void Reset() { m_bAfterArrow = false; }
    std::uint32_t State() const { return m_bAfterArrow ? 1u : 0u; }
    void SetState(std::uint32_t state) { m_bAfterArrow = (state & 1u) != 0; }

    // Colours the code [i, end): both ends are where the region split rests
    // (outside strings and comments) or ends of the region.
    void Colour(std::size_t i, std::size_t end, const CSlotSink& out) { Code(i, end, out, 0); }

private:
    void Code(std::size_t i, std::size_t end, const CSlotSink& out, int depth);
    std::size_t Word(std::size_t i, std::size_t end, const CSlotSink& out);
    std::size_t NumberEnd(std::size_t i, std::size_t end) const;
    // The code inside "{$ }" and "${ }" of the string body [i, end).
    void Interpolated(std::size_t i, std::size_t end, bool heredoc, const CSlotSink& out, int depth);
    // From just after an opening brace: the brace that closes it, or end.
    std::size_t MatchingBrace(std::size_t i, std::size_t end) const;

    const unsigned char* m_p;
    std::size_t m_n;
    bool m_bAfterArrow = false;
};
