#include "TextSearch.h"

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

// The same expression that takes no empty match where the attempt starts.
QRegularExpression NotEmptyAtStart(const QRegularExpression& re)
{
    return QRegularExpression(QStringLiteral("(*NOTEMPTY_ATSTART)") + re.pattern(), re.patternOptions());
}

} // namespace

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
                   qsizetype from, bool notEmptyAtFrom, QRegularExpressionMatch* found)
{
    if (from > text.size())
        return SearchOutcome::NotFound;
    QRegularExpressionMatch m;
    if (notEmptyAtFrom) {
        m = notEmptyRe.match(text, from, QRegularExpression::NormalMatch,
                             QRegularExpression::AnchorAtOffsetMatchOption);
        if (m.isValid() && !m.hasMatch()) {
            if (from == text.size())
                return SearchOutcome::NotFound;
            m = re.match(text, NextPosition(text, from));
        }
    } else {
        m = re.match(text, from);
    }
    // A match that is not valid is the engine giving up at one of its limits.
    if (!m.isValid())
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
        Step(re, notEmptyAtFrom ? NotEmptyAtStart(re) : QRegularExpression(), text, from, notEmptyAtFrom, &m);
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
    qsizetype window = 4096;
    qsizetype stretchEnd = before;
    while (stretchEnd > 0) {
        qsizetype start = std::max<qsizetype>(0, stretchEnd - window);
        if (start > 0 && text.at(start).isLowSurrogate())
            --start;
        QRegularExpressionMatch best;
        for (qsizetype pos = start; pos < stretchEnd;) {
            QRegularExpressionMatch m = re.match(text, pos);
            if (!m.isValid())
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
    bool any = false;
    bool afterEmpty = false;
    qsizetype pos = from;
    for (;;) {
        QRegularExpressionMatch m;
        const SearchOutcome outcome = Step(re, notEmptyRe, text, pos, afterEmpty, &m);
        if (outcome == SearchOutcome::TooComplex)
            return outcome;
        if (outcome != SearchOutcome::Found)
            break;
        any = true;
        if (!onMatch(m))
            break;
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
