#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include "QuilletEvent.h"
#include "StartupSplashWnd.h"
#include "TestSupport.h"

namespace {
// The main frame's stand-in as the splash window's owner: counts the
// deferred-load messages it receives.
class Owner : public QWidget
{
public:
    int loads = 0;
    QLineEdit* edit = new QLineEdit(this);
    Owner() { (new QVBoxLayout(this))->addWidget(edit); }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QuilletEvent::DeferredLoad)
            ++loads;
        return QWidget::event(e);
    }
};

class SplashTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CStartupSplashWnd::EnableSplashScreen(true);
        CStartupSplashWnd::SetPeriodMs(150);
    }
    void TearDown() override
    {
        QuilletTest::WaitFor([] { return CStartupSplashWnd::Current() == nullptr; });
        CStartupSplashWnd::SetPeriodMs(CStartupSplashWnd::kDefaultPeriodMs);
    }
};
} // namespace

TEST_F(SplashTest, PostsTheDeferredLoadOnceAndGoes)
{
    Owner owner;
    owner.show();
    CStartupSplashWnd::ShowSplashScreen(&owner);
    CStartupSplashWnd* splash = CStartupSplashWnd::Current();
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(520, 317));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE((splash->geometry().center() - screen.center()).manhattanLength(), 2);
    // A second request while one is up makes no second window.
    CStartupSplashWnd::ShowSplashScreen(&owner);
    EXPECT_EQ(CStartupSplashWnd::Current(), splash);

    ASSERT_TRUE(QuilletTest::WaitFor([&] { return owner.loads == 1; }));
    EXPECT_EQ(CStartupSplashWnd::Current(), nullptr);
    EXPECT_FALSE(QuilletTest::WaitFor([&] { return owner.loads > 1; }, 450));
}

TEST_F(SplashTest, KeyHidesItButStillReachesItsTargetAndTheLoadStillComes)
{
    Owner owner;
    owner.show();
    owner.edit->setFocus();
    CStartupSplashWnd::ShowSplashScreen(&owner);
    CStartupSplashWnd* splash = CStartupSplashWnd::Current();
    ASSERT_TRUE(splash);
    QTest::keyClick(owner.edit, Qt::Key_A);
    EXPECT_EQ(owner.edit->text(), "a");
    EXPECT_EQ(CStartupSplashWnd::Current(), splash);   // hidden, not destroyed
    EXPECT_FALSE(splash->isVisible());
    EXPECT_EQ(owner.loads, 0);
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return owner.loads == 1; }));
}

TEST_F(SplashTest, MouseButtonHidesIt)
{
    Owner owner;
    owner.show();
    CStartupSplashWnd::ShowSplashScreen(&owner);
    ASSERT_TRUE(CStartupSplashWnd::Current());
    QTest::mouseClick(owner.edit, Qt::LeftButton);
    EXPECT_FALSE(CStartupSplashWnd::Current()->isVisible());
}

TEST_F(SplashTest, DisabledSplashShowsNothingAndPostsNothing)
{
    CStartupSplashWnd::EnableSplashScreen(false);
    Owner owner;
    CStartupSplashWnd::ShowSplashScreen(&owner);
    EXPECT_EQ(CStartupSplashWnd::Current(), nullptr);
    EXPECT_FALSE(QuilletTest::WaitFor([&] { return owner.loads > 0; }, 400));
}
