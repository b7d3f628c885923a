// Copies of unsaved text in the recovery folder: written after a pause,
// gone after a save, taken only from runs that are over.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "CodeEditCtrl.h"
#include "DocTemplate.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "TestSupport.h"
#include "core/RecoveryStore.h"

namespace {
CRecoveredText Entry(const QString& path, const QByteArray& text)
{
    CRecoveredText e;
    e.strPath = path;
    e.strTitle = QStringLiteral("t");
    e.nEncoding = 2;
    e.nLineBreak = 1;
    e.text = text;
    return e;
}

QStringList Copies(const QString& folder)
{
    return QDir(folder).entryList({"*.qrec"}, QDir::Files);
}
} // namespace

TEST(RecoveryStore, CopiesReadBackExactlyAndCutOnesAreRefused)
{
    for (const CRecoveredText& e : {Entry("", ""), Entry("/a b/%x\n.php", QByteArray("\0\r\n\xD6\xD0 text", 10)),
                                    Entry("/s/index.php", QByteArray(100000, 'x'))}) {
        CRecoveredText back;
        ASSERT_TRUE(CRecoveryStore::Decode(CRecoveryStore::Encode(e), back)) << e.strPath.toStdString();
        EXPECT_EQ(back.strPath, e.strPath);
        EXPECT_EQ(back.text, e.text);
        EXPECT_EQ(back.nEncoding, 2);
        EXPECT_EQ(back.nLineBreak, 1);
        CRecoveredText cut;
        EXPECT_FALSE(CRecoveryStore::Decode(CRecoveryStore::Encode(e).chopped(1), cut) && !e.text.isEmpty());
    }
    CRecoveredText junk;
    EXPECT_FALSE(CRecoveryStore::Decode("not a copy", junk));
}

TEST(RecoveryStore, OnlyCopiesOfRunsThatAreOverAreTakenAndOnlyOnce)
{
    QTemporaryDir dir;
    auto running = std::make_unique<CRecoveryStore>(dir.path());
    ASSERT_TRUE(running->Open());
    running->Write(1, Entry("/s/a.php", "typed"));
    running->Flush();
    ASSERT_EQ(Copies(dir.path()).size(), 1);

    CRecoveryStore second(dir.path());
    ASSERT_TRUE(second.Open());
    EXPECT_TRUE(second.TakeOrphans().isEmpty());   // that editor still runs
    running.reset();                                // ... and now it is gone
    const QList<CRecoveredText> taken = second.TakeOrphans();
    ASSERT_EQ(taken.size(), 1);
    EXPECT_EQ(CRecoveryStore::ReadText(taken.first()), "typed");
    CRecoveryStore third(dir.path());
    ASSERT_TRUE(third.Open());
    EXPECT_TRUE(third.TakeOrphans().isEmpty());   // the second start holds them

    // Refused: kept for one more start, then given up.
    CRecoveryStore::Decline(taken);
    ASSERT_EQ(Copies(dir.path()).size(), 1);
    CRecoveredText again;
    QFile f(QDir(dir.path()).filePath(Copies(dir.path()).first()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    ASSERT_TRUE(CRecoveryStore::Decode(f.readAll(), again));
    again.strFile = f.fileName();
    again.nTextOffset = f.size() - again.text.size();
    again.nTextSize = again.text.size();
    CRecoveryStore::Decline({again});
    EXPECT_TRUE(Copies(dir.path()).isEmpty());
}

TEST(RecoveryStore, DocumentsKeepACopyUntilSavedOrClosed)
{
    QTemporaryDir dir;
    QSettings().setValue("Settings/RecoverySeconds", 1);
    CRecoveryStore store(dir.filePath("recovery"));
    ASSERT_TRUE(store.Open());
    CQuilletDoc::SetRecoveryStore(&store);
    CDocTemplate docs;
    docs.SetFrameFactory([](CQuilletDoc* doc, CQuilletView* source) {
        auto* view = new CQuilletView(doc, source);
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->show();
        return view;
    });
    const QString path = dir.filePath("page.php");
    ASSERT_TRUE(QuilletTest::WriteFile(path, "<?php\r\n"));
    CQuilletDoc* doc = docs.OpenDocumentFile(path);
    ASSERT_TRUE(doc);
    doc->Editor()->SetSelection(7, 7);
    QTest::keyClicks(doc->Editor(), "echo 1;");
    const QString folder = store.Folder();
    ASSERT_TRUE(QuilletTest::WaitFor([&] { store.Flush(); return Copies(folder).size() == 1; }, 5000));
    QFile copy(QDir(folder).filePath(Copies(folder).first()));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    CRecoveredText written;
    ASSERT_TRUE(CRecoveryStore::Decode(copy.readAll(), written));
    EXPECT_EQ(written.strPath, path);
    EXPECT_EQ(written.text, "<?php\r\necho 1;");

    // Saved: the copy goes.
    ASSERT_TRUE(doc->DoFileSave());
    store.Flush();
    EXPECT_TRUE(Copies(folder).isEmpty());

    // A text restored in a new run is the document's again, modified.
    CQuilletDoc* restored = docs.NewDocument();
    restored->Restore(Entry(path, "<?php\r\nrestored"));
    EXPECT_TRUE(restored->IsModified());
    EXPECT_EQ(restored->GetPathName(), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(restored->Editor()->WholeText(), "<?php\r\nrestored");
    EXPECT_FALSE(restored->HasChangedOnDisk());
    store.Flush();
    EXPECT_EQ(Copies(folder).size(), 1);
    // Closed without saving, as the user chose: no copy.
    restored->OnCloseDocument();
    docs.CloseAllDocuments();
    store.Flush();
    EXPECT_TRUE(Copies(folder).isEmpty());
    CQuilletDoc::SetRecoveryStore(nullptr);
    QSettings().remove("Settings/RecoverySeconds");
}
