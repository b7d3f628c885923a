// The main frame started over damaged data files: the reference database, the
// standard code library and the user's library, each cut to half its size,
// overwritten with zeros, replaced by text or by a folder. The frame starts,
// the pages that read the damaged file stay empty, at most one message says
// so, and nothing on disk is changed or added.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <memory>

#include "AdoDatabase.h"
#include "CodeBlockWiring.h"
#include "CodeLibrarySql.h"
#include "ConnectionString.h"
#include "ContextHelpDlg.h"
#include "DocTemplate.h"
#include "MainFrame.h"
#include "QuilletEvent.h"
#include "ScriptedResponder.h"
#include "StartupSplashWnd.h"
#include "TestSupport.h"
#include "WSCodeBlockView.h"
#include "WorkspaceBar.h"
#include "core/RecentFileList.h"

namespace {

enum class Damage { Truncated, Zeroed, Text, Folder };
enum class File { Reference, StdLib, UserLib };

const char* Name(Damage d)
{
    switch (d) {
    case Damage::Truncated:
        return "truncated";
    case Damage::Zeroed:
        return "zeroed";
    case Damage::Text:
        return "text";
    case Damage::Folder:
        return "folder";
    }
    return "";
}

constexpr char kUserSnippet[] = "我的片段";

bool Copy(const char* shipped, const QString& to)
{
    return QFile::copy(QStringLiteral(QUILLET_BIN_DIR "/") + QLatin1String(shipped), to);
}

void Spoil(const QString& path, Damage damage)
{
    const QByteArray bytes = QuilletTest::ReadFile(path);
    ASSERT_FALSE(bytes.isEmpty()) << path.toStdString();
    switch (damage) {
    case Damage::Truncated:
        ASSERT_TRUE(QFile::resize(path, bytes.size() / 2));
        break;
    case Damage::Zeroed:
        ASSERT_TRUE(QuilletTest::WriteFile(path, QByteArray(bytes.size(), '\0')));
        break;
    case Damage::Text:
        ASSERT_TRUE(QuilletTest::WriteFile(path, "这不是数据库。\nThis is no database.\n"));
        break;
    case Damage::Folder:
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(QDir().mkpath(path));
        ASSERT_TRUE(QuilletTest::WriteFile(path + QStringLiteral("/inside.txt"), "kept\n"));
        break;
    }
}

// Every file and folder under root with its content and modification time; the
// times are first set back an hour, so that any write shows.
QStringList Snapshot(const QString& root, bool setTimesBack = false)
{
    const QDateTime past = QDateTime::currentDateTimeUtc().addSecs(-3600);
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (setTimesBack && it.fileInfo().isFile() && file.open(QIODevice::ReadWrite))
            file.setFileTime(past, QFileDevice::FileModificationTime);
        const QFileInfo info(path);
        const QByteArray hash = info.isFile()
            ? QCryptographicHash::hash(QuilletTest::ReadFile(path), QCryptographicHash::Sha1).toHex()
            : QByteArray("folder");
        entries << QStringLiteral("%1 %2 %3 %4")
                       .arg(path.mid(root.size()), QString::fromLatin1(hash))
                       .arg(info.size())
                       .arg(info.isFile() ? info.lastModified().toMSecsSinceEpoch() : 0);
    }
    entries.sort();
    return entries;
}

struct Pages
{
    int referenceItems = 0;   // top-level lines of the four reference trees
    int helpNames = 0;        // the context-help list's names
    int stdSnippets = 0;      // code list lines from the standard library
    bool userSnippet = false; // the user library's snippet is listed
    bool referenceDb = false, stdLibDb = false, userLibDb = false;
};

Pages Read(CMainFrame* frame)
{
    Pages pages;
    for (int tab = 0; tab < 4; ++tab)
        if (auto* tree = frame->WorkspaceBar()->GetView(tab)->findChild<QTreeWidget*>())
            pages.referenceItems += tree->topLevelItemCount();
    pages.helpNames = frame->GetHelpList()->List()->count();
    QListWidget* list = FindCodeBlockPage(frame)->GetCodeList();
    for (int i = 0; i < list->count(); ++i) {
        if (CWSCodeBlockView::ItemData(list->item(i)) & CodeLibrarySql::kUserLibFlag)
            pages.userSnippet = pages.userSnippet || list->item(i)->text() == QString::fromUtf8(kUserSnippet);
        else
            ++pages.stdSnippets;
    }
    pages.referenceDb = frame->GetDatabase(1) != nullptr;
    pages.stdLibDb = frame->GetDatabase(2) != nullptr;
    pages.userLibDb = frame->GetDatabase(3) != nullptr;
    return pages;
}

} // namespace

TEST(DamagedDatabase, FrameStartsWithTheAffectedPagesEmptyAndNoFileTouched)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Fennroth"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillet"));
    CStartupSplashWnd::EnableSplashScreen(false);
    const QString before = QDir::currentPath();
    struct Case
    {
        File file;
        const char* name;   // where it lies in the start folder
    };
    const Case files[] = {{File::Reference, "quillet.dll"}, {File::StdLib, "phplib.mdb"},
                          {File::UserLib, "mine.mdb"}};
    for (const Case& c : files) {
        for (Damage damage : {Damage::Truncated, Damage::Zeroed, Damage::Text, Damage::Folder}) {
            SCOPED_TRACE(std::string(c.name) + " " + Name(damage));
            QTemporaryDir dir;
            const QString start = dir.path();
            ASSERT_TRUE(Copy("quillet.dll", start + QStringLiteral("/quillet.dll")));
            ASSERT_TRUE(Copy("phplib.mdb", start + QStringLiteral("/phplib.mdb")));
            const QString userLib = start + QStringLiteral("/mine.mdb");
            ASSERT_TRUE(Copy("userlibTemp.mdb", userLib));
            QFile::setPermissions(userLib, QFile::ReadOwner | QFile::WriteOwner);
            {
                CAdoDatabase db;
                ASSERT_TRUE(db.Open(ConnectionString::ForFile(userLib)));
                qint32 added = 0;
                ASSERT_TRUE(db.Execute(CodeLibrarySql::Insert(QString::fromUtf8(kUserSnippet),
                                                              QStringLiteral("echo 1;")), added));
            }
            QSettings().setValue(QStringLiteral("Settings/UserLib"), userLib);
            Spoil(start + u'/' + QLatin1String(c.name), damage);
            const QStringList onDisk = Snapshot(start, true);

            CScriptedResponder prompts;
            ASSERT_TRUE(QDir::setCurrent(start));
            Pages pages;
            {
                CDocTemplate docs;
                CRecentFileList recent(4);
                auto frame = std::make_unique<CMainFrame>(&docs, nullptr, &recent);
                ASSERT_TRUE(frame->Create());
                frame->show();
                CQuilletEvent::Post(frame.get(), QuilletEvent::DeferredLoad);
                QCoreApplication::processEvents();
                pages = Read(frame.get());
                // The frame still works: an editor window opens and closes.
                ASSERT_TRUE(docs.NewDocument());
                docs.CloseAllDocuments();
                QuilletTest::WaitFor([&] { return docs.Documents().isEmpty(); });
            }
            QuilletTest::WaitFor([] { return false; }, 50);
            QDir::setCurrent(before);

            // A folder in the start folder is no data file: the shipped files
            // are then read from the next place, the program's own folder.
            const bool lost = damage != Damage::Folder || c.file == File::UserLib;
            const bool reference = !(lost && c.file == File::Reference);
            const bool stdLib = !(lost && c.file == File::StdLib);
            const bool user = !(lost && c.file == File::UserLib);
            EXPECT_EQ(pages.referenceDb, reference);
            EXPECT_EQ(pages.referenceItems > 0, reference);
            EXPECT_EQ(pages.helpNames > 0, reference);
            EXPECT_EQ(pages.stdLibDb, stdLib);
            EXPECT_EQ(pages.stdSnippets > 0, stdLib);
            EXPECT_EQ(pages.userLibDb, user);
            EXPECT_EQ(pages.userSnippet, user);
            EXPECT_LE(prompts.asked.size(), 1) << prompts.Texts(UserPrompt::Request::Message).join(u'\n').toStdString();
            // Nothing written, created (no journal) or replaced.
            EXPECT_EQ(Snapshot(start), onDisk) << Snapshot(start).join(u'\n').toStdString();
        }
    }
}
