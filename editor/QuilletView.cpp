#include "QuilletView.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimerEvent>

#include "QuilletEvent.h"

#include "AdView.h"
#include "core/AdAddress.h"
#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "ContextHelpList.h"
#include "EditorHost.h"
#include "QuilletDoc.h"
#include "ViewPrinter.h"

QString CQuilletView::AdAddress()
{
    return AdAddress::Current();
}

CQuilletView::CQuilletView(CQuilletDoc* doc, CQuilletView* source, QWidget* parent)
    : QWidget(parent), m_pDoc(doc)
{
    m_strAdAddress = AdAddress();
    m_pEditor = new CCodeEditCtrl(this);
    m_pEditor->setObjectName(QStringLiteral("editor"));
    EditorHost::SetUpEditor(m_pEditor);
    if (source) {
        // Another window on the same document: both edit the one text.
        m_pEditor->setDocument(source->Editor()->document());
        m_pEditor->setEolMode(source->Editor()->eolMode());
    }

    m_pContextMenu = new QMenu(QStringLiteral("ContextHelp"), this);
    m_pContextMenu->addAction(QStringLiteral("剪切"))->setData(Cmd::EditCut);
    m_pContextMenu->addAction(QStringLiteral("复制"))->setData(Cmd::EditCopy);
    m_pContextMenu->addAction(QStringLiteral("粘贴"))->setData(Cmd::EditPaste);
    connect(m_pContextMenu, &QMenu::triggered, this,
            [this](QAction* action) { Commands().Run(action->data().toInt()); });
    connect(m_pEditor, &CCodeEditCtrl::contextMenuWanted, this, &CQuilletView::ShowContextMenu);

    m_pAdView = new CAdView(this);
    m_pAdView->setObjectName(QStringLiteral("adPane"));
    m_nAdTimer = startTimer(kAdTimerMs);
    m_pAdView->Navigate(m_strAdAddress);
    m_nAdPaneHeight = 66;

    RegisterCommands();
    setFocusProxy(m_pEditor);
    if (m_pDoc)
        m_pDoc->AddView(this);
    LayoutPanes();
}

CQuilletDoc* CQuilletView::GetDocument() const
{
    return m_pDoc;
}

CQuilletView::~CQuilletView()
{
    if (m_pDoc)
        m_pDoc->RemoveView(this);
}

void CQuilletView::RegisterCommands()
{
    const auto hasSelection = [this](CCmdUI& ui) { ui.enabled = m_pEditor->hasSelectedText(); };
    Commands().On(Cmd::EditCopy, [this] { m_pEditor->copy(); }, hasSelection);
    Commands().On(Cmd::EditCut, [this] { m_pEditor->cut(); }, hasSelection);
    Commands().On(Cmd::EditPaste, [this] { m_pEditor->paste(); },
                  [this](CCmdUI& ui) { ui.enabled = m_pEditor->CanPaste(); });
    Commands().On(Cmd::EditUndo, [this] { m_pEditor->undo(); },
                  [this](CCmdUI& ui) { ui.enabled = m_pEditor->isUndoAvailable(); });
    Commands().On(Cmd::EditRedo, [this] { m_pEditor->redo(); },
                  [this](CCmdUI& ui) { ui.enabled = m_pEditor->isRedoAvailable(); });
    Commands().On(Cmd::EditSelectAll, [this] { m_pEditor->selectAll(); });
    Commands().On(Cmd::EditInsert, [this] { OnEditInsert(); }, [](CCmdUI& ui) {
        IContextHelpList* list = EditorHost::HelpList();
        ui.enabled = list && list->IsListVisible();
    });
    Commands().On(Cmd::FilePrint, [this] { OnFilePrint(); });
    Commands().On(Cmd::FilePrintDirect, [this] {
        QPrinter printer;
        PrintTo(printer);
    });
    Commands().On(Cmd::FilePrintPreview, [this] { OnFilePrintPreview(); });
}

bool CQuilletView::event(QEvent* event)
{
    if (event->type() == QuilletEvent::InsertEntry) {
        const auto* e = static_cast<CQuilletEvent*>(event);
        InsertEntryText(static_cast<int>(e->wParam()), static_cast<qint32>(e->lParam()));
        return true;
    }
    return QWidget::event(event);
}

void CQuilletView::InsertEntryText(int kind, qint32 id)
{
    const std::optional<QString> text = EditorHost::ReadEntryText(kind, id);
    if (!text || text->isEmpty())
        return;
    // Put in directly, as one step to undo, with the text's line breaks made
    // the file's: the clipboard keeps whatever the user had put there.
    QString body = *text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QString eol = m_pEditor->eolMode() == QsciScintilla::EolWindows ? QStringLiteral("\r\n")
                        : m_pEditor->eolMode() == QsciScintilla::EolMac   ? QStringLiteral("\r")
                                                                          : QStringLiteral("\n");
    if (eol != QStringLiteral("\n"))
        body.replace(u'\n', eol);
    m_pEditor->SendScintilla(QsciScintilla::SCI_BEGINUNDOACTION);
    m_pEditor->ReplaceSelection(body.toUtf8());
    m_pEditor->SendScintilla(QsciScintilla::SCI_ENDUNDOACTION);
    // Typing goes on in the text the entry went into, wherever the double
    // click was, and the caret pane shows where.
    m_pEditor->setFocus(Qt::OtherFocusReason);
    m_pEditor->ReportCaretPosition();
}

void CQuilletView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutPanes();
}

void CQuilletView::LayoutPanes()
{
    const QRect r = rect();
    m_pAdView->setGeometry(r.left(), r.top(), r.width(), m_nAdPaneHeight - r.top());
    m_pEditor->setGeometry(r.left(), m_nAdPaneHeight, r.width(), r.bottom() + 1 - m_nAdPaneHeight);
}

void CQuilletView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_nAdTimer)
        OnAdTimer();
    QWidget::timerEvent(event);
}

void CQuilletView::OnAdTimer()
{
    const QString location = m_pAdView->LocationURL().toLower();
    const int height = location.indexOf(QLatin1String("system32")) > 0 ? 132 : 66;
    if (height != m_nAdPaneHeight) {
        m_nAdPaneHeight = height;
        LayoutPanes();
    }
    m_pAdView->Navigate(m_strAdAddress);
}

void CQuilletView::ShowContextMenu(const QPoint& globalPos)
{
    const QList<QAction*> items = m_pContextMenu->actions();
    const bool hasSelection = m_pEditor->hasSelectedText();
    items.at(0)->setEnabled(hasSelection);
    items.at(1)->setEnabled(hasSelection);
    items.at(2)->setEnabled(m_pEditor->CanPaste());
    m_pContextMenu->popup(globalPos);
}

void CQuilletView::OnEditInsert()
{
    IContextHelpList* list = EditorHost::HelpList();
    if (!list || !list->IsListVisible())
        return;
    // Only the word the list was opened for is ever replaced: with the caret
    // moved out of it, Insert does nothing.
    if (!m_pEditor->IsCaretInTypedWord()) {
        list->HideList();
        return;
    }
    const int end = m_pEditor->SelectionEnd();
    m_pEditor->SetSelection(m_pEditor->WordStart(), end);
    m_pEditor->ReplaceSelection(list->CurrentEntryText().toUtf8());
    if (m_pDoc)
        m_pDoc->SetModifiedFlag(true);
    list->HideList();
    m_pEditor->ReportCaretPosition();
}

void CQuilletView::PrintTo(QPrinter& printer) const
{
    ViewPrinter::Print(printer, ViewPrinter::SplitLines(m_pEditor->WholeText()));
}

void CQuilletView::OnFilePrint()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}

void CQuilletView::OnFilePrintPreview()
{
    QPrinter printer;
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { PrintTo(*p); });
    // Shows one page, or two side by side, as the settings ask.
    if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
        if (ViewPrinter::PreviewPages() == 2)
            preview->setViewMode(QPrintPreviewWidget::FacingPagesView);
        else
            preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    }
    dialog.exec();
}
