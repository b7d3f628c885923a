// Toolbar icons: the desktop theme's where it has one, our own drawings otherwise.
#pragma once

#include <QIcon>

namespace ToolbarIcons {
// The icon of command id; a null icon for commands without a toolbar button.
QIcon Icon(int id);
// Our own 16 x 16 drawing for id (null when there is none).
QPixmap Drawn(int id);
} // namespace ToolbarIcons
