// Hands a colouring pass's styles to a real QsciScintilla: styles become
// Scintilla styles 0..9, strike-out an indicator.
#pragma once

#include "IncrementalColourer.h"
#include "SlotBuffer.h"
#include "SlotFormat.h"

#include <array>
#include <functional>
#include <string_view>
#include <vector>

class QsciScintilla;

// A pass reads the ten formats from the settings store once (BeginPass) and
// sets styles 0..9 from them; SendWindow gives the control the styles of the
// pass's window: all of them after a whole-text pass, otherwise only those
// that differ from the styles the control holds. The selection is never moved.
class CScintillaStyleTarget {
public:
    explicit CScintillaStyleTarget(QsciScintilla* editor);

    // The whole text, exact bytes; valid while the text is unchanged.
    std::string_view Text();
    // The same view for a reader of the bytes from `from` on only: only those
    // are valid, and getting them never moves more than the bytes between
    // the last edit and `from`.
    std::string_view TextFrom(std::int64_t from);
    void BeginPass();
    // progress, when given, hears the share sent so far (0..1) between the
    // slices a whole-text window is sent in.
    void SendWindow(const CIncrementalColourer::Window& window,
                    const std::function<void(double)>& progress = {});

    // Gives [start, start + length) the slots, as they are, with their
    // strike-out marks: a stretch of a pass handed over apart from its window.
    void SendSlots(std::int64_t start, const std::uint8_t* slotBytes, std::int64_t length);

    // The style bytes editor holds for [start, start + length).
    static std::vector<std::uint8_t> StylesAt(QsciScintilla* editor, std::int64_t start, std::int64_t length);

    const std::array<CSlotFormat, kSlotCount>& Formats() const { return m_formats; }

private:
    void SendStyles(std::int64_t start, const std::uint8_t* styles, std::int64_t length);
    void SendDifferences(const CIncrementalColourer::Window& window);
    void ApplyStrikeOut(std::int64_t start, const std::uint8_t* styles, std::int64_t n);

    QsciScintilla* m_pEditor;
    std::array<CSlotFormat, kSlotCount> m_formats{};
};
