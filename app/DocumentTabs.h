// The document tabs above the editor windows: one tab per window, titled as
// the window (" *" when modified), with a close button; a click activates
// the window, the middle button closes it, dragging reorders, and the
// context menu offers 关闭, 关闭其他 and 复制路径. The windows stay MDI
// windows; the strip only adds a way to reach them.
#pragma once

#include <QList>
#include <QObject>

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QTabBar;

class CDocumentTabs : public QObject
{
    Q_OBJECT
public:
    // Puts the strip above area, frame's central widget.
    CDocumentTabs(QMainWindow* frame, QMdiArea* area);

    QTabBar* TabBar() const { return m_pBar; }
    // Whether the user wants the strip (a setting, on by default); it shows
    // while there is a window.
    bool IsWanted() const { return m_bWanted; }
    void SetWanted(bool on);
    QMdiSubWindow* WindowAt(int index) const { return m_windows.value(index); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Sync();
    void Remove(QObject* window);
    void Retitle(QMdiSubWindow* window);
    void Activate(int index);
    void ShowMenu(const QPoint& pos);
    void UpdateVisibility();

    QMdiArea* m_pArea;
    QTabBar* m_pBar;
    // The windows in the order of their tabs.
    QList<QMdiSubWindow*> m_windows;
    bool m_bSyncing = false;
    bool m_bWanted = true;
};
