#include "SymbolIcons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace SymbolIcons {

QIcon Icon(SymbolKind kind)
{
    static QHash<int, QIcon> icons;
    auto it = icons.find(int(kind));
    if (it != icons.end())
        return *it;
    struct Look {
        char letter;
        QRgb colour;
    };
    static const Look looks[] = {
        {'N', 0x607d8b}, {'C', 0xe67e22}, {'I', 0x16a085}, {'T', 0x8e44ad}, {'E', 0xd35400}, {'F', 0x2980b9},
        {'M', 0x8e44ad}, {'P', 0x27ae60}, {'K', 0xc0392b}, {'E', 0xc0392b}, {'K', 0x7f8c8d},
    };
    const Look look = kind < SymbolKind::Count ? looks[int(kind)] : Look{'?', 0x999999};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(look.colour));
    if (kind == SymbolKind::Property || kind == SymbolKind::ClassConstant || kind == SymbolKind::Constant)
        painter.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
    else
        painter.drawEllipse(QRectF(1, 1, 14, 14));
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(QChar(look.letter)));
    painter.end();
    return *icons.insert(int(kind), QIcon(pixmap));
}

} // namespace SymbolIcons
