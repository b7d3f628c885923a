#include "TextSearch.h"

#include <QDeadlineTimer>

#include <algorithm>

namespace TextSearch {

namespace {

// Options a pattern may set at its very start, "(*UTF)", "(*LIMIT_HEAP=9)" and
// the like; ours go after them, since a later setting of a limit wins.
qsizetype LeadingSettingsLength(const QString& pattern)
{
    static const QRegularExpression settings(QStringLiteral("^(?:\\(\\*[A-Z_]+(?:=\\d*)?\\))*"));
    return settings.match(pattern).capturedLength();
}

// Step past the character at pos; a CRLF line break counts as one, as in
// global matching with these line breaks.
qsizetype NextPosition(const QString& text, qsizetype pos)
{
    ++pos;
    if (pos < text.size() && ((text.at(pos - 1) == u'\r' && text.at(pos) == u'\n') || text.at(pos).isLowSurrogate()))
        ++pos;
    return pos;
}

qsizetype g_chunk = kStretchUnits;
int g_timeLimitMs = kTimeLimitMs;

// Whether a search may go through the text in stretches: not when the
// pattern asks where the search started (\G) or holds verbs such as (*COMMIT)
// that act on the whole search; a false alarm only costs the stretches.
bool CanGoInStretches(const QString& pattern)
{
    return !pattern.contains(QStringLiteral("\\G")) && !pattern.mid(LeadingSettingsLength(pattern)).contains(u"(*");
}

bool IsLineBreak(QChar c) { return c == u'\n' || c == u'\r'; }

// Options for the searches of one text: the engine checks a subject's UTF-16
// at every search unless told not to, which over many searches of a large
// text costs more than the searches; so the text is checked here once.
QRegularExpression::MatchOptions OptionsFor(const QString& text)
{
    const auto* p = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (QChar::isHighSurrogate(p[i]) && i + 1 < n && QChar::isLowSurrogate(p[i + 1]))
            ++i;
        else if (QChar::isSurrogate(p[i]))
            return QRegularExpression::NoMatchOption;   // the engine will refuse it
    }
    return QRegularExpression::DontCheckSubjectStringMatchOption;
}

// The first match at or after from, as re.match(text, from) finds it, but
// searched a stretch of start positions at a time: the engine bounds the work
// at one start, not the sum over millions of them, so the time is watched
// between stretches. A stretch's search sees all the text before it and the
// stretch itself; a match found there is the one the whole text gives when
// the engine never reached the stretch's end (hard partial matching tells),
// and otherwise the stretch is searched again with more text after it.
QRegularExpressionMatch MatchFrom(const QRegularExpression& re, const QString& text, qsizetype from,
                                  QRegularExpression::MatchOptions options, const QDeadlineTimer& deadline,
                                  bool* outOfTime)
{
    if (!CanGoInStretches(re.pattern()))
        return re.match(text, from, QRegularExpression::NormalMatch, options);
    qsizetype width = g_chunk;
    for (;;) {
        qsizetype end = std::min(text.size(), from + width);
        // Not just after a line break (where ^ would fail for want of text)
        // nor inside a surrogate pair.
        while (end < text.size() && (IsLineBreak(text.at(end - 1)) || text.at(end).isLowSurrogate()))
            ++end;
        if (end >= text.size())
            return re.match(text, from, QRegularExpression::NormalMatch, options);
        QRegularExpressionMatch m =
            re.match(QStringView(text).left(end), from, QRegularExpression::PartialPreferFirstMatch, options);
        if (!m.isValid() || m.hasMatch())
            return m;
        if (m.hasPartialMatch())
            width *= 2;
        else
            from = end;
        if (deadline.hasExpired()) {
            *outOfTime = true;
            return m;
        }
    }
}

// The same expression that takes no empty match where the attempt starts.
QRegularExpression NotEmptyAtStart(const QRegularExpression& re)
{
    return QRegularExpression(QStringLiteral("(*NOTEMPTY_ATSTART)") + re.pattern(), re.patternOptions());
}

} // namespace

void SetStretchForTests(qsizetype units, int timeLimitMs)
{
    g_chunk = units;
    g_timeLimitMs = timeLimitMs;
}

QRegularExpression Build(const CSearchPattern& pattern)
{
    QRegularExpression::PatternOptions flags =
        QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption;
    if (!pattern.bMatchCase)
        flags |= QRegularExpression::CaseInsensitiveOption;
    QString own = pattern.bRegExp ? pattern.strText : QRegularExpression::escape(pattern.strText);
    if (pattern.bRegExp) {
        // An error is reported for the pattern as the user wrote it.
        QRegularExpression plain(own, flags);
        if (!plain.isValid())
            return plain;
    }
    const qsizetype lead = pattern.bRegExp ? LeadingSettingsLength(own) : 0;
    QString full = own.left(lead);
    full += QStringLiteral("(*LIMIT_MATCH=%1)(*LIMIT_DEPTH=%2)(*LIMIT_HEAP=%3)(*ANYCRLF)")
                .arg(kMatchLimit)
                .arg(kDepthLimit)
                .arg(kHeapLimitKiB);
    if (pattern.bNonEmpty)
        full += QStringLiteral("(*NOTEMPTY)");
    own.remove(0, lead);
    // \E closes a \Q the pattern may leave open, so the group closes as meant.
    full += pattern.bWholeWord ? QStringLiteral("\\b(?:%1\\E)\\b").arg(own) : own;
    return QRegularExpression(full, flags);
}

namespace {

// One step of a forward search: the first match at or after from, after an
// empty match at from a non-empty one there or any one character on.
SearchOutcome Step(const QRegularExpression& re, const QRegularExpression& notEmptyRe, const QString& text,
                   qsizetype from, bool notEmptyAtFrom, QRegularExpression::MatchOptions options,
                   const QDeadlineTimer& deadline, QRegularExpressionMatch* found)
{
    bool outOfTime = false;
    if (from > text.size())
        return SearchOutcome::NotFound;
    QRegularExpressionMatch m;
    if (notEmptyAtFrom) {
        m = notEmptyRe.match(text, from, QRegularExpression::NormalMatch,
                             options | QRegularExpression::AnchorAtOffsetMatchOption);
        if (m.isValid() && !m.hasMatch()) {
            if (from == text.size())
                return SearchOutcome::NotFound;
            m = MatchFrom(re, text, NextPosition(text, from), options, deadline, &outOfTime);
        }
    } else {
        m = MatchFrom(re, text, from, options, deadline, &outOfTime);
    }
    // A match that is not valid is the engine giving up at one of its limits.
    if (!m.isValid() || outOfTime)
        return SearchOutcome::TooComplex;
    if (!m.hasMatch())
        return SearchOutcome::NotFound;
    *found = m;
    return SearchOutcome::Found;
}

} // namespace

SearchOutcome Forward(const QRegularExpression& re, const QString& text, qsizetype from, bool notEmptyAtFrom,
                      QRegularExpressionMatch* found)
{
    if (!re.isValid())
        return SearchOutcome::BadPattern;
    QRegularExpressionMatch m;
    const SearchOutcome outcome =
        Step(re, notEmptyAtFrom ? NotEmptyAtStart(re) : QRegularExpression(), text, from, notEmptyAtFrom,
             OptionsFor(text), QDeadlineTimer(g_timeLimitMs), &m);
    if (found && outcome == SearchOutcome::Found)
        *found = m;
    return outcome;
}

SearchOutcome Backward(const QRegularExpression& re, const QString& text, qsizetype before,
                       QRegularExpressionMatch* found)
{
    if (!re.isValid())
        return SearchOutcome::BadPattern;
    before = std::min(before, text.size());
    // Matches are only found forward: try every start in a stretch before
    // `before`, the stretch doubling until one is found or the text's start.
    const QDeadlineTimer deadline(g_timeLimitMs);
    const QRegularExpression::MatchOptions options = OptionsFor(text);
    qsizetype window = 4096;
    qsizetype stretchEnd = before;
    while (stretchEnd > 0) {
        qsizetype start = std::max<qsizetype>(0, stretchEnd - window);
        if (start > 0 && text.at(start).isLowSurrogate())
            --start;
        QRegularExpressionMatch best;
        for (qsizetype pos = start; pos < stretchEnd;) {
            bool outOfTime = false;
            QRegularExpressionMatch m = MatchFrom(re, text, pos, options, deadline, &outOfTime);
            if (!m.isValid() || outOfTime)
                return SearchOutcome::TooComplex;
            // Starts from stretchEnd on were tried with the previous stretch.
            if (!m.hasMatch() || m.capturedStart() >= stretchEnd)
                break;
            if (m.capturedEnd() <= before)
                best = m;
            pos = NextPosition(text, m.capturedStart());
        }
        if (best.hasMatch()) {
            if (found)
                *found = best;
            return SearchOutcome::Found;
        }
        stretchEnd = start;
        window *= 2;
    }
    return SearchOutcome::NotFound;
}

SearchOutcome ForEach(const QRegularExpression& re, const QString& text, qsizetype from,
                      const std::function<bool(const QRegularExpressionMatch&)>& onMatch)
{
    if (!re.isValid())
        return SearchOutcome::BadPattern;
    const QRegularExpression notEmptyRe = NotEmptyAtStart(re);
    QDeadlineTimer deadline(g_timeLimitMs);
    const QRegularExpression::MatchOptions options = OptionsFor(text);
    bool any = false;
    bool afterEmpty = false;
    qsizetype pos = from;
    for (;;) {
        QRegularExpressionMatch m;
        const SearchOutcome outcome = Step(re, notEmptyRe, text, pos, afterEmpty, options, deadline, &m);
        if (outcome == SearchOutcome::TooComplex)
            return outcome;
        if (outcome != SearchOutcome::Found)
            break;
        any = true;
        if (!onMatch(m))
            break;
        // The time runs from the last match: a text with many matches may take
        // long, a search that finds nothing may not.
        deadline.setRemainingTime(g_timeLimitMs);
        pos = m.capturedEnd();
        afterEmpty = m.capturedLength() == 0;
    }
    return any ? SearchOutcome::Found : SearchOutcome::NotFound;
}

QList<CReplacementPart> ParseReplacement(const QString& replacement)
{
    QList<CReplacementPart> parts;
    QString pending;
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement.at(i);
        if (c != u'\\' || i + 1 == replacement.size()) {
            pending += c;
            continue;
        }
        const char16_t next = replacement.at(++i).unicode();
        if (next >= u'0' && next <= u'9') {
            if (!pending.isEmpty())
                parts.append({pending, -1});
            pending.clear();
            parts.append({QString(), next - u'0'});
        } else if (next == u'n') {
            pending += u'\n';
        } else if (next == u'r') {
            pending += u'\r';
        } else if (next == u't') {
            pending += u'\t';
        } else if (next == u'\\') {
            pending += u'\\';
        } else {
            pending += c;
            pending += QChar(next);
        }
    }
    if (!pending.isEmpty())
        parts.append({pending, -1});
    return parts;
}

} // namespace TextSearch
