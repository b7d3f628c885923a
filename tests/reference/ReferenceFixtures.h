// Reference databases for the tests: real SQLite files in a temporary directory,
// made through the database layer itself.
#pragma once

#include "AdoDatabase.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace ReferenceFixtures {

struct Row
{
    qint32 a;
    QString b;
    QString c;
    qint32 e;
    qint32 f;
};

// CREATE TABLE with the six columns a..f.
QString CreateTable(const QString& table);
// One INSERT per row ("d" is the name with "()" appended).
QStringList InsertRows(const QString& table, const QList<Row>& rows);

// A database file in its own temporary directory, built from statements, and a
// connection to it.
class CReferenceDbFile
{
public:
    explicit CReferenceDbFile(const QStringList& statements);
    const QString& Path() const { return m_strPath; }
    // The open connection; nullptr if the file could not be made.
    CAdoDatabase* Database() { return m_pDb.get(); }

private:
    QTemporaryDir m_dir;
    QString m_strPath;
    std::unique_ptr<CAdoDatabase> m_pDb;
};

} // namespace ReferenceFixtures
