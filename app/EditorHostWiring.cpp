#include "EditorHostWiring.h"

#include <QMainWindow>

#include "CodeEditCtrl.h"
#include "ColourEditor.h"
#include "DocTemplate.h"
#include "FoldCommands.h"
#include "EditorHost.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SlotFormat.h"

namespace {

// The stored formats on every other window of editor's document, so that
// all windows on one text show it alike.
void ShareFormats(CCodeEditCtrl* editor)
{
    auto* view = qobject_cast<CQuilletView*>(editor->parentWidget());
    CQuilletDoc* doc = view ? view->GetDocument() : nullptr;
    if (!doc)
        return;
    for (CQuilletView* other : doc->Views())
        if (other != view)
            ColourEditor::ApplyStoredFormats(other->Editor());
}

} // namespace

namespace EditorHostWiring {

void Install(QMainWindow* frame, CDocTemplate* docTemplate)
{
    EditorHost::SetMainWindow(frame);
    EditorHost::SetRecolourer([](CCodeEditCtrl* editor) {
        ColourEditor::RecolourControl(editor);
        ShareFormats(editor);
    });
    // Runs on the thread that loads a large file; the step it returns runs here.
    EditorHost::SetAheadColourer([](const QByteArray& text) -> EditorHost::LoadColouring {
        auto apply = ColourEditor::ColourAhead(text);
        return [apply](CCodeEditCtrl* editor, quint64 ticket) {
            apply(editor, ticket);
            ShareFormats(editor);
        };
    });
    EditorHost::SetAheadWaiter([](CCodeEditCtrl* editor) { return ColourEditor::AwaitAhead(editor); });
    EditorHost::SetEditorSetup([](CCodeEditCtrl* editor) {
        ColourEditor::ApplyDefaultFormat(editor, GetStoredSlotFormat(0));
        FoldCommands::SetUpEditor(editor);
    });
    EditorHost::SetFileOpener([docTemplate](const QStringList& files) {
        for (const QString& f : files)
            docTemplate->OpenDocumentFile(f);
    });
}

} // namespace EditorHostWiring
