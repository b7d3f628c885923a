// The start after a run that did not end cleanly, and a run whose recovery
// folder cannot be written: what the user is asked and told, and what is on
// disk afterwards.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CodeEditCtrl.h"
#include "CrashRecovery.h"
#include "DocTemplate.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"
#include "core/FileSave.h"
#include "core/RecoveryFiles.h"
#include "core/SaveJournal.h"

namespace {
using QuilletTest::ReadFile;
using QuilletTest::WriteFile;
using UserPrompt::Answer;
using UserPrompt::Request;

struct Docs : CDocTemplate
{
    Docs()
    {
        SetFrameFactory([](CQuilletDoc* doc, CQuilletView* source) { return new CQuilletView(doc, source); });
    }
    ~Docs() override
    {
        CloseAllDocuments();
        FileSave::SetBackupFolder(QString());
    }
};

// A file with two names, as a killed editor left it: its record says it was
// being saved in place from old to next, and it holds some of each.
QString CutSave(const QString& dir, const QString& recovery, const QByteArray& old, const QByteArray& next)
{
    const QString page = dir + "/page.php";
    EXPECT_TRUE(WriteFile(page, next.left(12) + old.mid(12)));
    EXPECT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(dir + "/alias.php").constData()), 0);
    EXPECT_TRUE(QDir().mkpath(recovery + "/backups"));
    EXPECT_TRUE(SaveJournal::WriteInPlace(recovery + "/backups/99999-1-1.save", page, old, next));
    return page;
}
} // namespace

TEST(CrashRecovery, ASaveInPlaceCutOffIsOfferedAndPutsTheOldBytesBackWithTheTextBeingSaved)
{
    QTemporaryDir dir;
    const QString recovery = dir.filePath("recovery");
    const QByteArray old = QByteArray("<?php echo 'old';\r\n\0\xff", 21), next = "<?php print('the new text');\n";
    const QString page = CutSave(dir.path(), recovery, old, next);
    // The text being saved, copied before the save began.
    CRecoveredText copy;
    copy.strPath = page;
    copy.text = next;
    ASSERT_TRUE(WriteFile(recovery + "/99999-1-7.qrec", CRecoveryStore::Encode(copy)));

    // Refused once: nothing changes or goes.
    {
        Docs docs;
        CCrashRecovery crash(&docs, recovery, nullptr);
        ASSERT_TRUE(crash.Start());
        CScriptedResponder responder;
        responder.answers = {Answer::No, Answer::No};
        EXPECT_EQ(crash.OfferOrphans(nullptr), 0);
        EXPECT_EQ(responder.Texts(Request::YesNo).value(0),
                  QStringLiteral("保存 %1 时被中断。是否用保存前的内容恢复？").arg(page));
        EXPECT_EQ(ReadFile(page), next.left(12) + old.mid(12));
        EXPECT_EQ(RecoveryFiles::RegularFiles(recovery + "/backups").size(), 1);
        crash.CleanExit();
    }
    // Taken: the file holds the old bytes again, under both names, and the
    // text being saved is a modified document of that file.
    Docs docs;
    CCrashRecovery crash(&docs, recovery, nullptr);
    ASSERT_TRUE(crash.Start());
    CScriptedResponder responder;
    responder.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(crash.OfferOrphans(nullptr), 1);
    EXPECT_EQ(responder.Texts(Request::YesNo).size(), 2);
    EXPECT_EQ(ReadFile(dir.filePath("alias.php")), old);
    EXPECT_EQ(RecoveryFiles::RegularFiles(recovery + "/backups"), QStringList());
    ASSERT_EQ(docs.Documents().size(), 1);
    CQuilletDoc* doc = docs.Documents().first();
    EXPECT_EQ(doc->GetPathName(), page);
    EXPECT_EQ(doc->Editor()->WholeText(), next);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(doc->HasChangedOnDisk());
    // Its copy is the document's own now.
    crash.Store()->Flush();
    EXPECT_FALSE(QFile::exists(recovery + "/99999-1-7.qrec"));
    EXPECT_EQ(QDir(recovery).entryList({crash.Store()->Session() + "-*.qrec"}).size(), 1);
    crash.CleanExit();
}

// No file of this process grows past a few bytes while it lives: the disk is
// as good as full.
TEST(CrashRecovery, AFullDiskAtStartIsToldOnceSavesInPlaceAreRefusedAndTheFolderTriedAgain)
{
    QTemporaryDir dir;
    const QString recovery = dir.filePath("recovery");
    const QString page = dir.filePath("page.php");
    ASSERT_TRUE(WriteFile(page, "<?php old"));
    ASSERT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(dir.filePath("alias.php")).constData()), 0);
    Docs docs;
    CQuilletDoc* doc = docs.OpenDocumentFile(page);
    ASSERT_TRUE(doc);
    doc->Editor()->append("\necho 'new';");
    CCrashRecovery crash(&docs, recovery, nullptr);
    CScriptedResponder responder;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit before {};
    ::getrlimit(RLIMIT_FSIZE, &before);
    rlimit full = before;
    full.rlim_cur = 4;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);
    const bool started = crash.Start();
    crash.OfferOrphans(nullptr);
    const bool saved = doc->DoFileSave();
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);

    EXPECT_FALSE(started);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ReadFile(page), "<?php old");
    const QStringList told = responder.Texts(Request::Message);
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].contains(QStringLiteral("未保存的改动在程序意外退出时无法得到保护"))) << told[0].toStdString();
    EXPECT_TRUE(told[1].contains(QStringLiteral("无法在恢复文件夹中备份"))) << told[1].toStdString();
    // With room again the folder is taken and the unsaved text copied.
    ASSERT_TRUE(crash.Retry());
    crash.Store()->Flush();
    const QStringList copies = QDir(recovery).entryList({"*.qrec"});
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(ReadFile(recovery + "/" + copies.first()).endsWith("<?php old\necho 'new';"));
    EXPECT_TRUE(doc->DoFileSave());
    EXPECT_EQ(ReadFile(dir.filePath("alias.php")), "<?php old\necho 'new';");
    EXPECT_EQ(responder.Texts(Request::Message).size(), 2);
    crash.CleanExit();
}
