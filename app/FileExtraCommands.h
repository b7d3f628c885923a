// The command modules of reading a file again, its line breaks and encoding,
// the site's preview and reopening the last session, built on the frame.
#pragma once

class IFrameAccess;

void InstallFileExtraCommands(IFrameAccess* frame);
