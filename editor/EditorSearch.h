// Find, replace and go-to-line on an editor control: plain text on
// QScintilla's own search, regular expressions on TextSearch over the whole
// text, so that no pattern and no line can exhaust the stack.
#pragma once

#include <QString>

#include "core/TextSearch.h"

class QsciScintilla;

struct CFindOptions : CSearchPattern
{
    bool bBackward = false;
};

// How a find or replace went: Found (something was found or replaced),
// NotFound, TooComplex (the regular expression hit the engine's limits;
// nothing moved or changed) or BadPattern (strError says why).
struct CSearchResult
{
    SearchOutcome outcome = SearchOutcome::NotFound;
    int nReplaced = 0;
    QString strError;
};

namespace EditorSearch {

// Selects the next match after the selection (before it, searching backward),
// wrapping round the text once, and scrolls it into view. Nothing moves when
// there is no match.
CSearchResult FindNext(QsciScintilla* editor, const CFindOptions& options);

// When the selection is a match, replaces it (regular expressions with \0..\9
// from that match); then selects the next match. nReplaced says whether the
// selection was replaced, outcome how the search for the next match went.
CSearchResult ReplaceSelected(QsciScintilla* editor, const CFindOptions& options, const QString& replacement);

// Replaces every match in the text, or only those inside the selection when
// it spans several lines, as one undoable change; nReplaced says how many.
// A regular expression that hits the engine's limits changes nothing.
CSearchResult ReplaceAll(QsciScintilla* editor, const CFindOptions& options, const QString& replacement);

// Puts the caret at the start of line (from 1) and shows that line in the
// middle of the window.
void GoToLine(QsciScintilla* editor, int line);

} // namespace EditorSearch
