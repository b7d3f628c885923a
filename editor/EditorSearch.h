// Find, replace and go-to-line on an editor control, on QScintilla's own search.
#pragma once

#include <QString>

class QsciScintilla;

struct CFindOptions
{
    QString strText;
    bool bMatchCase = false;
    bool bWholeWord = false;
    bool bRegExp = false;
    bool bBackward = false;
};

namespace EditorSearch {

// Selects the next match after the selection (before it, searching backward),
// wrapping round the text once, and scrolls it into view. Nothing moves when
// there is no match.
bool FindNext(QsciScintilla* editor, const CFindOptions& options);

// When the selection is a match, replaces it (regular expressions with \1..\9
// from that match); then selects the next match. True when a match was replaced.
bool ReplaceSelected(QsciScintilla* editor, const CFindOptions& options, const QString& replacement);

// Replaces every match in the text, or only those inside the selection when
// it spans several lines, as one undoable change; returns how many.
int ReplaceAll(QsciScintilla* editor, const CFindOptions& options, const QString& replacement);

// Puts the caret at the start of line (from 1) and shows that line in the
// middle of the window.
void GoToLine(QsciScintilla* editor, int line);

} // namespace EditorSearch
