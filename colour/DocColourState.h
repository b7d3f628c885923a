// What the colourer keeps of one Scintilla document between passes: the
// checkpoints of the last pass, the formats it used, and the changes made to
// the text since, as one editor viewing the document reports them. Shared by
// every window on the document; it goes with the editor that made it.
#pragma once

#include "ChangeSet.h"
#include "FoldLevels.h"
#include "IncrementalColourer.h"
#include "SlotFormat.h"
#include "StyleFeeder.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <memory>

class QsciScintilla;

class CDocColourState : public QObject {
    Q_OBJECT
public:
    // The state of the document editor shows, made (and owned by editor) on
    // first use; a new state knows nothing, so its first pass is whole.
    static CDocColourState* For(QsciScintilla* editor);

    ~CDocColourState() override;

    CIncrementalColourer& Colourer() { return m_colourer; }
    // The fold levels, made on first use (a new one knows nothing, so its
    // first update is whole); null when not in use.
    CFoldLevels& Folds();
    CFoldLevels* FoldsIfAny() { return m_folds.get(); }
    void DropFolds() { m_folds.reset(); }
    // The changes since the last pass, then forgotten.
    CChangeSet TakeChange();
    // Whether formats differ from those of the last pass; remembers them.
    bool SwapFormats(const std::array<CSlotFormat, kSlotCount>& formats);
    // The next pass colours the whole text.
    void Forget() { m_change.MarkAll(); }

    // A pass of the whole text is being made elsewhere (on a worker, for a
    // text just loaded): until the ticket Await returns is ended, passes
    // wait for it and the changes made meanwhile gather. Ending a ticket
    // that is no longer the awaited one (a newer load came) says false.
    quint64 Await();
    bool Awaiting() const { return m_nAwaited != 0; }
    bool EndAwait(quint64 ticket);

    // What hands out the styles of the last whole pass not given yet; told
    // of every change to the text. Null when there is none.
    CStyleFeeder* Feeder() { return m_feeder.data(); }
    void SetFeeder(CStyleFeeder* feeder);

private:
    CDocColourState(QsciScintilla* owner, void* document);
    bool Shows(void* document) const;

    QsciScintilla* m_pOwner;
    void* m_pDocument;
    CIncrementalColourer m_colourer;
    std::unique_ptr<CFoldLevels> m_folds;
    CChangeSet m_change;
    std::array<CSlotFormat, kSlotCount> m_formats{};
    bool m_bHasFormats = false;
    quint64 m_nAwaited = 0;
    QPointer<CStyleFeeder> m_feeder;
};
