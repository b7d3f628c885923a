// Real-looking PHP pages of a given size for the colouring benchmarks.
#pragma once

#include <cstddef>
#include <string>

namespace BenchPages {

// HTML with forms, tables and scripts, and PHP regions with classes, functions,
// loops, strings, comments and numbers, repeated with varying names until the
// page holds at least bytes bytes; lines end in CR LF every other block.
std::string Page(std::size_t bytes);

} // namespace BenchPages
