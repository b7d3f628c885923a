// The Data Encryption Standard (FIPS PUB 46): key setup and the transform of
// one 8-byte block, used in ECB mode.
#pragma once

#include <array>
#include <cstdint>

class CDesCipher
{
public:
    enum Direction { Encipher = 0, Decipher = 1 };

    // Builds the 16 round keys from the 8-byte key (parity bits ignored).
    // Direction Decipher stores them from round 16 down to round 1, so the
    // same transform inverts the enciphering; any other value enciphers.
    void KeySetup(const std::uint8_t key[8], int direction);

    // Transforms one block with the current round keys; in and out may be
    // the same block.
    void Transform(const std::uint8_t in[8], std::uint8_t out[8]) const;

    // ECB over size bytes in place, block by block; a trailing part shorter
    // than a block is left as it is.
    void TransformBlocks(std::uint8_t* data, std::size_t size) const;

private:
    // Each round key as two words: its 6-bit groups 1, 3, 5, 7 in the bytes
    // of the first (group 1 highest), groups 2, 4, 6, 8 in the second.
    std::array<std::uint32_t, 32> m_schedule{};
};
