// Where a modeless dialog goes so that it does not cover what it found.
#pragma once

#include <QPoint>
#include <QRect>

namespace DialogPlacement {

// The top left for a dialog now at dialog (frame included) that must leave
// match visible on screen: where it is when it covers nothing of it, else
// just below the match when the screen has room there, else just above,
// else beside it; it stays on the screen where it can.
QPoint KeepClear(const QRect& dialog, const QRect& match, const QRect& screen);

} // namespace DialogPlacement
