// The texts read for the context-help list, the prototype combo box and the
// insertion of an entry: from the reference database and the code libraries.
#pragma once

#include <QList>
#include <QString>
#include <optional>

class CAdoDatabase;

// One line of the context-help list: the entry's id ("a") and name ("c").
struct CContextEntry
{
    qint32 nId = 0;
    QString strName;
};

// The entries the context-help list shows for a reference kind (0..3), in the
// order the database returns them. No database or another kind gives nothing;
// a failure ends the reading and the entries read before it are returned.
QList<CContextEntry> ReadContextEntries(CAdoDatabase* referenceDb, int kind);

// SELECT d FROM <table> WHERE a=<id>: the first record's "d" (the prototypes,
// separated by ";"). Nothing on no record, a failure, no database, or a kind
// outside 0..3.
std::optional<QString> ReadPrototypes(CAdoDatabase* referenceDb, int kind, qint32 id);

// The text a double click on an entry inserts. Kinds 0..3: the entry's "c" from
// its reference table. Kind 4: bit 31 of id chooses the user library (set) or
// the standard library (clear); the snippet's "text" from CodeTable with that
// bit cleared. Nothing when there is no record, no database, any failure, any
// other kind, or the text is empty (an empty paste would only delete the
// editor's selection).
std::optional<QString> ReadEntryText(CAdoDatabase* referenceDb, CAdoDatabase* stdLib,
                                     CAdoDatabase* userLib, int kind, qint32 id);
