// Entry points of syntax colouring for the editor control and the main frame.
#pragma once

#include "ColourScan.h"
#include "SlotFormat.h"

#include <QByteArray>
#include <QFont>
#include <functional>

class QsciScintilla;
class QWidget;

namespace ColourEditor {

// The Scintilla indicator that draws strike-out (Scintilla styles have none).
constexpr int kStrikeOutIndicator = 9;

// The font an empty face name and a zero size stand for: the system's fixed font.
QFont DefaultEditorFont();

// The rules every pass colours by: the flat colourers' (the default) or the
// grammars'. A pass by other rules than a document's last is whole.
void SetRules(ColourRules rules);
ColourRules Rules();

// Recolours the text of editor, with the ten formats read from
// QSettings("Fennroth", "Quillet") group "Settings" at the start of the pass.
// The styles it leaves are those a whole-text pass gives, but only the text
// from a little before the changes since the last pass of the same document
// is scanned again, until the scan agrees with that pass; a change of
// formats, or a document not coloured before, is coloured whole.
void RecolourControl(QsciScintilla* editor);
// Recolours the whole text of editor, whatever was coloured before.
void RecolourWhole(QsciScintilla* editor);

// Says that editor's text has just been given whole and its pass is being
// made elsewhere (ColourAhead): colours the first screen at once, and makes
// later passes wait, gathering the changes, until the step of that pass is
// run with the ticket returned here.
quint64 AwaitAhead(QsciScintilla* editor);

// Colours text ahead, on any thread, for an editor given exactly these bytes.
// The step it returns, run on the editor's thread with the editor's ticket
// from AwaitAhead, takes the pass as the editor's last, applies the changes
// made since the text was given, and hands the styles over in slices while
// the window goes on taking input (the text on screen first). A ticket no
// longer awaited (a newer text came) makes it do nothing; with ticket 0, or
// if the text turns out to be another, it colours the whole text afresh.
using AheadStep = std::function<void(QsciScintilla*, quint64 ticket)>;
AheadStep ColourAhead(const QByteArray& text);

// Sets format as editor's default style and as style 0, the style of text not
// yet coloured: slot 0 for a new editor.
void ApplyDefaultFormat(QsciScintilla* editor, const CSlotFormat& format);

// Sets styles 0..9 of editor from the formats in the settings store, and the
// strike-out indicator's look: what another window on an already coloured
// text needs to show it as the window that coloured it.
void ApplyStoredFormats(QsciScintilla* editor);

// How the strike-out indicator is drawn in editor.
void SetStrikeOutLook(QsciScintilla* editor);

// Defines Scintilla style number style from format.
void ApplySlotStyle(QsciScintilla* editor, int style, const CSlotFormat& format);

// Opens the code style dialog modally over parent (may be null).
void ShowCodeStyleDialog(QWidget* parent);

} // namespace ColourEditor
