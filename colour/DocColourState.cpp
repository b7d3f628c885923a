#include "DocColourState.h"

#include <QHash>
#include <QPointer>
#include <Qsci/qsciscintilla.h>

#include <cstring>

namespace {

void* DocumentOf(QsciScintilla* editor)
{
    return reinterpret_cast<void*>(editor->SendScintilla(QsciScintillaBase::SCI_GETDOCPOINTER));
}

// One state per document; a state lives as long as the editor that made it,
// and is used only while that editor still shows the document (so that a
// freed document's address, given to a new one, never finds an old state).
QHash<void*, QPointer<CDocColourState>>& Registry()
{
    static QHash<void*, QPointer<CDocColourState>> states;
    return states;
}

} // namespace

CDocColourState::CDocColourState(QsciScintilla* owner, void* document)
    : QObject(owner), m_pOwner(owner), m_pDocument(document)
{
    m_change.MarkAll();
    // Every window on a document is told of each change; one of them is enough.
    // Each change is taken from the report made before it, which carries the
    // same position and length as the one after: our editor asks only for
    // those (see CCodeEditCtrl), any other control gets both.
    connect(owner, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                if (type & QsciScintillaBase::SC_MOD_BEFOREINSERT) {
                    m_change.Insert(position, length);
                    if (m_feeder)
                        m_feeder->Feed().Insert(position, length);
                } else if (type & QsciScintillaBase::SC_MOD_BEFOREDELETE) {
                    m_change.Delete(position, length);
                    if (m_feeder)
                        m_feeder->Feed().Delete(position, length);
                }
            });
}

bool CDocColourState::Shows(void* document) const
{
    return DocumentOf(m_pOwner) == document;
}

CDocColourState* CDocColourState::For(QsciScintilla* editor)
{
    void* document = DocumentOf(editor);
    QPointer<CDocColourState>& slot = Registry()[document];
    if (!slot || !slot->Shows(document))
        slot = new CDocColourState(editor, document);
    return slot.data();
}

CFoldLevels& CDocColourState::Folds()
{
    if (!m_folds)
        m_folds = std::make_unique<CFoldLevels>();
    return *m_folds;
}

CChangeSet CDocColourState::TakeChange()
{
    CChangeSet change = m_change;
    m_change.Clear();
    return change;
}

quint64 CDocColourState::Await()
{
    static quint64 s_nTickets = 0;
    m_nAwaited = ++s_nTickets;
    SetFeeder(nullptr);
    return m_nAwaited;
}

bool CDocColourState::EndAwait(quint64 ticket)
{
    if (ticket == 0 || ticket != m_nAwaited)
        return false;
    m_nAwaited = 0;
    return true;
}

void CDocColourState::SetFeeder(CStyleFeeder* feeder)
{
    if (m_feeder && m_feeder != feeder)
        delete m_feeder.data();
    m_feeder = feeder;
}

bool CDocColourState::SwapFormats(const std::array<CSlotFormat, kSlotCount>& formats)
{
    const bool changed = !m_bHasFormats || std::memcmp(formats.data(), m_formats.data(), sizeof m_formats) != 0;
    m_formats = formats;
    m_bHasFormats = true;
    return changed;
}

CDocColourState::~CDocColourState()
{
    auto it = Registry().find(m_pDocument);
    if (it != Registry().end() && (it->isNull() || it->data() == this))
        Registry().erase(it);
}
