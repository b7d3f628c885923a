// The text size of every editor window: one zoom level for all of them,
// kept in the settings ("Settings"/"Zoom") from one start to the next.
#pragma once

class CCodeEditCtrl;

namespace EditorZoom {

// Points added to every font size, as Scintilla counts them.
constexpr int kMin = -10;
constexpr int kMax = 20;

// The level, read from the settings the first time it is asked for.
int Level();
// Takes level (clamped), stores it and applies it to every editor there is.
void SetLevel(int level);
void ZoomIn();
void ZoomOut();
void Reset();
// Forgets the level read, so the next Level() reads the settings again.
void Reload();

} // namespace EditorZoom
