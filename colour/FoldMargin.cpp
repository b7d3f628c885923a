#include "FoldMargin.h"

#include "DocColourState.h"
#include "FoldLevels.h"

#include <Qsci/qsciscintilla.h>

#include <atomic>

namespace FoldMargin {

namespace {

using Sci = QsciScintillaBase;

std::atomic<bool> g_bWanted{false};

long Send(QsciScintilla* e, unsigned int msg, unsigned long w = 0, long l = 0)
{
    return e->SendScintilla(msg, w, l);
}

void SetLevels(QsciScintilla* editor, CFoldLevels& levels, std::int64_t from, std::int64_t to)
{
    levels.Apply(from, to, [editor](std::int64_t line, int level) {
        Send(editor, Sci::SCI_SETFOLDLEVEL, static_cast<unsigned long>(line), level);
    });
}

void DefineMarkers(QsciScintilla* editor)
{
    const struct {
        int number;
        int symbol;
    } markers[] = {{Sci::SC_MARKNUM_FOLDEROPEN, Sci::SC_MARK_BOXMINUS},
                   {Sci::SC_MARKNUM_FOLDER, Sci::SC_MARK_BOXPLUS},
                   {Sci::SC_MARKNUM_FOLDERSUB, Sci::SC_MARK_VLINE},
                   {Sci::SC_MARKNUM_FOLDERTAIL, Sci::SC_MARK_LCORNER},
                   {Sci::SC_MARKNUM_FOLDEREND, Sci::SC_MARK_BOXPLUSCONNECTED},
                   {Sci::SC_MARKNUM_FOLDEROPENMID, Sci::SC_MARK_BOXMINUSCONNECTED},
                   {Sci::SC_MARKNUM_FOLDERMIDTAIL, Sci::SC_MARK_TCORNER}};
    for (const auto& m : markers) {
        Send(editor, Sci::SCI_MARKERDEFINE, static_cast<unsigned long>(m.number), m.symbol);
        Send(editor, Sci::SCI_MARKERSETFORE, static_cast<unsigned long>(m.number), 0xFFFFFF);
        Send(editor, Sci::SCI_MARKERSETBACK, static_cast<unsigned long>(m.number), 0x808080);
    }
}

} // namespace

void SetWanted(bool wanted)
{
    g_bWanted = wanted;
}

bool Wanted()
{
    return g_bWanted;
}

bool IsShown(QsciScintilla* editor)
{
    return editor->property("quilletFolding").toBool();
}

void Show(QsciScintilla* editor, bool on)
{
    if (IsShown(editor) == on)
        return;
    editor->setProperty("quilletFolding", on);
    if (!on) {
        Send(editor, Sci::SCI_FOLDALL, Sci::SC_FOLDACTION_EXPAND);
        Send(editor, Sci::SCI_SETMARGINWIDTHN, kMargin, 0);
        return;
    }
    Send(editor, Sci::SCI_SETMARGINTYPEN, kMargin, Sci::SC_MARGIN_SYMBOL);
    Send(editor, Sci::SCI_SETMARGINMASKN, kMargin, static_cast<long>(Sci::SC_MASK_FOLDERS));
    Send(editor, Sci::SCI_SETMARGINSENSITIVEN, kMargin, 1);
    Send(editor, Sci::SCI_SETMARGINWIDTHN, kMargin, 14);
    // Scintilla shows lines the levels no longer hide; clicks are ours, so
    // that every level a fold may reach is set before it folds.
    Send(editor, Sci::SCI_SETAUTOMATICFOLD, Sci::SC_AUTOMATICFOLD_SHOW | Sci::SC_AUTOMATICFOLD_CHANGE);
    DefineMarkers(editor);
    if (editor->property("quilletFoldWired").toBool())
        return;
    editor->setProperty("quilletFoldWired", true);
    QObject::connect(editor, &QsciScintilla::marginClicked, editor,
                     [editor](int margin, int line, Qt::KeyboardModifiers) {
                         if (margin != kMargin || !IsShown(editor))
                             return;
                         ApplyAll(editor);
                         Send(editor, Sci::SCI_TOGGLEFOLD, static_cast<unsigned long>(line));
                     });
    // Lines scrolled into view get their levels.
    QObject::connect(editor, &QsciScintillaBase::SCN_UPDATEUI, editor, [editor](int) {
        if (!IsShown(editor))
            return;
        if (CFoldLevels* levels = CDocColourState::For(editor)->FoldsIfAny(); levels && !levels->AllApplied())
            ApplyVisible(editor, *levels);
    });
}

void ApplyVisible(QsciScintilla* editor, CFoldLevels& levels)
{
    const long top = Send(editor, Sci::SCI_GETFIRSTVISIBLELINE);
    const long onScreen = Send(editor, Sci::SCI_LINESONSCREEN);
    const long first = Send(editor, Sci::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(top));
    const long last = Send(editor, Sci::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(top + onScreen));
    const long page = std::max(onScreen, 50L);
    SetLevels(editor, levels, std::max(0L, first - page), last + page + 1);
}

void ApplyAll(QsciScintilla* editor)
{
    if (CFoldLevels* levels = CDocColourState::For(editor)->FoldsIfAny())
        SetLevels(editor, *levels, 0, levels->LineCount());
}

void FoldAll(QsciScintilla* editor, bool contract)
{
    ApplyAll(editor);
    Send(editor, Sci::SCI_FOLDALL, contract ? Sci::SC_FOLDACTION_CONTRACT : Sci::SC_FOLDACTION_EXPAND);
}

} // namespace FoldMargin
