#include "ExtraCommands.h"

#include "EditingCommands.h"
#include "FileExtraCommands.h"
#include "FoldCommands.h"

void InstallExtraCommands(IFrameAccess* frame)
{
    InstallFileExtraCommands(frame);
    new CEditingCommands(frame);
    FoldCommands::Register(frame);
}
