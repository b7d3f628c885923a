// What an editor needs of the main frame's context-help list.
#pragma once

#include <QRect>
#include <QString>

class IContextHelpList
{
public:
    virtual ~IContextHelpList() = default;
    virtual bool IsListVisible() const = 0;
    // One of the list keys (Qt::Key_Up, Key_Down, Key_PageUp, Key_PageDown).
    virtual void PassKey(int key) = 0;
    // A character typed in the editor (8 for backspace, 13 for Enter).
    virtual void PassChar(int ch) = 0;
    // Shows the list without taking the focus; hides it instead when it has
    // no entries, and does nothing while context help is switched off.
    virtual void ShowList() = 0;
    virtual void HideList() = 0;
    // Moves and sizes the list window (screen coordinates).
    virtual void MoveList(const QRect& screenRect) = 0;
    // The text of the selected entry, which the Insert command puts in.
    virtual QString CurrentEntryText() const = 0;
};
