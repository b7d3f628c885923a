// The fold level of every line of a text, kept current over edits: what the
// last scan found of each line and the scan's anchors; an update rescans
// only from the last anchor before each changed span until the scan agrees
// again with the last one, as the colouring does. The levels a control shows
// are set lazily: an update marks the lines whose level may have changed,
// and Apply sets those of a range of lines (the visible ones, or all).
#pragma once

#include "ChangeSet.h"
#include "FoldScan.h"

#include <functional>
#include <string_view>
#include <utility>
#include <vector>

class CFoldLevels {
public:
    static constexpr std::int64_t kSpacing = 4096;
    static constexpr int kBase = 0x400;       // the level of a line at depth 0
    static constexpr int kHeader = 0x2000;    // the line opens a fold
    static constexpr int kMaxDepth = 0xBFF;   // levels stop at kBase + kMaxDepth

    explicit CFoldLevels(std::int64_t spacing = kSpacing) : m_nSpacing(spacing) {}

    // Brings the levels to text, which is the text of the last update changed
    // as change says (or any text when change IsAll or there was none).
    void Update(std::string_view text, const CChangeSet& change);

    // The first byte the next Update with change reads.
    std::int64_t ReadsFrom(const CChangeSet& change) const;

    std::int64_t LineCount() const { return static_cast<std::int64_t>(m_lines.size()); }
    // The level of line (kBase + depth, with kHeader when it opens a fold).
    int Level(std::int64_t line);
    // Calls set(line, level) for every line of [from, to) whose level may
    // differ from the one last given for it, and forgets them.
    void Apply(std::int64_t from, std::int64_t to, const std::function<void(std::int64_t, int)>& set);
    bool AllApplied() const { return m_dirty.empty(); }

private:
    void Whole(std::string_view text);
    void MarkDirty(std::int64_t from, std::int64_t to);
    void ShiftDirty(std::int64_t after, std::int64_t by);
    void DepthTo(std::int64_t line);

    std::int64_t m_nSpacing;
    bool m_bValid = false;
    std::int64_t m_nLength = 0;
    std::vector<CFoldLine> m_lines;
    std::vector<CFoldAnchor> m_anchors; // after the text's start
    std::vector<std::int32_t> m_depth;  // the depth before each line, valid below m_nDepthTo
    std::int64_t m_nDepthTo = 0;
    std::vector<std::pair<std::int64_t, std::int64_t>> m_dirty; // line ranges, in order, disjoint
};
