#include "CodeLibrarySql.h"

namespace CodeLibrarySql {

QString Quote(const QString& text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return quoted;
}

QString SelectAll()
{
    return QStringLiteral("SELECT id,title,text FROM CodeTable");
}

QString SelectTitles()
{
    return QStringLiteral("SELECT id,title FROM CodeTable ORDER BY title");
}

QString SelectText(qint32 id)
{
    return QStringLiteral("SELECT text FROM CodeTable WHERE id=%1").arg(id);
}

QString SelectSnippet(qint32 id)
{
    return QStringLiteral("SELECT * FROM CodeTable WHERE id=%1").arg(id);
}

QString Insert(const QString& title, const QString& text)
{
    return QStringLiteral("INSERT INTO CodeTable([title],[text]) VALUES('") + Quote(title)
           + QStringLiteral("','") + Quote(text) + QStringLiteral("')");
}

QString Update(qint32 id, const QString& title, const QString& text)
{
    return QStringLiteral("UPDATE CodeTable SET title='") + Quote(title)
           + QStringLiteral("' ,text='") + Quote(text) + QStringLiteral("' ")
           + QStringLiteral(" WHERE id=%1").arg(id);
}

QString Delete(qint32 id)
{
    return QStringLiteral("DELETE FROM CodeTable WHERE id=%1").arg(id);
}

QString DeleteAll()
{
    return QStringLiteral("DELETE FROM CodeTable");
}

} // namespace CodeLibrarySql
