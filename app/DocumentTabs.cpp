#include "DocumentTabs.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSettings>
#include <QTabBar>
#include <QVBoxLayout>

#include "ChildFrame.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SettingsValue.h"

namespace {
const QString kWantedKey = QStringLiteral("Settings/DocumentTabs");

QString PathOf(QMdiSubWindow* window)
{
    auto* frame = qobject_cast<CChildFrame*>(window);
    CQuilletDoc* doc = frame ? frame->View()->GetDocument() : nullptr;
    return doc ? doc->GetPathName() : QString();
}
} // namespace

CDocumentTabs::CDocumentTabs(QMainWindow* frame, QMdiArea* area)
    : QObject(frame), m_pArea(area), m_pBar(new QTabBar)
{
    m_pBar->setObjectName(QStringLiteral("documentTabs"));
    m_pBar->setDocumentMode(true);
    m_pBar->setTabsClosable(true);
    m_pBar->setMovable(true);
    m_pBar->setExpanding(false);
    m_pBar->setUsesScrollButtons(true);
    m_pBar->setElideMode(Qt::ElideMiddle);
    // A click on a tab hands the focus to its editor, never to the strip.
    m_pBar->setFocusPolicy(Qt::NoFocus);
    m_pBar->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pBar->installEventFilter(this);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    frame->takeCentralWidget();
    layout->addWidget(m_pBar);
    layout->addWidget(area, 1);
    area->show();
    frame->setCentralWidget(central);

    connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        Sync();
        if (window && m_windows.contains(window)) {
            m_bSyncing = true;
            m_pBar->setCurrentIndex(m_windows.indexOf(window));
            m_bSyncing = false;
        }
    });
    connect(m_pBar, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_bSyncing)
            Activate(index);
    });
    connect(m_pBar, &QTabBar::tabBarClicked, this, &CDocumentTabs::Activate);
    connect(m_pBar, &QTabBar::tabMoved, this, [this](int from, int to) { m_windows.move(from, to); });
    connect(m_pBar, &QTabBar::tabCloseRequested, this, [this](int index) {
        if (QMdiSubWindow* window = WindowAt(index))
            window->close();
    });
    connect(m_pBar, &QWidget::customContextMenuRequested, this, &CDocumentTabs::ShowMenu);
    m_bWanted = SettingsValue::ToBool(QSettings().value(kWantedKey), true);
    UpdateVisibility();
}

void CDocumentTabs::SetWanted(bool on)
{
    m_bWanted = on;
    QSettings().setValue(kWantedKey, on);
    UpdateVisibility();
}

void CDocumentTabs::UpdateVisibility()
{
    m_pBar->setVisible(m_bWanted && !m_windows.isEmpty());
}

void CDocumentTabs::Sync()
{
    m_bSyncing = true;
    for (QMdiSubWindow* window : m_pArea->subWindowList(QMdiArea::CreationOrder)) {
        if (m_windows.contains(window))
            continue;
        m_windows.append(window);
        m_pBar->addTab(QString());
        Retitle(window);
        connect(window, &QWidget::windowTitleChanged, this, [this, window] { Retitle(window); });
        connect(window, &QObject::destroyed, this, &CDocumentTabs::Remove);
    }
    m_bSyncing = false;
    UpdateVisibility();
}

void CDocumentTabs::Remove(QObject* window)
{
    const qsizetype index = m_windows.indexOf(static_cast<QMdiSubWindow*>(window));
    if (index < 0)
        return;
    m_windows.removeAt(index);
    m_bSyncing = true;
    m_pBar->removeTab(static_cast<int>(index));
    // The area chooses the window that comes forward; the strip follows it.
    if (QMdiSubWindow* active = m_pArea->activeSubWindow(); active && m_windows.contains(active))
        m_pBar->setCurrentIndex(static_cast<int>(m_windows.indexOf(active)));
    m_bSyncing = false;
    UpdateVisibility();
}

void CDocumentTabs::Retitle(QMdiSubWindow* window)
{
    const int index = static_cast<int>(m_windows.indexOf(window));
    if (index < 0)
        return;
    QString title = window->windowTitle();
    m_pBar->setTabText(index, title.replace(u'&', QStringLiteral("&&")));
    const QString path = PathOf(window);
    m_pBar->setTabToolTip(index, path.isEmpty() ? window->windowTitle() : QDir::toNativeSeparators(path));
}

void CDocumentTabs::Activate(int index)
{
    QMdiSubWindow* window = WindowAt(index);
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    m_pArea->setActiveSubWindow(window);
    if (QWidget* child = window->widget())
        child->setFocus(Qt::MouseFocusReason);
}

bool CDocumentTabs::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pBar && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::MiddleButton) {
            if (QMdiSubWindow* window = WindowAt(m_pBar->tabAt(mouse->position().toPoint())))
                window->close();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void CDocumentTabs::ShowMenu(const QPoint& pos)
{
    const int index = m_pBar->tabAt(pos);
    const QPointer<QMdiSubWindow> window = WindowAt(index);
    if (!window)
        return;
    // The menu is about the tab under it: its window comes forward first.
    Activate(index);
    QMenu menu(m_pBar);
    QAction* close = menu.addAction(QStringLiteral("关闭"));
    close->setStatusTip(QStringLiteral("关闭这个窗口"));
    QAction* others = menu.addAction(QStringLiteral("关闭其他"));
    others->setStatusTip(QStringLiteral("关闭除这个窗口以外的所有窗口"));
    others->setEnabled(m_windows.size() > 1);
    QAction* copyPath = menu.addAction(QStringLiteral("复制路径"));
    copyPath->setStatusTip(QStringLiteral("把这个文档的完整路径复制到剪贴板"));
    const QString path = PathOf(window);
    copyPath->setEnabled(!path.isEmpty());
    QAction* chosen = menu.exec(m_pBar->mapToGlobal(pos));
    if (!window)
        return;
    if (chosen == close) {
        window->close();
    } else if (chosen == others) {
        QList<QPointer<QMdiSubWindow>> rest;
        for (QMdiSubWindow* w : std::as_const(m_windows))
            if (w != window)
                rest << w;
        // A window whose closing the user cancels ends the round.
        for (const QPointer<QMdiSubWindow>& w : rest)
            if (w && !w->close())
                break;
        if (window)
            Activate(static_cast<int>(m_windows.indexOf(window)));
    } else if (chosen == copyPath) {
        QApplication::clipboard()->setText(QDir::toNativeSeparators(path));
    }
}
