#include "ContextHelpSql.h"

#include "ReferenceTables.h"

namespace ContextHelpSql {

namespace {

// One column of a reference table's row chosen by its id, or nothing for a kind
// without a table.
QString ColumnById(const char* column, int kind, long id)
{
    const QString table = ReferenceTables::TableName(kind);
    if (table.isEmpty())
        return QString();
    return QString::asprintf("SELECT %s FROM %s WHERE %s=%ld", column, table.toUtf8().constData(),
                             "a", id);
}

} // namespace

QString ContextNames(int kind)
{
    const QByteArray table = ReferenceTables::TableName(kind).toUtf8();
    switch (kind) {
    case ReferenceKind::PHP:
    case ReferenceKind::JavaScript:
        return QString::asprintf("SELECT %s,%s FROM %s WHERE %s IN(%d,%d,%d)", "a", "c",
                                 table.constData(), "e", 1, 2, 3);
    case ReferenceKind::CSS:
    case ReferenceKind::Html:
        return QString::asprintf("SELECT %s,%s FROM %s WHERE %s=%ld", "a", "c", table.constData(),
                                 "e", 0L);
    default:
        return QString();
    }
}

QString Prototypes(int kind, long id)
{
    return ColumnById("d", kind, id);
}

QString EntryName(int kind, long id)
{
    return ColumnById("c", kind, id);
}

QString SnippetText(long id)
{
    return QString::asprintf("SELECT text FROM CodeTable WHERE id=%ld", id);
}

} // namespace ContextHelpSql
