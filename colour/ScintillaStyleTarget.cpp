#include "ScintillaStyleTarget.h"

#include <algorithm>

#include "ColourEditor.h"
#include "LongLineTails.h"

#include <Qsci/qsciscintilla.h>

namespace {

using Sci = QsciScintillaBase;

// Scintilla's text range (Sci_TextRange), for SCI_GETSTYLEDTEXT.
struct TextRange {
    long cpMin;
    long cpMax;
    char* lpstrText;
};

// Differences closer than this are sent as one stretch: a styling call costs
// more than the bytes it carries.
constexpr std::int64_t kJoinGap = 256;

} // namespace

CScintillaStyleTarget::CScintillaStyleTarget(QsciScintilla* editor) : m_pEditor(editor) {}

std::string_view CScintillaStyleTarget::Text()
{
    const long length = m_pEditor->SendScintilla(Sci::SCI_GETTEXTLENGTH);
    if (length <= 0)
        return {};
    // The document's own bytes, contiguous; valid while the text is unchanged,
    // and a pass changes only styles.
    const auto* p = static_cast<const char*>(m_pEditor->SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
    return p ? std::string_view(p, static_cast<std::size_t>(length)) : std::string_view();
}

std::string_view CScintillaStyleTarget::TextFrom(std::int64_t from)
{
    const long length = m_pEditor->SendScintilla(Sci::SCI_GETTEXTLENGTH);
    if (from <= 0 || from >= length)
        return Text();
    // The bytes from `from` on, made contiguous by moving the control's gap
    // to `from`: that moves only the bytes between the gap (where the last
    // edit was) and `from`, where making the whole text contiguous would move
    // everything after the gap, 100 MB of a 200 MB file edited in the middle.
    // The bytes below `from` are then the start of the control's buffer, not
    // the text: the view below `from` stays inside that buffer, unread.
    const auto* p = reinterpret_cast<const char*>(m_pEditor->SendScintilla(
        Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), static_cast<long>(length - from)));
    if (!p)
        return Text();
    return std::string_view(p - from, static_cast<std::size_t>(length));
}

void CScintillaStyleTarget::BeginPass()
{
    m_formats = ReadStoredSlotFormats();
    for (int slot = 0; slot < kSlotCount; ++slot)
        ColourEditor::ApplySlotStyle(m_pEditor, slot, m_formats[slot]);
}

void CScintillaStyleTarget::SendWindow(const CIncrementalColourer::Window& window,
                                       const std::function<void(double)>& progress)
{
    if (window.all) {
        const auto n = static_cast<std::int64_t>(window.slotBytes.size());
        constexpr std::int64_t kSlice = std::int64_t{8} << 20;
        const std::int64_t slice = progress ? kSlice : std::max<std::int64_t>(n, 1);
        for (std::int64_t done = 0; done < n;) {
            const std::int64_t length = std::min(slice, n - done);
            SendStyles(done, window.slotBytes.data() + done, length);
            done += length;
            if (progress && done < n)
                progress(static_cast<double>(done) / static_cast<double>(n));
        }
    } else
        SendDifferences(window);
    const auto n = static_cast<std::int64_t>(window.slotBytes.size());
    if (window.all || n > 0)
        ApplyStrikeOut(window.start, window.slotBytes.data(), n);
    LongLineTails::Refresh(m_pEditor, window.start, window.start + n);
}

void CScintillaStyleTarget::SendSlots(std::int64_t start, const std::uint8_t* slotBytes, std::int64_t length)
{
    SendStyles(start, slotBytes, length);
    ApplyStrikeOut(start, slotBytes, length);
    LongLineTails::Refresh(m_pEditor, start, start + length);
}

void CScintillaStyleTarget::SendStyles(std::int64_t start, const std::uint8_t* styles, std::int64_t length)
{
    if (length <= 0)
        return;
    m_pEditor->SendScintilla(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(start), 0x1fL);
    m_pEditor->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<uintptr_t>(length),
                             reinterpret_cast<const char*>(styles));
}

std::vector<std::uint8_t> CScintillaStyleTarget::StylesAt(QsciScintilla* editor, std::int64_t start, std::int64_t length)
{
    // The control hands out text and style bytes interleaved.
    std::vector<char> styled(static_cast<std::size_t>(2 * length + 2));
    TextRange range{static_cast<long>(start), static_cast<long>(start + length), styled.data()};
    editor->SendScintilla(Sci::SCI_GETSTYLEDTEXT, 0UL, static_cast<void*>(&range));
    std::vector<std::uint8_t> styles(static_cast<std::size_t>(length));
    for (std::size_t k = 0; k < styles.size(); ++k)
        styles[k] = static_cast<std::uint8_t>(styled[2 * k + 1]);
    return styles;
}

// Bytes the control already shows in the right style are left alone: outside
// the changed text that is most of a window.
void CScintillaStyleTarget::SendDifferences(const CIncrementalColourer::Window& window)
{
    const auto length = static_cast<std::int64_t>(window.slotBytes.size());
    if (length == 0)
        return;
    const std::vector<std::uint8_t> held = StylesAt(m_pEditor, window.start, length);
    auto differs = [&](std::int64_t k) {
        return held[static_cast<std::size_t>(k)] != window.slotBytes[static_cast<std::size_t>(k)];
    };
    std::int64_t k = 0;
    while (k < length) {
        while (k < length && !differs(k))
            ++k;
        if (k == length)
            break;
        const std::int64_t first = k;
        std::int64_t last = k;
        for (++k; k < length && k - last <= kJoinGap; ++k)
            if (differs(k))
                last = k;
        SendStyles(window.start + first, window.slotBytes.data() + first, last + 1 - first);
        k = last + 1;
    }
}

// Strike-out is an indicator drawn in the text colour of the run it covers;
// it is cleared from the coloured stretch first so that no earlier mark stays.
void CScintillaStyleTarget::ApplyStrikeOut(std::int64_t start, const std::uint8_t* styles, std::int64_t n)
{
    const int ind = ColourEditor::kStrikeOutIndicator;
    ColourEditor::SetStrikeOutLook(m_pEditor);
    m_pEditor->SendScintilla(Sci::SCI_SETINDICATORCURRENT, ind);
    m_pEditor->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(start),
                             static_cast<long>(n));
    bool anyStruck = false;
    for (const CSlotFormat& f : m_formats)
        anyStruck = anyStruck || f.StrikeOut();
    if (!anyStruck)
        return;
    for (std::int64_t i = 0; i < n;) {
        std::int64_t j = i + 1;
        while (j < n && styles[j] == styles[i])
            ++j;
        const CSlotFormat& f = m_formats[styles[i]];
        if (f.StrikeOut()) {
            m_pEditor->SendScintilla(Sci::SCI_SETINDICATORVALUE,
                                     static_cast<long>(f.crTextColor | Sci::SC_INDICVALUEBIT));
            m_pEditor->SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start + i),
                                     static_cast<long>(j - i));
        }
        i = j;
    }
}
