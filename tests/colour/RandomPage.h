// Real-looking PHP pages and random edits to them, for the tests that check
// incremental colouring against whole-text passes.
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace RandomPage {

// About `bytes` bytes: HTML with attributes, scripts, styles and comments
// around PHP regions (some inside attribute values), or, with phpOnly, PHP
// code after one "<?php" that is never closed; LF and CR LF line ends mixed,
// Chinese text here and there.
std::string Page(std::mt19937& rng, std::size_t bytes, bool phpOnly);

// The edits made so far, for undo and redo.
struct EditLog {
    struct Op {
        bool insert;
        std::size_t pos;
        std::string text;
    };
    std::vector<Op> undo, redo;
};

using InsertFn = std::function<void(std::size_t pos, const std::string& text)>;
using EraseFn = std::function<void(std::size_t pos, std::size_t length)>;

// Makes one random edit of text through insert and erase (which must change
// text): a typed letter, Enter, a tag, quote or comment marker typed, a paste
// of a piece of the text elsewhere, a deletion (across tags and quotes too),
// undo or redo. Returns what it did.
std::string RandomEdit(std::mt19937& rng, const std::string& text, EditLog& log, const InsertFn& insert,
                       const EraseFn& erase);

} // namespace RandomPage
