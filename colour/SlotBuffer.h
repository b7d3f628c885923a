// One slot number per byte of a text, with later ranges written over earlier
// ones; and the runs of equal slots that the styles tool prints.
#pragma once

#include "ColourScan.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CSlotRun {
    std::int32_t start;
    std::int32_t end; // exclusive
    int slot;
    bool operator==(const CSlotRun&) const = default;
};

class CSlotBuffer {
public:
    void Reset(std::size_t length) { m_arrSlots.assign(length, 0); }
    // Writes slot over [start, end), clipped to the buffer.
    void Apply(int slot, std::int32_t start, std::int32_t end);

    const std::vector<std::uint8_t>& Slots() const { return m_arrSlots; }
    std::vector<CSlotRun> Runs() const;

private:
    std::vector<std::uint8_t> m_arrSlots;
};

// "START END SLOT" lines, one per run.
std::string FormatRuns(const std::vector<CSlotRun>& runs);

// Colours text in one pass, as the editor does, and returns the slot of every byte.
std::vector<std::uint8_t> ColourBytes(std::string_view text);
// The same as runs.
std::vector<CSlotRun> ColourRuns(std::string_view text);

// Colours text in one pass by rules, with no checkpoints to stop at.
std::vector<std::uint8_t> ColourBytes(std::string_view text, ColourRules rules);
std::vector<CSlotRun> ColourRuns(std::string_view text, ColourRules rules);
