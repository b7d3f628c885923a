// A one-pixel 3D frame: one colour along the top and left, another along the bottom and right.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

namespace Draw3d {

// The top-left colour covers the top and left edges except their last pixel; the
// bottom-right colour covers the whole bottom and right edges, so the two meet at
// the top-right and bottom-left corners the way the classic 3D look does.
inline void Frame(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
}

} // namespace Draw3d
