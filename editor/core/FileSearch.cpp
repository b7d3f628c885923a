#include "FileSearch.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "FileEncoding.h"
#include "TextSearch.h"

#include <algorithm>

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

CFileSearchSummary SearchTree(const QString& root, const CFileSearchOptions& options,
                              const std::atomic<bool>& stop,
                              const std::function<void(const CFileMatch&)>& onMatch,
                              const std::function<void(int)>& onProgress)
{
    CFileSearchSummary summary;
    const QRegularExpression expression = BuildExpression(options);
    if (options.strText.isEmpty() || !expression.isValid())
        return summary;
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
        // The text as the editor would show it, GB18030 files included.
        const QString text = QString::fromUtf8(FileEncoding::Decode(bytes).text);
        bool tooComplex = false;
        for (const CFileMatch& m : SearchText(path, text, expression, &tooComplex)) {
            ++summary.nMatches;
            onMatch(m);
        }
        if (tooComplex)
            ++summary.nFilesTooComplex;
        ++summary.nFilesSearched;
        if (onProgress && summary.nFilesSearched % 50 == 0)
            onProgress(summary.nFilesSearched);
    }
    if (onProgress)
        onProgress(summary.nFilesSearched);
    return summary;
}

} // namespace FileSearch
