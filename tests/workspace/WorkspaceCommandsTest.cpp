// The View menu's workspace and page commands and the bar's context menu stay in
// step with the bar, whichever way the user hides it or chooses a page.
#include "CaptionButton.h"
#include "WorkspaceBar.h"
#include "WorkspaceFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "TestSupport.h"

using QuilletTest::WaitFor;

namespace {

QList<int> CheckedPages(const WorkspaceFrame& w)
{
    QList<int> checked;
    for (int i = 0; i < w.pageActions.size(); ++i)
        if (w.pageActions.at(i)->isChecked())
            checked.append(i);
    return checked;
}

void ClickMenuItem(QMenu* menu, QAction* action)
{
    const QPoint centre = menu->actionGeometry(action).center();
    QTest::mouseMove(menu, centre);
    QTest::mouseClick(menu, Qt::LeftButton, {}, centre);
}

// The tab bar the main window puts under tabbed dock widgets.
QTabBar* DockTabBar(const WorkspaceFrame& w)
{
    QCoreApplication::processEvents();
    for (QTabBar* tabs : w.frame->findChildren<QTabBar*>())
        if (tabs->parentWidget() == w.frame.get() && tabs->count() > 0)
            return tabs;
    return nullptr;
}

void ClickTabNamed(QTabBar* tabs, const QString& text)
{
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == text) {
            const QPoint centre = tabs->tabRect(i).center();
            QTest::mouseMove(tabs, centre);
            QTest::mouseClick(tabs, Qt::LeftButton, {}, centre);
            return;
        }
    }
    ADD_FAILURE() << "no tab " << text.toStdString();
}

} // namespace

TEST(WorkspaceCommands, ContextMenuHoldsThePageItemsThenTheWorkspaceItem)
{
    WorkspaceFrame w;
    QList<QAction*> items;
    for (QAction* a : w.menu->actions())
        if (!a->isSeparator())
            items.append(a);
    ASSERT_EQ(items.size(), 7);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(items.at(i), w.pageActions.at(i));
    EXPECT_EQ(items.at(6), w.workspaceAction);
    EXPECT_EQ(items.at(6)->text(), QStringLiteral("工作空间"));
}

TEST(WorkspaceCommands, CheckMarkFollowsTheActivePageChosenByTabByCommandOrByCode)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    EXPECT_EQ(CheckedPages(w), QList<int>({0}));

    // By tab.
    w.frame->resizeDocks({w.bar}, {420}, Qt::Horizontal);
    ASSERT_TRUE(WaitFor([&] { return w.bar->width() == 420; }));
    QTabBar* tabs = w.bar->TabControl()->tabBar();
    const QPoint cssTab = tabs->tabRect(1).center();
    QTest::mouseMove(tabs, cssTab);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, cssTab);
    EXPECT_EQ(w.bar->GetActiveIndex(), 1);
    EXPECT_EQ(CheckedPages(w), QList<int>({1}));

    // By the View menu's command.
    w.pageActions.at(4)->trigger();
    EXPECT_EQ(w.bar->GetActiveIndex(), 4);
    EXPECT_EQ(CheckedPages(w), QList<int>({4}));

    // The active page's command again leaves its mark on.
    w.pageActions.at(4)->trigger();
    EXPECT_EQ(CheckedPages(w), QList<int>({4}));

    // By the bar's context menu.
    w.bar->PopupContextMenu(w.bar->mapToGlobal(QPoint(30, 30)));
    ASSERT_TRUE(WaitFor([&] { return w.menu->isVisible(); }));
    ClickMenuItem(w.menu, w.pageActions.at(2));
    EXPECT_TRUE(WaitFor([&] { return !w.menu->isVisible(); }));
    EXPECT_EQ(w.bar->GetActiveIndex(), 2);
    EXPECT_EQ(CheckedPages(w), QList<int>({2}));

    // By code, as the pages themselves might.
    w.bar->SetActiveView(5);
    EXPECT_EQ(CheckedPages(w), QList<int>({5}));
}

TEST(WorkspaceCommands, HiddenByItsOwnButtonAndShownByTheCommandItComesBackWhereItWas)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    CWorkspaceBar* bar = w.bar;
    w.frame->resizeDocks({bar}, {250}, Qt::Horizontal);
    ASSERT_TRUE(WaitFor([&] { return bar->width() == 250; }));
    const QRect before = bar->geometry();
    EXPECT_TRUE(w.workspaceAction->isChecked());

    // The bar's own button opens its menu; "工作空间" there hides it.
    QTest::mouseMove(bar->HideButton(), QPoint(6, 6));
    QTest::mouseClick(bar->HideButton(), Qt::LeftButton, {}, QPoint(6, 6));
    ASSERT_TRUE(WaitFor([&] { return w.menu->isVisible(); }));
    EXPECT_TRUE(w.workspaceAction->isChecked());
    ClickMenuItem(w.menu, w.workspaceAction);
    ASSERT_TRUE(WaitFor([&] { return !bar->isVisible(); }));
    EXPECT_FALSE(bar->IsShown());
    EXPECT_FALSE(w.workspaceAction->isChecked());
    // The editor area takes the room.
    EXPECT_TRUE(WaitFor([&] { return w.frame->centralWidget()->geometry().left() < before.left() + 10; }));

    // The View menu's command shows it again on the same edge at the same size.
    w.workspaceAction->trigger();
    ASSERT_TRUE(WaitFor([&] { return bar->isVisible(); }));
    EXPECT_TRUE(w.workspaceAction->isChecked());
    EXPECT_EQ(bar->DockingSide(), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(WaitFor([&] { return bar->geometry() == before; }))
        << bar->geometry().x() << "," << bar->geometry().y() << " " << bar->width() << "x" << bar->height();
}

TEST(WorkspaceCommands, WorkspaceCommandTogglesAndItsMarkFollowsEveryOtherWayOfClosing)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    CWorkspaceBar* bar = w.bar;

    w.workspaceAction->trigger();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(w.workspaceAction->isChecked());
    w.workspaceAction->trigger();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(w.workspaceAction->isChecked());

    bar->close();
    EXPECT_FALSE(w.workspaceAction->isChecked());
    bar->show();
    EXPECT_TRUE(w.workspaceAction->isChecked());

    // Closed while floating, too.
    bar->setFloating(true);
    ASSERT_TRUE(WaitFor([&] { return bar->isFloating() && bar->isVisible(); }));
    EXPECT_TRUE(w.workspaceAction->isChecked());
    bar->hide();
    EXPECT_FALSE(w.workspaceAction->isChecked());
    w.workspaceAction->trigger();
    EXPECT_TRUE(WaitFor([&] { return bar->isVisible(); }));
    EXPECT_TRUE(bar->isFloating());
    EXPECT_TRUE(w.workspaceAction->isChecked());
}

TEST(WorkspaceCommands, MarkStaysWhileTheBarIsOnlyOutOfSight)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    CWorkspaceBar* bar = w.bar;

    // Tabbed behind another dock widget the bar is out of sight (Qt reports it as no
    // longer visible) but still shown.
    QSignalSpy seen(bar, &QDockWidget::visibilityChanged);
    auto* other = new QDockWidget(QStringLiteral("Other"), w.frame.get());
    other->setWidget(new QWidget);
    w.frame->addDockWidget(Qt::LeftDockWidgetArea, other);
    w.frame->tabifyDockWidget(bar, other);
    QTabBar* dockTabs = DockTabBar(w);
    ASSERT_NE(dockTabs, nullptr);
    ClickTabNamed(dockTabs, QStringLiteral("Other"));
    ASSERT_TRUE(WaitFor([&] { return !seen.isEmpty() && !seen.last().at(0).toBool(); }));
    EXPECT_TRUE(bar->IsShown());
    EXPECT_TRUE(w.workspaceAction->isChecked());
    ClickTabNamed(dockTabs, QStringLiteral("Workspace"));
    ASSERT_TRUE(WaitFor([&] { return seen.last().at(0).toBool(); }));
    EXPECT_TRUE(w.workspaceAction->isChecked());

    // The main window hidden and shown again.
    w.frame->hide();
    EXPECT_TRUE(w.workspaceAction->isChecked());
    EXPECT_TRUE(bar->IsShown());
    w.frame->show();
    ASSERT_TRUE(w.Shown());
    EXPECT_TRUE(w.workspaceAction->isChecked());
}

TEST(WorkspaceCommands, ScreenshotOfTheBarDockedLeft)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    QCoreApplication::processEvents();
    const QImage shot = w.frame->grab().toImage();
    ASSERT_FALSE(shot.isNull());

    // The bar's caption buttons are drawn where the bar says they are.
    const QPoint hide = w.bar->HideButton()->mapTo(w.frame.get(), QPoint(0, 0));
    const QImage button = w.bar->HideButton()->grab().toImage();
    EXPECT_EQ(shot.copy(QRect(hide, button.size())), button.convertToFormat(shot.format()));
    // The first tab's image is in the shot.
    QTabBar* tabs = w.bar->TabControl()->tabBar();
    const QRect firstTab(tabs->mapTo(w.frame.get(), tabs->tabRect(0).topLeft()), tabs->tabRect(0).size());
    bool violet = false;
    for (int y = firstTab.top(); y <= firstTab.bottom() && !violet; ++y)
        for (int x = firstTab.left(); x <= firstTab.right() && !violet; ++x)
            violet = shot.pixel(x, y) == qRgb(0x77, 0x7b, 0xb4);
    EXPECT_TRUE(violet);
}
