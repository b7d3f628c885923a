#include "ReferenceTsv.h"

#include <charconv>
#include <fstream>

namespace {

bool ParseInt32(const std::string& text, std::int32_t& value)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

bool ReadReferenceTsv(const std::string& path, std::vector<ReferenceRow>& rows, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        error = path + ":" + std::to_string(lineNo) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            return fail("carriage return inside a row");
        if (lineNo == 1) {
            if (line != "a\tb\tc\td\te\tf")
                return fail("the header must be the column names a to f");
            continue;
        }
        if (line.empty())
            return fail("empty line");
        const auto fields = SplitTabs(line);
        if (fields.size() != 6)
            return fail("expected 6 fields, found " + std::to_string(fields.size()));
        ReferenceRow row;
        if (!ParseInt32(fields[0], row.a) || !ParseInt32(fields[4], row.e) || !ParseInt32(fields[5], row.f))
            return fail("a, e and f must be 32-bit integers");
        row.b = fields[1];
        row.c = fields[2];
        row.d = fields[3];
        rows.push_back(std::move(row));
    }
    if (lineNo == 0)
        return fail("empty file");
    return true;
}

std::vector<std::string> SplitPrototypes(const std::string& d)
{
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    for (;;) {
        const auto semi = d.find(';', start);
        pieces.push_back(d.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
        if (semi == std::string::npos)
            return pieces;
        start = semi + 1;
    }
}
