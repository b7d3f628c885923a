// A desktop entry's command line: its Exec value and the command cut before
// the first place where a file or an address would be put in.
#pragma once

#include <QString>

namespace DesktopExec {

// The Exec value of a desktop entry's [Desktop Entry] group (empty when it
// has none), with the entry format's escapes (\s \n \t \r \\) undone.
QString ExecOf(const QString& entryText);

// The command line cut at its first field code (%f, %F, %u, %U, ... and the
// "%1" of commands written for the other platform), together with a quote that
// directly encloses it; "%%" is a percent sign and no field code. Everything
// from the cut on is dropped, trailing blanks too, so no field code is left
// for the program to see.
QString CutAtFieldCode(const QString& command);

} // namespace DesktopExec
