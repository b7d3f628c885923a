// Reads a reference table as the two-level tree its page shows, without widgets.
#pragma once

#include <QList>
#include <QString>
#include <functional>

class CAdoDatabase;

// One shown entry: id ("a"), title ("b") and kind, the image index ("e").
struct CReferenceEntry
{
    qint32 nId = 0;
    QString strTitle;
    qint32 nKind = 0;
};

// A top-level entry with its children, both in ascending order of "c".
struct CReferenceBranch
{
    CReferenceEntry entry;
    QList<CReferenceEntry> children;
};

// One query for the top level (f=0), then one per top-level entry for its
// children; entries below a child are never read. No database gives nothing. A
// failure (missing table or column, closed connection) ends the reading
// silently: the entries read before it are returned, the branch being read at
// the time with the children it had so far.
QList<CReferenceBranch> ReadReferenceTree(CAdoDatabase* database, const QString& table);
// The same reading with each entry handed over as soon as it is read: a
// top-level entry to top, then each of its children to child. The caller
// builds what it keeps without a whole copy of the table in between.
void ReadReferenceTree(CAdoDatabase* database, const QString& table,
                       const std::function<void(CReferenceEntry&&)>& top,
                       const std::function<void(CReferenceEntry&&)>& child);
