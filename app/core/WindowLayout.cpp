#include "WindowLayout.h"

#include <algorithm>
#include <cmath>

namespace WindowLayout {

QList<QRect> CascadeRects(const QRect& area, int count, int step)
{
    QList<QRect> rects;
    if (count <= 0 || area.isEmpty())
        return rects;
    step = std::max(step, 1);
    const int minWidth = area.width() * 2 / 3;
    const int minHeight = area.height() * 2 / 3;
    // As many steps as fit before a window of the least size would leave the area.
    const int room = std::min(area.width() - minWidth, area.height() - minHeight);
    const int steps = std::max(1, std::min(count, room / step + 1));
    const int width = area.width() - (steps - 1) * step;
    const int height = area.height() - (steps - 1) * step;
    for (int i = 0; i < count; ++i) {
        const int offset = (i % steps) * step;
        rects << QRect(area.left() + offset, area.top() + offset, width, height);
    }
    return rects;
}

QList<QRect> TileRects(const QRect& area, int count)
{
    QList<QRect> rects;
    if (count <= 0 || area.isEmpty())
        return rects;
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int column = i % columns;
        // The last row's windows share its width when it is not full.
        const int inRow = row == rows - 1 ? count - row * columns : columns;
        const int left = area.left() + area.width() * column / inRow;
        const int right = area.left() + area.width() * (column + 1) / inRow;
        const int top = area.top() + area.height() * row / rows;
        const int bottom = area.top() + area.height() * (row + 1) / rows;
        rects << QRect(left, top, right - left, bottom - top);
    }
    return rects;
}

} // namespace WindowLayout
