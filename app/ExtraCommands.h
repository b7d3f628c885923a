// The command modules beyond the original menus (editing comforts, folding,
// line endings and encodings, reload, session, preview, symbols), installed
// on the frame in one place.
#pragma once

class IFrameAccess;

void InstallExtraCommands(IFrameAccess* frame);
