// How the program's links reach the desktop: its "open" and the registered
// web browser. Replaceable, so that tests record the calls instead of
// starting programs.
#pragma once

#include "core/LinkOpening.h"

namespace DesktopLink {

// The launcher in use: the one set, otherwise the desktop's own.
const LinkOpening::Launcher& Current();
// nullptr restores the desktop's own launcher.
void SetLauncher(const LinkOpening::Launcher* launcher);

// Opens address with the launcher in use; the result code.
int Open(const QString& address);

} // namespace DesktopLink
