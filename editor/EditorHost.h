// The process-wide links an editor has to the rest of the program: the main
// window its caret reports go to, the context-help list and the colourer.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class CCodeEditCtrl;
class IContextHelpList;

namespace EditorHost {

void SetMainWindow(QObject* mainWindow);
QObject* MainWindow();

void SetHelpList(IContextHelpList* list);
IContextHelpList* HelpList();

// Colours the editor's whole text; nothing happens until one is installed.
using Recolourer = std::function<void(CCodeEditCtrl*)>;
void SetRecolourer(Recolourer recolourer);
void Recolour(CCodeEditCtrl* editor);

// Colours a text about to be loaded, ahead and on any thread; the step it
// returns is run on the editor's thread with the ticket AwaitAhead gave when
// the editor was given the text (the changes made since are applied to the
// pass there). Without one installed the step is Recolour.
using LoadColouring = std::function<void(CCodeEditCtrl*, quint64 ticket)>;
using AheadColourer = std::function<LoadColouring(const QByteArray& text)>;
void SetAheadColourer(AheadColourer colourer);
LoadColouring ColourAhead(const QByteArray& text);

// Says that editor has just been given a whole text whose pass ColourAhead is
// making: returns the ticket for its step (0 when nothing is installed).
using AheadWaiter = std::function<quint64(CCodeEditCtrl*)>;
void SetAheadWaiter(AheadWaiter waiter);
quint64 AwaitAhead(CCodeEditCtrl* editor);

// Colours editor, which holds exactly text, on a worker thread; the styles
// follow on this thread when the pass is done, with the changes made
// meanwhile applied to it.
void ColourLater(CCodeEditCtrl* editor, const QByteArray& text);

// Prepares every new editor control (its default format, for one).
using EditorSetup = std::function<void(CCodeEditCtrl*)>;
void SetEditorSetup(EditorSetup setup);
void SetUpEditor(CCodeEditCtrl* editor);

// The text a double-clicked reference entry or snippet inserts (kind 0..4,
// entry id); nothing when there is none.
using EntryTextReader = std::function<std::optional<QString>(int kind, qint32 id)>;
void SetEntryTextReader(EntryTextReader reader);
std::optional<QString> ReadEntryText(int kind, qint32 id);

// Opens files dropped on an editor, as the main window opens files dropped on it.
using FileOpener = std::function<void(const QStringList&)>;
void SetFileOpener(FileOpener opener);
void OpenFiles(const QStringList& files);

} // namespace EditorHost
