// The process-wide links an editor has to the rest of the program: the main
// window its caret reports go to, the context-help list and the colourer.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

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

// Prepares every new editor control (its default format, for one).
using EditorSetup = std::function<void(CCodeEditCtrl*)>;
void SetEditorSetup(EditorSetup setup);
void SetUpEditor(CCodeEditCtrl* editor);

// Opens files dropped on an editor, as the main window opens files dropped on it.
using FileOpener = std::function<void(const QStringList&)>;
void SetFileOpener(FileOpener opener);
void OpenFiles(const QStringList& files);

} // namespace EditorHost
