#include "ReferenceTreeSql.h"

namespace ReferenceTreeSql {

QString TopLevel(const QString& table)
{
    return QString::asprintf("SELECT %s,%s,%s FROM %s WHERE %s=0 order by %s", "a", "b", "e",
                             table.toUtf8().constData(), "f", "c");
}

QString Children(const QString& table, long parentId)
{
    return QString::asprintf("SELECT %s,%s,%s FROM %s WHERE %s=%ld order by %s", "a", "b", "e",
                             table.toUtf8().constData(), "f", parentId, "c");
}

} // namespace ReferenceTreeSql
