// What assistive technologies see of an editor control. QScintilla's own
// interface counts the characters from the start of the text to the caret at
// every screen update, which makes a key in the middle of a large page cost
// a walk over half the page; Qt makes that interface for every editor that is
// shown, whether or not anything reads it. While no assistive technology is
// active, editors get Qt's plain widget interface instead; once one becomes
// active, the plain interfaces are dropped and QScintilla's full text
// interface is made on the next request. Since the editor asks Scintilla
// only for the reports made before a change, the text events QScintilla's
// interface would send after it are sent here instead.
#pragma once

class QAccessibleEvent;
class QsciScintillaBase;

namespace EditorAccessibility {

// Installs the interface factory and the activation watch (once; later calls do nothing).
void Install();

// Whether an assistive technology is listening.
bool IsActive();

// Tells assistive technologies of the insertions and deletions an editor
// reports before making them (SCN_MODIFIED with SC_MOD_BEFOREINSERT or
// SC_MOD_BEFOREDELETE; position and length in bytes). The events carry
// character offsets, found through Scintilla's line character index and a
// count within the line, never a walk from the start. A deletion is told
// before it is made, with the text still there; an insertion once it is made
// (at the next report or when the change is done), with the text put in.
class CChangeAnnouncer
{
public:
    explicit CChangeAnnouncer(QsciScintillaBase* editor) : m_pEditor(editor) {}
    void OnChangeAhead(int type, int position, int length);
    // The change is done: an insertion still untold is told now.
    void Flush();

private:
    QsciScintillaBase* m_pEditor;
    int m_nInsertAt = -1;       // bytes of the insertion untold, -1 when none
    int m_nInsertLength = 0;
    int m_nInsertOffset = 0;    // its offset in characters
};

// Where the text events go instead of Qt's accessibility bridge (which drops
// every event while no platform bridge is active, as under the offscreen
// platform); nullptr restores the bridge.
using EventSink = void (*)(QAccessibleEvent*);
void SetEventSinkForTests(EventSink sink);

} // namespace EditorAccessibility
