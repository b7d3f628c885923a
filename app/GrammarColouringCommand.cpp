#include "GrammarColouringCommand.h"

#include <QSettings>

#include "CodeEditCtrl.h"
#include "ColourEditor.h"
#include "CommandIds.h"
#include "CommandMap.h"
#include "DocTemplate.h"
#include "EditorHost.h"
#include "FrameAccess.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SettingsSync.h"
#include "SettingsValue.h"

namespace {

const QString kKey = QStringLiteral("Settings/GrammarColouring");

void Apply(bool on)
{
    ColourEditor::SetRules(on ? ColourRules::Grammar : ColourRules::Flat);
    // The grammars colour as the text is typed; the flat colouring waits for
    // the caret to leave the line.
    CCodeEditCtrl::SetRecolourAsTyped(on);
}

} // namespace

namespace GrammarColouringCommand {

void Register(IFrameAccess* frame)
{
    Apply(SettingsValue::ToBool(QSettings().value(kKey), false));
    frame->CommandMap().On(Cmd::GrammarColouring, [frame] {
        const bool on = ColourEditor::Rules() != ColourRules::Grammar;
        Apply(on);
        QSettings settings;
        settings.setValue(kKey, on);
        SettingsSync::Commit(settings, nullptr);
        if (CDocTemplate* docs = frame->DocTemplate())
            for (CQuilletDoc* doc : docs->Documents())
                for (CQuilletView* view : doc->Views())
                    EditorHost::Recolour(view->Editor());
    }, [](CCmdUI& ui) { ui.checked = ColourEditor::Rules() == ColourRules::Grammar; });
}

} // namespace GrammarColouringCommand
