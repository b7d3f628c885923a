// Searching the files of a folder tree for a text: the widget-free part of
// 在文件中查找, run off the user-interface thread.
#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

#include "TextSearch.h"

struct CFileSearchOptions : CSearchPattern
{
    QString strPatterns = DefaultPatterns();

    static QString DefaultPatterns() { return QStringLiteral("*.php;*.html;*.htm;*.js;*.css;*.inc"); }
};

struct CFileMatch
{
    QString strPath;
    int nLine = 0;       // from 1
    int nColumn = 0;     // characters before the match on its line
    int nLength = 0;     // characters of the match
    QString strText;     // the line, without its line break, cut when very long
};

struct CFileSearchSummary
{
    int nFilesSearched = 0;
    int nFilesSkipped = 0;   // binary, too large or unreadable
    int nMatches = 0;
    int nFilesTooComplex = 0;   // the regular expression hit the engine's limits there
    bool bStopped = false;
};

namespace FileSearch {

constexpr qint64 kMaxFileBytes = 50LL * 1024 * 1024;
constexpr int kMaxLineChars = 300;

// The expression the options stand for, as the editor's search builds it but
// passing over empty matches; invalid when a regular expression does not
// compile (its error says why).
QRegularExpression BuildExpression(const CFileSearchOptions& options);

// The ";"-separated wildcard patterns as a list (blanks trimmed, empty ones dropped).
QStringList SplitPatterns(const QString& patterns);

// Whether a file's bytes look like text: no NUL in the first 8 KB.
bool LooksLikeText(const QByteArray& head);

// The matches of expression in one decoded text, at most one report a line
// (the first match starting on it); tooComplex tells whether the expression
// hit the engine's limits, which ends the search of this text.
QList<CFileMatch> SearchText(const QString& path, const QString& text, const QRegularExpression& expression,
                             bool* tooComplex = nullptr);

// Searches root and its sub-folders (symbolic links to folders not followed)
// for files matching the patterns; every match goes to onMatch, the count of
// files searched to onProgress now and then. stop ends the search early.
CFileSearchSummary SearchTree(const QString& root, const CFileSearchOptions& options,
                              const std::atomic<bool>& stop,
                              const std::function<void(const CFileMatch&)>& onMatch,
                              const std::function<void(int filesSearched)>& onProgress = {});

} // namespace FileSearch
