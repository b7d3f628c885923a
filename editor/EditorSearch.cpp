#include "EditorSearch.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>

namespace EditorSearch {

namespace {

long Send(QsciScintilla* e, unsigned int msg, unsigned long w = 0, long l = 0)
{
    return e->SendScintilla(msg, w, l);
}

void SetSelection(QsciScintilla* e, long start, long end)
{
    Send(e, QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(start), end);
}

long SelStart(QsciScintilla* e) { return Send(e, QsciScintillaBase::SCI_GETSELECTIONSTART); }
long SelEnd(QsciScintilla* e) { return Send(e, QsciScintillaBase::SCI_GETSELECTIONEND); }

// One search from the selection (its end forward, its start backward), with
// or without wrapping; the match becomes the selection.
bool Search(QsciScintilla* e, const CFindOptions& o, bool forward, bool wrap, bool show)
{
    // The search starts at the caret: after the selection forward, before it backward.
    const long from = forward ? SelEnd(e) : SelStart(e);
    SetSelection(e, from, from);
    // ECMAScript syntax (\d, \s, non-greedy) rather than Scintilla's basic one.
    return e->findFirst(o.strText, o.bRegExp, o.bMatchCase, o.bWholeWord, wrap, forward, -1, -1, show,
                        false, o.bRegExp);
}

} // namespace

bool FindNext(QsciScintilla* editor, const CFindOptions& options)
{
    if (options.strText.isEmpty())
        return false;
    const long start = SelStart(editor);
    const long end = SelEnd(editor);
    if (Search(editor, options, !options.bBackward, true, true))
        return true;
    SetSelection(editor, start, end);
    return false;
}

bool ReplaceSelected(QsciScintilla* editor, const CFindOptions& options, const QString& replacement)
{
    if (options.strText.isEmpty())
        return false;
    const long start = SelStart(editor);
    const long end = SelEnd(editor);
    bool replaced = false;
    if (start != end) {
        // Search afresh from the selection's start: only a match that is the
        // selection is replaced, and a regular expression's groups are its own.
        SetSelection(editor, start, start);
        if (Search(editor, options, true, false, false) && SelStart(editor) == start && SelEnd(editor) == end) {
            editor->replace(replacement);
            replaced = true;
        } else {
            SetSelection(editor, start, end);
        }
    }
    FindNext(editor, options);
    return replaced;
}

int ReplaceAll(QsciScintilla* editor, const CFindOptions& options, const QString& replacement)
{
    if (options.strText.isEmpty())
        return 0;
    const long selStart = SelStart(editor);
    const long selEnd = SelEnd(editor);
    const bool inSelection = Send(editor, QsciScintillaBase::SCI_LINEFROMPOSITION, selStart) !=
                             Send(editor, QsciScintillaBase::SCI_LINEFROMPOSITION, selEnd);
    long rangeEnd = inSelection ? selEnd : Send(editor, QsciScintillaBase::SCI_GETLENGTH);
    long pos = inSelection ? selStart : 0;
    const long firstLine = Send(editor, QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);

    int count = 0;
    Send(editor, QsciScintillaBase::SCI_BEGINUNDOACTION);
    while (pos <= rangeEnd) {
        SetSelection(editor, pos, pos);
        if (!Search(editor, options, true, false, false))
            break;
        const long s = SelStart(editor);
        const long e = SelEnd(editor);
        if (e > rangeEnd || s < pos)
            break;
        editor->replace(replacement);
        const long newEnd = SelEnd(editor);
        rangeEnd += newEnd - e;
        ++count;
        pos = newEnd;
        // An empty match would be found again at the same place: step over one character.
        if (s == e) {
            if (pos >= Send(editor, QsciScintillaBase::SCI_GETLENGTH))
                break;
            pos = Send(editor, QsciScintillaBase::SCI_POSITIONAFTER, static_cast<unsigned long>(pos));
        }
    }
    Send(editor, QsciScintillaBase::SCI_ENDUNDOACTION);
    // The selection as the user left it, grown or shrunk by the replacements.
    if (inSelection)
        SetSelection(editor, selStart, rangeEnd);
    else
        SetSelection(editor, std::min(selStart, Send(editor, QsciScintillaBase::SCI_GETLENGTH)),
                     std::min(selStart, Send(editor, QsciScintillaBase::SCI_GETLENGTH)));
    Send(editor, QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(firstLine));
    return count;
}

void GoToLine(QsciScintilla* editor, int line)
{
    const long lines = Send(editor, QsciScintillaBase::SCI_GETLINECOUNT);
    const long target = std::clamp<long>(line, 1, std::max(1L, lines)) - 1;
    const long pos = Send(editor, QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(target));
    Send(editor, QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(pos));
    const long visible = Send(editor, QsciScintillaBase::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(target));
    const long onScreen = Send(editor, QsciScintillaBase::SCI_LINESONSCREEN);
    Send(editor, QsciScintillaBase::SCI_SETFIRSTVISIBLELINE,
         static_cast<unsigned long>(std::max(0L, visible - onScreen / 2)));
}

} // namespace EditorSearch
