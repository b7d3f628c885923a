#include "SymbolNavigation.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTreeWidget>

#include "CommandIds.h"
#include "CommandMap.h"
#include "CodeEditCtrl.h"
#include "DocTemplate.h"
#include "FindSymbolDlg.h"
#include "FrameAccess.h"
#include "QuilletDoc.h"
#include "QuilletEvent.h"
#include "QuilletView.h"
#include "ReferencePage.h"
#include "ReferenceTreeCtrl.h"
#include "SymbolIndex.h"
#include "SymbolLookup.h"
#include "FindSymbolDlg.h"
#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"

CSymbolNavigation::CSymbolNavigation(IFrameAccess* frame, CDocTemplate* docTemplate, CSymbolIndex* index,
                                     QObject* parent)
    : QObject(parent), m_pFrame(frame), m_pDocTemplate(docTemplate), m_pIndex(index)
{
    CCommandMap& map = frame->CommandMap();
    map.On(Cmd::GoToDefinition, [this] { OnGoToDefinition(); },
           [frame](CCmdUI& ui) { ui.enabled = frame->ActiveView() != nullptr; });
    map.On(Cmd::NavigateBack, [this] { OnNavigateBack(); }, [this](CCmdUI& ui) { ui.enabled = !m_back.isEmpty(); });
    map.On(Cmd::FindSymbol, [this] { OnFindSymbol(); });
    // Ctrl+click on a name in any editor goes to its definition.
    qApp->installEventFilter(this);
}

bool CSymbolNavigation::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* editor = watched->parent() ? qobject_cast<CCodeEditCtrl*>(watched->parent()) : nullptr;
        if (editor && watched == editor->viewport() && mouse->button() == Qt::LeftButton &&
            (mouse->modifiers() & Qt::ControlModifier) && editor->window() == m_pFrame->Window()) {
            const QPoint at = mouse->position().toPoint();
            const long pos = editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE,
                                                   static_cast<unsigned long>(at.x()), static_cast<long>(at.y()));
            if (pos >= 0) {
                editor->setFocus(Qt::MouseFocusReason);
                editor->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(pos));
                OnGoToDefinition();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void CSymbolNavigation::OnGoToDefinition()
{
    CQuilletView* view = m_pFrame->ActiveView();
    if (!view)
        return;
    CCodeEditCtrl* editor = view->Editor();
    const QByteArray text = editor->WholeText();
    const auto pos = static_cast<std::size_t>(editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
    const QString path = view->GetDocument()->GetPathName();
    const SymbolLookup::CDefinitions found =
        SymbolLookup::Definitions(*m_pIndex, path, std::string_view(text.constData(), std::size_t(text.size())), pos);
    if (found.targets.size() == 1) {
        JumpTo(found.targets.front());
    } else if (found.targets.size() > 1) {
        CFindSymbolDlg choose(found.targets, QStringLiteral("转到定义"), m_pFrame->Window());
        if (choose.exec() == QDialog::Accepted && choose.Chosen())
            Jump(choose.Chosen()->path, choose.Chosen()->symbol.line, choose.Chosen()->symbol.name);
    } else if (found.builtin.empty() || !ShowBuiltin(QString::fromStdString(found.builtin))) {
        m_pFrame->Window()->statusBar()->showMessage(QStringLiteral("未找到定义"), 3000);
    }
}

void CSymbolNavigation::JumpTo(const CSymbolRef& ref)
{
    const CSymbolPlace place{ref.path, *ref.symbol};
    Jump(place.path, place.symbol.line, place.symbol.name);
}

bool CSymbolNavigation::ShowBuiltin(const QString& name)
{
    CWorkspaceBar* bar = m_pFrame->WorkspaceBar();
    auto* page = bar ? qobject_cast<CReferencePage*>(bar->GetView(WorkspacePage::PHP)) : nullptr;
    if (!page)
        return false;
    QTreeWidget* tree = page->GetTreeCtrl();
    const QList<QTreeWidgetItem*> items =
        tree->findItems(name, Qt::MatchFixedString | Qt::MatchRecursive);   // letter case ignored, as PHP does
    if (items.isEmpty())
        return false;
    if (!bar->IsShown())
        bar->setVisible(true);
    bar->SetActiveView(WorkspacePage::PHP);
    tree->setCurrentItem(items.first());
    tree->scrollToItem(items.first());
    // The prototypes show in the toolbar's combo box, as after a click on the entry.
    CQuilletEvent::Post(m_pFrame->Window(), QuilletEvent::PageSelection, page->GetKind(), 0, tree);
    return true;
}

void CSymbolNavigation::Remember()
{
    CQuilletView* view = m_pFrame->ActiveView();
    if (!view)
        return;
    Place place{view->GetDocument(), view->GetDocument()->GetPathName(), 0, 0};
    view->Editor()->getCursorPosition(&place.line, &place.index);
    m_back.append(place);
    while (m_back.size() > kMaxBackSteps)
        m_back.removeFirst();
    m_pFrame->RequestUpdate();
}

bool CSymbolNavigation::Jump(const QString& path, int line, const std::string& name, bool remember)
{
    if (remember)
        Remember();
    CQuilletDoc* doc = m_pDocTemplate->FindDocument(path);
    if (!doc)
        doc = m_pDocTemplate->OpenDocumentFile(path);
    if (!doc || !doc->FirstView())
        return false;
    CQuilletView* view = m_pFrame->ActiveView();
    if (!view || view->GetDocument() != doc)
        view = doc->FirstView();
    ShowLine(view->Editor(), line, name, false);
    return true;
}

void CSymbolNavigation::ShowLine(CCodeEditCtrl* editor, int line, const std::string& name, bool remember)
{
    if (remember)
        Remember();
    const int l = std::clamp(line - 1, 0, std::max(0, editor->lines() - 1));
    int index = 0;
    if (!name.empty()) {
        const QByteArray text = editor->text(l).toUtf8();
        const qsizetype at = text.indexOf(QByteArray::fromStdString(name));
        if (at >= 0)
            index = int(QString::fromUtf8(text.left(at)).size());
    }
    // The mdi window comes forward before the caret moves, so that the caret
    // is shown in the window the user sees.
    for (QWidget* w = editor; w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            if (sub->mdiArea() && sub->mdiArea()->activeSubWindow() != sub)
                sub->mdiArea()->setActiveSubWindow(sub);
            break;
        }
    }
    editor->setCursorPosition(l, index);
    editor->SendScintilla(QsciScintillaBase::SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<unsigned long>(l));
    // A line outside the middle of the window comes to a third of its height.
    const long first = editor->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
    const long shown = editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    if (l < first + shown / 6 || l > first + shown * 5 / 6)
        editor->SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE,
                              static_cast<unsigned long>(std::max<long>(0, l - shown / 3)));
    editor->setFocus(Qt::OtherFocusReason);
}

void CSymbolNavigation::OnNavigateBack()
{
    while (!m_back.isEmpty()) {
        const Place place = m_back.takeLast();
        CQuilletDoc* doc = place.doc;
        if (!doc && !place.path.isEmpty())
            doc = m_pDocTemplate->OpenDocumentFile(place.path);
        if (!doc || !doc->FirstView())
            continue;   // the place is gone: one further back
        CQuilletView* view = m_pFrame->ActiveView();
        if (!view || view->GetDocument() != doc)
            view = doc->FirstView();
        ShowLine(view->Editor(), place.line + 1, std::string(), false);
        view->Editor()->setCursorPosition(place.line, place.index);
        break;
    }
    m_pFrame->RequestUpdate();
}

void CSymbolNavigation::OnFindSymbol()
{
    CFindSymbolDlg dialog(*m_pIndex, m_pFrame->Window());
    if (dialog.exec() == QDialog::Accepted && dialog.Chosen())
        Jump(dialog.Chosen()->path, dialog.Chosen()->symbol.line, dialog.Chosen()->symbol.name);
}
