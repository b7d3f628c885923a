// Where editor windows go when they are cascaded or tiled over an area.
#pragma once

#include <QList>
#include <QRect>

namespace WindowLayout {

// Where count windows go when cascaded over area, each step pixels further
// right and down than the one before (the last on top). Every window keeps
// at least two thirds of the area's width and height; the steps start again
// at the top left when they would push a window out of the area.
QList<QRect> CascadeRects(const QRect& area, int count, int step);

// Where count windows go when tiled over area: a grid of about as many
// columns as rows, filling the whole area.
QList<QRect> TileRects(const QRect& area, int count);

} // namespace WindowLayout
