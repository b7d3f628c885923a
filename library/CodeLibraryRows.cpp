#include "CodeLibraryRows.h"

#include "AdoDatabase.h"
#include "AdoResultSet.h"
#include "CodeLibrarySql.h"

namespace CodeLibraryRows {

namespace {

void OpenRows(CAdoResultSet& rows, CAdoDatabase* library, const QString& statement)
{
    rows.Open(library->GetConnection(), statement, Ado::adOpenForwardOnly, Ado::adLockReadOnly,
              Ado::adUseClient);
}

Write Run(CAdoDatabase* library, const QString& statement)
{
    if (!library)
        return Write::Refused;
    qint32 affected = 0;
    if (!library->Execute(statement, affected))
        return Write::Refused;
    return affected > 0 ? Write::Done : Write::Missing;
}

} // namespace

QList<CCodeListEntry> ReadTitles(CAdoDatabase* library, quint32 flag)
{
    QList<CCodeListEntry> entries;
    if (!library)
        return entries;
    try {
        CAdoResultSet rows;
        OpenRows(rows, library, CodeLibrarySql::SelectTitles());
        for (qint32 i = 0; i < rows.GetRecordCount(); ++i) {
            qint32 id = 0;
            CCodeListEntry entry;
            rows.GetFieldValue(QStringLiteral("id"), id);
            rows.GetFieldValue(QStringLiteral("title"), entry.strTitle);
            // Only 31 bits of an id travel in a line's data; a negative id
            // would read as the other library's.
            if (id >= 0) {
                entry.nItemData = static_cast<quint32>(id) | flag;
                entries.append(entry);
            }
            rows.MoveNext();
        }
        rows.Close();
    } catch (...) {
        // The lines read so far stay.
    }
    return entries;
}

Lookup ReadSnippet(CAdoDatabase* library, qint32 id, CSnippet& snippet)
{
    if (!library)
        return Lookup::Failed;
    try {
        CAdoResultSet rows;
        OpenRows(rows, library, CodeLibrarySql::SelectSnippet(id));
        Lookup found = Lookup::Missing;
        if (rows.GetRecordCount() > 0) {
            rows.GetFieldValue(QStringLiteral("title"), snippet.strTitle);
            rows.GetFieldValue(QStringLiteral("text"), snippet.strText);
            found = Lookup::Found;
        }
        rows.Close();
        return found;
    } catch (...) {
        return Lookup::Failed;
    }
}

Write InsertSnippet(CAdoDatabase* library, const QString& title, const QString& text)
{
    return Run(library, CodeLibrarySql::Insert(title, text));
}

Write UpdateSnippet(CAdoDatabase* library, qint32 id, const QString& title, const QString& text)
{
    return Run(library, CodeLibrarySql::Update(id, title, text));
}

Write DeleteSnippet(CAdoDatabase* library, qint32 id)
{
    return Run(library, CodeLibrarySql::Delete(id));
}

} // namespace CodeLibraryRows
