// The whole colouring pass (region split, PHP and HTML colourers) on any
// bytes: every run lies inside the text, the runs cover it in order, and every
// slot is one of the ten.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "SlotBuffer.h"
#include "StyleSlot.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int64_t next = 0;
    for (const CSlotRun& run : ColourRuns(text)) {
        if (run.start != next || run.end <= run.start || run.end > static_cast<std::int64_t>(size) ||
            run.slot < 0 || run.slot >= kSlotCount)
            std::abort();
        next = run.end;
    }
    if (next != static_cast<std::int64_t>(size))
        std::abort();
    return 0;
}
