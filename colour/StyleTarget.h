// What the colouring engine sees of an editor: its text and a way to give byte
// ranges a slot format. Implemented on the real editor control and, for tests and
// the command-line tool, on plain byte buffers.
#pragma once

#include <cstdint>
#include <string_view>

class CStyleTarget {
public:
    virtual ~CStyleTarget() = default;

    // The whole text, exact bytes; valid until the pass ends.
    virtual std::string_view Text() = 0;
    // Called once before the first ApplySlot of a pass (reads the formats,
    // suspends drawing) and once after the last one.
    virtual void BeginPass() = 0;
    virtual void EndPass() = 0;
    // Gives the bytes [start, end) the format of slot; a later call wins over an
    // earlier one on the bytes they share. Empty ranges are allowed.
    virtual void ApplySlot(int slot, std::int32_t start, std::int32_t end) = 0;
};
