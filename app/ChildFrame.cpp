#include "ChildFrame.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QStyle>

#include "QuilletDoc.h"
#include "QuilletView.h"

CChildFrame::CChildFrame(CQuilletView* view, QWidget* parent) : QMdiSubWindow(parent), m_pView(view)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    // A plain document icon: without one Qt draws its own logo in the title bar.
    setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    UpdateTitle();
}

void CChildFrame::ActivateFrame()
{
    showMaximized();
    if (mdiArea())
        mdiArea()->setActiveSubWindow(this);
    m_pView->setFocus();
}

void CChildFrame::UpdateTitle()
{
    CQuilletDoc* doc = m_pView->GetDocument();
    if (!doc)
        return;
    QString title = doc->GetTitle();
    const qsizetype count = doc->Views().size();
    if (count > 1)
        title += QStringLiteral(":%1").arg(doc->Views().indexOf(m_pView) + 1);
    setWindowTitle(doc->IsModified() ? title + QStringLiteral(" *") : title);
}

void CChildFrame::showEvent(QShowEvent* event)
{
    QMdiSubWindow::showEvent(event);
    // A new editor window opens maximised; later shows (Qt hides and shows a
    // window when it leaves the maximised state) keep the state the user chose.
    if (!m_bShown && !isMaximized())
        showMaximized();
    m_bShown = true;
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    CQuilletDoc* doc = m_pView->GetDocument();
    // Closing the last window of a document closes the document: ask first.
    if (doc && !doc->IsClosing() && doc->Views().size() == 1 && !doc->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
