#include "LibraryFixtures.h"

#include "AdoDatabase.h"
#include "AdoResultSet.h"
#include "CodeLibrarySql.h"
#include "ConnectionString.h"

#include <QFile>
#include <gtest/gtest.h>

namespace LibraryFixtures {

void MakeDatabase(const QString& path, const QStringList& statements)
{
    QFile::remove(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.close();
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path))) << db.GetLastErrorText().toStdString();
    for (const QString& sql : statements) {
        qint32 count = 0;
        ASSERT_TRUE(db.Execute(sql, count)) << db.GetLastErrorText().toStdString();
    }
}

void MakeLibrary(const QString& path, const QList<Snippet>& snippets, const QStringList& extra)
{
    QStringList statements{QStringLiteral(
        "CREATE TABLE CodeTable (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, text TEXT)")};
    for (const Snippet& s : snippets)
        statements << CodeLibrarySql::Insert(s.first, s.second);
    MakeDatabase(path, statements + extra);
}

namespace {
template <typename Row>
void ReadRows(const QString& path, Row&& row)
{
    try {
        CAdoDatabase db;
        if (!db.Open(ConnectionString::ForFile(path)))
            return;
        CAdoResultSet rs;
        rs.Open(db.GetConnection(), QStringLiteral("SELECT id,title,text FROM CodeTable ORDER BY id"),
                Ado::adOpenForwardOnly, Ado::adLockReadOnly, Ado::adUseClient);
        for (qint32 i = 0; i < rs.GetRecordCount(); ++i) {
            row(rs);
            rs.MoveNext();
        }
    } catch (const CAdoException&) {
    }
}
} // namespace

QList<Snippet> ReadSnippets(const QString& path)
{
    QList<Snippet> snippets;
    ReadRows(path, [&](CAdoResultSet& rs) {
        Snippet s;
        rs.GetFieldValue(QStringLiteral("title"), s.first);
        rs.GetFieldValue(QStringLiteral("text"), s.second);
        snippets << s;
    });
    return snippets;
}

QList<qint32> ReadIds(const QString& path)
{
    QList<qint32> ids;
    ReadRows(path, [&](CAdoResultSet& rs) {
        qint32 id = 0;
        rs.GetFieldValue(QStringLiteral("id"), id);
        ids << id;
    });
    return ids;
}

QStringList RefuseChanges()
{
    QStringList statements;
    for (const char* what : {"INSERT", "UPDATE", "DELETE"})
        statements << QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %1 ON CodeTable "
                                     "BEGIN SELECT RAISE(ABORT, 'read-only'); END")
                          .arg(QLatin1String(what));
    return statements;
}

} // namespace LibraryFixtures
