// A reference database made up for measuring: the shipped schema, and rows spread
// over the four tables as categories with their entries.
#pragma once

#include <string>

namespace GeneratedReferenceDb {

// Writes the database to path (replacing it): rows in all, categories of them
// at the top level, every other row the child of one category. Titles and names
// are shuffled so that the order by name differs from the order of ids. False
// when SQLite fails.
bool Write(const std::string& path, const std::string& schemaSql, int rows, int categories);

} // namespace GeneratedReferenceDb
