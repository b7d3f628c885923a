// Draws the workspace bar's images: the six 16x16 tab images and the three
// 13x13 caption-button images. Run by hand after changing a drawing; the PNGs
// beside this file are its output and are what the program loads.
//
//   g++ -std=c++20 -fPIC DrawWorkspaceImages.cpp $(pkg-config --cflags --libs Qt6Gui) \
//       -o /tmp/draw-ws-images && QT_QPA_PLATFORM=offscreen /tmp/draw-ws-images .
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter&)>;

bool Save(const QString& dir, const QString& name, int size, const Drawing& draw)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    draw(p);
    p.end();
    return image.save(dir + QLatin1Char('/') + name, "PNG");
}

void Letters(QPainter& p, const QRectF& box, const QString& text, int pixelSize, const QColor& colour)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

// PHP: the language's violet ellipse with a white "P".
void DrawPhp(QPainter& p)
{
    p.setPen(QPen(QColor(0x48, 0x4c, 0x89), 1));
    p.setBrush(QColor(0x77, 0x7b, 0xb4));
    p.drawEllipse(QRectF(0.5, 2.5, 15, 11));
    Letters(p, QRectF(0, 2, 16, 12), QStringLiteral("P"), 10, Qt::white);
}

// CSS: a blue badge with a pair of braces.
void DrawCss(QPainter& p)
{
    p.setPen(QPen(QColor(0x1a, 0x4c, 0xb8), 1));
    p.setBrush(QColor(0x29, 0x65, 0xf1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    Letters(p, QRectF(0, 0, 16, 15), QStringLiteral("{}"), 11, Qt::white);
}

// Html: an orange badge with angle brackets drawn as strokes.
void DrawHtml(QPainter& p)
{
    p.setPen(QPen(QColor(0xb2, 0x3a, 0x1a), 1));
    p.setBrush(QColor(0xe4, 0x4d, 0x26));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QPen pen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(6, 4.5), QPointF(3, 8), QPointF(6, 11.5)}));
    p.drawPolyline(QPolygonF({QPointF(10, 4.5), QPointF(13, 8), QPointF(10, 11.5)}));
}

// JavaScript: a yellow square with a dark "JS".
void DrawJavaScript(QPainter& p)
{
    p.setPen(QPen(QColor(0xb8, 0xa3, 0x1c), 1));
    p.setBrush(QColor(0xf0, 0xdb, 0x4f));
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x32, 0x33, 0x30));
    p.drawText(QRectF(1, 4, 14, 11), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("JS"));
}

// CodeBlock: a sheet of paper with a folded corner and coloured code lines.
void DrawCodeBlock(QPainter& p)
{
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.5, 0.5);
    sheet.lineTo(13.5, 3.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x6d, 0x6d, 0x6d), 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawPolygon(QPolygonF({QPointF(10.5, 0.5), QPointF(10.5, 3.5), QPointF(13.5, 3.5)}));
    p.setRenderHint(QPainter::Antialiasing, false);
    const struct { int x, y, w; QColor c; } lines[] = {
        {4, 5, 5, QColor(0x1f, 0x5f, 0xbf)}, {6, 7, 5, QColor(0x2e, 0x8b, 0x2e)},
        {6, 9, 4, QColor(0xb0, 0x3a, 0x2e)}, {6, 11, 5, QColor(0x2e, 0x8b, 0x2e)},
        {4, 13, 3, QColor(0x1f, 0x5f, 0xbf)}};
    for (const auto& l : lines)
        p.fillRect(QRect(l.x, l.y, l.w, 1), l.c);
}

// LocalSite: a yellow folder with a small blue globe in front.
void DrawLocalSite(QPainter& p)
{
    p.setPen(QPen(QColor(0xb0, 0x86, 0x1e), 1));
    p.setBrush(QColor(0xf4, 0xc4, 0x42));
    QPainterPath folder;
    folder.moveTo(0.5, 3.5);
    folder.lineTo(5.5, 3.5);
    folder.lineTo(7, 5);
    folder.lineTo(14.5, 5);
    folder.lineTo(14.5, 13.5);
    folder.lineTo(0.5, 13.5);
    folder.closeSubpath();
    p.drawPath(folder);
    p.setPen(QPen(QColor(0x1a, 0x4c, 0x8c), 1));
    p.setBrush(QColor(0x4a, 0x90, 0xd9));
    const QRectF globe(8.5, 8.5, 7, 7);
    p.drawEllipse(globe);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xe6, 0xf0, 0xfa), 0.8));
    p.drawEllipse(QRectF(10.5, 8.7, 3, 6.6));
    p.drawLine(QPointF(8.8, 12), QPointF(15.2, 12));
}

// Caption buttons: drawn inside the button's 12x12 face, the 13th row and column left empty.
void CaptionPen(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

void DrawHide(QPainter& p)
{
    CaptionPen(p);
    p.drawLine(QPointF(3.5, 3.5), QPointF(8.5, 8.5));
    p.drawLine(QPointF(8.5, 3.5), QPointF(3.5, 8.5));
}

// Docked left or right the buttons sit in a row above the pages: the arrow points down.
void DrawMenuDown(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(2, 4), QPoint(10, 4), QPoint(6, 8)}));
}

// Docked top or bottom the buttons sit in a column beside the pages: the arrow points right.
void DrawMenuRight(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(4, 2), QPoint(4, 10), QPoint(8, 6)}));
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    bool ok = true;
    ok &= Save(dir, QStringLiteral("tab-php.png"), 16, DrawPhp);
    ok &= Save(dir, QStringLiteral("tab-css.png"), 16, DrawCss);
    ok &= Save(dir, QStringLiteral("tab-html.png"), 16, DrawHtml);
    ok &= Save(dir, QStringLiteral("tab-javascript.png"), 16, DrawJavaScript);
    ok &= Save(dir, QStringLiteral("tab-codeblock.png"), 16, DrawCodeBlock);
    ok &= Save(dir, QStringLiteral("tab-localsite.png"), 16, DrawLocalSite);
    ok &= Save(dir, QStringLiteral("caption-hide.png"), 13, DrawHide);
    ok &= Save(dir, QStringLiteral("caption-menu-down.png"), 13, DrawMenuDown);
    ok &= Save(dir, QStringLiteral("caption-menu-right.png"), 13, DrawMenuRight);
    return ok ? 0 : 1;
}
