// What assistive technologies see of an editor control. QScintilla's own
// interface counts the characters from the start of the text to the caret at
// every screen update, which makes a key in the middle of a large page cost
// a walk over half the page; Qt makes that interface for every editor that is
// shown, whether or not anything reads it. While no assistive technology is
// active, editors get Qt's plain widget interface instead; once one becomes
// active, the plain interfaces are dropped and QScintilla's full text
// interface is made on the next request.
#pragma once

namespace EditorAccessibility {

// Installs the interface factory and the activation watch (once; later calls do nothing).
void Install();

} // namespace EditorAccessibility
