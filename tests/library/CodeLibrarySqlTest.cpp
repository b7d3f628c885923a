// The code library's SQL text, character for character, and the probe on real files.
#include "CodeLibraryProbe.h"
#include "CodeLibrarySql.h"
#include "ConnectionString.h"
#include "AdoDatabase.h"
#include "DataFileLocator.h"
#include "LibraryFixtures.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {


TEST(CodeLibrarySqlTest, StatementsAreWrittenExactly)
{
    EXPECT_EQ(CodeLibrarySql::SelectAll(), u"SELECT id,title,text FROM CodeTable");
    EXPECT_EQ(CodeLibrarySql::SelectTitles(), u"SELECT id,title FROM CodeTable ORDER BY title");
    EXPECT_EQ(CodeLibrarySql::SelectText(42), u"SELECT text FROM CodeTable WHERE id=42");
    EXPECT_EQ(CodeLibrarySql::SelectSnippet(7), u"SELECT * FROM CodeTable WHERE id=7");
    EXPECT_EQ(CodeLibrarySql::Delete(2147483647), u"DELETE FROM CodeTable WHERE id=2147483647");
    EXPECT_EQ(CodeLibrarySql::DeleteAll(), u"DELETE FROM CodeTable");
    EXPECT_EQ(CodeLibrarySql::Insert(QStringLiteral("Tom's tips"), QStringLiteral("it's")),
              u"INSERT INTO CodeTable([title],[text]) VALUES('Tom''s tips','it''s')");
    EXPECT_EQ(CodeLibrarySql::Update(5, QStringLiteral("a'b"), QStringLiteral("x\ny")),
              u"UPDATE CodeTable SET title='a''b' ,text='x\ny'  WHERE id=5");
}

TEST(CodeLibrarySqlTest, QuotingDoublesApostrophesAndNothingElse)
{
    const struct { const char* in; const char* out; } cases[] = {
        {"", ""},
        {"'", "''"},
        {"''", "''''"},
        {"'); DROP TABLE CodeTable;--", "''); DROP TABLE CodeTable;--"},
        {"\"double\" \\back %1 %ld 中文\r\n\t", "\"double\" \\back %1 %ld 中文\r\n\t"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodeLibrarySql::Quote(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    // Placeholders inside values are not filled in.
    EXPECT_EQ(CodeLibrarySql::Insert(QStringLiteral("%1"), QStringLiteral("%2")),
              u"INSERT INTO CodeTable([title],[text]) VALUES('%1','%2')");
}

TEST(CodeLibrarySqlTest, HostileTextIsStoredAsText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lib.mdb"));
    const QString title = QStringLiteral("'); DROP TABLE CodeTable;--");
    const QString text = QStringLiteral("echo 'it''s'; // ' \" \\' %s");
    LibraryFixtures::MakeLibrary(path, {{title, text}, {QStringLiteral("after"), QStringLiteral("x")}});
    const auto stored = LibraryFixtures::ReadSnippets(path);
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[0].first, title);
    EXPECT_EQ(stored[0].second, text);
}

TEST(CodeLibraryProbeTest, AcceptsOnlyFilesWithTheThreeColumns)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.mdb"));
    const QString noTable = dir.filePath(QStringLiteral("other.mdb"));
    const QString noText = dir.filePath(QStringLiteral("partial.mdb"));
    LibraryFixtures::MakeLibrary(good);
    LibraryFixtures::MakeDatabase(noTable, {QStringLiteral("CREATE TABLE Notes (id INTEGER)")});
    LibraryFixtures::MakeDatabase(noText, {QStringLiteral("CREATE TABLE CodeTable (id INTEGER, title TEXT)")});
    const struct { QString path; bool passes; } cases[] = {
        {good, true},
        {noTable, false},
        {noText, false},
        {dir.filePath(QStringLiteral("missing.mdb")), false},
    };
    for (const auto& c : cases) {
        CAdoDatabase db;
        db.Open(ConnectionString::ForFile(c.path));
        EXPECT_EQ(CodeLibraryProbe::Passes(db), c.passes) << c.path.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.mdb"))));
}

TEST(DataFileLocatorTest, StartDirectoryFirstThenFallbacksInOrder)
{
    QTemporaryDir root;
    QDir d(root.path());
    for (const char* sub : {"start", "exe", "share"})
        d.mkpath(QString::fromLatin1(sub));
    auto touch = [&](const char* rel) {
        QFile f(d.filePath(QString::fromLatin1(rel)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    touch("exe/phplib.mdb");
    touch("share/phplib.mdb");
    touch("share/quillet.dll");
    touch("start/userlibTemp.mdb");
    touch("share/userlibTemp.mdb");
    d.mkpath(QStringLiteral("exe/quillet.dll"));   // a directory is no data file
    const QString start = d.filePath(QStringLiteral("start")) + u'/';
    CDataFileLocator locator(start, {d.filePath(QStringLiteral("exe")), QString(),
                                     d.filePath(QStringLiteral("share"))});
    EXPECT_EQ(locator.Find(QStringLiteral("phplib.mdb")), d.filePath(QStringLiteral("exe/phplib.mdb")));
    EXPECT_EQ(locator.Find(QStringLiteral("quillet.dll")), d.filePath(QStringLiteral("share/quillet.dll")));
    EXPECT_EQ(locator.Find(QStringLiteral("userlibTemp.mdb")), start + QStringLiteral("userlibTemp.mdb"));
    EXPECT_EQ(locator.Find(QStringLiteral("none.mdb")), start + QStringLiteral("none.mdb"));
}

} // namespace
