#include "EditorHost.h"

#include "CodeEditCtrl.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

namespace EditorHost {

namespace {
QPointer<QObject> g_mainWindow;
IContextHelpList* g_pHelpList = nullptr;
Recolourer g_recolourer;
AheadColourer g_aheadColourer;
AheadWaiter g_aheadWaiter;
FileOpener g_fileOpener;
EditorSetup g_editorSetup;
EntryTextReader g_entryTextReader;
} // namespace

void SetMainWindow(QObject* mainWindow) { g_mainWindow = mainWindow; }
QObject* MainWindow() { return g_mainWindow.data(); }

void SetHelpList(IContextHelpList* list) { g_pHelpList = list; }
IContextHelpList* HelpList() { return g_pHelpList; }

void SetRecolourer(Recolourer recolourer) { g_recolourer = std::move(recolourer); }
void Recolour(CCodeEditCtrl* editor)
{
    if (g_recolourer)
        g_recolourer(editor);
}

void SetAheadColourer(AheadColourer colourer) { g_aheadColourer = std::move(colourer); }
LoadColouring ColourAhead(const QByteArray& text)
{
    if (g_aheadColourer)
        return g_aheadColourer(text);
    return [](CCodeEditCtrl* editor, quint64) { Recolour(editor); };
}

void SetAheadWaiter(AheadWaiter waiter) { g_aheadWaiter = std::move(waiter); }
quint64 AwaitAhead(CCodeEditCtrl* editor)
{
    return g_aheadWaiter ? g_aheadWaiter(editor) : 0;
}

void ColourLater(CCodeEditCtrl* editor, const QByteArray& text)
{
    const QPointer<CCodeEditCtrl> target(editor);
    const quint64 ticket = AwaitAhead(editor);
    QThreadPool::globalInstance()->start([target, ticket, text] {
        const LoadColouring step = ColourAhead(text);
        QMetaObject::invokeMethod(
            qApp,
            [target, ticket, step] {
                if (target)
                    step(target, ticket);
            },
            Qt::QueuedConnection);
    });
}

void SetEditorSetup(EditorSetup setup) { g_editorSetup = std::move(setup); }
void SetUpEditor(CCodeEditCtrl* editor)
{
    if (g_editorSetup)
        g_editorSetup(editor);
}

void SetEntryTextReader(EntryTextReader reader) { g_entryTextReader = std::move(reader); }
std::optional<QString> ReadEntryText(int kind, qint32 id)
{
    return g_entryTextReader ? g_entryTextReader(kind, id) : std::nullopt;
}

void SetFileOpener(FileOpener opener) { g_fileOpener = std::move(opener); }
void OpenFiles(const QStringList& files)
{
    if (g_fileOpener)
        g_fileOpener(files);
}

} // namespace EditorHost
