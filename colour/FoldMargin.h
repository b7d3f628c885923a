// Code folding in an editor: the fold margin, its clicks, and the fold levels
// of the document (kept by the colouring pass) given to the control for the
// lines on screen as they come into view, and for all lines before any fold
// action that may reach past them.
#pragma once

class QsciScintilla;
class CFoldLevels;

namespace FoldMargin {

// The margin that shows the folds.
constexpr int kMargin = 2;

// Whether editors show folds (set by whoever shows them), so that a file's
// levels can be computed ahead, on any thread, with its colours.
void SetWanted(bool wanted);
bool Wanted();

// Shows or hides the fold margin of editor; hiding it unfolds every fold.
// The next colouring pass computes the levels when shown.
void Show(QsciScintilla* editor, bool on);
bool IsShown(QsciScintilla* editor);

// Gives editor the levels of the lines on screen (and a page around them).
void ApplyVisible(QsciScintilla* editor, CFoldLevels& levels);
// Gives editor the levels of every line.
void ApplyAll(QsciScintilla* editor);

// Folds (contract) or unfolds every fold of editor's document.
void FoldAll(QsciScintilla* editor, bool contract);

} // namespace FoldMargin
