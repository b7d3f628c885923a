// DES on any key and blocks: deciphering with the reversed schedule gives the
// blocks back, in place as well as from one buffer to another.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/DesCipher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 8)
        return 0;
    CDesCipher encipher, decipher;
    encipher.KeySetup(data, CDesCipher::Encipher);
    decipher.KeySetup(data, CDesCipher::Decipher);
    std::vector<std::uint8_t> blocks(data + 8, data + size);
    const std::vector<std::uint8_t> original = blocks;
    encipher.TransformBlocks(blocks.data(), blocks.size());
    decipher.TransformBlocks(blocks.data(), blocks.size());
    if (blocks != original)
        std::abort();
    if (original.size() >= 8) {
        std::uint8_t out[8];
        encipher.Transform(original.data(), out);
        decipher.Transform(out, out);
        if (std::memcmp(out, original.data(), 8) != 0)
            std::abort();
    }
    return 0;
}
