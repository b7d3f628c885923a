// The whole-text colouring pass as a resumable scan: it can start at a
// checkpoint (a line start outside any string or tag, with the region split's
// state there), records new checkpoints as it goes, and can stop where its
// state agrees with a checkpoint of an earlier pass over the same bytes. It
// colours by one of two rule sets: the flat colourers' or the grammars'.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

struct CColourCheckpoint {
    std::int64_t pos;        // a line start (the byte before it is LF) where the region split rests
    bool inPhp;              // whether the region split is inside a PHP region there
    std::uint32_t state = 0; // the grammars' whole state there (0 for the flat rules, whose
                             // checkpoints are outside their strings)
    bool operator==(const CColourCheckpoint&) const = default;
};

enum class ColourRules { Flat, Grammar };

class CColourScan {
public:
    // text: the whole text; spacing: the least distance between checkpoints.
    CColourScan(std::string_view text, std::int64_t spacing, ColourRules rules = ColourRules::Flat);

    // Colours from `from` (a checkpoint of this text, or {0, false}) on. Stops
    // at the first of targets (checkpoints of an earlier pass, moved to this
    // text's positions, in order) at or after minStop whose position the scan
    // passes outside any token with the same state; otherwise runs to the end.
    // Returns where it stopped; the slots of [from.pos, stop) are in Slots(),
    // the checkpoints found in (from.pos, stop) in Found().
    std::int64_t Run(CColourCheckpoint from, const std::vector<CColourCheckpoint>& targets, std::int64_t minStop);

    // The slot of every byte of [from.pos, stop), first byte first.
    const std::vector<std::uint8_t>& Slots() const { return m_slots; }
    std::vector<std::uint8_t> TakeSlots() { return std::move(m_slots); }
    const std::vector<CColourCheckpoint>& Found() const { return m_found; }
    // Index into targets of the checkpoint the scan stopped at, or -1.
    std::int64_t StoppedAt() const { return m_nStoppedAt; }

private:
    std::int64_t RunGrammar(CColourCheckpoint from, const std::vector<CColourCheckpoint>& targets, std::int64_t minStop);
    void Fill(int slot, std::int64_t from, std::int64_t to);

    std::string_view m_text;
    std::int64_t m_nSpacing;
    ColourRules m_rules;
    std::int64_t m_nBase = 0;
    std::vector<std::uint8_t> m_slots;
    std::vector<CColourCheckpoint> m_found;
    std::int64_t m_nStoppedAt = -1;
};
