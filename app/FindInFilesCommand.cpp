#include "FindInFilesCommand.h"

#include <QDir>
#include <QMainWindow>
#include <Qsci/qsciscintilla.h>

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "DocTemplate.h"
#include "EditorSearch.h"
#include "FindInFilesDlg.h"
#include "FindResultsPane.h"
#include "CommandMap.h"
#include "FrameAccess.h"
#include "QuilletDoc.h"
#include "QuilletView.h"

CFindInFilesCommand::CFindInFilesCommand(IFrameAccess* frame) : QObject(frame->Window()), m_pFrame(frame)
{
    frame->CommandMap().On(Cmd::FindInFiles, [this] { Run(); });
    // Once closed, the pane comes back from the 查看 menu, with its last results.
    frame->CommandMap().On(Cmd::ViewFindResults, [this] {
        CFindResultsPane* pane = Pane();
        pane->setVisible(!pane->isVisible());
        if (pane->isVisible())
            pane->raise();
    }, [this](CCmdUI& ui) { ui.checked = m_pPane && m_pPane->isVisible(); });
}

CFindResultsPane* CFindInFilesCommand::Pane()
{
    if (!m_pPane) {
        m_pPane = new CFindResultsPane([this](const CFileMatch& m) { OpenMatch(m); }, m_pFrame->Window());
        m_pFrame->Window()->addDockWidget(Qt::BottomDockWidgetArea, m_pPane);
        connect(m_pPane, &QDockWidget::visibilityChanged, m_pFrame->Window(), [this] { m_pFrame->RequestUpdate(); });
    }
    return m_pPane;
}

void CFindInFilesCommand::Run(const QString& folder)
{
    QString start = folder;
    if (start.isEmpty() && m_siteFolder)
        start = m_siteFolder();
    if (start.isEmpty())
        start = m_strLastFolder;
    if (start.isEmpty())
        start = QDir::homePath();
    QString text;
    if (CQuilletView* view = m_pFrame->ActiveView())
        if (!view->Editor()->selectedText().contains(u'\n'))
            text = view->Editor()->selectedText();
    CFindInFilesDlg dlg(start, text, m_pFrame->Window());
    if (dlg.exec() != QDialog::Accepted)
        return;
    m_strLastFolder = dlg.Folder();
    Pane()->Start(dlg.Folder(), dlg.Options());
}

void CFindInFilesCommand::OpenMatch(const CFileMatch& match)
{
    CQuilletDoc* doc = m_pFrame->DocTemplate()->OpenDocumentFile(match.strPath);
    CQuilletView* view = doc ? doc->FirstView() : nullptr;
    if (!view)
        return;
    CCodeEditCtrl* editor = view->Editor();
    const int line = match.nLine - 1;
    if (line >= editor->lines())
        return;   // the file changed since it was searched
    // Columns count characters; the control counts bytes.
    const QString lineText = editor->text(line);
    const long lineStart = editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const int from = static_cast<int>(lineStart + lineText.left(match.nColumn).toUtf8().size());
    const int to = from + static_cast<int>(lineText.mid(match.nColumn, match.nLength).toUtf8().size());
    EditorSearch::GoToLine(editor, match.nLine);   // the line in the middle of the window
    editor->SetSelection(from, to);
    editor->setFocus(Qt::OtherFocusReason);
    editor->ReportCaretPosition();
}
