// Finding the lines longer than a limit among many without visiting each:
// a run of lines whose bytes together are no more than the limit holds none,
// so runs are halved only while they are longer than that. Over ordinary
// text the work is about (bytes / limit) line starts looked up.
#pragma once

#include <cstdint>

// lineStart(l) gives the position of line l's first byte for l in
// [first, last + 1] (that of last + 1 being where line last ends, its line
// break included); visit(l, start, end) is called in order for each line of
// [first, last] longer than limit.
template <class LineStart, class Visit>
void ForEachLongLine(std::int64_t first, std::int64_t last, std::int64_t limit, LineStart&& lineStart, Visit&& visit)
{
    if (first > last)
        return;
    const std::int64_t lo = lineStart(first);
    const std::int64_t hi = lineStart(last + 1);
    if (hi - lo <= limit)
        return;
    if (first == last) {
        visit(first, lo, hi);
        return;
    }
    const std::int64_t mid = first + (last - first) / 2;
    ForEachLongLine(first, mid, limit, lineStart, visit);
    ForEachLongLine(mid + 1, last, limit, lineStart, visit);
}
