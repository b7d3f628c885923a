// Where the grammar colourers write: the slot of each byte of a window of the
// text that starts at base.
#pragma once

#include <cstdint>
#include <cstring>

struct CSlotSink {
    std::uint8_t* data = nullptr;
    std::int64_t base = 0;

    void Fill(int slot, std::size_t from, std::size_t to) const
    {
        if (from < to)
            std::memset(data + (static_cast<std::int64_t>(from) - base), slot, to - from);
    }
};

namespace GrammarBytes {

inline bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool IsAlpha(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
inline bool IsHex(unsigned char c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
// A byte that starts a name in PHP or JavaScript ('$' too in the latter).
inline bool IsNameStart(unsigned char c) { return IsAlpha(c) || c == '_' || c >= 0x80; }
inline bool IsName(unsigned char c) { return IsNameStart(c) || IsDigit(c); }

} // namespace GrammarBytes
