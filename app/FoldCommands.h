// 查看 → 代码折叠, 折叠全部, 展开全部: the fold margin of every editor, on
// by default and remembered across starts.
#pragma once

class IFrameAccess;
class QsciScintilla;

namespace FoldCommands {

void Register(IFrameAccess* frame);
// Gives a new editor the fold margin when folding is on.
void SetUpEditor(QsciScintilla* editor);

} // namespace FoldCommands
