// Ctrl+Tab and Ctrl+Shift+Tab: the editor windows in the order they were
// last used, as tabbed editors go through them. Holding Ctrl and pressing Tab
// again goes further back; letting Ctrl go makes the window reached the most
// recent one, the others keeping their order.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class CCommandMap;
class QMdiArea;
class QMdiSubWindow;

class CWindowSwitcher : public QObject
{
    Q_OBJECT
public:
    // Takes the next- and previous-window commands of commands; owned by area.
    CWindowSwitcher(QMdiArea* area, CCommandMap& commands);

    // One step through the windows, most recently used first (backward: the
    // least recently used first).
    void Step(bool backward);
    // The open windows, most recently used first.
    QList<QMdiSubWindow*> RecentOrder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnActivated(QMdiSubWindow* window);
    void EndSession();
    void Prune();

    QMdiArea* m_pArea;
    QList<QPointer<QMdiSubWindow>> m_recent;
    // While Ctrl is held: the order the walk goes through and where it is.
    QList<QPointer<QMdiSubWindow>> m_walk;
    int m_nWalkIndex = -1;
    bool m_bStepping = false;
    Qt::KeyboardModifiers m_lastKeyModifiers;
};
