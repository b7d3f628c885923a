// The styles of a whole-text pass that an editor has not been given yet, kept
// so that they can be handed over a slice at a time while the window stays
// responsive. The pass's slots stay in the coordinates of the text they were
// made for; the stretches still to give are moved through the edits made
// since, and those edits' own bytes are left to the colourer's next pass.
#pragma once

#include "ChangeSet.h"

#include <cstdint>
#include <vector>

class CStyleFeed {
public:
    explicit CStyleFeed(std::vector<std::uint8_t> slotBytes);

    // What the text's edits do to the stretches still to give: bytes
    // inserted or deleted are given by the colourer, not by the feed.
    void Insert(std::int64_t pos, std::int64_t length);
    void Delete(std::int64_t pos, std::int64_t length);
    // Every edit of change at once (the edits made before the feed began).
    void Apply(const CChangeSet& change);
    // [start, start + length) has been given its styles by other means.
    void Cover(std::int64_t start, std::int64_t length);

    struct Piece {
        std::int64_t start = 0; // in the current text
        const std::uint8_t* bytes = nullptr; // the pass's slots for them
        std::int64_t length = 0;
    };
    // Takes up to most bytes still to give: from near on if any are there
    // (the text on screen first, then what follows it), else the first ones.
    // An empty piece when all have been given. Valid until the next call.
    Piece Take(std::int64_t near, std::int64_t most);

    bool Done() const { return m_stretches.empty(); }
    std::int64_t Left() const;

private:
    struct Stretch {
        std::int64_t start;  // in the current text
        std::int64_t source; // in the pass's slots
        std::int64_t length;
        std::int64_t End() const { return start + length; }
    };
    // Takes [lo, hi) of the current text out of the stretches.
    void Remove(std::int64_t lo, std::int64_t hi);

    std::vector<std::uint8_t> m_slots;
    std::vector<Stretch> m_stretches; // in text order, disjoint
};
