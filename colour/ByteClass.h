// Byte classes of the tokenizer: ASCII letters and digits only, bytes of 0x80 and
// above belong to no class.
#pragma once

#include <array>
#include <cstdint>

namespace ByteClass {

enum : std::uint8_t {
    Letter = 1,
    Digit = 2,
    Underscore = 4,
    Point = 8,
    EdgeSpace = 16, // white space that produces no tokens at the ends of a text
};

constexpr std::array<std::uint8_t, 256> MakeTable()
{
    std::array<std::uint8_t, 256> t{};
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = Letter;
    for (int c = 'a'; c <= 'z'; ++c) t[c] = Letter;
    for (int c = '0'; c <= '9'; ++c) t[c] = Digit;
    t['_'] = Underscore;
    t['.'] = Point;
    for (int c : {' ', '\t', '\r', '\n', '\v', '\f'}) t[c] = EdgeSpace;
    return t;
}

inline constexpr std::array<std::uint8_t, 256> kTable = MakeTable();

constexpr bool Is(unsigned char c, std::uint8_t mask) { return (kTable[c] & mask) != 0; }
constexpr bool IsAlnum(unsigned char c) { return Is(c, Letter | Digit); }

} // namespace ByteClass
