// The local site in the running application: choosing the site in the dialog,
// opening its files from the LocalSite page, creating and deleting entries
// through the frame's commands, and the hand-over to desktop programs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "DocTemplate.h"
#include "FrameFixture.h"
#include "LocalSiteTreeCtrl.h"
#include "MainFrame.h"
#include "NameDlg.h"
#include "OpenSiteDlg.h"
#include "PreviewCommands.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "ScriptedResponder.h"
#include "ServerOutputPane.h"
#include "SessionCommands.h"
#include "SiteAccess.h"
#include "SiteCommands.h"
#include "SiteShell.h"
#include "SiteTestSupport.h"
#include "StatusIndicators.h"
#include "TestSupport.h"
#include "WSLocalSiteView.h"
#include "WorkspaceBar.h"
#include "core/DesktopRegistration.h"
#include "core/PreviewServer.h"

namespace {

using namespace FrameTest;

CLocalSiteTreeCtrl* SiteTree()
{
    auto* page = qobject_cast<CWSLocalSiteView*>(Frame()->WorkspaceBar()->GetView(5));
    return page ? page->GetTreeCtrl() : nullptr;
}

QTreeWidgetItem* Child(QTreeWidgetItem* item, const QString& text)
{
    for (int i = 0; item && i < item->childCount(); ++i)
        if (item->child(i)->text(0) == text)
            return item->child(i);
    return nullptr;
}

QStringList Children(const QTreeWidgetItem* item)
{
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i)
        out << item->child(i)->text(0);
    return out;
}

bool WaitRead(const CFolderTreeCtrl* tree)
{
    return QuilletTest::WaitFor([tree] { return !tree->IsReading(); });
}

// Acts on the next modal dialog of type T once it shows (as the user would).
template <typename T>
void WhenShown(std::function<void(T*)> act)
{
    auto* timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        if (auto* dlg = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            act(dlg);
        } else if (++*tries > 500) {
            timer->deleteLater();
        }
    });
    timer->start(10);
}

void AnswerName(const QString& name, bool ok = true)
{
    WhenShown<CNameDlg>([name, ok](CNameDlg* dlg) {
        dlg->NameEdit()->setText(name);
        QTest::keyClick(dlg->NameEdit(), ok ? Qt::Key_Return : Qt::Key_Escape);
    });
}

struct RecordingLauncher : SiteShell::Launcher
{
    RecordingLauncher() { SiteShell::SetLauncher(this); }
    ~RecordingLauncher() override { SiteShell::SetLauncher(nullptr); }
    bool OpenUrl(const QUrl& url) override
    {
        opened << url.toLocalFile();
        return openSucceeds;
    }
    bool StartDetached(const QString& program, const QStringList& arguments) override
    {
        started << QStringList{program} + arguments;
        return true;
    }
    bool openSucceeds = true;
    QStringList opened;
    QList<QStringList> started;
};

struct AddressRecorder : SiteShell::Launcher
{
    AddressRecorder() { SiteShell::SetLauncher(this); }
    ~AddressRecorder() override { SiteShell::SetLauncher(nullptr); }
    bool OpenUrl(const QUrl& url) override { return urls << url, true; }
    bool StartDetached(const QString&, const QStringList&) override { return false; }
    QList<QUrl> urls;
};

class SiteFrameTest : public FrameFixture
{
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        m_site = m_dir.filePath(QStringLiteral("site"));
        Frame()->WorkspaceBar()->setVisible(true);
        Frame()->WorkspaceBar()->SetActiveView(5);
        ActivateFrame();
    }
    // The site shown on the page, without the dialog.
    QTreeWidgetItem* ShowSite(const QStringList& entries)
    {
        EXPECT_TRUE(SiteTest::MakeTree(m_site, entries));
        SiteTree()->SetRoot(m_site, 1);
        EXPECT_TRUE(WaitRead(SiteTree()));
        return SiteTree()->topLevelItem(0);
    }
    void Select(QTreeWidgetItem* item) { SiteTree()->setCurrentItem(item); }
    bool Expand(QTreeWidgetItem* item)
    {
        SiteTree()->expandItem(item);
        return WaitRead(SiteTree());
    }
    void DoubleClick(QTreeWidgetItem* item)
    {
        SiteTree()->scrollToItem(item);
        const QPoint at = SiteTree()->visualItemRect(item).center();
        QTest::mouseClick(SiteTree()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(SiteTree()->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();   // the posted open command
    }
    QTemporaryDir m_dir;
    QString m_site;
};

} // namespace

TEST_F(SiteFrameTest, TheFolderChosenInTheDialogBecomesTheLocalSite)
{
    ASSERT_TRUE(SiteTest::MakeTree(m_site, {"b/", "A/", "index.php"}));
    bool refused = false;
    WhenShown<COpenSiteDlg>([this, &refused](COpenSiteDlg* dlg) {
        // Down the volume tree from "/" to the site folder, a folder at a time.
        CFolderTreeCtrl* tree = dlg->Tree();
        QTreeWidgetItem* item = tree->topLevelItem(0);
        for (const QString& part : m_site.split(u'/', Qt::SkipEmptyParts)) {
            tree->expandItem(item);
            if (!WaitRead(tree))
                break;
            item = Child(item, part);
            if (!item)
                break;
        }
        QPushButton* ok = dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        tree->clearSelection();
        QTest::mouseClick(ok, Qt::LeftButton);
        refused = dlg->isVisible();
        if (item)
            tree->setCurrentItem(item);
        QTest::mouseClick(ok, Qt::LeftButton);
        if (dlg->isVisible())
            dlg->reject();
    });
    Frame()->Action(Cmd::OpenSite)->trigger();
    EXPECT_TRUE(refused);
    ASSERT_TRUE(WaitRead(SiteTree()));
    ASSERT_EQ(SiteTree()->topLevelItemCount(), 1);
    QTreeWidgetItem* top = SiteTree()->topLevelItem(0);
    EXPECT_EQ(top->text(0), m_site);
    EXPECT_EQ(Children(top), QStringList({"A", "b", "index.php"}));

    // Cancel leaves the site as it was.
    WhenShown<COpenSiteDlg>([](COpenSiteDlg* dlg) { dlg->reject(); });
    Frame()->Action(Cmd::OpenSite)->trigger();
    EXPECT_EQ(SiteTree()->topLevelItem(0)->text(0), m_site);
}

TEST_F(SiteFrameTest, SiteFilesOpenInEditorsOrGoToTheirDesktopPrograms)
{
    RecordingLauncher launcher;
    QTreeWidgetItem* top = ShowSite({"index.php", "A.PHP", "notes.txt", "README", "style.css", "x.s", "name.",
                                     "sub/"});
    const struct { const char* name; bool editor; } files[] = {
        {"index.php", true}, {"A.PHP", false}, {"notes.txt", false}, {"README", false},
        {"style.css", true}, {"x.s", true},    {"name.", true},
    };
    for (const auto& f : files) {
        const QString path = m_site + u'/' + QString::fromUtf8(f.name);
        const qsizetype docsBefore = Docs()->Documents().size();
        launcher.opened.clear();
        DoubleClick(Child(top, f.name));
        if (f.editor) {
            ASSERT_TRUE(QuilletTest::WaitFor([&] { return Docs()->FindDocument(path); })) << f.name;
            CQuilletDoc* doc = Docs()->FindDocument(path);
            EXPECT_EQ(Frame()->ActiveView(), doc->FirstView()) << f.name;
            EXPECT_TRUE(QuilletTest::WaitFor([doc] { return QApplication::focusWidget() == doc->Editor(); })) << f.name;
            EXPECT_TRUE(launcher.opened.isEmpty()) << f.name;
        } else {
            EXPECT_EQ(launcher.opened, QStringList({path})) << f.name;
            EXPECT_EQ(Docs()->Documents().size(), docsBefore) << f.name;
        }
    }
    // A second open activates the window the file already has.
    CQuilletDoc* index = Docs()->FindDocument(m_site + QStringLiteral("/index.php"));
    ASSERT_NE(Frame()->ActiveView(), index->FirstView());
    const qsizetype open = Docs()->Documents().size();
    DoubleClick(Child(top, "index.php"));
    EXPECT_TRUE(QuilletTest::WaitFor([index] { return Frame()->ActiveView() == index->FirstView(); }));
    EXPECT_EQ(Docs()->Documents().size(), open);
    EXPECT_EQ(index->Views().size(), 1);
    EXPECT_EQ(QApplication::focusWidget(), index->Editor());
    // A folder opens in the tree, not in a program.
    launcher.opened.clear();
    Select(Child(top, "sub"));
    Frame()->RouteCommand(Cmd::SiteOpenFile);
    EXPECT_TRUE(launcher.opened.isEmpty());
}

TEST_F(SiteFrameTest, TheDesktopDefaultProgramStartsWhenTheDesktopCannotOpenAFile)
{
    RecordingLauncher launcher;
    launcher.openSucceeds = false;
    QDir().mkpath(CDesktopRegistration::DataHome() + QStringLiteral("/applications"));
    ASSERT_TRUE(QuilletTest::WriteFile(CDesktopRegistration::ConfigHome() + QStringLiteral("/mimeapps.list"),
                                       "[Default Applications]\ntext/plain=test-notes.desktop;other.desktop\n"));
    ASSERT_TRUE(QuilletTest::WriteFile(CDesktopRegistration::DataHome() + QStringLiteral("/applications/test-notes.desktop"),
                                       "[Desktop Entry]\nType=Application\nName=Notes\n"
                                       "Exec=\"/opt/test notes/notes\" --new \"%f\" --wait\n"));
    ASSERT_TRUE(SiteTest::MakeTree(m_site, {"my notes.txt", "data.zzq"}));
    const QString notes = m_site + QStringLiteral("/my notes.txt");
    EXPECT_TRUE(SiteShell::ShellOpen(notes));
    EXPECT_EQ(launcher.opened, QStringList({notes}));
    ASSERT_EQ(launcher.started.size(), 1);
    EXPECT_EQ(launcher.started.at(0), QStringList({"/opt/test notes/notes", "--new", notes}));

    // No program for the type: nothing starts.
    QFile binary(m_site + QStringLiteral("/data.zzq"));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly) && binary.write(QByteArray("\0\1\2\3\xff", 5)) == 5);
    binary.close();
    EXPECT_FALSE(SiteShell::ShellOpen(binary.fileName()));
    EXPECT_EQ(launcher.started.size(), 1);
    QFile::remove(CDesktopRegistration::ConfigHome() + QStringLiteral("/mimeapps.list"));
}

TEST_F(SiteFrameTest, DeletingAsksFirstSendsToTheTrashAndRefusesTheSiteAndFullFolders)
{
    QTreeWidgetItem* top = ShowSite({"old.php", "keep.php", "full/a.php", "hidden/.htaccess", "empty/"});
    CScriptedResponder responder;

    // The site folder itself: nothing happens, nothing is asked.
    Select(top);
    Frame()->RouteCommand(Cmd::SiteDeleteFolder);
    Frame()->RouteCommand(Cmd::SiteDeleteFile);
    EXPECT_TRUE(responder.asked.isEmpty());
    EXPECT_TRUE(QFileInfo(m_site).isDir());

    // A collapsed folder with contents, and one holding only a hidden file.
    for (const char* name : {"full", "hidden"}) {
        responder.asked.clear();
        Select(Child(top, name));
        Frame()->RouteCommand(Cmd::SiteDeleteFolder);
        EXPECT_EQ(responder.Texts(UserPrompt::Request::Message), QStringList({"不能删除一个非空的文件夹!"})) << name;
        EXPECT_TRUE(responder.Texts(UserPrompt::Request::YesNo).isEmpty()) << name;
        EXPECT_TRUE(Child(top, name)) << name;
        EXPECT_TRUE(QFileInfo(m_site + u'/' + QString::fromUtf8(name)).isDir()) << name;
    }

    // An empty folder, expanded: asked, then gone to the trash.
    responder.asked.clear();
    ASSERT_TRUE(Expand(Child(top, "empty")));
    Select(Child(top, "empty"));
    responder.answers = {UserPrompt::Answer::Yes};
    Frame()->RouteCommand(Cmd::SiteDeleteFolder);
    EXPECT_EQ(responder.Texts(UserPrompt::Request::YesNo), QStringList({"确实要删除文件夹:" + m_site + "/empty"}));
    EXPECT_FALSE(Child(top, "empty"));
    EXPECT_FALSE(QFileInfo::exists(m_site + QStringLiteral("/empty")));
    EXPECT_FALSE(SiteTest::FindInTrash(QStringLiteral("empty")).isEmpty());

    // A file: No keeps it, Yes sends it to the trash with its bytes.
    responder.asked.clear();
    Select(Child(top, "old.php"));
    responder.answers = {UserPrompt::Answer::No};
    Frame()->RouteCommand(Cmd::SiteDeleteFile);
    EXPECT_TRUE(QFileInfo::exists(m_site + QStringLiteral("/old.php")));
    EXPECT_TRUE(Child(top, "old.php"));
    responder.answers = {UserPrompt::Answer::Yes};
    Frame()->RouteCommand(Cmd::SiteDeleteFile);
    EXPECT_EQ(responder.Texts(UserPrompt::Request::YesNo),
              QStringList(2, "确实要删除文件:" + m_site + "/old.php"));
    EXPECT_FALSE(Child(top, "old.php"));
    EXPECT_FALSE(QFileInfo::exists(m_site + QStringLiteral("/old.php")));
    const QString trashed = SiteTest::FindInTrash(QStringLiteral("old.php"));
    ASSERT_FALSE(trashed.isEmpty());
    EXPECT_EQ(QuilletTest::ReadFile(trashed), QByteArray("old.php"));
    EXPECT_TRUE(QFileInfo::exists(m_site + QStringLiteral("/keep.php")));
}

TEST_F(SiteFrameTest, ADeleteThatFailsKeepsTheItem)
{
    // Nobody, the superuser included, deletes a file of the process folder.
    SiteTree()->SetRoot(QStringLiteral("/proc/self"), 1);
    ASSERT_TRUE(WaitRead(SiteTree()));
    QTreeWidgetItem* file = Child(SiteTree()->topLevelItem(0), "cmdline");
    ASSERT_TRUE(file && SiteTree()->IsFileItem(file));
    CScriptedResponder responder;
    responder.answers = {UserPrompt::Answer::Yes};
    Select(file);
    Frame()->RouteCommand(Cmd::SiteDeleteFile);
    // No trash can be had there: the question says the file would be gone for good.
    EXPECT_EQ(responder.Texts(UserPrompt::Request::YesNo),
              QStringList({"该文件所在的磁盘上没有回收站，删除后将无法恢复。\n确实要删除文件:/proc/self/cmdline"}));
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/proc/self/cmdline")));
    EXPECT_EQ(Child(SiteTree()->topLevelItem(0), "cmdline"), file);
}

TEST_F(SiteFrameTest, NewEntriesAreSelectedInSortedPlaceAndNeverReplaceOrEscape)
{
    QTreeWidgetItem* top = ShowSite({"lib/a1/", "lib/c/", "lib/z.php", "index.php", "empty/"});
    CScriptedResponder responder;
    QTreeWidgetItem* lib = Child(top, "lib");
    ASSERT_TRUE(Expand(lib));
    Select(lib);
    AnswerName(QStringLiteral("B"));
    Frame()->RouteCommand(Cmd::SiteNewFolder);
    EXPECT_TRUE(QFileInfo(m_site + QStringLiteral("/lib/B")).isDir());
    // The folder stays open and shows the new one, selected, in its place.
    const auto selected = [] {
        QTreeWidgetItem* item = SiteTree()->currentItem();
        return item && item->isSelected() ? SiteTree()->GetItemPath(item) : QString();
    };
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return selected() == m_site + QStringLiteral("/lib/B"); }));
    EXPECT_TRUE(lib->isExpanded());
    EXPECT_EQ(Children(lib), QStringList({"a1", "B", "c", "z.php"}));
    EXPECT_TRUE(Docs()->Documents().isEmpty());

    // A new page in a folder that had nothing: shown, selected and opened.
    QTreeWidgetItem* empty = Child(top, "empty");
    Select(empty);
    AnswerName(QStringLiteral("new.php"));
    Frame()->RouteCommand(Cmd::SiteNewFile);
    const QString page = m_site + QStringLiteral("/empty/new.php");
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return selected() == page; }));
    EXPECT_EQ(Children(empty), QStringList({"new.php"}));
    EXPECT_EQ(QFileInfo(page).size(), 0);
    ASSERT_TRUE(Docs()->FindDocument(page));
    EXPECT_EQ(Frame()->ActiveView(), Docs()->FindDocument(page)->FirstView());
    EXPECT_TRUE(responder.asked.isEmpty());

    // An existing name is said, and the entry that has it is selected.
    const QStringList before = SiteTest::Listing(m_dir.path());
    const QByteArray bytes = QuilletTest::ReadFile(m_site + QStringLiteral("/index.php"));
    for (int command : {Cmd::SiteNewFile, Cmd::SiteNewFolder}) {
        responder.asked.clear();
        Select(top);
        AnswerName(QStringLiteral("index.php"));
        Frame()->RouteCommand(command);
        EXPECT_EQ(responder.Texts(UserPrompt::Request::Message),
                  QStringList({CSiteCommands::ExistsText() + m_site + QStringLiteral("/index.php")}));
        EXPECT_TRUE(QuilletTest::WaitFor([&] { return selected() == m_site + QStringLiteral("/index.php"); }));
    }
    // Names that lead elsewhere, and Cancel: nothing, and nothing said.
    responder.asked.clear();
    for (const QString& name : {QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral(".."), QString()}) {
        for (int command : {Cmd::SiteNewFile, Cmd::SiteNewFolder}) {
            Select(top);
            AnswerName(name);
            Frame()->RouteCommand(command);
        }
    }
    Select(top);
    AnswerName(QStringLiteral("cancelled.php"), false);
    Frame()->RouteCommand(Cmd::SiteNewFile);
    EXPECT_TRUE(responder.asked.isEmpty());
    EXPECT_EQ(SiteTest::Listing(m_dir.path()), before);
    EXPECT_EQ(QuilletTest::ReadFile(m_site + QStringLiteral("/index.php")), bytes);
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("x")));
}

TEST_F(SiteFrameTest, OpenSiteIsInTheFileMenuWithDocumentsAndTheDialogStartsAtTheLastSite)
{
    ASSERT_TRUE(SiteTest::MakeTree(m_site, {"index.php"}));
    ASSERT_TRUE(Docs()->NewDocument());
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Frame()->HasDocumentMenus(); }));
    QMenu* file = Frame()->menuBar()->actions().value(0)->menu();
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->actions().contains(Frame()->Action(Cmd::OpenSite)));

    // The site shows at once, wherever the workspace bar was.
    Frame()->WorkspaceBar()->SetActiveView(0);
    Frame()->WorkspaceBar()->setVisible(false);
    for (int round = 0; round < 2; ++round) {
        QString start;
        WhenShown<COpenSiteDlg>([&](COpenSiteDlg* dlg) {
            start = dlg->PathEdit()->text();
            dlg->PathEdit()->setText(m_site);
            dlg->accept();
        });
        Frame()->Action(Cmd::OpenSite)->trigger();
        EXPECT_EQ(start, round == 0 ? QDir::homePath() : m_site);
        ASSERT_EQ(SiteTree()->topLevelItemCount(), 1);
        EXPECT_EQ(SiteTree()->topLevelItem(0)->text(0), m_site);
        EXPECT_TRUE(Frame()->WorkspaceBar()->IsShown());
        EXPECT_EQ(Frame()->WorkspaceBar()->GetActiveIndex(), 5);
    }
}

TEST_F(SiteFrameTest, ThePageMenusCarryTheFrameCommandsAndEmptySpaceHasNone)
{
    QTreeWidgetItem* top = ShowSite({"index.php"});
    QWidget* viewport = SiteTree()->viewport();
    QTest::mouseClick(viewport, Qt::RightButton, {}, SiteTree()->visualItemRect(Child(top, "index.php")).center());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << a->text();
    EXPECT_EQ(texts, QStringList({"打开", "删除"}));
    CScriptedResponder responder;   // answers No
    menu->actions().at(1)->trigger();
    menu->close();
    EXPECT_EQ(responder.Texts(UserPrompt::Request::YesNo), QStringList({"确实要删除文件:" + m_site + "/index.php"}));
    EXPECT_TRUE(QuilletTest::WaitFor([] { return !QApplication::activePopupWidget(); }));

    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(10, viewport->height() - 4));
    QCoreApplication::processEvents();
    EXPECT_FALSE(QApplication::activePopupWidget());
}

// The format pane, the last session and 预览.
TEST_F(SiteFrameTest, TheStatusBarNamesTheActiveFilesFormatThroughConversionAndUndo)
{
    QuilletTest::WriteFile(m_dir.filePath(QStringLiteral("gb.php")), "\xd6\xd0\r\n\xce\xc4\r\n");
    CQuilletDoc* gb = Docs()->OpenDocumentFile(m_dir.filePath(QStringLiteral("gb.php")));
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Frame()->StatusPanes()->FormatPane()->text() == QStringLiteral("GB18030 · CRLF"); }));
    Frame()->Action(Cmd::LineBreakLf)->trigger();
    EXPECT_TRUE(QuilletTest::WaitFor([] { return Frame()->StatusPanes()->FormatPane()->text() == QStringLiteral("GB18030 · LF"); }));
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(Cmd::LineBreakLf)->isChecked());
    EXPECT_FALSE(Frame()->Action(Cmd::LineBreakCrLf)->isChecked());
    gb->Editor()->undo();
    EXPECT_TRUE(QuilletTest::WaitFor([] { return Frame()->StatusPanes()->FormatPane()->text() == QStringLiteral("GB18030 · CRLF"); }));
    Frame()->Action(Cmd::EncodingUtf8)->trigger();
    EXPECT_TRUE(QuilletTest::WaitFor([] { return Frame()->StatusPanes()->FormatPane()->text() == QStringLiteral("UTF-8 · CRLF"); }));
    EXPECT_TRUE(gb->IsModified());
    CloseAll();
    EXPECT_TRUE(QuilletTest::WaitFor([] { return Frame()->StatusPanes()->FormatPane()->isHidden(); }));
}

TEST_F(SiteFrameTest, TheLastSessionComesBackWithoutTheFilesGoneSince)
{
    ShowSite({"index.php", "b.php", "c.php"});
    CScriptedResponder responder;
    Frame()->Action(Cmd::RestoreSession)->trigger();
    ASSERT_TRUE(QSettings().value(QStringLiteral("Settings/RestoreSession")).toBool());
    const QStringList names = {"index.php", "b.php", "c.php"};
    for (int i = 0; i < names.size(); ++i) {
        QuilletTest::WriteFile(m_site + u'/' + names[i], QByteArray(40, '\n'));
        Docs()->OpenDocumentFile(m_site + u'/' + names[i])->Editor()->setCursorPosition(10 * i + 5, 0);
    }
    Docs()->OpenDocumentFile(m_site + QStringLiteral("/b.php"));   // the active one
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

TEST_F(SiteFrameTest, PreviewOpensTheActiveFilesAddressOnOneServerPerFolder)
{
    if (QStandardPaths::findExecutable(QStringLiteral("php")).isEmpty())
        GTEST_SKIP() << "no php";
    ShowSite({"index.php", "sub/", "sub/page.php"});
    auto* preview = Frame()->findChild<CPreviewCommands*>();
    ASSERT_TRUE(preview);
    AddressRecorder browser;
    CScriptedResponder responder;
    const QString outside = m_dir.filePath(QStringLiteral("x.php"));
    QuilletTest::WriteFile(outside, "<?php echo 1;");
    const struct { QString file; const char* path; bool sameServer; } steps[] = {
        {m_site + QStringLiteral("/sub/page.php"), "/sub/page.php", false},
        {m_site + QStringLiteral("/index.php"), "/index.php", true},
        {outside, "/x.php", false},   // outside the site: its own folder
    };
    qint64 pid = 0;
    for (const auto& step : steps) {
        Docs()->OpenDocumentFile(step.file);
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
    EXPECT_TRUE(responder.asked.isEmpty());
}
