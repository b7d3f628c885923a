// Gives the editor layer what it asks of the main window: the window itself,
// the colouring of an editor (shared with the other windows on its text),
// the default format of a new editor, and the opening of files.
#pragma once

class CDocTemplate;
class QMainWindow;

namespace EditorHostWiring {

void Install(QMainWindow* frame, CDocTemplate* docTemplate);

} // namespace EditorHostWiring
