// Auto-close (a setting, off by default): a typed bracket or quote gets its
// closing partner after the caret, and "</" in HTML the name of the
// innermost open element and ">". A closing character typed where one was
// put in this way steps over it instead of doubling it; Backspace right
// after an opening one takes its partner too, and Enter between "{" and
// its partner puts the partner on a line of its own.
#pragma once

class QsciScintilla;

namespace AutoClose {

void SetEnabled(bool on);
bool Enabled();

// Before the typed character ch goes in: true when it was handled here
// (stepped over its closing partner, or Backspace took a pair).
bool TypeOver(QsciScintilla* editor, int ch);
// Whether ch, about to go in, may get a partner (AfterChar then puts it in).
bool MayClose(int ch);
// After ch went in: its partner, if the text around the caret wants one.
void AfterChar(QsciScintilla* editor, int ch);

} // namespace AutoClose
