// The docking bar in a real main window: its size, its edges, floating and docking
// again, the caption buttons' places and the context menu's position.
#include "CaptionButton.h"
#include "WorkspaceBar.h"
#include "WorkspaceFrame.h"

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include "TestSupport.h"

using QuilletTest::WaitFor;

namespace {

QWidget* Title(CDockingBar* bar)
{
    return bar->titleBarWidget();
}

bool ButtonsShown(CDockingBar* bar)
{
    return bar->HideButton()->isVisible() && bar->MinimiseButton()->isVisible();
}

bool ButtonsHidden(CDockingBar* bar)
{
    return !bar->HideButton()->isVisible() && !bar->MinimiseButton()->isVisible();
}

// Moves the bar to another edge of its frame and lets the layout settle.
void DockAt(WorkspaceFrame& w, Qt::DockWidgetArea area)
{
    w.frame->addDockWidget(area, w.bar);
    WaitFor([&] { return w.bar->DockingSide() == area; });
    QCoreApplication::processEvents();
}

} // namespace

TEST(DockingBar, StartsDockedLeftAtItsDefaultSize)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    CDockingBar* bar = w.bar;
    EXPECT_EQ(bar->windowTitle(), QStringLiteral("Workspace"));
    EXPECT_EQ(bar->DockingSide(), Qt::LeftDockWidgetArea);
    EXPECT_EQ(bar->allowedAreas(), Qt::AllDockWidgetAreas);
    EXPECT_TRUE(bar->features().testFlag(QDockWidget::DockWidgetMovable));
    EXPECT_TRUE(bar->features().testFlag(QDockWidget::DockWidgetFloatable));
    EXPECT_EQ(bar->DefaultSize(), QSize(220, 200));
    EXPECT_EQ(bar->width(), 220);
    EXPECT_EQ(bar->minimumSize(), QSize(32, 32));
    EXPECT_TRUE(ButtonsShown(bar));
}

TEST(DockingBar, EdgeResizeStopsAtTheMinimumWidth)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    w.frame->resizeDocks({w.bar}, {270}, Qt::Horizontal);
    EXPECT_TRUE(WaitFor([&] { return w.bar->width() == 270; })) << w.bar->width();
    w.frame->resizeDocks({w.bar}, {5}, Qt::Horizontal);
    EXPECT_TRUE(WaitFor([&] { return w.bar->width() == 32; })) << w.bar->width();
}

TEST(DockingBar, CaptionButtonsHaveTheirTooltips)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    EXPECT_EQ(w.bar->HideButton()->toolTip(), QStringLiteral("Hide Docked Window"));
    EXPECT_EQ(w.bar->MinimiseButton()->toolTip(), QStringLiteral("Minimize Docked Window"));

    // The tooltip really shows when the window system asks for it over the button.
    CCaptionButton* hide = w.bar->HideButton();
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), hide->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(hide, &help);
    EXPECT_TRUE(WaitFor([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Hide Docked Window"));
    QToolTip::hideText();
}

TEST(DockingBar, CaptionButtonsSitAtTheEndOfTheTitleRowWhenDockedLeftOrRight)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    for (Qt::DockWidgetArea area : {Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea}) {
        DockAt(w, area);
        QWidget* title = Title(w.bar);
        EXPECT_FALSE(w.bar->features().testFlag(QDockWidget::DockWidgetVerticalTitleBar));
        EXPECT_EQ(title->width(), w.bar->width());
        EXPECT_EQ(w.bar->HideButton()->geometry(), QRect(title->width() - 17, 3, 12, 12));
        EXPECT_EQ(w.bar->MinimiseButton()->geometry(), QRect(title->width() - 31, 3, 12, 12));
        EXPECT_TRUE(ButtonsShown(w.bar));
    }
}

TEST(DockingBar, CaptionButtonsStandInAColumnWhenDockedTopOrBottom)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    for (Qt::DockWidgetArea area : {Qt::TopDockWidgetArea, Qt::BottomDockWidgetArea}) {
        DockAt(w, area);
        QWidget* title = Title(w.bar);
        EXPECT_TRUE(w.bar->features().testFlag(QDockWidget::DockWidgetVerticalTitleBar));
        // The title runs down the bar's left side.
        EXPECT_EQ(title->height(), w.bar->height());
        EXPECT_LT(title->width(), 20);
        EXPECT_EQ(w.bar->HideButton()->geometry(), QRect(2, 3, 12, 12));
        EXPECT_EQ(w.bar->MinimiseButton()->geometry(), QRect(2, 17, 12, 12));
        EXPECT_EQ(w.bar->ContextMenuPoint(), title->mapToGlobal(QPoint(14, 29)));
        EXPECT_TRUE(ButtonsShown(w.bar));
    }
    // Back on the left the title is a row again.
    DockAt(w, Qt::LeftDockWidgetArea);
    EXPECT_FALSE(w.bar->features().testFlag(QDockWidget::DockWidgetVerticalTitleBar));
    EXPECT_EQ(w.bar->HideButton()->geometry().top(), 3);
    EXPECT_EQ(w.bar->width(), 220);
}

TEST(DockingBar, DoubleClickFloatsAndDocksAgainHidingTheButtonsWhileFloating)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    CDockingBar* bar = w.bar;
    // The gripper, well away from the buttons.
    const QPoint grip(40, 9);
    QTest::mouseDClick(Title(bar), Qt::LeftButton, {}, grip);
    ASSERT_TRUE(WaitFor([&] { return bar->isFloating(); }));
    EXPECT_EQ(bar->DockingSide(), Qt::NoDockWidgetArea);
    EXPECT_TRUE(WaitFor([&] { return bar->isVisible() && ButtonsHidden(bar); }));
    // Floating, the bar takes its floating size, at first the default size.
    EXPECT_EQ(bar->size(), QSize(220, 200));
    EXPECT_EQ(bar->FloatingSize(), QSize(220, 200));

    // A floating bar remembers the size the user gives it.
    bar->resize(260, 240);
    EXPECT_EQ(bar->FloatingSize(), QSize(260, 240));

    QTest::mouseDClick(Title(bar), Qt::LeftButton, {}, grip);
    ASSERT_TRUE(WaitFor([&] { return !bar->isFloating(); }));
    EXPECT_EQ(bar->DockingSide(), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(WaitFor([&] { return ButtonsShown(bar); }));

    // Floated again it comes back at the size it had when floating last.
    bar->setFloating(true);
    ASSERT_TRUE(WaitFor([&] { return bar->isFloating() && bar->isVisible(); }));
    EXPECT_EQ(bar->size(), QSize(260, 240));
    EXPECT_TRUE(ButtonsHidden(bar));
    bar->setFloating(false);
    EXPECT_TRUE(WaitFor([&] { return ButtonsShown(bar); }));
}

TEST(DockingBar, BothCaptionButtonsOpenTheMenuAtTheMinimiseButtonsBottomRight)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    QWidget* title = Title(w.bar);
    // The minimise button is at (width - 31, 3) and 12 x 12: the corner past its last pixel.
    const QPoint expected = title->mapToGlobal(QPoint(title->width() - 31 + 12, 3 + 12));
    EXPECT_EQ(w.bar->ContextMenuPoint(), expected);

    for (CCaptionButton* button : {w.bar->HideButton(), w.bar->MinimiseButton()}) {
        QTest::mouseMove(button, QPoint(6, 6));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, 6));
        ASSERT_TRUE(WaitFor([&] { return w.menu->isVisible(); })) << button->objectName().toStdString();
        EXPECT_EQ(w.menu->geometry().topLeft(), expected);
        w.menu->hide();
    }
}

TEST(DockingBar, RightClickOpensTheMenuWhereTheMouseIs)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    QWidget* title = Title(w.bar);
    QTest::mouseMove(title, QPoint(30, 9));
    QTest::mouseClick(title, Qt::RightButton, {}, QPoint(30, 9));
    ASSERT_TRUE(WaitFor([&] { return w.menu->isVisible(); }));
    EXPECT_EQ(w.menu->geometry().topLeft(), title->mapToGlobal(QPoint(30, 9)));
    w.menu->hide();

    // On the tab row, too.
    QWidget* tabs = w.bar->TabControl();
    const QPoint onTabs(tabs->width() - 5, tabs->height() - 8);
    QTest::mouseMove(tabs, onTabs);
    QTest::mouseClick(tabs, Qt::RightButton, {}, onTabs);
    ASSERT_TRUE(WaitFor([&] { return w.menu->isVisible(); }));
    EXPECT_EQ(w.menu->geometry().topLeft(), tabs->mapToGlobal(onTabs));
    w.menu->hide();
}

TEST(DockingBar, KeyboardMenuOpensNearTheTopLeftCorner)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0));
    QCoreApplication::sendEvent(w.bar, &event);
    ASSERT_TRUE(WaitFor([&] { return w.menu->isVisible(); }));
    EXPECT_EQ(w.menu->geometry().topLeft(), w.bar->mapToGlobal(QPoint(5, 5)));
    w.menu->hide();
}

TEST(DockingBar, WithoutAMenuNothingOpens)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    w.bar->SetMenu(nullptr);
    EXPECT_FALSE(w.bar->PopupContextMenu(QPoint(100, 100)));
    QTest::mouseClick(w.bar->HideButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.menu->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(DockingBar, ButtonImagesCanBeExchanged)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    const QList<QIcon> none;
    const QList<QIcon> previous = w.bar->SetButtonImages(none);
    EXPECT_EQ(previous.size(), 3);
    EXPECT_TRUE(w.bar->HideButton()->icon().isNull());
    EXPECT_TRUE(w.bar->SetButtonImages(previous).isEmpty());
    EXPECT_FALSE(w.bar->HideButton()->icon().isNull());
    EXPECT_EQ(w.bar->HideButton()->icon().cacheKey(), previous.at(0).cacheKey());
    EXPECT_EQ(w.bar->MinimiseButton()->icon().cacheKey(), previous.at(1).cacheKey());
}

TEST(DockingBar, DraggingTheGripperFloatsTheBar)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    QWidget* title = Title(w.bar);
    // The title lets the press through to the dock, which starts the drag.
    const QPoint grip(40, 9);
    QTest::mouseMove(title, grip);
    QTest::mousePress(title, Qt::LeftButton, {}, grip);
    QWindow* window = w.frame->windowHandle();
    const QPoint start = w.frame->mapFromGlobal(title->mapToGlobal(grip));
    // Over the middle of the editor area, away from every edge a dock could take.
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(window, start + QPoint(step * 30, step * 18));
    const QPoint drop = start + QPoint(300, 180);
    QTest::mouseRelease(window, Qt::LeftButton, {}, drop);
    EXPECT_TRUE(WaitFor([&] { return w.bar->isFloating(); }));
    EXPECT_TRUE(WaitFor([&] { return ButtonsHidden(w.bar) && w.bar->isVisible(); }));
    // It floats at its floating size, still under the cursor where it was grabbed.
    EXPECT_EQ(w.bar->size(), QSize(220, 200));
    EXPECT_EQ(w.bar->mapFromGlobal(w.frame->mapToGlobal(drop)), grip);
}

TEST(DockingBar, DraggingTheInnerEdgeResizesTheBarDownToItsMinimum)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    ASSERT_EQ(w.bar->width(), 220);
    // The edge is the main window's separator between the bar and the editor area.
    const int toEdge = (w.frame->centralWidget()->geometry().left() - w.bar->geometry().right()) / 2;
    const QPoint edge(w.bar->geometry().right() + toEdge, 200);
    QWindow* window = w.frame->windowHandle();
    QTest::mouseMove(window, edge);
    QTest::mousePress(window, Qt::LeftButton, {}, edge);
    for (int step = 1; step <= 5; ++step)
        QTest::mouseMove(window, edge + QPoint(step * 10, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, edge + QPoint(50, 0));
    EXPECT_TRUE(WaitFor([&] { return w.bar->width() == 270; })) << w.bar->width();

    // Dragged far past the left edge of the window.
    const QPoint moved(w.bar->geometry().right() + toEdge, 200);
    QTest::mouseMove(window, moved);
    QTest::mousePress(window, Qt::LeftButton, {}, moved);
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(window, moved - QPoint(step * 30, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, moved - QPoint(300, 0));
    EXPECT_TRUE(WaitFor([&] { return w.bar->width() == 32; })) << w.bar->width();
}
