#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>

#include "CommandIds.h"

namespace ToolbarIcons {

namespace {
const QColor kInk(40, 48, 64);
const QColor kPaper(252, 252, 248);

void Page(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
}

void Disk(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(70, 110, 180));
    p.drawRect(r);
    p.setBrush(kPaper);
    p.drawRect(QRectF(r.left() + 2, r.top(), r.width() - 4, r.height() * 0.4));
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(r.left() + 3, r.bottom() - r.height() * 0.35, r.width() - 6, r.height() * 0.35));
}

const char* ThemeName(int id)
{
    switch (id) {
    case Cmd::FileNew: return "document-new";
    case Cmd::FileOpen: return "document-open";
    case Cmd::FileSave: return "document-save";
    case Cmd::SaveAll: return "document-save-all";
    case Cmd::EditCut: return "edit-cut";
    case Cmd::EditCopy: return "edit-copy";
    case Cmd::EditPaste: return "edit-paste";
    case Cmd::EditFind: return "edit-find";
    case Cmd::EditReplace: return "edit-find-replace";
    case Cmd::FilePrint: return "document-print";
    case Cmd::AppAbout: return "help-about";
    default: return nullptr;
    }
}
} // namespace

QPixmap Drawn(int id)
{
    if (!ThemeName(id))
        return {};
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0.5, 0.5);
    switch (id) {
    case Cmd::FileNew:
        Page(p, QRectF(3, 1, 10, 13));
        p.setPen(QPen(QColor(230, 170, 20), 1.5));
        p.drawLine(QPointF(11, 9), QPointF(15, 13));
        p.drawLine(QPointF(15, 9), QPointF(11, 13));
        break;
    case Cmd::FileOpen:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(235, 195, 90));
        p.drawRect(QRectF(1, 4, 12, 10));
        p.setBrush(QColor(250, 215, 120));
        p.drawPolygon(QPolygonF({QPointF(3, 7), QPointF(15, 7), QPointF(13, 14), QPointF(1, 14)}));
        break;
    case Cmd::FileSave:
        Disk(p, QRectF(2, 2, 12, 12));
        break;
    case Cmd::SaveAll:
        Disk(p, QRectF(4, 0, 10, 10));
        Disk(p, QRectF(1, 5, 10, 10));
        break;
    case Cmd::EditCut:
        p.setPen(QPen(kInk, 1.3));
        p.drawLine(QPointF(4, 1), QPointF(10, 10));
        p.drawLine(QPointF(12, 1), QPointF(6, 10));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, 10, 4, 4));
        p.drawEllipse(QRectF(10, 10, 4, 4));
        break;
    case Cmd::EditCopy:
        Page(p, QRectF(1, 1, 9, 10));
        Page(p, QRectF(6, 5, 9, 10));
        break;
    case Cmd::EditPaste:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(180, 130, 70));
        p.drawRect(QRectF(1, 2, 10, 13));
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(4, 0, 4, 3));
        Page(p, QRectF(6, 6, 9, 9));
        break;
    case Cmd::EditFind:
    case Cmd::EditReplace:
        // A magnifying glass; over a page for replace.
        if (id == Cmd::EditReplace)
            Page(p, QRectF(1, 1, 9, 12));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(200, 225, 250));
        p.drawEllipse(QRectF(5, 3, 7, 7));
        p.setPen(QPen(kInk, 2.5));
        p.drawLine(QPointF(11, 9), QPointF(14.5, 13.5));
        break;
    case Cmd::FilePrint:
        Page(p, QRectF(4, 0, 8, 6));
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(170, 175, 185));
        p.drawRect(QRectF(1, 6, 14, 6));
        Page(p, QRectF(4, 10, 8, 5));
        break;
    case Cmd::AppAbout:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(60, 110, 200));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 2));
        p.drawPoint(QPointF(8, 4.5));
        p.drawLine(QPointF(8, 7), QPointF(8, 12));
        break;
    default:
        break;
    }
    return pm;
}

QIcon Icon(int id)
{
    const char* name = ThemeName(id);
    if (!name)
        return {};
    return QIcon::fromTheme(QLatin1String(name), QIcon(Drawn(id)));
}

} // namespace ToolbarIcons
