// Draws the image lists of the four reference pages: one strip of 16x16 images
// per page, image i showing the entries of kind i (column "e" of the table).
//   php.png, javascript.png  six images: category, function, construct or
//                            global object, class or constructor, method,
//                            property or constant
//   css.png, html.png        two images: entry, category
// Run by hand after changing a drawing; the PNGs beside this file are its output
// and are what the program loads.
//
//   g++ -std=c++20 -fPIC DrawReferenceImages.cpp $(pkg-config --cflags --libs Qt6Gui) \
//       -o /tmp/draw-ref-images && QT_QPA_PLATFORM=offscreen /tmp/draw-ref-images .
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <vector>

namespace {

using Drawing = std::function<void(QPainter&)>;

bool SaveStrip(const QString& dir, const QString& name, const std::vector<Drawing>& images)
{
    QImage strip(16 * static_cast<int>(images.size()), 16, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (size_t i = 0; i < images.size(); ++i) {
        p.save();
        p.translate(16.0 * static_cast<double>(i), 0);
        p.setClipRect(QRect(0, 0, 16, 16));
        images[i](p);
        p.restore();
    }
    p.end();
    return strip.save(dir + QLatin1Char('/') + name, "PNG");
}

void Letter(QPainter& p, const QRectF& box, const QString& text, int pixelSize, const QColor& colour,
            bool italic = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferFullHinting);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

// A rounded badge filling most of the cell with one letter on it.
Drawing Badge(QColor fill, QColor edge, QString text, QColor ink, bool italic = false)
{
    return [=](QPainter& p) {
        p.setPen(QPen(edge, 1));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
        Letter(p, QRectF(1, 1, 14, 14), text, 11, ink, italic);
    };
}

// A round badge: classes and constructors.
Drawing Disc(QColor fill, QColor edge, QString text, QColor ink)
{
    return [=](QPainter& p) {
        p.setPen(QPen(edge, 1));
        p.setBrush(fill);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        Letter(p, QRectF(1, 1, 14, 14), text, 10, ink);
    };
}

// Methods: a small cube seen from above, the member of a class.
Drawing Cube(QColor top, QColor left, QColor right, QColor edge)
{
    return [=](QPainter& p) {
        const QPointF n(8, 2.5), e(13.5, 5.5), s(8, 8.5), w(2.5, 5.5), sb(8, 14.5), eb(13.5, 11.5),
            wb(2.5, 11.5);
        p.setPen(QPen(edge, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(top);
        p.drawPolygon(QPolygonF({n, e, s, w}));
        p.setBrush(left);
        p.drawPolygon(QPolygonF({w, s, sb, wb}));
        p.setBrush(right);
        p.drawPolygon(QPolygonF({s, e, eb, sb}));
    };
}

// Properties and constants: a tag with a hole.
Drawing Tag(QColor fill, QColor edge)
{
    return [=](QPainter& p) {
        QPainterPath tag;
        tag.moveTo(2.5, 3.5);
        tag.lineTo(8.5, 3.5);
        tag.lineTo(14.5, 9.5);
        tag.lineTo(9.5, 14.5);
        tag.lineTo(2.5, 7.5);
        tag.closeSubpath();
        p.setPen(QPen(edge, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(fill);
        p.drawPath(tag);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(4.2, 5.2, 2.6, 2.6));
    };
}

// Categories: a closed yellow folder.
void DrawFolder(QPainter& p)
{
    p.setPen(QPen(QColor(0xb0, 0x86, 0x1e), 1));
    p.setBrush(QColor(0xf4, 0xc4, 0x42));
    QPainterPath back;
    back.moveTo(0.5, 3.5);
    back.lineTo(5.5, 3.5);
    back.lineTo(7, 5);
    back.lineTo(15.5, 5);
    back.lineTo(15.5, 13.5);
    back.lineTo(0.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(0xfb, 0xdc, 0x7a));
    p.drawRect(QRectF(0.5, 6.5, 15, 7));
}

// HTML elements: angle brackets on the language's orange.
void DrawElement(QPainter& p)
{
    p.setPen(QPen(QColor(0xb2, 0x3a, 0x1a), 1));
    p.setBrush(QColor(0xe4, 0x4d, 0x26));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(6.5, 4.5), QPointF(3.5, 8), QPointF(6.5, 11.5)}));
    p.drawPolyline(QPolygonF({QPointF(9.5, 4.5), QPointF(12.5, 8), QPointF(9.5, 11.5)}));
}

// CSS properties: a blue sheet with a "name: value" line pair.
void DrawProperty(QPainter& p)
{
    p.setPen(QPen(QColor(0x1a, 0x4c, 0xb8), 1));
    p.setBrush(QColor(0x29, 0x65, 0xf1));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(4, 5, 4, 2), Qt::white);
    p.fillRect(QRect(9, 5, 1, 2), QColor(0xbf, 0xd4, 0xff));
    p.fillRect(QRect(4, 9, 3, 2), Qt::white);
    p.fillRect(QRect(8, 9, 1, 2), QColor(0xbf, 0xd4, 0xff));
    p.fillRect(QRect(10, 9, 2, 2), QColor(0xbf, 0xd4, 0xff));
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QColor violet(0x77, 0x7b, 0xb4), violetEdge(0x48, 0x4c, 0x89);
    const QColor orange(0xf0, 0x8c, 0x28), orangeEdge(0xa8, 0x5a, 0x10);
    const QColor teal(0x1f, 0x8a, 0x84), tealEdge(0x11, 0x5a, 0x56);
    const QColor yellow(0xf0, 0xdb, 0x4f), yellowEdge(0xb8, 0xa3, 0x1c), ink(0x32, 0x33, 0x30);
    const QColor green(0x4c, 0xa8, 0x4c), greenEdge(0x2c, 0x6e, 0x2c);
    const QColor blue(0x4a, 0x90, 0xd9), blueEdge(0x1a, 0x4c, 0x8c);
    bool ok = true;
    ok &= SaveStrip(dir, QStringLiteral("php.png"),
                    {DrawFolder, Badge(violet, violetEdge, QStringLiteral("f"), Qt::white, true),
                     Badge(teal, tealEdge, QStringLiteral("K"), Qt::white),
                     Disc(orange, orangeEdge, QStringLiteral("C"), Qt::white),
                     Cube(QColor(0xc6, 0xa8, 0xf0), QColor(0x8e, 0x5c, 0xd6), QColor(0x6a, 0x3c, 0xb0),
                          QColor(0x4a, 0x24, 0x84)),
                     Tag(blue, blueEdge)});
    ok &= SaveStrip(dir, QStringLiteral("javascript.png"),
                    {DrawFolder, Badge(yellow, yellowEdge, QStringLiteral("f"), ink, true),
                     Badge(green, greenEdge, QStringLiteral("O"), Qt::white),
                     Disc(orange, orangeEdge, QStringLiteral("C"), Qt::white),
                     Cube(QColor(0xf6, 0xe8, 0x8a), QColor(0xd9, 0xbe, 0x2a), QColor(0xb0, 0x96, 0x12),
                          QColor(0x6e, 0x5c, 0x08)),
                     Tag(blue, blueEdge)});
    ok &= SaveStrip(dir, QStringLiteral("css.png"), {DrawProperty, DrawFolder});
    ok &= SaveStrip(dir, QStringLiteral("html.png"), {DrawElement, DrawFolder});
    return ok ? 0 : 1;
}
