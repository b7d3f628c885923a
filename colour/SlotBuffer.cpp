#include "SlotBuffer.h"

#include "BufferStyleTarget.h"
#include "PHPRegionTokenizer.h"

#include <algorithm>
#include <cstring>

void CSlotBuffer::Apply(int slot, std::int32_t start, std::int32_t end)
{
    const auto n = static_cast<std::int32_t>(m_arrSlots.size());
    start = std::clamp(start, 0, n);
    end = std::clamp(end, 0, n);
    if (start < end)
        std::memset(m_arrSlots.data() + start, slot, static_cast<std::size_t>(end - start));
}

std::vector<CSlotRun> CSlotBuffer::Runs() const
{
    std::vector<CSlotRun> runs;
    const auto n = static_cast<std::int32_t>(m_arrSlots.size());
    std::int32_t i = 0;
    while (i < n) {
        std::int32_t j = i + 1;
        while (j < n && m_arrSlots[j] == m_arrSlots[i])
            ++j;
        runs.push_back({i, j, m_arrSlots[i]});
        i = j;
    }
    return runs;
}

std::string FormatRuns(const std::vector<CSlotRun>& runs)
{
    std::string out;
    for (const CSlotRun& r : runs)
        out += std::to_string(r.start) + ' ' + std::to_string(r.end) + ' ' + std::to_string(r.slot) + '\n';
    return out;
}

std::vector<std::uint8_t> ColourBytes(std::string_view text)
{
    CBufferStyleTarget target(text);
    CPHPRegionTokenizer(target).Recolour();
    return target.Buffer().Slots();
}

std::vector<CSlotRun> ColourRuns(std::string_view text)
{
    CBufferStyleTarget target(text);
    CPHPRegionTokenizer(target).Recolour();
    return target.Buffer().Runs();
}

std::vector<std::uint8_t> ColourBytes(std::string_view text, ColourRules rules)
{
    CColourScan scan(text, static_cast<std::int64_t>(text.size()) + 1, rules);
    scan.Run({0, false}, {}, 0);
    return scan.TakeSlots();
}

std::vector<CSlotRun> ColourRuns(std::string_view text, ColourRules rules)
{
    CSlotBuffer buffer;
    buffer.Reset(text.size());
    const std::vector<std::uint8_t> slots = ColourBytes(text, rules);
    std::int32_t i = 0;
    for (std::size_t k = 1; k <= slots.size(); ++k)
        if (k == slots.size() || slots[k] != slots[k - 1]) {
            buffer.Apply(slots[k - 1], i, static_cast<std::int32_t>(k));
            i = static_cast<std::int32_t>(k);
        }
    return buffer.Runs();
}
