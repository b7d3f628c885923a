// Code library files for the tests, made and read through the database layer itself.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace LibraryFixtures {

using Snippet = QPair<QString, QString>;   // title, text

// A database file at path holding the statements' tables (starting from a
// zero-length file, which SQLite reads as an empty database).
void MakeDatabase(const QString& path, const QStringList& statements);

// A code library with CodeTable and the given snippets; extra statements run after.
void MakeLibrary(const QString& path, const QList<Snippet>& snippets = {},
                 const QStringList& extra = {});

// The snippets of a library in id order; empty when it cannot be read.
QList<Snippet> ReadSnippets(const QString& path);
QList<qint32> ReadIds(const QString& path);

// Triggers that make every change of CodeTable fail, as a read-only or
// damaged file does: extra statements for MakeLibrary.
QStringList RefuseChanges();

} // namespace LibraryFixtures
