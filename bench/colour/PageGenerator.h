// Real-looking PHP pages of a given size for the colouring benchmarks.
#pragma once

#include <cstddef>
#include <string>

namespace BenchPages {

// HTML with forms, tables and scripts, and PHP regions with classes, functions,
// loops, strings, comments and numbers, repeated with varying names until the
// page holds at least bytes bytes; lines end in CR LF every other block.
std::string Page(std::size_t bytes);

// A PHP-only file as most real ones are: one "<?php" at the top, never closed,
// then namespaced classes with docblocks, properties, methods, strings and
// numbers, repeated with varying names until it holds at least bytes bytes.
std::string PhpOnlyPage(std::size_t bytes);

} // namespace BenchPages
