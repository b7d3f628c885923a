// Helpers of the colouring tests: the slot of every byte as a string of digits.
#pragma once

#include "BufferStyleTarget.h"
#include "HtmlTokenizer.h"
#include "PHPTokenizer.h"
#include "SlotBuffer.h"
#include "StyleSlot.h"

#include <string>
#include <string_view>

namespace ColourTest {

inline std::string Digits(const std::vector<std::uint8_t>& slotBytes)
{
    std::string s;
    for (std::uint8_t v : slotBytes)
        s += static_cast<char>('0' + v);
    return s;
}

// A whole pass over text.
inline std::string PassSlots(std::string_view text)
{
    return Digits(ColourBytes(text));
}

// One language colourer over text that already carries its base slot.
template <class Colourer>
std::string ColourerSlots(std::string_view text, int baseSlot)
{
    CBufferStyleTarget target(text);
    target.BeginPass();
    target.ApplySlot(baseSlot, 0, static_cast<std::int32_t>(text.size()));
    Colourer colourer(target);
    colourer.ColourText(text, 0);
    target.EndPass();
    return Digits(target.Buffer().Slots());
}

inline std::string PhpSlots(std::string_view code) { return ColourerSlots<CPHPTokenizer>(code, SLOT_PHP_IDENTIFIER); }
inline std::string HtmlSlots(std::string_view part) { return ColourerSlots<CHtmlTokenizer>(part, SLOT_HTML_ELEMENT); }

} // namespace ColourTest
