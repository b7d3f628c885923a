#include "ReferenceTreeReader.h"

#include "AdoDatabase.h"
#include "AdoResultSet.h"
#include "ReferenceTreeSql.h"

#include <exception>

namespace {

// The rows of one statement in the read pattern of the database layer; each row
// goes to take as soon as it is read. Failures travel on as exceptions.
template <typename Take>
void ReadEntries(const std::shared_ptr<IAdoConnection>& connection, const QString& statement,
                 Take&& take)
{
    static const QString a = QStringLiteral("a");
    static const QString b = QStringLiteral("b");
    static const QString e = QStringLiteral("e");
    CAdoResultSet rows;
    rows.Open(connection, statement, Ado::adOpenForwardOnly, Ado::adLockReadOnly, Ado::adUseClient);
    for (qint32 i = 0; i < rows.GetRecordCount(); ++i) {
        CReferenceEntry entry;
        rows.GetFieldValue(a, entry.nId);
        rows.GetFieldValue(b, entry.strTitle);
        rows.GetFieldValue(e, entry.nKind);
        take(std::move(entry));
        rows.MoveNext();
    }
    rows.Close();
}

} // namespace

QList<CReferenceBranch> ReadReferenceTree(CAdoDatabase* database, const QString& table)
{
    QList<CReferenceBranch> tree;
    ReadReferenceTree(
        database, table, [&](CReferenceEntry&& entry) { tree.append(CReferenceBranch{std::move(entry), {}}); },
        [&](CReferenceEntry&& child) { tree.last().children.append(std::move(child)); });
    return tree;
}

void ReadReferenceTree(CAdoDatabase* database, const QString& table,
                       const std::function<void(CReferenceEntry&&)>& top,
                       const std::function<void(CReferenceEntry&&)>& child)
{
    if (!database)
        return;
    try {
        const std::shared_ptr<IAdoConnection> connection = database->GetConnection();
        ReadEntries(connection, ReferenceTreeSql::TopLevel(table), [&](CReferenceEntry&& entry) {
            const qint32 id = entry.nId;
            top(std::move(entry));
            ReadEntries(connection, ReferenceTreeSql::Children(table, id), child);
        });
    } catch (const std::exception&) {
        // A reference page without its table or a column stays as far as it got.
    }
}
