#include "ReferenceFixtures.h"

#include "ConnectionString.h"

#include <QFile>
#include <gtest/gtest.h>

namespace ReferenceFixtures {

namespace {
QString Quoted(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}
} // namespace

QString CreateTable(const QString& table)
{
    return QStringLiteral("CREATE TABLE \"%1\" (a INTEGER PRIMARY KEY, b TEXT, c TEXT, d TEXT, "
                          "e INTEGER, f INTEGER)")
        .arg(table);
}

QStringList InsertRows(const QString& table, const QList<Row>& rows)
{
    QStringList statements;
    for (const Row& row : rows)
        statements << QStringLiteral("INSERT INTO \"%1\" (a,b,c,d,e,f) VALUES(%2,%3,%4,%5,%6,%7)")
                          .arg(table)
                          .arg(row.a)
                          .arg(Quoted(row.b), Quoted(row.c), Quoted(row.c + QStringLiteral("()")))
                          .arg(row.e)
                          .arg(row.f);
    return statements;
}

CReferenceDbFile::CReferenceDbFile(const QStringList& statements)
    : m_strPath(m_dir.filePath(QStringLiteral("quillet.dll")))
{
    [&] {
        ASSERT_TRUE(m_dir.isValid());
        QFile file(m_strPath);
        // A zero-length file is an empty SQLite database.
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << m_strPath.toStdString();
        file.close();
        auto db = std::make_unique<CAdoDatabase>();
        ASSERT_TRUE(db->Open(ConnectionString::ForFile(m_strPath)))
            << db->GetLastErrorText().toStdString();
        for (const QString& sql : statements) {
            qint32 count = 0;
            ASSERT_TRUE(db->Execute(sql, count))
                << sql.toStdString() << ": " << db->GetLastErrorText().toStdString();
        }
        m_pDb = std::move(db);
    }();
}

} // namespace ReferenceFixtures
