#include "DesCipher.h"

namespace {

// Bit positions in the tables count from 1 at the most significant bit.
constexpr std::uint8_t kInitialPermutation[64] = {
    58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
    62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
    57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
    61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::uint8_t kFinalPermutation[64] = {
    40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
    38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
    36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
    34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};

constexpr std::uint8_t kPermutationP[32] = {
    16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
    2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::uint8_t kPermutedChoice1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
    10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
    63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
    14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::uint8_t kPermutedChoice2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
    23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
    44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

// S-box n, row r (outer bits), column c (inner four bits): kSBoxes[n][16 * r + c].
constexpr std::uint8_t kSBoxes[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,
     0,  15, 7,  4, 14, 2,  13, 1,  10, 6,  12, 11, 9,  5,  3, 8,
     4,  1,  14, 8, 13, 6,  2,  11, 15, 12, 9,  7,  3,  10, 5, 0,
     15, 12, 8,  2, 4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6, 13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10,
     3,  13, 4,  7,  15, 2,  8,  14, 12, 0, 1,  10, 6,  9, 11, 5,
     0,  14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,  9,  3, 2,  15,
     13, 8,  10, 1,  3,  15, 4,  2,  11, 6, 7,  12, 0,  5, 14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,
     13, 7,  0,  9,  3, 4,  6,  10, 2,  8,  5,  14, 12, 11, 15, 1,
     13, 6,  4,  9,  8, 15, 3,  0,  11, 1,  2,  12, 5,  10, 14, 7,
     1,  10, 13, 0,  6, 9,  8,  7,  4,  15, 14, 3,  11, 5,  2,  12},
    {7,  13, 14, 3, 0,  6,  9,  10, 1,  2, 8, 5,  11, 12, 4,  15,
     13, 8,  11, 5, 6,  15, 0,  3,  4,  7, 2, 12, 1,  10, 14, 9,
     10, 6,  9,  0, 12, 11, 7,  13, 15, 1, 3, 14, 5,  2,  8,  4,
     3,  15, 0,  6, 10, 1,  13, 8,  9,  4, 5, 11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0, 14, 9,
     14, 11, 2,  12, 4,  7,  13, 1,  5,  0,  15, 10, 3,  9, 8,  6,
     4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,  6,  3, 0,  14,
     11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9,  10, 4, 5,  3},
    {12, 1,  10, 15, 9, 2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11,
     10, 15, 4,  2,  7, 12, 9,  5,  6,  1,  13, 14, 0,  11, 3,  8,
     9,  14, 15, 5,  2, 8,  12, 3,  7,  0,  4,  10, 1,  13, 11, 6,
     4,  3,  2,  12, 9, 5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0, 8,  13, 3,  12, 9, 7,  5,  10, 6, 1,
     13, 0,  11, 7,  4,  9, 1,  10, 14, 3,  5, 12, 2,  15, 8, 6,
     1,  4,  11, 13, 12, 3, 7,  14, 10, 15, 6, 8,  0,  5,  9, 2,
     6,  11, 13, 8,  1,  4, 10, 7,  9,  5,  0, 15, 14, 2,  3, 12},
    {13, 2,  8,  4, 6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,
     1,  15, 13, 8, 10, 3,  7,  4,  12, 5,  6,  11, 0,  14, 9,  2,
     7,  11, 4,  1, 9,  12, 14, 2,  0,  6,  10, 13, 15, 3,  5,  8,
     2,  1,  14, 7, 4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11}};

// Picks bits of a width-bit value (position 1 the most significant) in the
// order of table, giving a value of count bits.
template <std::size_t count>
std::uint64_t Permute(std::uint64_t value, int width, const std::uint8_t (&table)[count])
{
    std::uint64_t out = 0;
    for (std::uint8_t position : table)
        out = (out << 1) | ((value >> (width - position)) & 1u);
    return out;
}

std::uint32_t Rotate28(std::uint32_t half, int count)
{
    return ((half << count) | (half >> (28 - count))) & 0x0FFFFFFFu;
}

std::uint32_t RotateLeft(std::uint32_t word, int count)
{
    count &= 31;
    return count == 0 ? word : (word << count) | (word >> (32 - count));
}

// The cipher function f(R, K) of one round; key0 and key1 are the round
// key's two packed words.
std::uint32_t Feistel(std::uint32_t right, std::uint32_t key0, std::uint32_t key1)
{
    // The expansion E: group k (1 to 8) is bits 4k-4 .. 4k+1 of R, wrapping
    // round, i.e. six bits of R rotated right by one, starting at 4(k-1).
    const std::uint32_t rotated = RotateLeft(right, 31);
    std::uint32_t sOut = 0;
    for (int k = 0; k < 8; ++k) {
        const std::uint32_t keyWord = (k % 2 == 0) ? key0 : key1;
        const std::uint32_t keyGroup = (keyWord >> (24 - 8 * (k / 2))) & 0x3Fu;
        const std::uint32_t group = (RotateLeft(rotated, 4 * k + 6) & 0x3Fu) ^ keyGroup;
        const std::uint32_t row = ((group >> 4) & 2u) | (group & 1u);
        const std::uint32_t column = (group >> 1) & 0xFu;
        sOut = (sOut << 4) | kSBoxes[k][16 * row + column];
    }
    return static_cast<std::uint32_t>(Permute(sOut, 32, kPermutationP));
}

} // namespace

void CDesCipher::KeySetup(const std::uint8_t key[8], int direction)
{
    std::uint64_t keyBits = 0;
    for (int i = 0; i < 8; ++i)
        keyBits = (keyBits << 8) | key[i];
    const std::uint64_t selected = Permute(keyBits, 64, kPermutedChoice1);
    std::uint32_t c = static_cast<std::uint32_t>(selected >> 28) & 0x0FFFFFFFu;
    std::uint32_t d = static_cast<std::uint32_t>(selected) & 0x0FFFFFFFu;
    for (int round = 0; round < 16; ++round) {
        c = Rotate28(c, kShifts[round]);
        d = Rotate28(d, kShifts[round]);
        const std::uint64_t cd = (static_cast<std::uint64_t>(c) << 28) | d;
        const std::uint64_t roundKey = Permute(cd, 56, kPermutedChoice2);
        std::uint32_t words[2] = {0, 0};
        for (int g = 0; g < 8; ++g) {
            const auto group = static_cast<std::uint32_t>(roundKey >> (42 - 6 * g)) & 0x3Fu;
            words[g % 2] |= group << (24 - 8 * (g / 2));
        }
        const int slot = direction == Decipher ? 15 - round : round;
        m_schedule[2 * slot] = words[0];
        m_schedule[2 * slot + 1] = words[1];
    }
}

void CDesCipher::Transform(const std::uint8_t in[8], std::uint8_t out[8]) const
{
    std::uint64_t block = 0;
    for (int i = 0; i < 8; ++i)
        block = (block << 8) | in[i];
    block = Permute(block, 64, kInitialPermutation);
    std::uint32_t left = static_cast<std::uint32_t>(block >> 32);
    std::uint32_t right = static_cast<std::uint32_t>(block);
    for (int round = 0; round < 16; ++round) {
        const std::uint32_t next = left ^ Feistel(right, m_schedule[2 * round], m_schedule[2 * round + 1]);
        left = right;
        right = next;
    }
    // The last round does not swap: the output is R16 L16.
    block = (static_cast<std::uint64_t>(right) << 32) | left;
    block = Permute(block, 64, kFinalPermutation);
    for (int i = 7; i >= 0; --i) {
        out[i] = static_cast<std::uint8_t>(block);
        block >>= 8;
    }
}

void CDesCipher::TransformBlocks(std::uint8_t* data, std::size_t size) const
{
    for (std::size_t at = 0; at + 8 <= size; at += 8)
        Transform(data + at, data + at);
}
