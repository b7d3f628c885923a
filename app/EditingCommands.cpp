#include "EditingCommands.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QSettings>

#include "AutoClose.h"
#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "CommandMap.h"
#include "DocumentTabs.h"
#include "EditorDisplay.h"
#include "EditorHost.h"
#include "FrameAccess.h"
#include "LineEditing.h"
#include "QuilletView.h"
#include "SettingsSync.h"
#include "SettingsValue.h"

namespace {
const QString kAutoCloseKey = QStringLiteral("Settings/AutoClose");
}

CEditingCommands::CEditingCommands(IFrameAccess* frame)
    : QObject(frame->Window()), m_pFrame(frame),
      m_pTabs(new CDocumentTabs(frame->Window(), qobject_cast<QMdiArea*>(frame->Window()->centralWidget())))
{
    CCommandMap& commands = frame->CommandMap();
    commands.On(Cmd::ViewDocumentTabs, [this] { m_pTabs->SetWanted(!m_pTabs->IsWanted()); },
                [this](CCmdUI& ui) { ui.checked = m_pTabs->IsWanted(); });
    const std::pair<int, EditorDisplay::Option> switches[] = {
        {Cmd::ViewBraceMatching, EditorDisplay::BraceMatching},
        {Cmd::ViewCurrentLine, EditorDisplay::CurrentLine},
        {Cmd::ViewWhitespace, EditorDisplay::Whitespace},
        {Cmd::ViewLineEnds, EditorDisplay::LineEnds}};
    for (const auto& [id, option] : switches)
        commands.On(id, [option] { EditorDisplay::SetOn(option, !EditorDisplay::IsOn(option)); },
                    [option](CCmdUI& ui) { ui.checked = EditorDisplay::IsOn(option); });
    for (const auto& [id, width] : {std::pair{Cmd::TabWidth2, 2}, {Cmd::TabWidth4, 4}, {Cmd::TabWidth8, 8}})
        commands.On(id, [width] { EditorDisplay::SetTabWidth(width); },
                    [width](CCmdUI& ui) { ui.checked = EditorDisplay::TabWidth() == width; });

    AutoClose::SetEnabled(SettingsValue::ToBool(QSettings().value(kAutoCloseKey), false));
    commands.On(Cmd::AutoClose, [this] {
        AutoClose::SetEnabled(!AutoClose::Enabled());
        QSettings settings;
        settings.setValue(kAutoCloseKey, AutoClose::Enabled());
        SettingsSync::Commit(settings, m_pFrame->Window());
    }, [](CCmdUI& ui) { ui.checked = AutoClose::Enabled(); });

    // The line commands work on the active editor's text.
    const auto editorOf = [frame]() -> CCodeEditCtrl* {
        CQuilletView* view = frame->ActiveView();
        return view && !view->Editor()->isReadOnly() ? view->Editor() : nullptr;
    };
    const auto withText = [editorOf](CCmdUI& ui) { ui.enabled = editorOf() != nullptr; };
    const auto onEditor = [&commands, editorOf, withText](int id, void (*run)(QsciScintilla*)) {
        commands.On(id, [editorOf, run] {
            if (CCodeEditCtrl* editor = editorOf()) {
                run(editor);
                // The caret may stay on its line: the colours follow the change now.
                EditorHost::Recolour(editor);
            }
        }, withText);
    };
    onEditor(Cmd::EditToggleComment, &LineEditing::ToggleComment);
    onEditor(Cmd::EditMoveLineUp, [](QsciScintilla* e) { LineEditing::MoveLines(e, true); });
    onEditor(Cmd::EditMoveLineDown, [](QsciScintilla* e) { LineEditing::MoveLines(e, false); });
    onEditor(Cmd::EditDuplicateLine, &LineEditing::DuplicateLines);
}
