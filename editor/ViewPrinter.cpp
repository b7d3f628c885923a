#include "ViewPrinter.h"

#include <algorithm>

#include <QFile>

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include "core/PrintLayout.h"

namespace ViewPrinter {

namespace {
int g_nPreviewPages = 1;
}

void SetPreviewPages(int pages) { g_nPreviewPages = pages == 2 ? 2 : 1; }
int PreviewPages() { return g_nPreviewPages; }

QStringList SplitLines(const QByteArray& utf8)
{
    QString text = QString::fromUtf8(utf8);
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(breaks);
    // A final line break ends the last line; it does not start a new one.
    if (lines.size() > 1 && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

int Print(QPrinter& printer, const QStringList& lines)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QFontMetrics metrics(painter.font(), &printer);
    const int lineHeight = qMax(1, metrics.height());
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int width = page.width();
    const int linesPerPage = qMax(1, page.height() / lineHeight);
    const auto pages = PrintLayout::Paginate(
        lines, width, linesPerPage, [&](const QString& s) { return metrics.horizontalAdvance(s); });

    int first = 1, last = static_cast<int>(pages.size());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = qMax(1, printer.fromPage());
        last = qMin(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    int printed = 0;
    for (int p = first; p <= last; ++p) {
        if (printed > 0)
            printer.newPage();
        const QStringList& pageLines = pages.at(static_cast<size_t>(p - 1));
        for (int i = 0; i < pageLines.size(); ++i)
            painter.drawText(0, i * lineHeight + metrics.ascent(), pageLines.at(i));
        ++printed;
    }
    // The printer or file may still fail when the job is finished.
    return painter.end() ? printed : 0;
}

bool IsCompletePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16 || !file.read(5).startsWith("%PDF-"))
        return false;
    file.seek(std::max<qint64>(0, file.size() - 1024));
    const QByteArray tail = file.readAll();
    return file.error() == QFileDevice::NoError && tail.contains("%%EOF");
}

} // namespace ViewPrinter
