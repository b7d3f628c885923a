// DES on any key and blocks: deciphering with the reversed schedule gives the
// blocks back, in place as well as from one buffer to another; ECB over a
// buffer is the block transform applied to each whole block, leaving a short
// tail alone; and the key's parity bits (the low bit of each byte) change nothing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/DesCipher.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9)
        return 0;
    // The first byte flips parity bits of the key that follows it.
    const std::uint8_t flips = data[0];
    const std::uint8_t* key = data + 1;
    CDesCipher encipher, decipher, flipped;
    encipher.KeySetup(key, CDesCipher::Encipher);
    decipher.KeySetup(key, CDesCipher::Decipher);
    std::uint8_t otherKey[8];
    for (int k = 0; k < 8; ++k)
        otherKey[k] = static_cast<std::uint8_t>(key[k] ^ ((flips >> k) & 1));
    flipped.KeySetup(otherKey, CDesCipher::Encipher);

    const std::vector<std::uint8_t> original(data + 9, data + size);
    std::vector<std::uint8_t> blocks = original;
    encipher.TransformBlocks(blocks.data(), blocks.size());
    const std::size_t whole = original.size() / 8 * 8;
    Check(std::equal(blocks.begin() + static_cast<std::ptrdiff_t>(whole), blocks.end(),
                     original.begin() + static_cast<std::ptrdiff_t>(whole)));
    for (std::size_t at = 0; at < whole; at += 8) {
        std::uint8_t one[8], two[8];
        encipher.Transform(original.data() + at, one);
        flipped.Transform(original.data() + at, two);
        Check(std::memcmp(one, blocks.data() + at, 8) == 0 && std::memcmp(two, one, 8) == 0);
        decipher.Transform(one, one);
        Check(std::memcmp(one, original.data() + at, 8) == 0);
    }
    decipher.TransformBlocks(blocks.data(), blocks.size());
    Check(blocks == original);
    return 0;
}
