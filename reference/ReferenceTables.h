// The four reference tables of the reference database and what names them:
// the kind number, the table, the page's tab caption, tree id and image count.
#pragma once

#include <QList>
#include <QString>

namespace ReferenceKind {
// The first parameter of the page, prototype and insert messages.
enum : int { PHP = 0, CSS = 1, Html = 2, JavaScript = 3, CodeLibrary = 4 };
// A reference table's kind (0-3).
constexpr bool IsReference(int kind) { return kind >= PHP && kind <= JavaScript; }
} // namespace ReferenceKind

namespace ReferenceTables {

// The table of a reference kind, spelled as in the database; empty for any other kind.
QString TableName(int kind);
// "PHP", "CSS", "Html", "JavaScript"; empty for any other kind.
QString Caption(int kind);
// The id of the page's tree control: 109, 110, 107, 108; 0 for any other kind.
int TreeId(int kind);
// Images in the page's image list, one per entry kind ("e"): 6 for PHP and
// JavaScript, 2 for CSS and Html; 0 for any other kind.
int ImageCount(int kind);

// The entry kind ("e") of the rows that only group entries, the categories: 0
// for PHP and JavaScript, 1 for CSS and Html; -1 for any other kind. A
// category has no prototypes to show and no name to insert.
int CategoryKind(int kind);

// The deferred load visits the reference pages in this order of kinds (which are
// also their tab positions): PHP, Html, CSS, JavaScript.
const QList<int>& LoadOrder();

} // namespace ReferenceTables
