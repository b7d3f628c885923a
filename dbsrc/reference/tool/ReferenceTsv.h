#pragma once
// Reads one reference table from its tab-separated text file (the committed
// source of "quillet.dll"): a header line "a b c d e f", then one row a line.

#include <cstdint>
#include <string>
#include <vector>

struct ReferenceRow {
    std::int32_t a = 0;   // entry id
    std::string b;        // title in the tree
    std::string c;        // name: sort key, listed and inserted text
    std::string d;        // prototypes separated by ";"
    std::int32_t e = 0;   // kind (image index)
    std::int32_t f = 0;   // parent id, 0 at the top level
};

// Reads the rows of path into rows. On a malformed file returns false and
// sets error to "path:line: what is wrong"; rows then holds the rows before it.
bool ReadReferenceTsv(const std::string& path, std::vector<ReferenceRow>& rows, std::string& error);

// Splits column "d" into its prototype lines.
std::vector<std::string> SplitPrototypes(const std::string& d);
