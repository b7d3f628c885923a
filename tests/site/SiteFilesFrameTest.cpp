// In the running application: the format pane and the line-break and
// encoding commands, the last session kept and reopened, and 预览 on a real php.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "FrameFixture.h"
#include "PreviewCommands.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "ScriptedResponder.h"
#include "ServerOutputPane.h"
#include "SessionCommands.h"
#include "SiteAccess.h"
#include "SiteShell.h"
#include "SiteTestSupport.h"
#include "StatusIndicators.h"
#include "WSLocalSiteView.h"
#include "core/PreviewServer.h"

namespace {
using namespace FrameTest;

struct AddressRecorder : SiteShell::Launcher
{
    AddressRecorder() { SiteShell::SetLauncher(this); }
    ~AddressRecorder() override { SiteShell::SetLauncher(nullptr); }
    bool OpenUrl(const QUrl& url) override { return urls << url, true; }
    bool StartDetached(const QString&, const QStringList&) override { return false; }
    QList<QUrl> urls;
};

class SiteFilesFrameTest : public FrameFixture
{
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        m_site = m_dir.filePath(QStringLiteral("site"));
        ASSERT_TRUE(SiteTest::MakeTree(m_site, {"index.php", "sub/", "sub/page.php", "b.php", "c.php"}));
        SiteAccess::Page(Frame())->OpenSite(m_site);
    }
    CQuilletDoc* Open(const QString& path) { return Docs()->OpenDocumentFile(path); }
    static QString FormatText() { return Frame()->StatusPanes()->FormatPane()->text(); }

    QTemporaryDir m_dir;
    QString m_site;
};
} // namespace

TEST_F(SiteFilesFrameTest, TheStatusBarNamesTheActiveFilesFormatThroughConversionAndUndo)
{
    QuilletTest::WriteFile(m_dir.filePath(QStringLiteral("gb.php")), "\xd6\xd0\r\n\xce\xc4\r\n");
    CQuilletDoc* gb = Open(m_dir.filePath(QStringLiteral("gb.php")));
    ASSERT_TRUE(QuilletTest::WaitFor([] { return FormatText() == QStringLiteral("GB18030 · CRLF"); }));
    Frame()->Action(Cmd::LineBreakLf)->trigger();
    EXPECT_TRUE(QuilletTest::WaitFor([] { return FormatText() == QStringLiteral("GB18030 · LF"); }));
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(Cmd::LineBreakLf)->isChecked());
    EXPECT_FALSE(Frame()->Action(Cmd::LineBreakCrLf)->isChecked());
    gb->Editor()->undo();
    EXPECT_TRUE(QuilletTest::WaitFor([] { return FormatText() == QStringLiteral("GB18030 · CRLF"); }));
    Frame()->Action(Cmd::EncodingUtf8)->trigger();
    EXPECT_TRUE(QuilletTest::WaitFor([] { return FormatText() == QStringLiteral("UTF-8 · CRLF"); }));
    EXPECT_TRUE(gb->IsModified());
    // Another window shows its own; none, nothing.
    Open(m_site + QStringLiteral("/index.php"));
    EXPECT_TRUE(QuilletTest::WaitFor([] { return FormatText() == QStringLiteral("UTF-8 · LF"); }));
    CloseAll();
    EXPECT_TRUE(QuilletTest::WaitFor([] { return Frame()->StatusPanes()->FormatPane()->isHidden(); }));
}

TEST_F(SiteFilesFrameTest, TheLastSessionComesBackWithoutTheFilesGoneSince)
{
    CScriptedResponder responder;
    Frame()->Action(Cmd::RestoreSession)->trigger();
    ASSERT_TRUE(QSettings().value(QStringLiteral("Settings/RestoreSession")).toBool());
    const QStringList names = {"index.php", "b.php", "c.php"};
    for (int i = 0; i < names.size(); ++i) {
        QuilletTest::WriteFile(m_site + u'/' + names[i], QByteArray(40, '\n'));
        Open(m_site + u'/' + names[i])->Editor()->setCursorPosition(10 * i + 5, 0);
    }
    Open(m_site + QStringLiteral("/b.php"));   // the active one
    CloseAll();
    QFile::remove(m_site + QStringLiteral("/c.php"));
    SiteAccess::Page(Frame())->OpenSite(m_dir.path());

    EXPECT_EQ(CSessionCommands::Restore(Frame()), 2);
    EXPECT_EQ(SiteAccess::Folder(Frame()), m_site);
    ASSERT_EQ(Docs()->Documents().size(), 2);
    for (int i = 0; i < 2; ++i) {
        int line = -1, index = -1;
        Docs()->Documents()[i]->Editor()->getCursorPosition(&line, &index);
        EXPECT_EQ(Docs()->Documents()[i]->GetPathName(), m_site + u'/' + names[i]);
        EXPECT_EQ(line, 10 * i + 5);
    }
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Frame()->ActiveView(); }));
    EXPECT_EQ(Frame()->ActiveView()->GetDocument()->GetTitle(), QStringLiteral("b.php"));
    EXPECT_TRUE(responder.asked.isEmpty());   // the gone file is not reported on its own

    // Off: nothing comes back, nothing is kept.
    Frame()->Action(Cmd::RestoreSession)->trigger();
    CloseAll();
    EXPECT_EQ(CSessionCommands::Restore(Frame()), 0);
    EXPECT_FALSE(QSettings().contains(QStringLiteral("LastSession/Files")));
}

TEST_F(SiteFilesFrameTest, PreviewOpensTheActiveFilesAddressOnOneServerPerFolder)
{
    if (QStandardPaths::findExecutable(QStringLiteral("php")).isEmpty())
        GTEST_SKIP() << "no php";
    auto* preview = Frame()->findChild<CPreviewCommands*>();
    ASSERT_TRUE(preview);
    AddressRecorder browser;
    CScriptedResponder responder;
    const QString outside = m_dir.filePath(QStringLiteral("elsewhere/x.php"));
    QDir().mkpath(m_dir.filePath(QStringLiteral("elsewhere")));
    QuilletTest::WriteFile(outside, "<?php echo 1;");
    const struct { QString file; const char* path; bool sameServer; } steps[] = {
        {m_site + QStringLiteral("/sub/page.php"), "/sub/page.php", false},
        {m_site + QStringLiteral("/index.php"), "/index.php", true},
        {outside, "/x.php", false},   // outside the site: its own folder
    };
    qint64 pid = 0;
    for (const auto& step : steps) {
        Open(step.file);
        const qsizetype before = browser.urls.size();
        Frame()->Action(Cmd::SitePreview)->trigger();
        ASSERT_TRUE(QuilletTest::WaitFor([&] { return browser.urls.size() > before; }, 20000)) << step.path;
        EXPECT_EQ(browser.urls.last().path(), QLatin1String(step.path));
        EXPECT_EQ(browser.urls.last().port(), preview->Server()->Port());
        EXPECT_EQ(preview->Server()->ProcessId() == pid, step.sameServer);
        pid = preview->Server()->ProcessId();
    }
    EXPECT_TRUE(preview->Pane()->isVisible());
    EXPECT_TRUE(preview->Pane()->StateLabel()->text().contains(QStringLiteral("运行中")));
    Frame()->Action(Cmd::SiteStopPreview)->trigger();
    EXPECT_FALSE(preview->Server()->IsStarted());

    // No php: one message, and no server.
    QSettings().setValue(QStringLiteral("Settings/PhpPath"), m_dir.filePath(QStringLiteral("no-php")));
    Frame()->Action(Cmd::SitePreview)->trigger();
    QSettings().remove(QStringLiteral("Settings/PhpPath"));
    EXPECT_EQ(responder.Texts(UserPrompt::Request::Message).size(), 1);
    EXPECT_FALSE(preview->Server()->IsStarted());
}
