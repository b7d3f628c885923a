#include "ZoomCommands.h"

#include "CommandIds.h"
#include "CommandMap.h"
#include "EditorZoom.h"

void RegisterZoomCommands(CCommandMap& commands)
{
    commands.On(Cmd::ViewZoomIn, [] { EditorZoom::ZoomIn(); },
                [](CCmdUI& ui) { ui.enabled = EditorZoom::Level() < EditorZoom::kMax; });
    commands.On(Cmd::ViewZoomOut, [] { EditorZoom::ZoomOut(); },
                [](CCmdUI& ui) { ui.enabled = EditorZoom::Level() > EditorZoom::kMin; });
    commands.On(Cmd::ViewZoomReset, [] { EditorZoom::Reset(); });
}
