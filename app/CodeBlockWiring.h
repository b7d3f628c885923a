// Joins the CodeBlock page to the main frame: its databases, its menu's commands,
// the snippet commands with their enabling rules, and its refills; and the
// code library commands.
#pragma once

class IFrameAccess;
class CWSCodeBlockView;

// The CodeBlock page of frame's workspace bar (page 4), nullptr when it has none.
CWSCodeBlockView* FindCodeBlockPage(const IFrameAccess* frame);

// The code list is refilled whenever the code libraries change (open, new
// library, import). Called once the frame's code library store exists.
void InstallCodeBlockPage(IFrameAccess* frame);

// The Settings menu's code library commands: open, new library, import.
void RegisterCodeLibraryCommands(IFrameAccess* frame);
