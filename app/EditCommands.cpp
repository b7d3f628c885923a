#include "EditCommands.h"

#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "EditorSearch.h"
#include "FindReplaceDlg.h"
#include "GoToLineDlg.h"
#include "GrammarColouringCommand.h"
#include "CommandMap.h"
#include "FrameAccess.h"
#include "PhpSyntaxCheck.h"
#include "QuilletView.h"
#include "SettingsSync.h"
#include "SettingsValue.h"
#include "StatusIndicators.h"
#include "UserPrompt.h"

namespace {
const QString kIndentKey = QStringLiteral("Settings/IndentWithSpaces");
constexpr int kStatusMs = 8000;
}

CEditCommands::CEditCommands(IFrameAccess* frame)
    : QObject(frame->Window()), m_pFrame(frame), m_pSyntaxCheck(new CPhpSyntaxCheck(this))
{
    const auto withEditor = [frame](CCmdUI& ui) { ui.enabled = frame->ActiveView() != nullptr; };
    CCommandMap& commands = frame->CommandMap();
    commands.On(Cmd::EditFind, [this] { FindDialog()->Open(false); }, withEditor);
    commands.On(Cmd::EditReplace, [this] { FindDialog()->Open(true); }, withEditor);
    commands.On(Cmd::EditFindNext, [this] {
        if (!FindDialog()->Repeat(false))
            FindDialog()->Open(false);
    }, withEditor);
    commands.On(Cmd::EditFindPrevious, [this] {
        if (!FindDialog()->Repeat(true))
            FindDialog()->Open(false);
    }, withEditor);
    commands.On(Cmd::EditGoToLine, [this] { OnGoToLine(); }, withEditor);
    commands.On(Cmd::CheckSyntax, [this] { OnCheckSyntax(); }, withEditor);

    CCodeEditCtrl::SetIndentWithSpaces(SettingsValue::ToBool(QSettings().value(kIndentKey), false));
    commands.On(Cmd::IndentWithSpaces, [] {
        const bool on = !CCodeEditCtrl::IndentWithSpaces();
        CCodeEditCtrl::SetIndentWithSpaces(on);
        QSettings settings;
        settings.setValue(kIndentKey, on);
        SettingsSync::Commit(settings, nullptr);
    }, [](CCmdUI& ui) { ui.checked = CCodeEditCtrl::IndentWithSpaces(); });
    GrammarColouringCommand::Register(frame);

    connect(m_pSyntaxCheck, &CPhpSyntaxCheck::failed, this, [this](const QString& message) {
        UserPrompt::ShowMessage(m_pFrame->Window(), message);
    });
    connect(m_pSyntaxCheck, &CPhpSyntaxCheck::checked, this, &CEditCommands::ShowVerdict);
}

CFindReplaceDlg* CEditCommands::FindDialog()
{
    if (!m_pFindDlg) {
        IFrameAccess* frame = m_pFrame;
        m_pFindDlg = new CFindReplaceDlg(
            [frame]() -> QsciScintilla* {
                CQuilletView* view = frame->ActiveView();
                return view ? view->Editor() : nullptr;
            },
            frame->Window());
        connect(m_pFindDlg, &CFindReplaceDlg::statusMessage, this, &CEditCommands::ShowStatus);
    }
    return m_pFindDlg;
}

void CEditCommands::ShowVerdict(QsciScintilla* editor, const CPhpLintResult& result)
{
    CPhpSyntaxCheck::ClearMarks(editor);
    QString verdict = result.strMessage;
    if (result.bClean) {
        verdict = QStringLiteral("没有发现语法错误");
    } else if (result.nLine > 0) {
        verdict = QStringLiteral("第 %1 行: %2").arg(result.nLine).arg(result.strMessage);
        CPhpSyntaxCheck::MarkLine(editor, result.nLine, verdict);
        EditorSearch::GoToLine(editor, result.nLine);
        editor->setFocus();
    }
    // The verdict stays until the text it is about changes.
    CStatusIndicators* panes = m_pFrame->StatusPanes();
    panes->SetMessageText(verdict);
    m_pFrame->Window()->statusBar()->clearMessage();
    disconnect(m_verdictWatch);
    m_verdictWatch = connect(editor, &QsciScintilla::textChanged, this, [this, panes] {
        disconnect(m_verdictWatch);
        panes->SetMessageText(QString());
    });
}

void CEditCommands::ShowStatus(const QString& text)
{
    m_pFrame->Window()->statusBar()->showMessage(text, kStatusMs);
}

void CEditCommands::OnGoToLine()
{
    CQuilletView* view = m_pFrame->ActiveView();
    if (!view)
        return;
    QsciScintilla* editor = view->Editor();
    int line = 0, index = 0;
    editor->getCursorPosition(&line, &index);
    if (const std::optional<int> chosen = CGoToLineDlg::Ask(m_pFrame->Window(), line + 1, editor->lines()))
        EditorSearch::GoToLine(editor, *chosen);
    editor->window()->activateWindow();
    editor->setFocus();
}

void CEditCommands::OnCheckSyntax()
{
    CQuilletView* view = m_pFrame->ActiveView();
    if (!view)
        return;
    if (!m_pSyntaxCheck->Start(view->Editor()))
        UserPrompt::ShowMessage(m_pFrame->Window(),
                                QStringLiteral("找不到 PHP 解释器，无法检查语法。\n请安装 PHP（Debian 的 php-cli），"
                                               "或在 ~/.config/Fennroth/Quillet.conf 的 [Settings] 中用 "
                                               "PhpPath 指定它的路径。"));
}
