// Regular-expression search over a whole text with bounded backtracking:
// every match is found with the entire text as its context, and a pattern
// that needs more work than the engine's limits allow, or more time than a
// search may take, says so instead of running away (PCRE2 keeps its
// backtracking on the heap, not on the stack).
#pragma once

#include <QRegularExpression>
#include <QString>
#include <functional>

enum class SearchOutcome { Found, NotFound, TooComplex, BadPattern };

struct CSearchPattern
{
    QString strText;
    bool bMatchCase = false;
    bool bWholeWord = false;
    bool bRegExp = false;
    // Empty matches are passed over (for lists of matches, where one says nothing).
    bool bNonEmpty = false;
};

// A piece of a replacement text: a text as it is, or a group of the match.
struct CReplacementPart
{
    QString strText;   // taken as it is when nGroup < 0
    int nGroup = -1;
};

namespace TextSearch {

// Work the engine may spend on one match attempt, and the memory it may take
// for backtracking: far beyond what a sensible search needs on any text.
constexpr int kMatchLimit = 10'000'000;
constexpr int kDepthLimit = 1'000'000;
constexpr int kHeapLimitKiB = 256 * 1024;
// Time a search may go on without finding the next match before it gives
// up as too complex: the limits above bound the work at one place in the
// text, this bounds the sum over all places.
constexpr int kTimeLimitMs = 10'000;

// Start positions a long search tries at a time, between looks at the time.
constexpr qsizetype kStretchUnits = 32 * 1024;
// Tests search in stretches of a few units, or with less time.
void SetStretchForTests(qsizetype units, int timeLimitMs = kTimeLimitMs);

// The expression for a search: the text itself or a regular expression, in a
// whole word or anywhere, with or without regard to case; ^ and $ at every
// line break (LF, CR or CRLF), \w and \b with Unicode's word characters.
// Invalid when the regular expression does not compile (its error says why).
QRegularExpression Build(const CSearchPattern& pattern);

// The first match that starts at or after from. With notEmptyAtFrom, an
// empty match right at from does not count (the search goes on from there).
SearchOutcome Forward(const QRegularExpression& re, const QString& text, qsizetype from, bool notEmptyAtFrom,
                      QRegularExpressionMatch* found);

// The match that starts last before `before` and ends at or before it.
SearchOutcome Backward(const QRegularExpression& re, const QString& text, qsizetype before,
                       QRegularExpressionMatch* found);

// The successive matches from `from` on, as global matching finds them
// (after an empty match, a non-empty one at the same place, else one
// character further); each goes to onMatch until it returns false.
SearchOutcome ForEach(const QRegularExpression& re, const QString& text, qsizetype from,
                      const std::function<bool(const QRegularExpressionMatch&)>& onMatch);

// A replacement text in parts: \0..\9 stand for the match and its groups
// (empty when a group took no part), \n \r \t for line feed, carriage return
// and tab, \\ for a backslash; anything else is taken as written.
QList<CReplacementPart> ParseReplacement(const QString& replacement);


} // namespace TextSearch
