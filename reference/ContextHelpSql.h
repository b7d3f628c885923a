// The statements of the context-help list, the prototype combo box and the
// insertion of an entry's text.
#pragma once

#include <QString>

namespace ContextHelpSql {

// The names of the context-help list: "SELECT a,c FROM <table> WHERE e IN(1,2,3)"
// for PHP and JavaScript (functions, classes and the like), "... WHERE e=0" for
// CSS and Html; empty for any other kind.
QString ContextNames(int kind);
// SELECT d FROM <table> WHERE a=<id>; empty for a kind outside 0..3.
QString Prototypes(int kind, long id);
// SELECT c FROM <table> WHERE a=<id>; empty for a kind outside 0..3.
QString EntryName(int kind, long id);
// SELECT text FROM CodeTable WHERE id=<id>
QString SnippetText(long id);

} // namespace ContextHelpSql
