#include "FileExtraCommands.h"

#include "DocumentFormatCommands.h"
#include "PreviewCommands.h"
#include "SessionCommands.h"

void InstallFileExtraCommands(IFrameAccess* frame)
{
    // Each is owned by the frame's window.
    new CDocumentFormatCommands(frame);
    new CPreviewCommands(frame);
    new CSessionCommands(frame);
}
