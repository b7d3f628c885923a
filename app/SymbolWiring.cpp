#include "SymbolWiring.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>
#include <QTreeWidget>

#include "ChildFrame.h"
#include "CodeEditCtrl.h"
#include "DocTemplate.h"
#include "FrameAccess.h"
#include "LocalSiteTreeCtrl.h"
#include "PhpSymbolReader.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SymbolIcons.h"
#include "SymbolIndex.h"
#include "SymbolNavigation.h"
#include "WSLocalSiteView.h"
#include "WSSymbolView.h"
#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"

CSymbolWiring::CSymbolWiring(IFrameAccess* frame, CDocTemplate* docTemplate)
    : QObject(frame->Window()), m_pFrame(frame), m_pDocTemplate(docTemplate),
      m_pIndex(new CSymbolIndex(CSymbolCache::DefaultPath(), this)), m_pTyping(new QTimer(this))
{
    QMainWindow* window = frame->Window();
    m_pNavigation = new CSymbolNavigation(frame, docTemplate, m_pIndex, this);
    if (CWorkspaceBar* bar = frame->WorkspaceBar()) {
        m_pPage = new CWSSymbolView(window);
        bar->AddView(QStringLiteral("符号"), m_pPage);
        bar->TabControl()->setTabIcon(bar->GetViewCount() - 1, SymbolIcons::Icon(SymbolKind::Class));
        connect(m_pPage, &CWSSymbolView::lineChosen, this, &CSymbolWiring::GoToLine);
        // The site is whatever folder the LocalSite page shows.
        if (auto* site = qobject_cast<CWSLocalSiteView*>(bar->GetView(WorkspacePage::LocalSite))) {
            QAbstractItemModel* model = site->GetTreeCtrl()->model();
            connect(model, &QAbstractItemModel::modelReset, this, &CSymbolWiring::CheckSiteRoot);
            connect(model, &QAbstractItemModel::rowsInserted, this, &CSymbolWiring::CheckSiteRoot);
            connect(model, &QAbstractItemModel::rowsRemoved, this, &CSymbolWiring::CheckSiteRoot);
            CheckSiteRoot();
        }
    }
    if (auto* mdi = window->findChild<QMdiArea*>())
        connect(mdi, &QMdiArea::subWindowActivated, this, &CSymbolWiring::OnActiveEditorChanged);
    // A file opened or saved is read again; an open file outside the site joins the index.
    connect(docTemplate, &CDocTemplate::fileUsed, m_pIndex, &CSymbolIndex::UpdateFile);
    connect(docTemplate, &CDocTemplate::documentRemoved, this, [this](CQuilletDoc* doc) {
        if (!doc->GetPathName().isEmpty())
            m_pIndex->ForgetText(doc->GetPathName());
    });
    m_pTyping->setSingleShot(true);
    m_pTyping->setInterval(kTypingPauseMs);
    connect(m_pTyping, &QTimer::timeout, this, &CSymbolWiring::IndexTypedText);
    connect(m_pIndex, &CSymbolIndex::changed, this, [this] {
        if (m_bRefreshPending)
            return;
        m_bRefreshPending = true;
        QTimer::singleShot(0, this, &CSymbolWiring::RefreshOutline);
    });
}

void CSymbolWiring::CheckSiteRoot()
{
    auto* site = qobject_cast<CWSLocalSiteView*>(m_pFrame->WorkspaceBar()->GetView(WorkspacePage::LocalSite));
    const CLocalSiteTreeCtrl* tree = site ? site->GetTreeCtrl() : nullptr;
    QString root = tree && tree->topLevelItemCount() > 0 ? tree->GetRootPath() : QString();
    if (!root.isEmpty() && !root.endsWith(u'/'))
        root += u'/';
    if (root != m_pIndex->Root())
        m_pIndex->SetRoot(root);
}

QString CSymbolWiring::ActivePath() const
{
    const CQuilletView* view = m_pFrame->ActiveView();
    return view && view->GetDocument() ? view->GetDocument()->GetPathName() : QString();
}

void CSymbolWiring::OnActiveEditorChanged()
{
    CQuilletView* view = m_pFrame->ActiveView();
    CCodeEditCtrl* editor = view ? view->Editor() : nullptr;
    if (editor == m_pEditor)
        return;
    if (m_pEditor) {
        disconnect(m_pEditor, nullptr, this, nullptr);
        if (m_pTyping->isActive()) {
            m_pTyping->stop();
            IndexTypedText();
        }
    }
    m_pEditor = editor;
    if (editor) {
        connect(editor, &QsciScintilla::textChanged, m_pTyping, qOverload<>(&QTimer::start));
        connect(editor, &QsciScintilla::cursorPositionChanged, this, [this](int line, int) {
            if (m_pPage)
                m_pPage->SelectLine(line + 1);
        });
    }
    RefreshOutline();
}

void CSymbolWiring::IndexTypedText()
{
    const QString path = ActivePath();
    if (m_pEditor && !path.isEmpty())
        m_pIndex->UpdateText(path, m_pEditor->WholeText());
    else
        RefreshOutline();   // an untitled document's outline is read from its text
}

void CSymbolWiring::RefreshOutline()
{
    m_bRefreshPending = false;
    if (!m_pPage)
        return;
    if (!m_pEditor) {
        m_pPage->SetOutline({});
        return;
    }
    const QString path = ActivePath();
    if (const std::vector<CSymbol>* outline = path.isEmpty() ? nullptr : m_pIndex->Outline(path)) {
        m_pPage->SetOutline(*outline);
    } else {
        const QByteArray text = m_pEditor->WholeText();
        m_pPage->SetOutline(PhpSymbolReader::Read(std::string_view(text.constData(), std::size_t(text.size()))));
    }
    int line = 0, index = 0;
    m_pEditor->getCursorPosition(&line, &index);
    m_pPage->SelectLine(line + 1);
}

void CSymbolWiring::GoToLine(int line)
{
    // The editor the user last worked in stays the active one; only its caret moves.
    if (m_pEditor)
        m_pNavigation->ShowLine(m_pEditor, line, std::string(), false);
}
