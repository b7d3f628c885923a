#include "FileSearch.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "FileEncoding.h"
#include "LiteralSearch.h"
#include "TextSearch.h"

#include <algorithm>
#include <cstring>

namespace FileSearch {

QRegularExpression BuildExpression(const CFileSearchOptions& options)
{
    CSearchPattern pattern = options;
    pattern.bNonEmpty = true;   // an empty match shows nothing in the list
    return TextSearch::Build(pattern);
}

QStringList SplitPatterns(const QString& patterns)
{
    QStringList out;
    for (const QString& p : patterns.split(u';'))
        if (!p.trimmed().isEmpty())
            out << p.trimmed();
    return out;
}

bool LooksLikeText(const QByteArray& head)
{
    return !head.left(8192).contains('\0');
}

QList<CFileMatch> SearchText(const QString& path, const QString& text, const QRegularExpression& expression,
                             bool* tooComplex)
{
    QList<CFileMatch> matches;
    if (tooComplex)
        *tooComplex = false;
    // Each search runs over the whole text, so what stands before and after a
    // match counts as it does in the editor; after a match the search goes on
    // at the next line, one report a line.
    qsizetype from = 0;
    qsizetype counted = 0;   // lines are counted up to here
    int lineNo = 1;
    while (from <= text.size()) {
        QRegularExpressionMatch m;
        const SearchOutcome outcome = TextSearch::Forward(expression, text, from, false, &m);
        if (outcome == SearchOutcome::TooComplex && tooComplex)
            *tooComplex = true;
        if (outcome != SearchOutcome::Found)
            break;
        const qsizetype at = m.capturedStart();
        lineNo += static_cast<int>(QStringView(text).mid(counted, at - counted).count(u'\n'));
        counted = at;
        const qsizetype lineStart = at == 0 ? 0 : text.lastIndexOf(u'\n', at - 1) + 1;
        qsizetype lineEnd = text.indexOf(u'\n', at);
        if (lineEnd < 0)
            lineEnd = text.size();
        QStringView line = QStringView(text).mid(lineStart, lineEnd - lineStart);
        if (line.endsWith(u'\r'))
            line.chop(1);
        CFileMatch match;
        match.strPath = path;
        match.nLine = lineNo;
        match.nColumn = static_cast<int>(at - lineStart);
        match.nLength = static_cast<int>(m.capturedLength());
        match.strText = line.left(kMaxLineChars).toString();
        matches << match;
        from = lineEnd + 1;
    }
    return matches;
}

static QList<CFileMatch> SearchBytes(const QString& path, const QByteArray& bytes, const CLiteralSearch& literal)
{
    // The same reports SearchText gives for the decoded text, found in the
    // UTF-8 bytes: a line per report, columns and lengths in UTF-16 units.
    QList<CFileMatch> matches;
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype from = 0;
    qsizetype counted = 0;
    int lineNo = 1;
    for (;;) {
        const qsizetype at = literal.Find(data, size, from);
        if (at < 0)
            break;
        lineNo += static_cast<int>(std::count(data + counted, data + at, '\n'));
        counted = at;
        const void* before = at == 0 ? nullptr : memrchr(data, '\n', at);
        const qsizetype lineStart = before ? static_cast<const char*>(before) - data + 1 : 0;
        const void* after = memchr(data + at, '\n', size - at);
        const qsizetype lineEnd = after ? static_cast<const char*>(after) - data : size;
        qsizetype shown = lineEnd - lineStart;
        if (shown > 0 && data[lineStart + shown - 1] == '\r')
            --shown;
        // Enough bytes for the characters shown, whatever their width.
        const qsizetype cut = std::min<qsizetype>(shown, 4 * kMaxLineChars + 4);
        CFileMatch match;
        match.strPath = path;
        match.nLine = lineNo;
        match.nColumn = static_cast<int>(CLiteralSearch::Utf16Length(data + lineStart, at - lineStart));
        match.nLength = static_cast<int>(literal.Length());
        match.strText = QString::fromUtf8(data + lineStart, cut).left(kMaxLineChars);
        matches << match;
        if (!after)
            break;
        from = lineEnd + 1;
    }
    return matches;
}

CFileSearchSummary SearchTree(const QString& root, const CFileSearchOptions& options,
                              const std::atomic<bool>& stop,
                              const std::function<void(const CFileMatch&)>& onMatch,
                              const std::function<void(int)>& onProgress)
{
    CFileSearchSummary summary;
    const QRegularExpression expression = BuildExpression(options);
    if (options.strText.isEmpty() || !expression.isValid())
        return summary;
    const CLiteralSearch literal(options.bRegExp ? QString() : options.strText, options.bMatchCase);
    QDirIterator it(root, SplitPatterns(options.strPatterns), QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (stop.load()) {
            summary.bStopped = true;
            break;
        }
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QFile file(path);
        if (info.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly)) {
            ++summary.nFilesSkipped;
            continue;
        }
        // Read what the file holds (a file growing meanwhile is cut at the limit);
        // asking for the limit itself would reserve 50 MB for every file.
        const QByteArray bytes = file.read(std::min(info.size(), kMaxFileBytes) + 1);
        if (bytes.size() > kMaxFileBytes || !LooksLikeText(bytes)) {
            ++summary.nFilesSkipped;
            continue;
        }
        ++summary.nFilesSearched;
        if (onProgress && summary.nFilesSearched % 50 == 0)
            onProgress(summary.nFilesSearched);
        // A plain text is first looked for in the bytes: most files hold no
        // match and need no decoding; plain UTF-8 is searched there entirely.
        if (literal.IsUsable()) {
            const bool hit = literal.Find(bytes.constData(), bytes.size(), 0) >= 0;
            if (!hit && !literal.CanFoldBeyondAscii())
                continue;
            const bool utf8 = !bytes.startsWith("\xEF\xBB\xBF")
                              && FileEncoding::IsValidUtf8(bytes.constData(), bytes.size());
            const bool beyond = literal.MayMatchBeyondBytes(bytes, utf8);
            if (!hit && !beyond)
                continue;
            if (utf8 && !beyond && !options.bWholeWord) {
                for (const CFileMatch& m : SearchBytes(path, bytes, literal)) {
                    ++summary.nMatches;
                    onMatch(m);
                }
                continue;
            }
        }
        // The text as the editor would show it, GB18030 files included.
        const QString text = QString::fromUtf8(FileEncoding::Decode(bytes).text);
        bool tooComplex = false;
        for (const CFileMatch& m : SearchText(path, text, expression, &tooComplex)) {
            ++summary.nMatches;
            onMatch(m);
        }
        if (tooComplex)
            ++summary.nFilesTooComplex;
    }
    if (onProgress)
        onProgress(summary.nFilesSearched);
    return summary;
}

} // namespace FileSearch
