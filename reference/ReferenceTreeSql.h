// The statements that read a reference table as a two-level tree.
#pragma once

#include <QString>

namespace ReferenceTreeSql {

// SELECT a,b,e FROM <table> WHERE f=0 order by c
QString TopLevel(const QString& table);
// SELECT a,b,e FROM <table> WHERE f=<parentId> order by c
QString Children(const QString& table, long parentId);

} // namespace ReferenceTreeSql
