// Building real folder trees for the site tests, and finding what went to
// the test home's trash.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable strings in the tests' failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']'; }

namespace SiteTest {

// Creates every entry under root: a name ending in "/" is a folder, any other
// a file holding its own name. Returns false when one could not be made.
bool MakeTree(const QString& root, const QStringList& entries);

// The path of name in a trash under HOME (empty when it is in none).
QString FindInTrash(const QString& name);

// Every entry under dir, recursively, relative and sorted.
QStringList Listing(const QString& dir);

} // namespace SiteTest
