#include "MdiWindows.h"

#include "CommandIds.h"
#include "CommandMap.h"
#include "DocTemplate.h"
#include "FrameAccess.h"
#include "QuilletView.h"
#include "WindowSwitcher.h"
#include "core/WindowLayout.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <algorithm>

namespace MdiWindows {

namespace {

// The windows to arrange, oldest activation first so the active one ends on top.
QList<QMdiSubWindow*> Arrangeable(QMdiArea* area)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::ActivationHistoryOrder))
        if (w->isVisible() && !w->isMinimized())
            windows << w;
    return windows;
}

void Place(QMdiArea* area, const QList<QMdiSubWindow*>& windows, const QList<QRect>& rects)
{
    QMdiSubWindow* active = area->activeSubWindow();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows.at(i);
        if (w->isMaximized())
            w->showNormal();
        w->setGeometry(rects.at(i));
        w->raise();
    }
    if (active)
        area->setActiveSubWindow(active);
}

int TitleBarHeight(QMdiSubWindow* window)
{
    QStyleOptionTitleBar option;
    option.initFrom(window);
    return window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, window);
}

} // namespace

void Cascade(QMdiArea* area)
{
    const QList<QMdiSubWindow*> windows = Arrangeable(area);
    if (windows.isEmpty())
        return;
    Place(area, windows, WindowLayout::CascadeRects(area->viewport()->rect(), static_cast<int>(windows.size()),
                                      TitleBarHeight(windows.first())));
}

void Tile(QMdiArea* area)
{
    QList<QMdiSubWindow*> windows = Arrangeable(area);
    if (windows.isEmpty())
        return;
    // Tiles go in the order the windows were opened, not the order of use.
    const QList<QMdiSubWindow*> created = area->subWindowList(QMdiArea::CreationOrder);
    std::sort(windows.begin(), windows.end(), [&created](QMdiSubWindow* a, QMdiSubWindow* b) {
        return created.indexOf(a) < created.indexOf(b);
    });
    Place(area, windows, WindowLayout::TileRects(area->viewport()->rect(), static_cast<int>(windows.size())));
}

void FillWindowList(QMenu* menu, QMdiArea* area, QList<QAction*>& items)
{
    qDeleteAll(items);
    items.clear();
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    items << menu->addSeparator();
    QMdiSubWindow* active = area->activeSubWindow() ? area->activeSubWindow() : area->currentSubWindow();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows.at(i);
        QString title = window->windowTitle();
        title.replace(u'&', QStringLiteral("&&"));
        // The first nine have their number as mnemonic.
        const QString text = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title)
                                   : QStringLiteral("%1 %2").arg(i + 1).arg(title);
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(window == active);
        const QPointer<QMdiSubWindow> target(window);
        QObject::connect(action, &QAction::triggered, area, [area, target] {
            if (!target)
                return;
            if (target->isMinimized())
                target->showNormal();
            area->setActiveSubWindow(target);
            if (QWidget* child = target->widget())
                child->setFocus(Qt::OtherFocusReason);
        });
        items << action;
    }
}

void Arrange(QMdiArea* area)
{
    int x = 0;
    for (QMdiSubWindow* w : area->subWindowList()) {
        if (w->isMinimized()) {
            w->move(x, area->viewport()->height() - w->height());
            x += w->width();
        }
    }
}

void RegisterCommands(IFrameAccess* frame, QMdiArea* area)
{
    CCommandMap& commands = frame->CommandMap();
    commands.On(Cmd::WindowNew, [frame] {
        if (CQuilletView* view = frame->ActiveView())
            frame->DocTemplate()->NewWindow(view->GetDocument(), view);
    }, [frame](CCmdUI& ui) { ui.enabled = frame->ActiveView() != nullptr; });
    commands.On(Cmd::WindowCascade, [area] { Cascade(area); });
    commands.On(Cmd::WindowTile, [area] { Tile(area); });
    commands.On(Cmd::WindowArrange, [area] { Arrange(area); });
    // The next and previous windows, most recently used first.
    new CWindowSwitcher(area, commands);
}

} // namespace MdiWindows
