// Keeps what the last colouring pass of a text found (the region split's
// state at line starts every few KB) so that the next pass rescans only from
// the last checkpoint before each change until its state agrees again with
// the last pass's; the slots it returns are those a whole-text pass would give.
#pragma once

#include "ChangeSet.h"
#include "ColourScan.h"

#include <string_view>
#include <vector>

class CIncrementalColourer {
public:
    static constexpr std::int64_t kSpacing = 4096;
    explicit CIncrementalColourer(std::int64_t spacing = kSpacing, ColourRules rules = ColourRules::Flat)
        : m_nSpacing(spacing), m_rules(rules)
    {
    }

    // The rules it colours by; new rules make the next pass whole.
    ColourRules Rules() const { return m_rules; }
    void SetRules(ColourRules rules)
    {
        m_bValid = m_bValid && rules == m_rules;
        m_rules = rules;
    }

    struct Window {
        std::int64_t start = 0;
        std::vector<std::uint8_t> slotBytes; // the slots of [start, start + slotBytes.size())
        bool all = false;                // a whole-text pass: the window is the text
    };

    // A whole-text pass, made apart from any colourer (on any thread), for a
    // text about to be given to an editor.
    struct Pass {
        std::int64_t length = 0;
        ColourRules rules = ColourRules::Flat;
        std::vector<CColourCheckpoint> checkpoints;
        std::vector<std::uint8_t> slotBytes;
    };
    static Pass WholePass(std::string_view text, std::int64_t spacing = kSpacing,
                          ColourRules rules = ColourRules::Flat);
    // Takes pass as this colourer's last pass; returns its window (all of it).
    Window Adopt(Pass&& pass);

    // Colours text, which is the text of the last pass changed as change
    // says (or any text when change IsAll or there was no pass). Outside the
    // windows (in text order, disjoint) the slots are the last pass's, moved
    // by the change. Each span of the change is rescanned from its own
    // checkpoint, so the work depends on the text near the spans only.
    std::vector<Window> Update(std::string_view text, const CChangeSet& change);

    // The first byte the next Update with change reads: the bytes before it
    // need not be at hand.
    std::int64_t ReadsFrom(const CChangeSet& change) const;

    const std::vector<CColourCheckpoint>& Checkpoints() const { return m_checkpoints; }

private:
    std::vector<Window> Whole(std::string_view text);

    std::int64_t m_nSpacing;
    ColourRules m_rules;
    bool m_bValid = false;
    std::int64_t m_nLength = 0;
    std::vector<CColourCheckpoint> m_checkpoints;
};
