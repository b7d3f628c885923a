// How every editor window shows its text: the matching brace, the caret's
// line, blanks and line ends, the tab width. Each is a setting remembered
// across starts and applied to all editors at once.
#pragma once

class CCodeEditCtrl;

namespace EditorDisplay {

enum Option { BraceMatching, CurrentLine, Whitespace, LineEnds };

bool IsOn(Option option);
void SetOn(Option option, bool on);
// Columns per tab: 2, 4 or 8 (the default).
int TabWidth();
void SetTabWidth(int width);
// Forgets the values read, so that the next use reads the settings again.
void Reload();

// Shows editor as the settings say; every new editor control calls it.
void Apply(CCodeEditCtrl* editor);

} // namespace EditorDisplay
