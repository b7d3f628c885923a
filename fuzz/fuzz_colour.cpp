// The colouring engine on any bytes, each part checked against what must hold:
// - the tokenizer, with each of the three keyword tables, gives exactly the
//   tokens of the plain transcription of its rules;
// - the region split with the PHP and HTML colourers, seen through a recorder,
//   applies the same ranges as the plain transcription of PHP's reading of
//   tags, strings, heredocs and comments, in one pass, every range inside the
//   text;
// - the whole pass's runs cover the text in order with valid slots;
// - an incremental pass after an edit gives the slots of a whole pass, by the
//   flat rules and by the grammars (whose whole pass also gives every byte a
//   slot and colours tags as the flat pass does).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ChangeSet.h"
#include "HtmlTokenizer.h"
#include "IncrementalColourer.h"
#include "PHPRegionTokenizer.h"
#include "PHPTokenizer.h"
#include "SlotBuffer.h"
#include "StyleRecorder.h"
#include "StyleSlot.h"
#include "../tests/colour/TokenizerReference.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckTokens(CTokenizer& tokenizer, const std::string& text)
{
    tokenizer.Tokenize(text);
    const std::vector<CToken> expected = TokenizerReference::Reference(tokenizer.Keywords(), text);
    const auto tokens = tokenizer.Tokens();
    Check(tokens.size() == expected.size());
    for (std::size_t k = 0; k < tokens.size(); ++k)
        Check(tokens[k].m_nKind == expected[k].m_nKind && tokens[k].m_nStart == expected[k].m_nStart &&
              tokens[k].m_nEnd == expected[k].m_nEnd);
}

void CheckRegionSplit(const std::string& text)
{
    CStyleRecorder engine(text), reference(text);
    CPHPRegionTokenizer(engine).Recolour();
    TokenizerReference::ReferenceSplit(reference, text);
    const auto n = static_cast<std::int32_t>(text.size());
    const auto& log = engine.Log();
    Check(!log.empty() && log.front() == "begin" && log.back() == "end");
    Check(std::count(log.begin(), log.end(), "begin") == 1 && std::count(log.begin(), log.end(), "end") == 1);
    for (const CStyleRecorder::Call& call : engine.Calls())
        Check(call.start >= 0 && call.start <= call.end && call.end <= n && call.slot >= 0 &&
              call.slot < kSlotCount);
    Check(engine.Calls() == reference.Calls());
}

void CheckRuns(std::string_view text)
{
    std::int64_t next = 0;
    for (const CSlotRun& run : ColourRuns(text)) {
        Check(run.start == next && run.end > run.start && run.end <= static_cast<std::int64_t>(text.size()) &&
              run.slot >= 0 && run.slot < kSlotCount);
        next = run.end;
    }
    Check(next == static_cast<std::int64_t>(text.size()));
}

// The grammar pass gives every byte a slot, and the tags the flat pass's
// (the "=" of "<?=" belongs to its tag).
void CheckGrammarPass(const std::string& text)
{
    const std::vector<std::uint8_t> flat = ColourBytes(text);
    const std::vector<std::uint8_t> grammar = ColourBytes(text, ColourRules::Grammar);
    Check(grammar.size() == text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        Check(grammar[i] < kSlotCount &&
              ((flat[i] == SLOT_PHP_DELIMITER) == (grammar[i] == SLOT_PHP_DELIMITER) ||
               (i >= 2 && text.compare(i - 2, 3, "<?=") == 0 && flat[i - 1] == SLOT_PHP_DELIMITER)));
}

// The first two bytes choose an edit of the rest: where, how much to delete,
// and how many of the text's own bytes to insert there again.
void CheckIncremental(std::string text, std::uint8_t where, std::uint8_t how, ColourRules rules)
{
    const auto whole = [rules](const std::string& t) {
        return rules == ColourRules::Flat ? ColourBytes(t) : ColourBytes(t, rules);
    };
    CIncrementalColourer colourer(64, rules);
    std::vector<std::uint8_t> styles = colourer.Update(text, [] {
        CChangeSet all;
        all.MarkAll();
        return all;
    }()).front().slotBytes;
    Check(styles == whole(text));

    const std::size_t pos = text.empty() ? 0 : where * text.size() / 256;
    const std::size_t erase = std::min<std::size_t>(how & 15, text.size() - pos);
    const std::string insert = text.substr(0, how >> 4);
    CChangeSet change;
    text.erase(pos, erase);
    styles.erase(styles.begin() + static_cast<std::ptrdiff_t>(pos),
                 styles.begin() + static_cast<std::ptrdiff_t>(pos + erase));
    change.Delete(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(erase));
    text.insert(pos, insert);
    styles.insert(styles.begin() + static_cast<std::ptrdiff_t>(pos), insert.size(), 0);
    change.Insert(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(insert.size()));

    for (const CIncrementalColourer::Window& w : colourer.Update(text, change)) {
        if (w.all) {
            styles = w.slotBytes;
            continue;
        }
        Check(w.start >= 0 && w.start + static_cast<std::int64_t>(w.slotBytes.size()) <=
                                  static_cast<std::int64_t>(styles.size()));
        std::copy(w.slotBytes.begin(), w.slotBytes.end(), styles.begin() + static_cast<std::ptrdiff_t>(w.start));
    }
    Check(styles == whole(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    CStyleRecorder unused;
    CPHPTokenizer php(unused);
    CHtmlTokenizer html(unused);
    CPHPRegionTokenizer region(unused);
    CheckTokens(php, text);
    CheckTokens(html, text);
    CheckTokens(region, text);

    CheckRegionSplit(text);
    CheckRuns(text);
    if (size >= 2) {
        CheckIncremental(text.substr(2), data[0], data[1], ColourRules::Flat);
        CheckIncremental(text.substr(2), data[0], data[1], ColourRules::Grammar);
    }
    CheckGrammarPass(text);
    return 0;
}
