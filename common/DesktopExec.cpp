#include "DesktopExec.h"

#include <QStringList>

namespace DesktopExec {

namespace {

bool IsFieldCodeLetter(QChar c)
{
    return QStringView(u"fFuUdDnNickvm1").contains(c);
}

QString Unescape(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar n = value.at(++i);
            c = n == u's' ? QChar(u' ') : n == u'n' ? QChar(u'\n') : n == u't' ? QChar(u'\t')
              : n == u'r' ? QChar(u'\r') : n;
        }
        out += c;
    }
    return out;
}

} // namespace

QString ExecOf(const QString& entryText)
{
    bool inEntry = false;
    for (const QString& raw : entryText.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry || !line.startsWith(QLatin1String("Exec")))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && line.left(eq).trimmed() == QLatin1String("Exec"))
            return Unescape(line.mid(eq + 1).trimmed());
    }
    return QString();
}

QString CutAtFieldCode(const QString& command)
{
    qsizetype cut = -1;
    for (qsizetype i = 0; i + 1 < command.size(); ++i) {
        if (command.at(i) != u'%')
            continue;
        if (command.at(i + 1) == u'%') {
            ++i;   // a literal percent sign
            continue;
        }
        if (IsFieldCodeLetter(command.at(i + 1))) {
            cut = i;
            const bool quoted = i > 0 && (command.at(i - 1) == u'"' || command.at(i - 1) == u'\'') &&
                                i + 2 < command.size() && command.at(i + 2) == command.at(i - 1);
            if (quoted)
                --cut;
            break;
        }
    }
    QString result = cut < 0 ? command : command.left(cut);
    while (!result.isEmpty() && result.back().isSpace())
        result.chop(1);
    return result;
}

} // namespace DesktopExec
