#include "DialogPlacement.h"

#include <algorithm>

namespace DialogPlacement {

namespace {
constexpr int kGap = 8;

int Clamp(int value, int low, int high)
{
    return high < low ? low : std::clamp(value, low, high);
}
} // namespace

QPoint KeepClear(const QRect& dialog, const QRect& match, const QRect& screen)
{
    if (!dialog.intersects(match))
        return dialog.topLeft();
    const int x = Clamp(dialog.x(), screen.left(), screen.right() + 1 - dialog.width());
    const int y = Clamp(dialog.y(), screen.top(), screen.bottom() + 1 - dialog.height());
    const int below = match.bottom() + 1 + kGap;
    if (below + dialog.height() <= screen.bottom() + 1)
        return {x, below};
    const int above = match.top() - kGap - dialog.height();
    if (above >= screen.top())
        return {x, above};
    const int right = match.right() + 1 + kGap;
    if (right + dialog.width() <= screen.right() + 1)
        return {right, y};
    const int left = match.left() - kGap - dialog.width();
    if (left >= screen.left())
        return {left, y};
    return dialog.topLeft();
}

} // namespace DialogPlacement
