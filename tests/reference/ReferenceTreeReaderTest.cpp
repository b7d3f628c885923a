// Reading a reference table as a two-level tree, over real SQLite files.
#include "ReferenceFixtures.h"
#include "ReferenceTables.h"
#include "ReferenceTreeReader.h"
#include "ReferenceTreeSql.h"

#include <gtest/gtest.h>

using namespace ReferenceFixtures;

namespace {

const QString kTable = ReferenceTables::TableName(ReferenceKind::PHP);

QStringList Titles(const QList<CReferenceBranch>& tree)
{
    QStringList titles;
    for (const CReferenceBranch& branch : tree)
        titles << branch.entry.strTitle;
    return titles;
}

QStringList Titles(const QList<CReferenceEntry>& entries)
{
    QStringList titles;
    for (const CReferenceEntry& entry : entries)
        titles << entry.strTitle;
    return titles;
}

// Three top-level entries whose orders by a, by b and by c all differ, children
// likewise, a grandchild and an entry under a parent that does not exist.
QList<Row> OrderedRows()
{
    return {
        {1, QStringLiteral("Zeta"), QStringLiteral("b-second"), 0, 0},
        {2, QStringLiteral("Alpha"), QStringLiteral("c-third"), 0, 0},
        {3, QStringLiteral("Mid"), QStringLiteral("a-first"), 0, 0},
        {10, QStringLiteral("B10"), QStringLiteral("y"), 1, 3},
        {11, QStringLiteral("C11"), QStringLiteral("x"), 4, 3},
        {12, QStringLiteral("A12"), QStringLiteral("z"), 5, 3},
        {13, QStringLiteral("only child"), QStringLiteral("q"), 2, 1},
        {20, QStringLiteral("grandchild"), QStringLiteral("0"), 1, 10},
        {30, QStringLiteral("orphan"), QStringLiteral("0"), 1, 99},
    };
}

} // namespace

TEST(ReferenceTreeSql, StatementsNameTheColumnsTheTableAndTheParent)
{
    EXPECT_EQ(ReferenceTreeSql::TopLevel(QStringLiteral("T1")),
              "SELECT a,b,e FROM T1 WHERE f=0 order by c");
    EXPECT_EQ(ReferenceTreeSql::Children(QStringLiteral("T1"), 42),
              "SELECT a,b,e FROM T1 WHERE f=42 order by c");
    EXPECT_EQ(ReferenceTreeSql::Children(kTable, 2147483647),
              "SELECT a,b,e FROM " + kTable + " WHERE f=2147483647 order by c");
}

TEST(ReadReferenceTree, OrdersByNameAndReadsTwoLevelsOnly)
{
    CReferenceDbFile file(QStringList{CreateTable(kTable)} + InsertRows(kTable, OrderedRows()));
    const QList<CReferenceBranch> tree = ReadReferenceTree(file.Database(), kTable);

    ASSERT_EQ(Titles(tree), (QStringList{"Mid", "Zeta", "Alpha"}));
    EXPECT_EQ(tree[0].entry.nId, 3);
    EXPECT_EQ(Titles(tree[0].children), (QStringList{"C11", "B10", "A12"}));
    EXPECT_EQ(tree[0].children[0].nId, 11);
    EXPECT_EQ(tree[0].children[0].nKind, 4);
    EXPECT_EQ(tree[0].children[2].nKind, 5);
    EXPECT_EQ(Titles(tree[1].children), (QStringList{"only child"}));
    EXPECT_TRUE(tree[2].children.isEmpty());
    // Neither the grandchild (under entry 10) nor the orphan appears anywhere.
    for (const CReferenceBranch& branch : tree)
        for (const CReferenceEntry& child : branch.children)
            EXPECT_TRUE(child.nId != 20 && child.nId != 30) << child.nId;
}

TEST(ReadReferenceTree, FlatTableAndTextOrderOfTheDatabase)
{
    // The database orders text byte by byte: capitals before small letters,
    // "10" before "9".
    const QList<Row> rows = {
        {1, QStringLiteral("small"), QStringLiteral("apple"), 1, 0},
        {2, QStringLiteral("capital"), QStringLiteral("Banana"), 1, 0},
        {3, QStringLiteral("nine"), QStringLiteral("9"), 1, 0},
        {4, QStringLiteral("ten"), QStringLiteral("10"), 1, 0},
        {5, QStringLiteral("中文"), QStringLiteral("中"), 1, 0},
    };
    CReferenceDbFile file(QStringList{CreateTable(kTable)} + InsertRows(kTable, rows));
    const QList<CReferenceBranch> tree = ReadReferenceTree(file.Database(), kTable);
    EXPECT_EQ(Titles(tree), (QStringList{"ten", "nine", "capital", "small", "中文"}));
    for (const CReferenceBranch& branch : tree)
        EXPECT_TRUE(branch.children.isEmpty()) << branch.entry.strTitle.toStdString();
}

TEST(ReadReferenceTree, NoDatabaseOrNoTableOrColumnGivesNothing)
{
    EXPECT_TRUE(ReadReferenceTree(nullptr, kTable).isEmpty());

    CAdoDatabase closed;   // never opened: its connection cannot run anything
    EXPECT_TRUE(ReadReferenceTree(&closed, kTable).isEmpty());

    const QString other = ReferenceTables::TableName(ReferenceKind::CSS);
    CReferenceDbFile file(QStringList{CreateTable(other)} + InsertRows(other, OrderedRows())
                          + QStringList{QStringLiteral("CREATE TABLE \"%1\" (a INTEGER, b TEXT, "
                                                       "c TEXT, d TEXT, f INTEGER)")
                                            .arg(kTable),
                                        QStringLiteral("INSERT INTO \"%1\" VALUES(1,'x','x','x',0)")
                                            .arg(kTable)});
    // A table without column "e": its rows cannot be read.
    EXPECT_TRUE(ReadReferenceTree(file.Database(), kTable).isEmpty());
    EXPECT_TRUE(ReadReferenceTree(file.Database(), QStringLiteral("NoSuchTable")).isEmpty());
    // The other table of the same file reads fully.
    EXPECT_EQ(ReadReferenceTree(file.Database(), other).size(), 3);
}

TEST(ReadReferenceTree, AFailingChildQueryEndsTheReadKeepingWhatCameBefore)
{
    // The table is a view whose column "e" cannot be computed for entry 10 (an
    // integer overflow in SQLite), so reading the children of entry 3 fails.
    const QString base = QStringLiteral("rows");
    const QList<Row> rows = {
        {1, QStringLiteral("first"), QStringLiteral("a"), 0, 0},
        {2, QStringLiteral("second"), QStringLiteral("b"), 0, 0},
        {3, QStringLiteral("broken"), QStringLiteral("c"), 0, 0},
        {4, QStringLiteral("after"), QStringLiteral("d"), 0, 0},
        {5, QStringLiteral("child of first"), QStringLiteral("x"), 1, 1},
        {10, QStringLiteral("bad child"), QStringLiteral("x"), 1, 3},
        {11, QStringLiteral("good child"), QStringLiteral("w"), 1, 3},
        {12, QStringLiteral("child of after"), QStringLiteral("x"), 1, 4},
    };
    CReferenceDbFile file(
        QStringList{CreateTable(base)} + InsertRows(base, rows)
        + QStringList{QStringLiteral("CREATE VIEW \"%1\" AS SELECT a,b,c,d,f,CASE WHEN a=10 THEN "
                                     "abs(-9223372036854775807-1) ELSE e END AS e FROM rows")
                          .arg(kTable)});
    const QList<CReferenceBranch> tree = ReadReferenceTree(file.Database(), kTable);
    ASSERT_EQ(Titles(tree), (QStringList{"first", "second", "broken"}));
    EXPECT_EQ(Titles(tree[0].children), (QStringList{"child of first"}));
    EXPECT_TRUE(tree[2].children.isEmpty());
}
