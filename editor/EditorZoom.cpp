#include "EditorZoom.h"

#include <QApplication>
#include <QSettings>
#include <QWidget>

#include <algorithm>
#include <optional>

#include "CodeEditCtrl.h"
#include "SettingsValue.h"

namespace EditorZoom {

namespace {
const QString kZoomKey = QStringLiteral("Settings/Zoom");
std::optional<int> g_level;
} // namespace

int Level()
{
    if (!g_level)
        g_level = std::clamp(SettingsValue::ToInt(QSettings().value(kZoomKey), 0), kMin, kMax);
    return *g_level;
}

void SetLevel(int level)
{
    level = std::clamp(level, kMin, kMax);
    g_level = level;
    QSettings().setValue(kZoomKey, level);
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* editor = qobject_cast<CCodeEditCtrl*>(widget))
            editor->SetZoomLevel(level);
}

void ZoomIn() { SetLevel(Level() + 1); }
void ZoomOut() { SetLevel(Level() - 1); }
void Reset() { SetLevel(0); }
void Reload() { g_level.reset(); }

} // namespace EditorZoom
