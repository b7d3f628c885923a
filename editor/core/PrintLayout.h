// Lays plain text lines out on printed pages: wide lines continue on the next
// printed line, so nothing is cut off, and every page the text needs is made.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace PrintLayout {

// Width of a text in device units, as the page's font draws it.
using Measure = std::function<int(const QString&)>;

// Tabs become spaces up to the next multiple of tabWidth, since a printed line
// is drawn as a plain run of text.
QString ExpandTabs(const QString& line, int tabWidth = 8);

// Splits one line into pieces no wider than maxWidth (at least one character
// each, so a single too-wide character still prints). An empty line gives one
// empty piece.
QStringList Wrap(const QString& line, int maxWidth, const Measure& measure);

// Printed lines grouped into pages of linesPerPage (at least 1); an empty text
// gives one empty page.
std::vector<QStringList> Paginate(const QStringList& lines, int maxWidth, int linesPerPage,
                                  const Measure& measure);

} // namespace PrintLayout
