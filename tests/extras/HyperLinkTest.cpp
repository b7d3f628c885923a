// The hyperlink on screen: its colours as drawn, opening on release (also
// outside), on press, by Space, the fallback and the failure message.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "HyperLink.h"
#include "RecordingLauncher.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"

namespace {

const QString kAddress = QStringLiteral("https://quillet.test/home");

// True when some pixel of the widget as drawn has exactly colour (the
// underline is drawn solid in the text colour).
bool Draws(QWidget* w, const QColor& colour)
{
    const QImage image = w->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                return true;
    return false;
}

const QColor kBlue(0, 0, 255), kPurple(128, 0, 128), kTeal(0, 128, 128), kRed(255, 0, 0);

class HyperLinkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_window.resize(400, 120);
        m_pOther = new QLineEdit(&m_window);
        m_pOther->setGeometry(10, 70, 200, 24);
        m_pLink = new CHyperLink(QStringLiteral("我的网站  ") + kAddress, &m_window);
        m_pLink->move(10, 10);
        m_pLink->SetURL(kAddress);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        m_pOther->setFocus();
        ASSERT_TRUE(QuilletTest::WaitFor([this] { return m_pOther->hasFocus(); }));
    }
    QPoint Inside() const { return m_pLink->rect().center(); }

    QWidget m_window;
    QLineEdit* m_pOther = nullptr;
    CHyperLink* m_pLink = nullptr;
    CRecordingLauncher m_desktop;
    CScriptedResponder m_prompts;
};

} // namespace

TEST_F(HyperLinkTest, BlueUnderlinedWithHandAndTooltipThenTealWithFocusAndPurpleOnceOpened)
{
    EXPECT_EQ(m_pLink->GetLinkStyle(), 0x15u);
    EXPECT_TRUE(m_pLink->font().underline());
    EXPECT_EQ(m_pLink->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(m_pLink->toolTip(), kAddress);
    EXPECT_EQ(m_pLink->text(), QStringLiteral("我的网站  ") + kAddress);
    // Sized to its text, at its place.
    EXPECT_EQ(m_pLink->pos(), QPoint(10, 10));
    EXPECT_EQ(m_pLink->size(), m_pLink->fontMetrics().size(Qt::TextSingleLine, m_pLink->text()));
    EXPECT_TRUE(Draws(m_pLink, kBlue));
    EXPECT_FALSE(Draws(m_pLink, kPurple));

    QTest::mouseClick(m_pLink, Qt::LeftButton, {}, Inside());
    EXPECT_EQ(m_desktop.opened, QStringList{kAddress});
    EXPECT_TRUE(m_prompts.asked.isEmpty());
    EXPECT_TRUE(m_pLink->IsVisited());
    // The click took the focus: teal, not purple, while it lasts.
    ASSERT_TRUE(m_pLink->hasFocus());
    EXPECT_TRUE(Draws(m_pLink, kTeal));
    EXPECT_FALSE(Draws(m_pLink, kPurple));

    m_pOther->setFocus();
    ASSERT_TRUE(QuilletTest::WaitFor([this] { return !m_pLink->hasFocus(); }));
    EXPECT_TRUE(Draws(m_pLink, kPurple));
    EXPECT_FALSE(Draws(m_pLink, kTeal));
    EXPECT_FALSE(Draws(m_pLink, kBlue));
}

TEST_F(HyperLinkTest, OpensOnReleaseEvenOutsideOnPressWithItsStyleAndOnSpace)
{
    QTest::mousePress(m_pLink, Qt::LeftButton, {}, Inside());
    EXPECT_TRUE(m_desktop.opened.isEmpty()) << "opened on press";
    QTest::mouseRelease(m_pLink, Qt::LeftButton, {}, QPoint(m_pLink->width() + 50, m_pLink->height() + 40));
    EXPECT_EQ(m_desktop.opened.size(), 1);

    QTest::keyClick(m_pLink, Qt::Key_A);
    EXPECT_EQ(m_desktop.opened.size(), 1);
    QTest::keyClick(m_pLink, Qt::Key_Space);
    EXPECT_EQ(m_desktop.opened.size(), 2);

    m_pLink->SetLinkStyle(0x15 | HyperLinkStyle::DownClick);
    QTest::mousePress(m_pLink, Qt::LeftButton, {}, Inside());
    EXPECT_EQ(m_desktop.opened.size(), 3);
    QTest::mouseRelease(m_pLink, Qt::LeftButton, {}, Inside());
    EXPECT_EQ(m_desktop.opened.size(), 3) << "opened again on release";
}

TEST_F(HyperLinkTest, RedOnlyWithTheHoverStyleWhileTheMouseIsOver)
{
    QTest::mouseMove(m_pLink, Inside());
    ASSERT_TRUE(QuilletTest::WaitFor([this] { return m_pLink->IsOver(); }));
    EXPECT_FALSE(Draws(m_pLink, kRed));
    m_pLink->SetLinkStyle(0x15 | HyperLinkStyle::UseHover);
    EXPECT_TRUE(Draws(m_pLink, kRed));
    QTest::mouseMove(&m_window, QPoint(300, 100));
    ASSERT_TRUE(QuilletTest::WaitFor([this] { return !m_pLink->IsOver(); }));
    EXPECT_TRUE(Draws(m_pLink, kBlue));
    EXPECT_FALSE(Draws(m_pLink, kRed));
}

TEST_F(HyperLinkTest, RefusedOpenFallsBackOnTheWebBrowserAndOtherwiseSaysWhy)
{
    const struct Case
    {
        const char* name;
        QString command;
        int startResult;
        QString message;   // empty: opened, no message
    } cases[] = {
        {"nothing registered", QString(), 33,
         "Can't open link:\n\nThere is no application associated\nwith the given filename extension."},
        {"registered program missing", QStringLiteral("nosuch-browser --new \"%u\""), 2,
         "Can't open link:\n\nThe specified file was not found."},
        {"registered program started", QStringLiteral("browser --new \"%u\""), 33, QString()},
    };
    m_desktop.opens = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_desktop.webPageCommand = c.command;
        m_desktop.startResult = c.startResult;
        m_prompts.asked.clear();
        m_desktop.started.clear();
        EXPECT_EQ(m_pLink->FollowLink(), c.message.isEmpty());
        EXPECT_EQ(m_prompts.Texts(UserPrompt::Request::Message),
                  c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(m_pLink->IsVisited(), c.message.isEmpty());
        EXPECT_EQ(m_pLink->TextColour(), c.message.isEmpty() ? kPurple : kBlue);
        if (!c.command.isEmpty())
            EXPECT_EQ(m_desktop.started.value(0).mid(1), (QStringList{"--new", kAddress}));
    }
}
