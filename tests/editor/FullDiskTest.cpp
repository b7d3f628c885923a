// Saving onto a disk that has no room left, simulated by a limit on the size
// of files this process may write (RLIMIT_FSIZE, with SIGXFSZ ignored: a write
// past the limit fails with EFBIG), set for the length of one save.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "CodeEditCtrl.h"
#include "DocTemplate.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"
#include "core/FileSave.h"

namespace {
using QuilletTest::ReadFile;

// No file of this process grows past bytes while it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    bool IsSet() const { return m_set; }

private:
    rlimit m_old {};
    void (*m_handler)(int) = SIG_DFL;
    bool m_set = false;
};

constexpr rlim_t kLimit = 1024 * 1024;

QByteArray Text(char c, qsizetype size)
{
    QByteArray text(size, c);
    for (qsizetype i = 79; i < size; i += 80)
        text[i] = '\n';
    return text;
}

QStringList Listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
} // namespace

// Through the document: the save says it failed, the text stays modified,
// the old file keeps every byte and nothing is left beside it.
TEST(FullDisk, ASaveWithoutRoomFailsAndLeavesTheOldFileAsItWas)
{
    const struct
    {
        const char* what;
        bool exists;      // the file is there before the save
        bool twoNames;    // a hard link: written in place
    } cases[] = {
        {"replaced", true, false},
        {"new file", false, false},
        {"written in place", true, true},
    };
    CDocTemplate docs;
    docs.SetFrameFactory([](CQuilletDoc* doc, CQuilletView* source) { return new CQuilletView(doc, source); });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString page = dir.filePath("site/page.php"), backups = dir.filePath("backups");
        ASSERT_TRUE(QDir().mkpath(dir.filePath("site")));
        const QByteArray old = "<?php echo 'old';\n";
        if (c.exists)
            ASSERT_TRUE(QuilletTest::WriteFile(page, old));
        if (c.twoNames)
            ASSERT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(page + ".alias").constData()), 0);
        const QStringList before = Listing(dir.filePath("site"));
        CQuilletDoc* doc = c.exists ? docs.OpenDocumentFile(page) : docs.NewDocument();
        ASSERT_TRUE(doc);
        doc->Editor()->selectAll();
        doc->Editor()->ReplaceSelection(Text('n', 2 * kLimit));
        ASSERT_TRUE(doc->IsModified());
        FileSave::SetBackupFolder(backups);
        CScriptedResponder responder;
        bool saved = true;
        {
            FileSizeLimit limit(kLimit);
            ASSERT_TRUE(limit.IsSet());
            saved = doc->DoSave(page);
        }
        FileSave::SetBackupFolder(QString());
        EXPECT_FALSE(saved);
        EXPECT_EQ(responder.Texts(UserPrompt::Request::Message), QStringList({"保存文档失败。"}));
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(Listing(dir.filePath("site")), before);
        if (c.exists)
            EXPECT_EQ(ReadFile(page), old);
        EXPECT_EQ(Listing(backups), QStringList());
        // With room again the same text saves.
        ASSERT_TRUE(doc->DoSave(page));
        EXPECT_EQ(ReadFile(page), Text('n', 2 * kLimit));
        docs.CloseAllDocuments();
    }
}

// A file written in place on a file system that cannot reserve room first
// (here: the new content is shorter, so nothing is reserved) fails in the
// middle of the write, with the start of the file already overwritten. The
// old content is put back.
TEST(FullDisk, AWriteInPlaceCutOffMidwayPutsTheOldContentBack)
{
    QTemporaryDir dir;
    const QString page = dir.filePath("page.php"), alias = dir.filePath("alias.php");
    const QByteArray old = Text('o', 3 * kLimit);
    ASSERT_TRUE(QuilletTest::WriteFile(page, old));
    ASSERT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(alias).constData()), 0);
    bool written = true;
    {
        FileSizeLimit limit(kLimit);
        ASSERT_TRUE(limit.IsSet());
        written = FileSave::Write(page, Text('n', 2 * kLimit));
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(page), old);
    EXPECT_EQ(ReadFile(alias), old);
}
