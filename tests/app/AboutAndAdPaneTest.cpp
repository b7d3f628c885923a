// The About box from the toolbar of the real main frame, and the ad pane of
// every editor window: the shipped page, the user's address, the focus.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "AboutDlg.h"
#include "AdView.h"
#include "CannedHttpServer.h"
#include "CodeEditCtrl.h"
#include "ComboToolBar.h"
#include "CommandIds.h"
#include "DocTemplate.h"
#include "HyperLink.h"
#include "FrameFixture.h"
#include "MainFrame.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "RecordingLauncher.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"
#include "core/AdAddress.h"

namespace {

using namespace FrameTest;

class AboutAndAdPaneTest : public FrameFixture
{
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        ActivateFrame();
    }
    void TearDown() override
    {
        QSettings().remove(QStringLiteral("Settings/AdAddress"));
        FrameFixture::TearDown();
    }
    static CCodeEditCtrl* FocusedEditorOf(CQuilletDoc* doc)
    {
        doc->Editor()->setFocus();
        QuilletTest::WaitFor([doc] { return doc->Editor()->hasFocus(); });
        return doc->Editor();
    }
};

QStringList LabelTexts(QWidget* dialog)
{
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    return texts;
}

} // namespace

TEST_F(AboutAndAdPaneTest, ToolbarButtonOpensTheModalAboutBoxAndTheEditorGetsTheFocusBack)
{
    CQuilletDoc* doc = Docs()->NewDocument();
    CCodeEditCtrl* editor = FocusedEditorOf(doc);
    Frame()->UpdateCommandStates();
    QAction* about = Frame()->Action(Cmd::AppAbout);
    ASSERT_TRUE(about->isEnabled());
    auto* button = qobject_cast<QToolButton*>(Frame()->ToolBar()->widgetForAction(about));
    ASSERT_NE(button, nullptr);

    CRecordingLauncher desktop;
    bool seen = false;
    QStringList texts;
    QWidget* parent = nullptr;
    QString title, linkText, linkUrl;
    QColor colourOnOpening;
    bool visitedAfterClick = false;
    // Inside the box's own loop: look at it, click its link, close it.
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        auto* box = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (!box)
            return;
        probe.stop();
        seen = true;
        title = box->windowTitle();
        parent = box->parentWidget();
        texts = LabelTexts(box);
        linkText = box->Link()->text();
        linkUrl = box->Link()->GetURL();
        colourOnOpening = box->Link()->TextColour();
        QTest::mouseClick(box->Link(), Qt::LeftButton, {}, box->Link()->rect().center());
        visitedAfterClick = box->Link()->IsVisited();
        QTest::mouseClick(box->OkButton(), Qt::LeftButton);
    });
    probe.start();
    QTest::mouseClick(button, Qt::LeftButton);   // returns when the box has closed
    probe.stop();

    ASSERT_TRUE(seen) << "no modal About box";
    EXPECT_EQ(title, "关于 Quillet");
    EXPECT_EQ(parent, Frame());
    for (const char* line : {"Quillet 3.0 版", "不过我知道,好多兄弟连5元都不肯拿出", "如果您支持我的话,请多多点击广告吧"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(line))) << line;
    EXPECT_EQ(linkText, QStringLiteral("我的网站  ") + CAboutDlg::MakerAddress());
    EXPECT_EQ(linkUrl, CAboutDlg::MakerAddress());
    EXPECT_EQ(colourOnOpening, QColor(0, 0, 255));
    EXPECT_EQ(desktop.opened, QStringList{CAboutDlg::MakerAddress()});
    EXPECT_TRUE(visitedAfterClick);
    EXPECT_TRUE(QuilletTest::WaitFor([editor] { return QApplication::focusWidget() == editor; }));
    EXPECT_EQ(Frame()->ActiveView(), doc->FirstView());
}

TEST_F(AboutAndAdPaneTest, EveryEditorWindowShowsTheShippedPageAndReloadsIt)
{
    QList<CQuilletDoc*> docs;
    for (int i = 0; i < 3; ++i)
        docs << Docs()->NewDocument();
    Frame()->RouteCommand(Cmd::WindowNew);   // a second window on the last document
    QCoreApplication::processEvents();
    ASSERT_EQ(docs.last()->Views().size(), 2);
    CCodeEditCtrl* editor = FocusedEditorOf(docs.last());

    QList<CQuilletView*> views;
    for (CQuilletDoc* doc : docs)
        views << doc->Views();
    ASSERT_EQ(views.size(), 4);
    for (CQuilletView* view : views) {
        CAdView* pane = view->AdPane();
        EXPECT_EQ(pane->LocationURL(), AdAddress::Default());
        EXPECT_TRUE(pane->toPlainText().contains(QStringLiteral("Quillet 3.0")));
        EXPECT_EQ(view->AdPaneHeight(), 66);
        view->OnAdTimer();   // the minute's tick
        EXPECT_EQ(pane->LocationURL(), AdAddress::Default());
        EXPECT_EQ(view->AdPaneHeight(), 66);
    }
    // The shipped page links to the maker's home page, nothing else.
    const QString html = views.first()->AdPane()->toHtml();
    EXPECT_TRUE(html.contains(CAboutDlg::MakerAddress()));
    EXPECT_EQ(QApplication::focusWidget(), editor);
}

TEST_F(AboutAndAdPaneTest, TheUsersAddressLoadsInNewWindowsWithoutTakingTheFocus)
{
    CCannedHttpServer server(CCannedHttpServer::Page("<html><body>LOCAL AD</body></html>"));
    ASSERT_TRUE(server.isListening());
    CQuilletDoc* first = Docs()->NewDocument();
    QSettings().setValue(QStringLiteral("Settings/AdAddress"), server.Url());
    CQuilletDoc* second = Docs()->NewDocument();
    CCodeEditCtrl* editor = FocusedEditorOf(second);
    CAdView* pane = second->FirstView()->AdPane();
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return !pane->IsLoading() && pane->LocationURL() == server.Url(); }));
    EXPECT_TRUE(pane->toPlainText().contains(QStringLiteral("LOCAL AD")));
    EXPECT_EQ(first->FirstView()->AdPane()->LocationURL(), AdAddress::Default());

    second->FirstView()->OnAdTimer();
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return server.requests == 2 && !pane->IsLoading(); }));
    EXPECT_EQ(pane->LocationURL(), server.Url());
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(Frame()->ActiveView(), second->FirstView());
}
