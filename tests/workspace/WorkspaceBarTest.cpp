// The workspace bar's pages: their order, tabs along the bottom, the active page
// and the signal that reports it, however the page was chosen.
#include "WorkspaceBar.h"
#include "WorkspaceFrame.h"
#include "WorkspaceSetup.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "TestSupport.h"

using QuilletTest::WaitFor;

namespace {

void ClickTab(CWorkspaceBar* bar, int index)
{
    QTabBar* tabs = bar->TabControl()->tabBar();
    const QPoint centre = tabs->tabRect(index).center();
    QTest::mouseMove(tabs, centre);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, centre);
}

} // namespace

TEST(WorkspaceBar, HoldsTheSixPagesInOrderWithTabsAlongTheBottom)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    CWorkspaceBar* bar = w.bar;
    const QStringList expected = {"PHP", "CSS", "Html", "JavaScript", "CodeBlock", "LocalSite"};
    ASSERT_EQ(bar->GetViewCount(), 6);
    QTabWidget* tabs = bar->TabControl();
    EXPECT_EQ(tabs->tabPosition(), QTabWidget::South);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(bar->GetViewTitle(i), expected.at(i));
        EXPECT_EQ(tabs->tabText(i), expected.at(i));
        EXPECT_EQ(tabs->tabToolTip(i), expected.at(i));
        EXPECT_EQ(tabs->widget(i), bar->GetView(i));
        EXPECT_EQ(bar->GetView(i)->objectName(), QStringLiteral("placeholderPage"));
    }
    EXPECT_EQ(bar->GetView(-1), nullptr);
    EXPECT_EQ(bar->GetView(6), nullptr);
    // The tab row lies below the pages.
    EXPECT_GT(tabs->tabBar()->geometry().top(), tabs->currentWidget()->geometry().bottom());
    EXPECT_EQ(bar->GetActiveIndex(), 0);
    EXPECT_TRUE(bar->GetView(0)->isVisible());
    EXPECT_FALSE(bar->GetView(1)->isVisible());
}

TEST(WorkspaceBar, TabsShowOurSixImagesAtSixteenPixels)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    QTabWidget* tabs = w.bar->TabControl();
    EXPECT_EQ(tabs->iconSize(), QSize(16, 16));
    QList<qint64> keys;
    for (int i = 0; i < 6; ++i) {
        const QIcon icon = tabs->tabIcon(i);
        ASSERT_FALSE(icon.isNull()) << i;
        const QImage image = icon.pixmap(16, 16).toImage();
        EXPECT_EQ(image.size(), QSize(16, 16));
        keys.append(image.cacheKey());
        // Each image is drawn: some pixel is opaque.
        bool opaque = false;
        for (int y = 0; y < 16 && !opaque; ++y)
            for (int x = 0; x < 16 && !opaque; ++x)
                opaque = qAlpha(image.pixel(x, y)) == 255;
        EXPECT_TRUE(opaque) << i;
    }
    // Six different images, not one repeated.
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j)
            EXPECT_NE(tabs->tabIcon(i).pixmap(16, 16).toImage(), tabs->tabIcon(j).pixmap(16, 16).toImage());
}

TEST(WorkspaceBar, ImagesGivenBeforeThePagesReachTheirTabs)
{
    CWorkspaceBar bar;
    QPixmap red(16, 16);
    red.fill(Qt::red);
    QPixmap blue(16, 16);
    blue.fill(Qt::blue);
    bar.SetTabImages({QIcon(red), QIcon(blue)});
    bar.AddView(QStringLiteral("one"), new QWidget);
    bar.AddView(QStringLiteral("two"), new QWidget);
    bar.AddView(QStringLiteral("three"), new QWidget);
    EXPECT_EQ(bar.TabControl()->tabIcon(0).pixmap(16, 16).toImage().pixel(8, 8), qRgb(255, 0, 0));
    EXPECT_EQ(bar.TabControl()->tabIcon(1).pixmap(16, 16).toImage().pixel(8, 8), qRgb(0, 0, 255));
    EXPECT_TRUE(bar.TabControl()->tabIcon(2).isNull());
}

TEST(WorkspaceBar, AddViewRefusesNoViewAndCutsLongTitles)
{
    CWorkspaceBar bar;
    EXPECT_FALSE(bar.AddView(QStringLiteral("none"), nullptr));
    EXPECT_EQ(bar.GetViewCount(), 0);
    EXPECT_EQ(bar.GetActiveIndex(), 0);
    EXPECT_EQ(bar.GetView(0), nullptr);
    const QString longTitle(40, QLatin1Char('x'));
    EXPECT_TRUE(bar.AddView(longTitle, new QWidget));
    EXPECT_EQ(bar.GetViewTitle(0), QString(31, QLatin1Char('x')));
    EXPECT_EQ(bar.TabControl()->tabText(0), QString(31, QLatin1Char('x')));
}

TEST(WorkspaceBar, SetActiveViewShowsThePageFocusesItAndReportsIt)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    w.frame->activateWindow();
    CWorkspaceBar* bar = w.bar;
    QSignalSpy changed(bar, &CWorkspaceBar::activeViewChanged);
    for (int i = 0; i < 6; ++i)
        bar->GetView(i)->setFocusPolicy(Qt::StrongFocus);

    bar->SetActiveView(3);
    EXPECT_EQ(bar->GetActiveIndex(), 3);
    EXPECT_EQ(bar->TabControl()->currentIndex(), 3);
    EXPECT_TRUE(bar->GetView(3)->isVisible());
    EXPECT_FALSE(bar->GetView(0)->isVisible());
    EXPECT_TRUE(WaitFor([&] { return bar->GetView(3)->hasFocus(); }));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).toInt(), 3);

    // The active page again, -1 and a page that does not exist change nothing.
    bar->SetActiveView(3);
    bar->SetActiveView(-1);
    bar->SetActiveView(6);
    EXPECT_EQ(bar->GetActiveIndex(), 3);
    EXPECT_EQ(bar->TabControl()->currentIndex(), 3);
    EXPECT_EQ(changed.count(), 0);

    bar->SetActiveView(5);
    EXPECT_EQ(bar->GetActiveIndex(), 5);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).toInt(), 5);
}

TEST(WorkspaceBar, ClickingATabMakesItsPageActive)
{
    WorkspaceFrame w;
    ASSERT_TRUE(w.Shown());
    CWorkspaceBar* bar = w.bar;
    // Wide enough for every tab to be in view.
    w.frame->resizeDocks({bar}, {420}, Qt::Horizontal);
    ASSERT_TRUE(WaitFor([&] { return bar->width() == 420; }));
    QSignalSpy changed(bar, &CWorkspaceBar::activeViewChanged);

    ClickTab(bar, 1);
    EXPECT_EQ(bar->GetActiveIndex(), 1);
    EXPECT_TRUE(bar->GetView(1)->isVisible());
    EXPECT_FALSE(bar->GetView(0)->isVisible());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).toInt(), 1);

    ClickTab(bar, 0);
    EXPECT_EQ(bar->GetActiveIndex(), 0);
    EXPECT_TRUE(bar->GetView(0)->isVisible());
    EXPECT_FALSE(bar->GetView(1)->isVisible());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).toInt(), 0);
}

TEST(WorkspaceBar, RealPagesTakeTheirPlacesAndPlaceholdersFillTheRest)
{
    QMainWindow frame;
    auto* css = new QLineEdit;
    auto* site = new QLineEdit;
    CWorkspaceBar* bar = CreateWorkspaceBar(&frame, {nullptr, css, nullptr, nullptr, nullptr, site});
    ASSERT_EQ(bar->GetViewCount(), 6);
    EXPECT_EQ(bar->GetView(1), css);
    EXPECT_EQ(bar->GetView(5), site);
    EXPECT_EQ(bar->GetView(0)->objectName(), QStringLiteral("placeholderPage"));
    EXPECT_EQ(bar->GetView(4)->objectName(), QStringLiteral("placeholderPage"));
    EXPECT_EQ(bar->parent(), &frame);
    EXPECT_EQ(frame.dockWidgetArea(bar), Qt::LeftDockWidgetArea);
    EXPECT_EQ(bar->Menu(), nullptr);
}

TEST(WorkspacePage, CommandsMapToPagesBothWays)
{
    const int commands[] = {32774, 32779, 32775, 32776, 32777, 113};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(WorkspacePage::CommandOf(i), commands[i]);
        EXPECT_EQ(WorkspacePage::FromCommand(commands[i]), i);
    }
    EXPECT_EQ(WorkspacePage::CommandOf(-1), 0);
    EXPECT_EQ(WorkspacePage::CommandOf(6), 0);
    EXPECT_EQ(WorkspacePage::FromCommand(32771), -1);
    EXPECT_EQ(WorkspacePage::FromCommand(32778), -1);
}
