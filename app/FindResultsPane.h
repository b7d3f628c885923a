// The 查找结果 pane below the editors: runs a search of a folder's files in
// the background, lists its matches as "path:line: text" while they come,
// and opens a match's file at its line on a double click.
#pragma once

#include <QDockWidget>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

#include "core/FileSearch.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

class CFindResultsPane : public QDockWidget
{
    Q_OBJECT
public:
    // Opens path (or activates its window) with the caret on line, selecting
    // length characters from column.
    using MatchOpener = std::function<void(const CFileMatch&)>;
    CFindResultsPane(MatchOpener opener, QWidget* parent);
    ~CFindResultsPane() override;

    // Starts searching folder (a search still running is stopped first).
    void Start(const QString& folder, const CFileSearchOptions& options);
    void Stop();
    bool IsRunning() const;

    QListWidget* List() const { return m_pList; }
    QLabel* StateLabel() const { return m_pState; }

signals:
    void finished(const CFileSearchSummary& summary);

private:
    void AddMatches();
    void OnFinished(const CFileSearchSummary& summary);
    void OnItemActivated(QListWidgetItem* item);

    MatchOpener m_opener;
    QListWidget* m_pList;
    QLabel* m_pState;
    QPushButton* m_pStop;
    QProgressBar* m_pBusy;
    QThread* m_pThread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_stop;
    QString m_strFolder;
    // Matches found by the search thread and not shown yet.
    struct Pending;
    std::shared_ptr<Pending> m_pending;
};
