// Lines too long to lay out: the control measures every character of a line
// it draws, each time the line changes, which for a line of megabytes takes
// seconds to minutes. A line longer than kShown bytes shows its first kShown
// bytes only; the rest keeps its colours in styles that are not drawn (style
// s + kHiddenBase is slot s), so the control does not measure it, and a note
// under the line says so. The text itself is untouched: the hidden bytes are
// saved, found, copied and edited as any others.
#pragma once

#include <cstdint>

class QsciScintilla;

namespace LongLineTails {

constexpr std::int64_t kShown = std::int64_t{64} << 10;
constexpr int kHiddenBase = 40;
// Marks the lines that carry a note, so that a later pass finds them.
constexpr int kMarker = 20;

// What a view needs to show the notes and to leave the mark undrawn.
void SetUpView(QsciScintilla* editor);

// Which bytes [start, end) were just given their slots by: a pass over whole
// lines (its notes are made again), a stretch of a pass (notes are added), or
// a pass over the whole text.
enum class Scope { Lines, Stretch, All };

// Hides the tails of the long lines in [start, end) and notes them.
void Refresh(QsciScintilla* editor, std::int64_t start, std::int64_t end, Scope scope);

} // namespace LongLineTails
