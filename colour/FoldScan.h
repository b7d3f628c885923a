// The nesting of a page line by line, for folding: braces of PHP code (not
// those in strings or comments) and the elements of its HTML parts (not void
// elements, nor those whose end tag HTML lets authors leave out), with the
// PHP regions split as RegionLexer splits them. Resumable like the colouring
// scan: it can start at an anchor (a line start where the split rests, with
// the scan's state there) and stop where its state agrees with an anchor of
// an earlier scan over the same bytes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// What one line does to the nesting: the depth after it minus the depth
// before it, and the least depth within it (the line's start included)
// minus the depth before it, never above 0.
struct CFoldLine {
    std::int32_t net = 0;
    std::int32_t low = 0;
    bool operator==(const CFoldLine&) const = default;
};

struct CFoldAnchor {
    std::int64_t pos = 0;     // a line start
    std::int64_t line = 0;    // its line number
    std::uint16_t state = 0;  // the scan's state there
    bool operator==(const CFoldAnchor&) const = default;
};

class CFoldScan {
public:
    CFoldScan(std::string_view text, std::int64_t spacing);

    // Scans from `from` on, as CColourScan::Run does: stops at the first of
    // targets (anchors of an earlier scan, moved to this text's positions;
    // their lines are those of the earlier scan and are not compared) at or
    // after minStop that it reaches at a line start in the same state;
    // otherwise runs to the end. Lines() are then the lines from from.line to
    // the stop's line (or every line to the end), Found() the anchors in
    // between, StoppedAt() the index of the target or -1, and StopLine() the
    // line number the stop has in this text.
    void Run(const CFoldAnchor& from, const std::vector<CFoldAnchor>& targets, std::int64_t minStop);

    const std::vector<CFoldLine>& Lines() const { return m_lines; }
    std::vector<CFoldLine> TakeLines() { return std::move(m_lines); }
    const std::vector<CFoldAnchor>& Found() const { return m_found; }
    std::int64_t StoppedAt() const { return m_nStoppedAt; }
    std::int64_t StopLine() const { return m_nStopLine; }

private:
    struct Stop {};
    void To(std::int64_t pos, bool rest);
    void Delta(std::int64_t pos, int d);
    void LineStart(std::int64_t pos, bool rest);
    void Html(std::int64_t i, std::int64_t j);
    void Php(std::int64_t i, std::int64_t j);
    std::int64_t TagName(std::int64_t i, std::int64_t j, int* kind) const;

    std::string_view m_text;
    const unsigned char* m_p;
    std::int64_t m_n;
    std::int64_t m_nSpacing;
    std::uint16_t m_state = 0;
    std::int64_t m_nAt = 0;   // the line cursor: line starts before it are done
    CFoldLine m_line;         // the line being scanned
    std::int64_t m_nLine = 0; // its number
    std::int64_t m_nNextAnchor = 0;
    const std::vector<CFoldAnchor>* m_pTargets = nullptr;
    std::size_t m_nTarget = 0;
    std::int64_t m_nMinStop = 0;
    std::vector<CFoldLine> m_lines;
    std::vector<CFoldAnchor> m_found;
    std::int64_t m_nStoppedAt = -1;
    std::int64_t m_nStopLine = 0;
};
