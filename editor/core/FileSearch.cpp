#include "FileSearch.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "FileEncoding.h"

#include <algorithm>

namespace FileSearch {

QRegularExpression BuildExpression(const CFileSearchOptions& options)
{
    QString pattern = options.bRegExp ? options.strText : QRegularExpression::escape(options.strText);
    if (options.bWholeWord)
        pattern = QStringLiteral("\\b(?:%1)\\b").arg(pattern);
    QRegularExpression::PatternOptions flags = QRegularExpression::UseUnicodePropertiesOption;
    if (!options.bMatchCase)
        flags |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(pattern, flags);
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

QList<CFileMatch> SearchText(const QString& path, const QString& text, const QRegularExpression& expression)
{
    QList<CFileMatch> matches;
    // Most files hold no match: one search of the whole text says so, and only
    // a file with a match is gone through line by line.
    const QRegularExpressionMatch any = expression.match(text);
    if (!any.hasMatch())
        return matches;
    int lineNo = static_cast<int>(QStringView(text).left(any.capturedStart()).count(u'\n'));
    qsizetype start = any.capturedStart() == 0 ? 0 : text.lastIndexOf(u'\n', any.capturedStart() - 1) + 1;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        ++lineNo;
        QStringView line = QStringView(text).mid(start, end - start);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QRegularExpressionMatch m = expression.match(line);
        if (m.hasMatch() && m.capturedLength() > 0) {
            CFileMatch match;
            match.strPath = path;
            match.nLine = lineNo;
            match.nColumn = static_cast<int>(m.capturedStart());
            match.nLength = static_cast<int>(m.capturedLength());
            match.strText = line.left(kMaxLineChars).toString();
            matches << match;
        }
        if (end == text.size())
            break;
        start = end + 1;
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
        for (const CFileMatch& m : SearchText(path, text, expression)) {
            ++summary.nMatches;
            onMatch(m);
        }
        ++summary.nFilesSearched;
        if (onProgress && summary.nFilesSearched % 50 == 0)
            onProgress(summary.nFilesSearched);
    }
    if (onProgress)
        onProgress(summary.nFilesSearched);
    return summary;
}

} // namespace FileSearch
