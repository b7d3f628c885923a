#include "FindHistory.h"

#include <QSettings>

namespace FindHistory {

namespace {
// A search longer than this is not something to offer again from a list.
constexpr qsizetype kMaxLength = 1000;
}

QStringList Add(QStringList history, const QString& text)
{
    if (text.isEmpty())
        return history;
    history.removeAll(text);
    history.prepend(text);
    while (history.size() > kMaxEntries)
        history.removeLast();
    return history;
}

QStringList Clean(const QStringList& stored)
{
    QStringList out;
    for (const QString& s : stored) {
        if (s.isEmpty() || s.size() > kMaxLength || out.contains(s))
            continue;
        out << s;
        if (out.size() == kMaxEntries)
            break;
    }
    return out;
}

QStringList Stored()
{
    return Clean(QSettings().value(QStringLiteral("Find/History")).toStringList());
}

QStringList Remember(const QString& text)
{
    const QStringList history = Add(Stored(), text);
    QSettings().setValue(QStringLiteral("Find/History"), history);
    return history;
}

} // namespace FindHistory
