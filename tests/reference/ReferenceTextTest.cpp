// Reading the context-help names, the prototypes and the text an entry inserts,
// over real database files.
#include "ReferenceFixtures.h"
#include "ReferenceTables.h"
#include "ReferenceText.h"

#include <gtest/gtest.h>

using namespace ReferenceFixtures;

namespace {

QString Insert(int kind, qint32 a, const QString& c, const QString& d, qint32 e)
{
    return QStringLiteral("INSERT INTO \"%1\" (a,b,c,d,e,f) VALUES(%2,'%3','%3','%4',%5,0)")
        .arg(ReferenceTables::TableName(kind))
        .arg(a)
        .arg(c, d)
        .arg(e);
}

// Every reference table; id 7 exists in each with a different name.
QStringList ReferenceStatements()
{
    QStringList sql;
    for (int kind = 0; kind < 4; ++kind)
        sql << CreateTable(ReferenceTables::TableName(kind));
    sql << Insert(0, 1, "category", "category", 0) << Insert(0, 2, "strlen", "strlen(string $s): int", 1)
        << Insert(0, 3, "Exception", "Exception", 2) << Insert(0, 4, "E_ALL", "E_ALL", 3)
        << Insert(0, 5, "method", "m();n()", 4) << Insert(0, 7, "phpname", "p()", 1)
        << Insert(1, 7, "color", "color: <value>", 0) << Insert(1, 8, "cssgroup", "g", 1)
        << Insert(2, 7, "table", "<table>", 0) << Insert(3, 7, "alert", "alert(msg)", 2)
        << Insert(3, 9, "jsgroup", "g", 0);
    return sql;
}

QStringList LibraryStatements(const QString& title, QString text)
{
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return {QStringLiteral("CREATE TABLE CodeTable (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, text TEXT)"),
            QStringLiteral("INSERT INTO CodeTable(id,title,text) VALUES(5,'%1','%2')").arg(title, text),
            QStringLiteral("INSERT INTO CodeTable(id,title,text) VALUES(6,'empty','')")};
}

QStringList Names(const QList<CContextEntry>& entries)
{
    QStringList names;
    for (const CContextEntry& entry : entries)
        names << QString::number(entry.nId) + QLatin1Char(' ') + entry.strName;
    names.sort();
    return names;
}

} // namespace

TEST(ReferenceText, ContextEntriesAreTheNamesOfTheKindsEntryKinds)
{
    CReferenceDbFile file(ReferenceStatements());
    ASSERT_NE(file.Database(), nullptr);
    // PHP and JavaScript: entry kinds 1-3; CSS and Html: kind 0, the properties and tags.
    EXPECT_EQ(Names(ReadContextEntries(file.Database(), 0)),
              (QStringList{"2 strlen", "3 Exception", "4 E_ALL", "7 phpname"}));
    EXPECT_EQ(Names(ReadContextEntries(file.Database(), 1)), QStringList{"7 color"});
    EXPECT_EQ(Names(ReadContextEntries(file.Database(), 2)), QStringList{"7 table"});
    EXPECT_EQ(Names(ReadContextEntries(file.Database(), 3)), QStringList{"7 alert"});
    EXPECT_TRUE(ReadContextEntries(file.Database(), 4).isEmpty());
    EXPECT_TRUE(ReadContextEntries(file.Database(), -1).isEmpty());
    EXPECT_TRUE(ReadContextEntries(nullptr, 0).isEmpty());

    CReferenceDbFile noTables({});
    EXPECT_TRUE(ReadContextEntries(noTables.Database(), 0).isEmpty());
}

TEST(ReferenceText, PrototypesAreTheFirstRecordsD)
{
    CReferenceDbFile file(ReferenceStatements());
    ASSERT_NE(file.Database(), nullptr);
    EXPECT_EQ(ReadPrototypes(file.Database(), 0, 2), QStringLiteral("strlen(string $s): int"));
    EXPECT_EQ(ReadPrototypes(file.Database(), 0, 5), QStringLiteral("m();n()"));
    EXPECT_EQ(ReadPrototypes(file.Database(), 1, 7), QStringLiteral("color: <value>"));
    EXPECT_EQ(ReadPrototypes(file.Database(), 3, 7), QStringLiteral("alert(msg)"));
    EXPECT_EQ(ReadPrototypes(file.Database(), 0, 99), std::nullopt);   // no record
    EXPECT_EQ(ReadPrototypes(file.Database(), 4, 7), std::nullopt);    // the code library has none
    EXPECT_EQ(ReadPrototypes(file.Database(), 5, 7), std::nullopt);
    EXPECT_EQ(ReadPrototypes(nullptr, 0, 2), std::nullopt);

    CReferenceDbFile noTables({});
    EXPECT_EQ(ReadPrototypes(noTables.Database(), 0, 2), std::nullopt);   // the query fails
    file.Database()->Close();
    EXPECT_EQ(ReadPrototypes(file.Database(), 0, 2), std::nullopt);       // closed connection
}

TEST(ReferenceText, EntryTextOfAReferenceEntryIsItsNameFromItsKindsTable)
{
    CReferenceDbFile file(ReferenceStatements());
    ASSERT_NE(file.Database(), nullptr);
    EXPECT_EQ(ReadEntryText(file.Database(), nullptr, nullptr, 0, 7), QStringLiteral("phpname"));
    EXPECT_EQ(ReadEntryText(file.Database(), nullptr, nullptr, 1, 7), QStringLiteral("color"));
    EXPECT_EQ(ReadEntryText(file.Database(), nullptr, nullptr, 2, 7), QStringLiteral("table"));
    EXPECT_EQ(ReadEntryText(file.Database(), nullptr, nullptr, 3, 7), QStringLiteral("alert"));
    EXPECT_EQ(ReadEntryText(file.Database(), nullptr, nullptr, 0, 99), std::nullopt);
    EXPECT_EQ(ReadEntryText(file.Database(), nullptr, nullptr, 6, 7), std::nullopt);
    EXPECT_EQ(ReadEntryText(nullptr, nullptr, nullptr, 0, 7), std::nullopt);
}

TEST(ReferenceText, SnippetTextComesFromTheLibraryBit31Chooses)
{
    CReferenceDbFile reference(ReferenceStatements());
    CReferenceDbFile standard(LibraryStatements("std", "<?php echo 'standard'; ?>"));
    CReferenceDbFile user(LibraryStatements("user", "user snippet"));
    ASSERT_NE(standard.Database(), nullptr);
    ASSERT_NE(user.Database(), nullptr);
    const qint32 userBit = static_cast<qint32>(0x80000000u);

    EXPECT_EQ(ReadEntryText(reference.Database(), standard.Database(), user.Database(), 4, 5),
              QStringLiteral("<?php echo 'standard'; ?>"));
    EXPECT_EQ(ReadEntryText(reference.Database(), standard.Database(), user.Database(), 4, userBit | 5),
              QStringLiteral("user snippet"));
    // Without a user library a user snippet inserts nothing, and the standard
    // library is never asked in its place.
    EXPECT_EQ(ReadEntryText(reference.Database(), standard.Database(), nullptr, 4, userBit | 5), std::nullopt);
    EXPECT_EQ(ReadEntryText(reference.Database(), nullptr, user.Database(), 4, 5), std::nullopt);
    // No such snippet, and a snippet whose text is empty.
    EXPECT_EQ(ReadEntryText(reference.Database(), standard.Database(), user.Database(), 4, 77), std::nullopt);
    EXPECT_EQ(ReadEntryText(reference.Database(), standard.Database(), user.Database(), 4, userBit | 6),
              std::nullopt);
    // A reference database without CodeTable fails quietly.
    EXPECT_EQ(ReadEntryText(reference.Database(), reference.Database(), nullptr, 4, 5), std::nullopt);
}
