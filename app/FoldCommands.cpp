#include "FoldCommands.h"

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "CommandMap.h"
#include "DocTemplate.h"
#include "EditorHost.h"
#include "FoldMargin.h"
#include "FrameAccess.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SettingsSync.h"
#include "SettingsValue.h"

#include <QSettings>

namespace FoldCommands {

namespace {

const QString kFoldingKey = QStringLiteral("Settings/CodeFolding");

bool FoldingOn()
{
    return SettingsValue::ToBool(QSettings().value(kFoldingKey), true);
}

} // namespace

void SetUpEditor(QsciScintilla* editor)
{
    const bool on = FoldingOn();
    FoldMargin::SetWanted(on);
    FoldMargin::Show(editor, on);
}

void Register(IFrameAccess* frame)
{
    FoldMargin::SetWanted(FoldingOn());
    CCommandMap& commands = frame->CommandMap();
    commands.On(Cmd::ViewCodeFolding, [frame] {
        const bool on = !FoldingOn();
        QSettings settings;
        settings.setValue(kFoldingKey, on);
        SettingsSync::Commit(settings, nullptr);
        FoldMargin::SetWanted(on);
        for (CQuilletDoc* doc : frame->DocTemplate()->Documents()) {
            for (CQuilletView* view : doc->Views())
                FoldMargin::Show(view->Editor(), on);
            // The pass that colours the text next computes its levels.
            if (on && doc->FirstView())
                EditorHost::Recolour(doc->FirstView()->Editor());
        }
    }, [](CCmdUI& ui) { ui.checked = FoldingOn(); });
    const auto foldAll = [frame](bool contract) {
        if (CQuilletView* view = frame->ActiveView())
            FoldMargin::FoldAll(view->Editor(), contract);
    };
    const auto withFolds = [frame](CCmdUI& ui) { ui.enabled = frame->ActiveView() && FoldingOn(); };
    commands.On(Cmd::ViewFoldAll, [foldAll] { foldAll(true); }, withFolds);
    commands.On(Cmd::ViewUnfoldAll, [foldAll] { foldAll(false); }, withFolds);
}

} // namespace FoldCommands
