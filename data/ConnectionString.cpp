#include "ConnectionString.h"

#include <QList>

namespace ConnectionString {

QString ForFile(const QString& path)
{
    QString text = QString::fromUtf16(kTemplate);
    text.replace(QStringLiteral("${DBNAME}"), path);
    return text;
}

QString DatabaseFile(const QString& connectionString)
{
    // A string made from the template holds the path verbatim between the
    // template's two halves, whatever the path holds (";", "=", braces, outer
    // spaces): read it back as it was put in.
    const QStringView tmpl(kTemplate);
    const QStringView name(u"${DBNAME}");
    const qsizetype slot = tmpl.indexOf(name);
    const QStringView head = tmpl.left(slot);
    const QStringView tail = tmpl.mid(slot + name.size());
    if (connectionString.size() >= head.size() + tail.size() && connectionString.startsWith(head) &&
        connectionString.endsWith(tail)) {
        const QString path = connectionString.mid(head.size(), connectionString.size() - head.size() - tail.size());
        return path.isNull() ? QString(QLatin1String("")) : path;
    }

    // key=value pairs separated by ';'. A braced value runs to its closing brace,
    // ';' included. A piece without '=' belongs to the value before it: the
    // template puts the path in unbraced, so a file name holding ';' reads back whole.
    struct Pair
    {
        QString key;
        QString value;
    };
    QList<Pair> pairs;
    const QString& s = connectionString;
    qsizetype i = 0;
    while (i < s.size()) {
        qsizetype end = s.indexOf(u';', i);
        if (end < 0)
            end = s.size();
        const qsizetype eq = s.indexOf(u'=', i);
        if (eq >= 0 && eq < end) {
            const qsizetype valueStart = eq + 1;
            if (s.mid(valueStart).trimmed().startsWith(u'{')) {
                const qsizetype close = s.indexOf(u'}', valueStart);
                if (close >= 0) {
                    end = s.indexOf(u';', close);
                    if (end < 0)
                        end = s.size();
                }
            }
            pairs.append({s.mid(i, eq - i).trimmed(), s.mid(valueStart, end - valueStart)});
        } else if (!pairs.isEmpty()) {
            pairs.last().value += u';' + s.mid(i, end - i);
        }
        i = end + 1;
    }
    for (const Pair& pair : pairs) {
        if (pair.key.compare(u"DBQ", Qt::CaseInsensitive) != 0)
            continue;
        QString value = pair.value.trimmed();
        if (value.size() >= 2 && value.startsWith(u'{') && value.endsWith(u'}'))
            value = value.mid(1, value.size() - 2);
        return value.isNull() ? QString(QLatin1String("")) : value;
    }
    return {};
}

} // namespace ConnectionString
