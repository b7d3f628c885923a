// Comments a range of lines out or back in: "//" on PHP and script lines,
// "<!-- -->" around HTML lines, "/* */" around CSS lines, each line by the
// language where its text starts. When every line of the range that is not
// blank is already a comment (of any of the three forms), the markers come
// off instead; blank lines are left alone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace CommentToggle {

struct Edit {
    std::size_t pos;       // byte offset into the text
    std::size_t removed;   // bytes taken away at pos
    std::string inserted;  // then put in at pos
};

// The edits for lines firstLine..lastLine (from 0; lines end at CR LF, LF or
// CR), last position first, so that each applies to the text as the edits
// after it in the list left it.
std::vector<Edit> Edits(std::string_view text, std::size_t firstLine, std::size_t lastLine);

} // namespace CommentToggle
