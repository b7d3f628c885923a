// The style target on a real QsciScintilla: slots become Scintilla styles 0..9.
#pragma once

#include "SlotBuffer.h"
#include "SlotFormat.h"
#include "StyleTarget.h"

#include <array>

class QsciScintilla;

// A pass reads the ten formats from the settings store once (BeginPass), sets
// styles 0..9 from them, collects the slots of every byte with later ranges
// winning, and hands the result to the control in one styling call at the end
// (EndPass), with strike-out drawn by an indicator. Drawing is suspended for the
// pass; the selection is never moved.
class CScintillaStyleTarget : public CStyleTarget {
public:
    explicit CScintillaStyleTarget(QsciScintilla* editor);

    std::string_view Text() override;
    void BeginPass() override;
    void EndPass() override;
    void ApplySlot(int slot, std::int32_t start, std::int32_t end) override { m_buffer.Apply(slot, start, end); }

private:
    void ApplyStrikeOut(const std::vector<CSlotRun>& runs);

    QsciScintilla* m_pEditor;
    std::array<CSlotFormat, kSlotCount> m_formats{};
    CSlotBuffer m_buffer;
    bool m_bUpdatesWereEnabled = true;
};
