// The symbol index's cache: one SQLite file keeping each PHP file's
// declarations keyed by its path, size and modification time, so that a site
// opened again needs only its changed files read. A file that is damaged in
// any way (not a database, a failed integrity check, another layout, a record
// that does not decode) is deleted and made afresh: nothing of it is trusted.
#pragma once

#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Symbol.h"

struct sqlite3;

struct CFileStamp {
    qint64 size = -1;
    qint64 mtime = -1; // milliseconds since the epoch
    bool operator==(const CFileStamp&) const = default;
};

struct CCachedFile {
    CFileStamp stamp;
    std::vector<CSymbol> symbols;
};

class CSymbolCache {
public:
    // $XDG_CACHE_HOME/quillet/symbols.sqlite, or ~/.cache/quillet/... when unset.
    static QString DefaultPath();

    explicit CSymbolCache(QString path);
    ~CSymbolCache();
    CSymbolCache(const CSymbolCache&) = delete;
    CSymbolCache& operator=(const CSymbolCache&) = delete;

    // Opens the file, making it (and its folder) when missing and afresh when
    // damaged. False when no cache can be had at all (the index then works without).
    bool Open();
    // Whether Open found the file damaged and made it afresh.
    bool WasRebuilt() const { return m_bRebuilt; }

    // Every file kept under folder (a path ending in "/"); a record that does
    // not decode makes the whole cache afresh and the answer empty.
    std::unordered_map<QString, CCachedFile> Load(const QString& folder);
    // Replaces the records of the files given and removes those of gone, in one transaction.
    void Store(const std::vector<std::pair<QString, const CCachedFile*>>& files, const std::vector<QString>& gone);

    // The record's bytes (exposed for tests that damage them).
    static std::string Encode(const std::vector<CSymbol>& symbols);
    static bool Decode(const char* data, std::size_t size, std::vector<CSymbol>& out);

private:
    bool OpenFile();
    bool Exec(const char* sql);
    void Close();
    void Recreate();

    QString m_strPath;
    sqlite3* m_db = nullptr;
    bool m_bRebuilt = false;
};
