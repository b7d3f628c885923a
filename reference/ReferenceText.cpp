#include "ReferenceText.h"

#include "AdoDatabase.h"
#include "AdoResultSet.h"
#include "ContextHelpSql.h"
#include "ReferenceTables.h"

#include <exception>

namespace {

// Bit 31 of a code-library id: the snippet lives in the user library.
constexpr quint32 kUserLibraryBit = 0x80000000u;

void OpenRows(CAdoResultSet& rows, CAdoDatabase* database, const QString& statement)
{
    rows.Open(database->GetConnection(), statement, Ado::adOpenForwardOnly, Ado::adLockReadOnly,
              Ado::adUseClient);
}

// The text column of the first record of a statement; nothing when there is no
// record, the value is not text, or anything fails.
std::optional<QString> FirstText(CAdoDatabase* database, const QString& statement,
                                 const QString& column)
{
    if (!database || statement.isEmpty())
        return std::nullopt;
    try {
        CAdoResultSet rows;
        OpenRows(rows, database, statement);
        std::optional<QString> result;
        if (rows.GetRecordCount() > 0) {
            QString text;
            if (rows.GetFieldValue(column, text))
                result = text;
        }
        rows.Close();
        return result;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

QList<CContextEntry> ReadContextEntries(CAdoDatabase* referenceDb, int kind)
{
    QList<CContextEntry> entries;
    const QString statement = ContextHelpSql::ContextNames(kind);
    if (!referenceDb || statement.isEmpty())
        return entries;
    static const QString a = QStringLiteral("a");
    static const QString c = QStringLiteral("c");
    try {
        CAdoResultSet rows;
        OpenRows(rows, referenceDb, statement);
        for (qint32 i = 0; i < rows.GetRecordCount(); ++i) {
            CContextEntry entry;
            rows.GetFieldValue(a, entry.nId);
            rows.GetFieldValue(c, entry.strName);
            entries.append(std::move(entry));
            rows.MoveNext();
        }
        rows.Close();
    } catch (const std::exception&) {
        // The list keeps the names read so far.
    }
    return entries;
}

std::optional<QString> ReadPrototypes(CAdoDatabase* referenceDb, int kind, qint32 id)
{
    return FirstText(referenceDb, ContextHelpSql::Prototypes(kind, id), QStringLiteral("d"));
}

std::optional<QString> ReadEntryText(CAdoDatabase* referenceDb, CAdoDatabase* stdLib,
                                     CAdoDatabase* userLib, int kind, qint32 id)
{
    std::optional<QString> text;
    if (ReferenceKind::IsReference(kind)) {
        text = FirstText(referenceDb, ContextHelpSql::EntryName(kind, id), QStringLiteral("c"));
    } else if (kind == ReferenceKind::CodeLibrary) {
        const quint32 bits = static_cast<quint32>(id);
        CAdoDatabase* library = (bits & kUserLibraryBit) ? userLib : stdLib;
        const long snippet = static_cast<long>(bits & ~kUserLibraryBit);
        text = FirstText(library, ContextHelpSql::SnippetText(snippet), QStringLiteral("text"));
    }
    if (text && text->isEmpty())
        return std::nullopt;
    return text;
}
