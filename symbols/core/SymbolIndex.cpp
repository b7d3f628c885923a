#include "SymbolIndex.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <thread>
#include <unordered_set>

#include "PhpSymbolReader.h"
#include "SymbolMatch.h"

namespace {

constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

CFileStamp StampOf(const QFileInfo& info)
{
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

std::shared_ptr<CCachedFile> ReadFile(const QString& path, const CFileStamp& stamp)
{
    auto file = std::make_shared<CCachedFile>();
    file->stamp = stamp;
    QFile f(path);
    if (stamp.size <= kMaxFileBytes && f.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = f.readAll();
        file->symbols = PhpSymbolReader::Read(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    }
    return file;
}

} // namespace

struct CSymbolIndex::JobResult {
    QString root;
    std::vector<std::pair<QString, std::shared_ptr<const CCachedFile>>> files;
    QStringList folders;
    bool cacheRebuilt = false;
};

bool CSymbolIndex::IsPhpPath(const QString& path)
{
    static const QStringList kSuffixes = {QStringLiteral(".php"), QStringLiteral(".php3"), QStringLiteral(".php4"),
                                          QStringLiteral(".php5"), QStringLiteral(".phtml"), QStringLiteral(".inc")};
    for (const QString& s : kSuffixes)
        if (path.endsWith(s, Qt::CaseInsensitive))
            return true;
    return false;
}

CSymbolIndex::CSymbolIndex(QString cachePath, QObject* parent)
    : QObject(parent), m_strCachePath(std::move(cachePath)), m_pCancel(std::make_shared<std::atomic<bool>>(false))
{
    m_pool.setMaxThreadCount(1);
    m_rescan.setSingleShot(true);
    m_rescan.setInterval(400);
    connect(&m_rescan, &QTimer::timeout, this, [this] {
        m_bRescanPending = false;
        StartJob();
    });
    // A change in a site folder (a file written, made, removed) reads the site
    // again: the cache makes that a matter of the changed files.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        m_bRescanPending = true;
        m_rescan.start();
    });
}

CSymbolIndex::~CSymbolIndex()
{
    m_pCancel->store(true);
    m_pool.waitForDone();
}

bool CSymbolIndex::InSite(const QString& path) const
{
    return !m_strRoot.isEmpty() && path.startsWith(m_strRoot);
}

void CSymbolIndex::SetRoot(const QString& folder)
{
    QString root = folder.isEmpty() ? QString() : QFileInfo(folder).absoluteFilePath();
    if (!root.isEmpty() && !root.endsWith(u'/'))
        root += u'/';
    if (root == m_strRoot)
        return;
    m_strRoot = root;
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    for (auto it = m_files.begin(); it != m_files.end();) {
        if (it->second.origin == Origin::Site)
            it = m_files.erase(it);
        else
            ++it;
    }
    Changed();
    StartJob();
}

void CSymbolIndex::StartJob()
{
    const quint64 serial = ++m_nSerial;
    const QString root = m_strRoot;
    const QString cachePath = m_strCachePath;
    const std::shared_ptr<std::atomic<bool>> cancel = m_pCancel;
    ++m_nRunning;
    m_pool.start([this, serial, root, cachePath, cancel] {
        auto result = std::make_shared<JobResult>();
        result->root = root;
        if (!root.isEmpty()) {
            // The files and folders of the site.
            std::vector<std::pair<QString, CFileStamp>> paths;
            result->folders << root;
            QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                            QDirIterator::Subdirectories);
            while (it.hasNext() && !cancel->load()) {
                const QFileInfo info = it.nextFileInfo();
                if (info.isDir() && !info.isSymLink())
                    result->folders << info.absoluteFilePath();
                else if (info.isFile() && IsPhpPath(info.fileName()))
                    paths.emplace_back(info.absoluteFilePath(), StampOf(info));
            }
            // Unchanged files from the cache, the others read in parallel.
            CSymbolCache cache(cachePath);
            cache.Open();
            std::unordered_map<QString, CCachedFile> cached = cache.Load(root);
            result->cacheRebuilt = cache.WasRebuilt();
            result->files.resize(paths.size());
            std::vector<std::size_t> toRead;
            for (std::size_t k = 0; k < paths.size(); ++k) {
                result->files[k].first = paths[k].first;
                auto hit = cached.find(paths[k].first);
                if (hit != cached.end() && hit->second.stamp == paths[k].second)
                    result->files[k].second = std::make_shared<const CCachedFile>(std::move(hit->second));
                else
                    toRead.push_back(k);
            }
            std::atomic<std::size_t> next{0};
            auto work = [&] {
                for (std::size_t k; !cancel->load() && (k = next.fetch_add(1)) < toRead.size();) {
                    const std::size_t at = toRead[k];
                    result->files[at].second = ReadFile(paths[at].first, paths[at].second);
                }
            };
            std::vector<std::thread> threads;
            const int workers = std::max(1, std::min(QThread::idealThreadCount(), int(toRead.size() / 16) + 1)) - 1;
            for (int w = 0; w < workers; ++w)
                threads.emplace_back(work);
            work();
            for (std::thread& t : threads)
                t.join();
            if (cancel->load())
                return;
            std::vector<std::pair<QString, const CCachedFile*>> fresh;
            for (std::size_t k : toRead)
                fresh.emplace_back(result->files[k].first, result->files[k].second.get());
            std::unordered_set<QString> present;
            for (const auto& p : paths)
                present.insert(p.first);
            std::vector<QString> gone;
            for (const auto& [path, file] : cached)
                if (!present.count(path))
                    gone.push_back(path);
            cache.Store(fresh, gone);
        }
        QMetaObject::invokeMethod(this, [this, serial, result] { FinishJob(serial, result); }, Qt::QueuedConnection);
    });
}

void CSymbolIndex::FinishJob(quint64 serial, std::shared_ptr<JobResult> result)
{
    --m_nRunning;
    if (serial != m_nSerial || result->root != m_strRoot)
        return;   // a newer reading is on its way
    m_bCacheRebuilt = result->cacheRebuilt;
    for (auto it = m_files.begin(); it != m_files.end();) {
        if (it->second.origin == Origin::Site)
            it = m_files.erase(it);
        else
            ++it;
    }
    for (auto& [path, file] : result->files) {
        Entry& e = m_files[path];
        if (!e.file || e.origin != Origin::Typed)
            e = {file, Origin::Site};
    }
    const QStringList watched = m_watcher.directories();
    const QSet<QString> have(watched.begin(), watched.end());
    QStringList add;
    for (const QString& f : std::as_const(result->folders))
        if (!have.contains(f))
            add << f;
    if (!add.isEmpty())
        m_watcher.addPaths(add);
    Changed();
    emit ready();
}

void CSymbolIndex::UpdateFile(const QString& path)
{
    const QFileInfo info(path);
    const QString abs = info.absoluteFilePath();
    if (!IsPhpPath(abs))
        return;
    if (!info.isFile()) {
        if (m_files.erase(abs))
            Changed();
        return;
    }
    m_files[abs] = {ReadFile(abs, StampOf(info)), InSite(abs) ? Origin::Site : Origin::Open};
    Changed();
}

void CSymbolIndex::UpdateText(const QString& path, const QByteArray& text)
{
    if (!IsPhpPath(path))
        return;
    auto file = std::make_shared<CCachedFile>();
    file->symbols = PhpSymbolReader::Read(std::string_view(text.constData(), std::size_t(text.size())));
    Entry& e = m_files[QFileInfo(path).absoluteFilePath()];
    if (e.file && e.file->symbols == file->symbols && e.origin == Origin::Typed)
        return;
    e = {std::move(file), Origin::Typed};
    Changed();
}

void CSymbolIndex::ForgetText(const QString& path)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    auto it = m_files.find(abs);
    if (it == m_files.end())
        return;
    if (InSite(abs))
        UpdateFile(abs);
    else {
        m_files.erase(it);
        Changed();
    }
}

bool CSymbolIndex::WaitUntilIdle(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (IsBusy()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (m_nRunning > 0)
            QThread::yieldCurrentThread();
    }
    return true;
}

void CSymbolIndex::Changed()
{
    m_bTablesStale = true;
    emit changed();
}

void CSymbolIndex::BuildTables() const
{
    if (!m_bTablesStale)
        return;
    m_bTablesStale = false;
    m_refs.clear();
    m_names.clear();
    m_lowerNames.clear();
    m_ranks.clear();
    m_byLowerName.clear();
    for (const auto& [path, entry] : m_files)
        for (const CSymbol& s : entry.file->symbols) {
            m_refs.push_back({path, &s});
            m_names.push_back(s.name);
            m_lowerNames.push_back(SymbolMatch::Lower(s.name));
            m_ranks.push_back(s.kind == SymbolKind::Property || s.kind == SymbolKind::Namespace ? 2
                              : s.IsMember()                                                   ? 1
                                                                                               : 0);
            m_byLowerName.emplace(m_lowerNames.back(), int(m_refs.size() - 1));
        }
}

const std::vector<CSymbol>* CSymbolIndex::Outline(const QString& path) const
{
    auto it = m_files.find(QFileInfo(path).absoluteFilePath());
    return it == m_files.end() ? nullptr : &it->second.file->symbols;
}

std::vector<CSymbolRef> CSymbolIndex::Find(std::string_view name, std::initializer_list<SymbolKind> kinds) const
{
    BuildTables();
    std::vector<CSymbolRef> exact, other;
    if (!name.empty() && name.front() == '\\')
        name.remove_prefix(1);
    // A qualified name is looked up by its last part.
    if (const std::size_t slash = name.rfind('\\'); slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    const auto range = m_byLowerName.equal_range(SymbolMatch::Lower(name));
    for (auto it = range.first; it != range.second; ++it) {
        const CSymbolRef& r = m_refs[std::size_t(it->second)];
        if (kinds.size() && std::find(kinds.begin(), kinds.end(), r.symbol->kind) == kinds.end())
            continue;
        (r.symbol->name == name ? exact : other).push_back(r);
    }
    const auto order = [](const CSymbolRef& a, const CSymbolRef& b) {
        return a.path != b.path ? a.path < b.path : a.symbol->line < b.symbol->line;
    };
    std::sort(exact.begin(), exact.end(), order);
    std::sort(other.begin(), other.end(), order);
    exact.insert(exact.end(), other.begin(), other.end());
    return exact;
}

std::vector<CSymbolRef> CSymbolIndex::Members(std::string_view typeName) const
{
    std::vector<CSymbolRef> out;
    std::unordered_set<std::string> seenTypes, seenMembers;
    std::string type(typeName);
    while (!type.empty() && seenTypes.insert(SymbolMatch::Lower(type)).second) {
        const std::vector<CSymbolRef> types = Find(type, {SymbolKind::Class, SymbolKind::Interface, SymbolKind::Trait,
                                                          SymbolKind::Enum});
        if (types.empty())
            break;
        const CSymbolRef& t = types.front();
        for (const CSymbol& s : *Outline(t.path))
            if (s.scope == t.symbol->name && s.line >= t.symbol->line && s.line <= t.symbol->endLine &&
                seenMembers.insert(std::string(SymbolKinds::Name(s.kind)) + SymbolMatch::Lower(s.name)).second)
                out.push_back({t.path, &s});
        type = t.symbol->parent;
        if (!type.empty() && type.front() == '\\')
            type.erase(0, 1);
        if (const std::size_t slash = type.rfind('\\'); slash != std::string::npos)
            type.erase(0, slash + 1);
    }
    return out;
}

std::vector<CSymbolRef> CSymbolIndex::MethodsNamed(std::string_view name) const
{
    return Find(name, {SymbolKind::Method});
}

std::vector<CSymbolRef> CSymbolIndex::All(std::initializer_list<SymbolKind> kinds) const
{
    BuildTables();
    std::vector<CSymbolRef> out;
    for (const CSymbolRef& r : m_refs)
        if (std::find(kinds.begin(), kinds.end(), r.symbol->kind) != kinds.end())
            out.push_back(r);
    return out;
}

std::vector<CSymbolRef> CSymbolIndex::Match(std::string_view filter, std::size_t limit) const
{
    BuildTables();
    std::vector<CSymbolRef> out;
    for (int k : SymbolMatch::Best(m_names, m_lowerNames, filter, limit, &m_ranks))
        out.push_back(m_refs[std::size_t(k)]);
    return out;
}

std::size_t CSymbolIndex::SymbolCount() const
{
    BuildTables();
    return m_refs.size();
}
