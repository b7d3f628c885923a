// Each change's outcome and reading a snippet back, on real library files:
// a sound library, a row another program removed, and a library that refuses writes.
#include "AdoDatabase.h"
#include "CodeLibraryRows.h"
#include "ConnectionString.h"
#include "LibraryFixtures.h"
#include "QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using CodeLibraryRows::Write;
using LibraryFixtures::RefuseChanges;
using LibraryFixtures::Snippet;

namespace {

struct CodeLibraryRowsTest : testing::Test
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("lib.mdb"));
    CAdoDatabase db;

    void Open(const QList<Snippet>& snippets, const QStringList& extra = {})
    {
        LibraryFixtures::MakeLibrary(path, snippets, extra);
        ASSERT_TRUE(db.Open(ConnectionString::ForFile(path)));
    }
};

TEST_F(CodeLibraryRowsTest, ChangesReportWhetherTheLibraryHoldsThem)
{
    struct Case {
        const char* name;
        bool refusing;
        bool rowGone;   // removed by another program before the change
        Write expected;
    };
    const Case cases[] = {
        {"sound", false, false, Write::Done},
        {"row gone", false, true, Write::Missing},
        {"refusing", true, false, Write::Refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db.Close();
        Open({{"keep", "k"}, {"it's", "old"}}, c.refusing ? RefuseChanges() : QStringList());
        const qint32 id = LibraryFixtures::ReadIds(path).at(1);
        if (c.rowGone) {
            qint32 n = 0;
            CAdoDatabase other;
            ASSERT_TRUE(other.Open(ConnectionString::ForFile(path)));
            ASSERT_TRUE(other.Execute(QStringLiteral("DELETE FROM CodeTable WHERE id=%1").arg(id), n));
        }
        const QList<Snippet> before = LibraryFixtures::ReadSnippets(path);

        CodeLibraryRows::CSnippet read;
        EXPECT_EQ(CodeLibraryRows::ReadSnippet(&db, id, read),
                  c.rowGone ? CodeLibraryRows::Lookup::Missing : CodeLibraryRows::Lookup::Found);
        if (!c.rowGone) {
            EXPECT_EQ(read.strTitle, "it's");
            EXPECT_EQ(read.strText, "old");
        }

        EXPECT_EQ(CodeLibraryRows::UpdateSnippet(&db, id, "Tom's tips", " new\n\ttext "), c.expected);
        if (c.expected == Write::Done)
            EXPECT_EQ(LibraryFixtures::ReadSnippets(path),
                      QList<Snippet>({{"keep", "k"}, {"Tom's tips", " new\n\ttext "}}));
        else
            EXPECT_EQ(LibraryFixtures::ReadSnippets(path), before);

        EXPECT_EQ(CodeLibraryRows::DeleteSnippet(&db, id), c.expected);
        EXPECT_EQ(LibraryFixtures::ReadSnippets(path).size(), c.expected == Write::Done ? 1 : before.size());

        // An insert has no row to miss.
        EXPECT_EQ(CodeLibraryRows::InsertSnippet(&db, "x'y", "z"),
                  c.refusing ? Write::Refused : Write::Done);
        if (!c.refusing)
            EXPECT_EQ(LibraryFixtures::ReadSnippets(path).constLast(), Snippet("x'y", "z"));
    }
    EXPECT_EQ(CodeLibraryRows::InsertSnippet(nullptr, "a", "b"), Write::Refused);
}

} // namespace
