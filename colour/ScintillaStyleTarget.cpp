#include "ScintillaStyleTarget.h"

#include "ColourEditor.h"

#include <Qsci/qsciscintilla.h>

CScintillaStyleTarget::CScintillaStyleTarget(QsciScintilla* editor) : m_pEditor(editor) {}

std::string_view CScintillaStyleTarget::Text()
{
    const long length = m_pEditor->SendScintilla(QsciScintillaBase::SCI_GETTEXTLENGTH);
    if (length <= 0)
        return {};
    // The document's own bytes, contiguous; valid while the text is unchanged,
    // and a pass changes only styles.
    const auto* p = static_cast<const char*>(m_pEditor->SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return p ? std::string_view(p, static_cast<std::size_t>(length)) : std::string_view();
}

void CScintillaStyleTarget::BeginPass()
{
    m_formats = ReadStoredSlotFormats();
    m_bUpdatesWereEnabled = m_pEditor->viewport()->updatesEnabled();
    m_pEditor->viewport()->setUpdatesEnabled(false);
    for (int slot = 0; slot < kSlotCount; ++slot)
        ColourEditor::ApplySlotStyle(m_pEditor, slot, m_formats[slot]);
    m_buffer.Reset(static_cast<std::size_t>(m_pEditor->SendScintilla(QsciScintillaBase::SCI_GETTEXTLENGTH)));
}

void CScintillaStyleTarget::EndPass()
{
    const auto& slotBytes = m_buffer.Slots();
    if (!slotBytes.empty()) {
        m_pEditor->SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, 0UL, 0x1fL);
        m_pEditor->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, static_cast<uintptr_t>(slotBytes.size()),
                                 reinterpret_cast<const char*>(slotBytes.data()));
    }
    bool anyStruck = false;
    for (const CSlotFormat& f : m_formats)
        anyStruck = anyStruck || f.StrikeOut();
    ApplyStrikeOut(anyStruck ? m_buffer.Runs() : std::vector<CSlotRun>());
    m_pEditor->viewport()->setUpdatesEnabled(m_bUpdatesWereEnabled);
}

// Strike-out is an indicator drawn in the text colour of the run it covers;
// it is cleared from the whole text first so that no earlier pass's marks stay.
void CScintillaStyleTarget::ApplyStrikeOut(const std::vector<CSlotRun>& runs)
{
    const int ind = ColourEditor::kStrikeOutIndicator;
    ColourEditor::SetStrikeOutLook(m_pEditor);
    m_pEditor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, ind);
    const long length = static_cast<long>(m_buffer.Slots().size());
    m_pEditor->SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0UL, length);
    for (const CSlotRun& r : runs) {
        const CSlotFormat& f = m_formats[r.slot];
        if (!f.StrikeOut())
            continue;
        m_pEditor->SendScintilla(QsciScintillaBase::SCI_SETINDICATORVALUE,
                                 static_cast<long>(f.crTextColor | QsciScintillaBase::SC_INDICVALUEBIT));
        m_pEditor->SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(r.start),
                                 static_cast<long>(r.end - r.start));
    }
}
