#include "ComboText.h"

namespace {
QString TrimLeading(const QString& piece)
{
    qsizetype i = 0;
    while (i < piece.size() && piece.at(i).isSpace())
        ++i;
    return piece.mid(i);
}
} // namespace

QStringList SplitComboText(const QString& text)
{
    const qsizetype first = text.indexOf(u';');
    if (first <= 0)
        return {text};
    QStringList items;
    const QStringList pieces = text.split(u';');
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i)
        items << TrimLeading(pieces.at(i));
    const QString last = TrimLeading(pieces.constLast());
    if (!last.isEmpty())
        items << last;
    return items;
}
