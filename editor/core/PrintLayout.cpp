#include "PrintLayout.h"

namespace PrintLayout {

QString ExpandTabs(const QString& line, int tabWidth)
{
    if (!line.contains(u'\t'))
        return line;
    QString out;
    out.reserve(line.size() + 16);
    for (QChar ch : line) {
        if (ch == u'\t')
            out.append(QString(tabWidth - out.size() % tabWidth, u' '));
        else
            out.append(ch);
    }
    return out;
}

QStringList Wrap(const QString& line, int maxWidth, const Measure& measure)
{
    QStringList pieces;
    QString rest = line;
    while (!rest.isEmpty() && measure(rest) > maxWidth) {
        // Binary search for the longest prefix that fits.
        qsizetype lo = 1, hi = rest.size() - 1;
        qsizetype fit = 1;
        while (lo <= hi) {
            const qsizetype mid = (lo + hi) / 2;
            if (measure(rest.left(mid)) <= maxWidth) {
                fit = mid;
                lo = mid + 1;
            } else {
                hi = mid - 1;
            }
        }
        // Never split a surrogate pair.
        if (fit < rest.size() && rest.at(fit).isLowSurrogate() && fit > 1)
            --fit;
        pieces << rest.left(fit);
        rest = rest.mid(fit);
    }
    if (!rest.isEmpty() || pieces.isEmpty())
        pieces << rest;
    return pieces;
}

std::vector<QStringList> Paginate(const QStringList& lines, int maxWidth, int linesPerPage,
                                  const Measure& measure)
{
    linesPerPage = qMax(1, linesPerPage);
    std::vector<QStringList> pages(1);
    for (const QString& line : lines) {
        for (const QString& piece : Wrap(ExpandTabs(line), maxWidth, measure)) {
            if (pages.back().size() >= linesPerPage)
                pages.emplace_back();
            pages.back() << piece;
        }
    }
    return pages;
}

} // namespace PrintLayout
