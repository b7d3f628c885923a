// 在文件中查找 for the main frame: asks what to look for, runs the search in
// the results pane and opens the matches it lists.
#pragma once

#include <QObject>
#include <functional>

#include "core/FileSearch.h"

class CFindResultsPane;
class IFrameAccess;

class CFindInFilesCommand : public QObject
{
    Q_OBJECT
public:
    // Registers the command on frame, which owns this object.
    explicit CFindInFilesCommand(IFrameAccess* frame);

    // The folder the command offers first: the open site's, when there is one.
    void SetSiteFolderProvider(std::function<QString()> provider) { m_siteFolder = std::move(provider); }

    // Asks about a search of folder (the offered folder when empty) and starts it.
    void Run(const QString& folder = QString());
    // Opens a listed match in an editor, the caret on it.
    void OpenMatch(const CFileMatch& match);

    CFindResultsPane* Pane();

private:
    IFrameAccess* m_pFrame;
    CFindResultsPane* m_pPane = nullptr;
    std::function<QString()> m_siteFolder;
    QString m_strLastFolder;
};
