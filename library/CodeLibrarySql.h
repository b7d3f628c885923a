// The SQL text of the code library: CodeTable statements with quoted text values.
#pragma once

#include <QString>

namespace CodeLibrarySql {

// Bit 31 of a code-list entry's data: the snippet belongs to the user code library.
constexpr quint32 kUserLibFlag = 0x80000000u;

// Doubles every apostrophe; nothing else is changed.
QString Quote(const QString& text);

// "SELECT id,title,text FROM CodeTable": the probe and the import source.
QString SelectAll();
// "SELECT id,title FROM CodeTable ORDER BY title": the code list fill.
QString SelectTitles();
// "SELECT text FROM CodeTable WHERE id=<id>"
QString SelectText(qint32 id);
// "SELECT * FROM CodeTable WHERE id=<id>"
QString SelectSnippet(qint32 id);
// "INSERT INTO CodeTable([title],[text]) VALUES('<title>','<text>')"
QString Insert(const QString& title, const QString& text);
// "UPDATE CodeTable SET title='<title>' ,text='<text>'  WHERE id=<id>"
QString Update(qint32 id, const QString& title, const QString& text);
// "DELETE FROM CodeTable WHERE id=<id>"
QString Delete(qint32 id);
// "DELETE FROM CodeTable": empties a new library copied from the template.
QString DeleteAll();

} // namespace CodeLibrarySql
