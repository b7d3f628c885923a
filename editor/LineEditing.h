// Editing commands on whole lines: comment toggle, moving the selected lines
// up or down, duplicating them. Each is one undo step and leaves the
// clipboard alone.
#pragma once

class QsciScintilla;

namespace LineEditing {

// Comments the lines of the selection (or the caret's line) out, or back in
// when they all are comments; the markers follow the language of each line.
void ToggleComment(QsciScintilla* editor);
// The lines of the selection (or the caret's line) change places with the
// line above or below, the selection going with them.
void MoveLines(QsciScintilla* editor, bool up);
// Puts a copy of the lines of the selection (or of the caret's line) below them.
void DuplicateLines(QsciScintilla* editor);

// The keys of these commands (Ctrl+/, Ctrl+D, Alt+Up, Alt+Down) are taken
// from the control's own key commands, so that they reach the frame's.
void ReleaseKeys(QsciScintilla* editor);

} // namespace LineEditing
