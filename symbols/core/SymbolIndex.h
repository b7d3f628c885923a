// The symbol index of the open site: the declarations of every PHP file under
// the site folder, read on a worker thread (files in parallel, unchanged files
// from the cache), plus the open PHP files outside it and the open documents'
// typed text. Kept current by the caller (a saved file, a document's text) and
// by a watch on the site's folders. Lives on the main thread; its answers point
// into the index and hold until the next change (the changed signal).
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "SymbolCache.h"

struct CSymbolRef {
    QString path;
    const CSymbol* symbol = nullptr;
};

class CSymbolIndex : public QObject {
    Q_OBJECT
public:
    // Which files are PHP files: .php .php3 .php4 .php5 .phtml .inc.
    static bool IsPhpPath(const QString& path);

    explicit CSymbolIndex(QString cachePath = CSymbolCache::DefaultPath(), QObject* parent = nullptr);
    ~CSymbolIndex() override;

    // Indexes the PHP files under folder (the previous site's are dropped);
    // an empty folder drops the site. Returns at once; ready() follows.
    void SetRoot(const QString& folder);
    QString Root() const { return m_strRoot; }
    // Reads path from disk now (a save, or another program's change); a file
    // that is gone leaves the index.
    void UpdateFile(const QString& path);
    // Takes text as path's contents while it is typed; it wins over the disk
    // until the next UpdateFile or ForgetText.
    void UpdateText(const QString& path, const QByteArray& text);
    // path is no longer open: outside the site it leaves the index.
    void ForgetText(const QString& path);

    bool IsBusy() const { return m_nRunning > 0 || m_bRescanPending; }
    // Whether the last site reading found the cache damaged and made it afresh.
    bool CacheWasRebuilt() const { return m_bCacheRebuilt; }
    // Waits (running the event loop) until the index is idle; false on timeout.
    bool WaitUntilIdle(int timeoutMs);

    // The declarations of path in file order (null when it is not indexed).
    const std::vector<CSymbol>* Outline(const QString& path) const;
    // The declarations named name (letter case ignored) of any of the kinds
    // given (all when empty); exact-case matches first.
    std::vector<CSymbolRef> Find(std::string_view name, std::initializer_list<SymbolKind> kinds = {}) const;
    // The members of the type named typeName and of the types it extends,
    // nearest first (a member its subclass redefines is given once).
    std::vector<CSymbolRef> Members(std::string_view typeName) const;
    // The methods named name in any type.
    std::vector<CSymbolRef> MethodsNamed(std::string_view name) const;
    // Every declaration of the kinds given, in path and line order.
    std::vector<CSymbolRef> All(std::initializer_list<SymbolKind> kinds) const;
    // Every symbol matching filter (see SymbolMatch), best first, at most limit.
    std::vector<CSymbolRef> Match(std::string_view filter, std::size_t limit) const;
    std::size_t SymbolCount() const;
    std::size_t FileCount() const { return m_files.size(); }

signals:
    // The index changed; earlier answers are void.
    void changed();
    // A site reading finished.
    void ready();

private:
    enum class Origin { Site, Open, Typed };
    struct Entry {
        std::shared_ptr<const CCachedFile> file;
        Origin origin;
    };
    struct JobResult;

    void StartJob();
    void FinishJob(quint64 serial, std::shared_ptr<JobResult> result);
    void Changed();
    bool InSite(const QString& path) const;
    void BuildTables() const;

    QString m_strCachePath;
    QString m_strRoot;
    std::map<QString, Entry> m_files;
    QThreadPool m_pool;
    QFileSystemWatcher m_watcher;
    QTimer m_rescan;
    std::shared_ptr<std::atomic<bool>> m_pCancel;
    quint64 m_nSerial = 0;
    int m_nRunning = 0;
    bool m_bRescanPending = false;
    bool m_bCacheRebuilt = false;

    // Look-up tables built on the first question after a change.
    mutable bool m_bTablesStale = true;
    mutable std::vector<CSymbolRef> m_refs;
    mutable std::vector<std::string> m_names;
    mutable std::vector<std::string> m_lowerNames;
    // Among equal matches: functions, types and constants (0) before members (1) and properties (2).
    mutable std::vector<std::uint8_t> m_ranks;
    mutable std::unordered_multimap<std::string, int> m_byLowerName;
};
