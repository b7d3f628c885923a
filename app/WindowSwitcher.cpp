#include "WindowSwitcher.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "CommandIds.h"
#include "CommandMap.h"

CWindowSwitcher::CWindowSwitcher(QMdiArea* area, CCommandMap& commands) : QObject(area), m_pArea(area)
{
    connect(area, &QMdiArea::subWindowActivated, this, &CWindowSwitcher::OnActivated);
    commands.On(Cmd::NextPane, [this] { Step(false); });
    commands.On(Cmd::PrevPane, [this] { Step(true); });
    qApp->installEventFilter(this);
}

void CWindowSwitcher::Prune()
{
    const QList<QMdiSubWindow*> open = m_pArea->subWindowList(QMdiArea::CreationOrder);
    m_recent.removeIf([&open](const QPointer<QMdiSubWindow>& w) { return !w || !open.contains(w.data()); });
    // Windows never activated yet come last, oldest first.
    for (QMdiSubWindow* w : open)
        if (!m_recent.contains(w))
            m_recent << w;
}

QList<QMdiSubWindow*> CWindowSwitcher::RecentOrder()
{
    Prune();
    QList<QMdiSubWindow*> order;
    for (const QPointer<QMdiSubWindow>& w : std::as_const(m_recent))
        order << w.data();
    return order;
}

void CWindowSwitcher::OnActivated(QMdiSubWindow* window)
{
    // No window while the main window is inactive: nothing was used.
    if (!window || m_bStepping)
        return;
    // The window the walk reached, reported late (as the focus arrives).
    if (m_nWalkIndex >= 0 && m_nWalkIndex < m_walk.size() && m_walk.at(m_nWalkIndex) == window)
        return;
    // Chosen some other way (a click, the Window menu): the walk is over.
    m_nWalkIndex = -1;
    m_walk.clear();
    m_recent.removeAll(window);
    m_recent.prepend(window);
}

void CWindowSwitcher::Step(bool backward)
{
    if (m_nWalkIndex < 0) {
        Prune();
        m_walk = m_recent;
        m_nWalkIndex = 0;
    }
    m_walk.removeIf([](const QPointer<QMdiSubWindow>& w) { return !w; });
    const auto count = static_cast<int>(m_walk.size());
    if (count < 2) {
        EndSession();
        return;
    }
    m_nWalkIndex = ((std::min(m_nWalkIndex, count - 1) + (backward ? -1 : 1)) % count + count) % count;
    QMdiSubWindow* target = m_walk.at(m_nWalkIndex);
    m_bStepping = true;
    if (target->isMinimized())
        target->showNormal();
    m_pArea->setActiveSubWindow(target);
    if (QWidget* child = target->widget())
        child->setFocus(Qt::OtherFocusReason);
    m_bStepping = false;
    // Without Ctrl held (F6) each step stands alone.
    if (!(m_lastKeyModifiers & Qt::ControlModifier))
        EndSession();
}

void CWindowSwitcher::EndSession()
{
    if (m_nWalkIndex < 0)
        return;
    QMdiSubWindow* reached = m_pArea->activeSubWindow() ? m_pArea->activeSubWindow() : m_pArea->currentSubWindow();
    m_nWalkIndex = -1;
    m_walk.clear();
    if (reached) {
        m_recent.removeAll(reached);
        m_recent.prepend(reached);
    }
}

bool CWindowSwitcher::eventFilter(QObject* watched, QEvent* event)
{
    // The keys of a shortcut are seen before it runs its command.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)
        m_lastKeyModifiers = static_cast<QKeyEvent*>(event)->modifiers();
    if (m_nWalkIndex >= 0) {
        if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Control)
            EndSession();
        else if (event->type() == QEvent::ApplicationDeactivate)
            EndSession();
    }
    return QObject::eventFilter(watched, event);
}
