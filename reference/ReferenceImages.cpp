#include "ReferenceImages.h"

#include "ReferenceTables.h"

#include <QPixmap>

namespace ReferenceImages {

QList<QIcon> FromStrip(const QImage& strip, int count, QRgb mask)
{
    const QImage argb = strip.convertToFormat(QImage::Format_ARGB32);
    QList<QIcon> images;
    for (int i = 0; i < count; ++i) {
        const QRect cell(i * kImageSize, 0, kImageSize, kImageSize);
        if (argb.isNull() || !argb.rect().contains(cell)) {
            images.append(QIcon());
            continue;
        }
        QImage image = argb.copy(cell);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(line[x]) == 255 && (line[x] & 0xFFFFFF) == (mask & 0xFFFFFF))
                    line[x] = qRgba(0, 0, 0, 0);
        }
        const QPixmap pixmap = QPixmap::fromImage(image);
        QIcon icon;
        icon.addPixmap(pixmap, QIcon::Normal);
        icon.addPixmap(pixmap, QIcon::Selected);
        images.append(icon);
    }
    return images;
}

QRgb MaskColour(int kind)
{
    return kind == ReferenceKind::CSS || kind == ReferenceKind::Html ? qRgb(0xFF, 0, 0)
                                                                      : qRgb(0, 0xFF, 0);
}

QList<QIcon> ForKind(int kind)
{
    static const char* const strips[] = {":/reference/php.png", ":/reference/css.png",
                                         ":/reference/html.png", ":/reference/javascript.png"};
    if (!ReferenceKind::IsReference(kind))
        return {};
    return FromStrip(QImage(QString::fromLatin1(strips[kind])), ReferenceTables::ImageCount(kind),
                     MaskColour(kind));
}

} // namespace ReferenceImages
