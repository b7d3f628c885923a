#include "SymbolWiring.h"

#include <QMainWindow>
#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <QMdiArea>
#include <QTimer>
#include <QTreeWidget>

#include "ChildFrame.h"
#include "CodeEditCtrl.h"
#include "DocTemplate.h"
#include "EditorHost.h"
#include "SymbolLookup.h"
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
        // Queued: the tree also empties while the frame is destroyed, when no
        // site is to be read any more.
        m_pSite = qobject_cast<CWSLocalSiteView*>(bar->GetView(WorkspacePage::LocalSite));
        if (m_pSite) {
            QAbstractItemModel* model = m_pSite->GetTreeCtrl()->model();
            connect(model, &QAbstractItemModel::modelReset, this, &CSymbolWiring::CheckSiteRoot, Qt::QueuedConnection);
            connect(model, &QAbstractItemModel::rowsInserted, this, &CSymbolWiring::CheckSiteRoot, Qt::QueuedConnection);
            connect(model, &QAbstractItemModel::rowsRemoved, this, &CSymbolWiring::CheckSiteRoot, Qt::QueuedConnection);
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
    if (auto* list = dynamic_cast<CContextHelpDlg*>(EditorHost::HelpList()))
        list->SetExtraSource([this](bool* membersOnly) { return ContextEntries(membersOnly); });
    connect(m_pIndex, &CSymbolIndex::changed, this, [this] {
        m_bFunctionsStale = true;
        if (m_bRefreshPending)
            return;
        m_bRefreshPending = true;
        QTimer::singleShot(0, this, &CSymbolWiring::RefreshOutline);
    });
}

void CSymbolWiring::CheckSiteRoot()
{
    const CLocalSiteTreeCtrl* tree = m_pSite ? m_pSite->GetTreeCtrl() : nullptr;
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
    m_pDoc = view ? view->GetDocument() : nullptr;
    if (editor) {
        // Ctrl+T is 查找符号's: Scintilla's own line transpose gives it up.
        if (QsciCommand* transpose = editor->standardCommands()->find(QsciCommand::LineTranspose)) {
            transpose->setKey(0);
            transpose->setAlternateKey(0);
        }
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
    // The editor's own document: the text typed is indexed under its file,
    // whichever editor has become the active one since.
    const QString path = m_pDoc ? m_pDoc->GetPathName() : QString();
    // A very large document is read again when it is saved, not while it is typed in.
    if (m_pEditor && m_pEditor->length() > kMaxTypedBytes)
        return;
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
    const QString path = m_pDoc ? m_pDoc->GetPathName() : QString();
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

namespace {
QString Prototype(const CSymbol& s)
{
    QString text = QString::fromStdString(s.name);
    if (s.kind == SymbolKind::Function || s.kind == SymbolKind::Method) {
        text += u'(' + QString::fromStdString(s.params) + u')';
        if (!s.returnType.empty())
            text += QStringLiteral(": ") + QString::fromStdString(s.returnType);
    } else {
        text = QString::fromUtf8(SymbolKinds::DisplayName(s.kind)) + u' ' + text;
    }
    return text;
}
} // namespace

QList<CContextHelpDlg::CExtraEntry> CSymbolWiring::ContextEntries(bool* membersOnly)
{
    *membersOnly = false;
    if (m_pEditor) {
        // After "->" or "::": the members of the class, when the code says which.
        // The stretch before the caret tells; only then is the whole text read.
        const int caretPos = int(m_pEditor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
        const QByteArray before = m_pEditor->text(std::max(0, caretPos - 256), caretPos).toUtf8();
        const bool member = SymbolLookup::MemberBefore(std::string_view(before.constData(), std::size_t(before.size())),
                                                       std::size_t(before.size())).has_value();
        const QByteArray text = member ? m_pEditor->WholeText() : QByteArray();
        const std::string_view t(text.constData(), std::size_t(text.size()));
        const auto caret = std::size_t(caretPos);
        if (const auto site = member ? SymbolLookup::MemberBefore(t, caret) : std::nullopt) {
            const QString path = ActivePath();
            std::vector<CSymbol> own;
            const std::vector<CSymbol>* outline = path.isEmpty() ? nullptr : m_pIndex->Outline(path);
            if (!outline) {
                own = PhpSymbolReader::Read(t);
                outline = &own;
            }
            const std::string type = SymbolLookup::TypeOfReceiver(t, caret, site->receiver, *outline);
            QList<CContextHelpDlg::CExtraEntry> members;
            const bool object = site->access == SymbolLookup::CNameSite::Access::Object;
            for (const CSymbolRef& r : m_pIndex->Members(type)) {
                const SymbolKind k = r.symbol->kind;
                if (object ? (k == SymbolKind::Method || k == SymbolKind::Property)
                           : (k != SymbolKind::Property || r.symbol->isStatic))
                    members.append({QString::fromStdString(r.symbol->name), Prototype(*r.symbol)});
            }
            if (!members.isEmpty()) {
                *membersOnly = true;
                return members;
            }
        }
    }
    if (m_bFunctionsStale) {
        m_bFunctionsStale = false;
        m_functionEntries.clear();
        for (const CSymbolRef& r : m_pIndex->All({SymbolKind::Function}))
            m_functionEntries.append({QString::fromStdString(r.symbol->name), Prototype(*r.symbol)});
    }
    return m_functionEntries;
}
