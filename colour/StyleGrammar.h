// The text of a <style> element coloured by CSS's grammar: comments, strings,
// numbers with their units (and colours in values), at-rules and
// "!important" as keywords, punctuation as operators, names as identifiers.
#pragma once

#include "SlotSink.h"

#include <cstdint>

class CStyleGrammar {
public:
    void Reset() { SetState(0); }
    // Where the scan is, the blocks open (up to 3) and whether a value is read: 5 bits.
    std::uint32_t State() const { return m_sub | (m_depth << 2) | (m_bValue ? 16u : 0u); }
    void SetState(std::uint32_t state)
    {
        m_sub = static_cast<Sub>(state & 3u);
        m_depth = (state >> 2) & 3u;
        m_bValue = (state & 16u) != 0;
    }

    // Colours [i, end) up to the "</style" that ends the element; returns the
    // position of its "<", or end.
    std::size_t Colour(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out);

private:
    enum Sub : std::uint8_t { CODE, COMMENT, SINGLE, DOUBLE };
    std::size_t Code(const unsigned char* p, std::size_t i, std::size_t end, const CSlotSink& out);

    Sub m_sub = CODE;
    std::uint32_t m_depth = 0; // braces open, counted up to 3
    bool m_bValue = false;     // after the ":" of a declaration
};
