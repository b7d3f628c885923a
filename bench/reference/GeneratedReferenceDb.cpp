#include "GeneratedReferenceDb.h"

#include "ReferenceTables.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <sqlite3.h>

namespace GeneratedReferenceDb {

namespace {

bool Run(sqlite3* db, const std::string& sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The share of each table, as in the shipped data: PHP about half, then
// JavaScript, CSS and Html.
constexpr double kShare[] = {0.55, 0.10, 0.03, 0.32};

bool FillTable(sqlite3* db, int kind, int rows, int categories, std::mt19937& random)
{
    const std::string table = ReferenceTables::TableName(kind).toStdString();
    // PHP and JavaScript: 0 a category, 1-5 entries; CSS and Html: 1 a category, 0 an entry.
    const bool sixImages = ReferenceTables::ImageCount(kind) == 6;
    sqlite3_stmt* insert = nullptr;
    const std::string sql = "INSERT INTO \"" + table + "\" (a,b,c,d,e,f) VALUES(?,?,?,?,?,?)";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr) != SQLITE_OK)
        return false;
    std::uniform_int_distribution<int> parentOf(1, categories);
    std::uniform_int_distribution<int> kindOf(1, 5);
    bool ok = true;
    for (int a = 1; a <= rows && ok; ++a) {
        const bool category = a <= categories;
        char name[64];
        std::snprintf(name, sizeof name, "%s_%08x", category ? "category" : "entry",
                      static_cast<unsigned>(random()));
        const std::string title = category ? std::string("分类 (") + name + ")" : name;
        const std::string prototype = std::string(name) + "(mixed $value): mixed";
        sqlite3_bind_int(insert, 1, a);
        sqlite3_bind_text(insert, 2, title.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, name, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, prototype.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 5, sixImages ? (category ? 0 : kindOf(random)) : (category ? 1 : 0));
        sqlite3_bind_int(insert, 6, category ? 0 : parentOf(random));
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    return ok;
}

} // namespace

bool Write(const std::string& path, const std::string& schemaSql, int rows, int categories)
{
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    std::mt19937 random(6);
    bool ok = Run(db, schemaSql) && Run(db, "BEGIN");
    for (int kind = 0; kind < 4 && ok; ++kind) {
        const int tableRows = static_cast<int>(rows * kShare[kind]);
        const int tableCategories = std::max(1, static_cast<int>(categories * kShare[kind]));
        ok = FillTable(db, kind, tableRows, tableCategories, random);
    }
    ok = ok && Run(db, "COMMIT");
    sqlite3_close(db);
    return ok;
}

} // namespace GeneratedReferenceDb
