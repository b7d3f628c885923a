// A style target over a byte string: slots land in a CSlotBuffer. Used by the
// styles tool, the example-file tests, and the editor adapter's first stage.
#pragma once

#include "SlotBuffer.h"
#include "StyleTarget.h"

class CBufferStyleTarget : public CStyleTarget {
public:
    // text must outlive the target.
    explicit CBufferStyleTarget(std::string_view text) : m_text(text) {}

    std::string_view Text() override { return m_text; }
    void BeginPass() override { m_buffer.Reset(m_text.size()); }
    void EndPass() override {}
    void ApplySlot(int slot, std::int32_t start, std::int32_t end) override { m_buffer.Apply(slot, start, end); }

    const CSlotBuffer& Buffer() const { return m_buffer; }

private:
    std::string_view m_text;
    CSlotBuffer m_buffer;
};
