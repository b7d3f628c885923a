// Reading and changing the snippets of one code library, through the database layer.
#pragma once

#include <QList>
#include <QString>

class CAdoDatabase;

namespace CodeLibraryRows {

// One line of the code list: the title, and the id with the library's flag.
struct CCodeListEntry
{
    QString strTitle;
    quint32 nItemData = 0;
};

// The titles of library in the order of "SELECT id,title FROM CodeTable ORDER BY
// title", each id ORed with flag. A failure ends the reading: the entries read
// before it are returned. No library gives nothing.
QList<CCodeListEntry> ReadTitles(CAdoDatabase* library, quint32 flag);

struct CSnippet
{
    QString strTitle;
    QString strText;
};

enum class Lookup { Found, Missing, Failed };
// The snippet with id ("SELECT * FROM CodeTable WHERE id=<id>").
Lookup ReadSnippet(CAdoDatabase* library, qint32 id, CSnippet& snippet);

// Done: the library holds the change. Missing: no row has that id (any more).
// Refused: the library did not take the statement (a read-only or damaged file).
enum class Write { Done, Missing, Refused };
Write InsertSnippet(CAdoDatabase* library, const QString& title, const QString& text);
Write UpdateSnippet(CAdoDatabase* library, qint32 id, const QString& title, const QString& text);
Write DeleteSnippet(CAdoDatabase* library, qint32 id);

} // namespace CodeLibraryRows
