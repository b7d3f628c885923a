// Lines too long to lay out: the control measures every character of a line
// it draws, each time the line changes, which for a line of megabytes takes
// seconds to minutes. A line longer than kShown bytes shows its first kShown
// bytes only; the rest keeps its colours in styles that are not drawn (style
// s + kHiddenBase is slot s), so the control does not measure it. The text
// itself is untouched: the hidden bytes are saved, found, copied and edited
// as any others. (No note under such a line: a line of another height makes
// the control keep a height for every line of the text, which costs most of
// a second on a file of millions of lines.)
#pragma once

#include <cstdint>

class QsciScintilla;

namespace LongLineTails {

constexpr std::int64_t kShown = std::int64_t{64} << 10;
constexpr int kHiddenBase = 40;

// Hides the tails of the long lines in [start, end), whose bytes have just
// been given their slots (a hidden byte outside is left hidden).
void Refresh(QsciScintilla* editor, std::int64_t start, std::int64_t end);

} // namespace LongLineTails
