// Prints an editor's text as plain lines in the printer's default font.
#pragma once

#include <QStringList>

class QPrinter;

namespace ViewPrinter {

// The text's lines without their line breaks (CR LF, LF or CR).
QStringList SplitLines(const QByteArray& utf8);

// Draws lines on printer: every page they need, or the pages of the
// printer's range when one is set. Returns the number of pages printed, 0
// when the printer (or its output file) could not be opened or finished.
int Print(QPrinter& printer, const QStringList& lines);

// Pages shown side by side in print preview ("Settings"/"PreviewPages").
void SetPreviewPages(int pages);
int PreviewPages();

// Whether the PDF file at path was written to its end (its last bytes hold
// the "%%EOF" marker): a full disk cuts a PDF short without a word.
bool IsCompletePdf(const QString& path);

} // namespace ViewPrinter
