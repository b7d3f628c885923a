// Builds the reference database "quillet.dll" from its schema and the
// committed text of its tables:
//   quillet_refdb <schema.sql> <output file> <table>=<rows.tsv>...
// The file is written beside the output and renamed over it only when it is
// complete, so a failed build never leaves a half-filled database behind.

#include "ReferenceTsv.h"

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool Exec(sqlite3* db, const std::string& sql, std::string& error)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}

std::string Quoted(const std::string& name)
{
    std::string out = "\"";
    for (char ch : name)
        out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return out + "\"";
}

bool InsertRows(sqlite3* db, const std::string& table, const std::vector<ReferenceRow>& rows,
                std::string& error)
{
    const std::string sql = "INSERT INTO " + Quoted(table) + " (a,b,c,d,e,f) VALUES (?,?,?,?,?,?)";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
        return false;
    }
    bool ok = true;
    for (const ReferenceRow& row : rows) {
        sqlite3_bind_int(stmt, 1, row.a);
        sqlite3_bind_text(stmt, 2, row.b.c_str(), int(row.b.size()), SQLITE_STATIC);
        sqlite3_bind_text(stmt, 3, row.c.c_str(), int(row.c.size()), SQLITE_STATIC);
        sqlite3_bind_text(stmt, 4, row.d.c_str(), int(row.d.size()), SQLITE_STATIC);
        sqlite3_bind_int(stmt, 5, row.e);
        sqlite3_bind_int(stmt, 6, row.f);
        if (sqlite3_step(stmt) != SQLITE_DONE) {
            error = table + " id " + std::to_string(row.a) + ": " + sqlite3_errmsg(db);
            ok = false;
            break;
        }
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    return ok;
}

bool Build(const std::string& schemaPath, const std::string& outPath,
           const std::vector<std::string>& tables, std::string& error)
{
    std::ifstream schemaFile(schemaPath, std::ios::binary);
    if (!schemaFile) {
        error = schemaPath + ": cannot be read";
        return false;
    }
    std::stringstream schema;
    schema << schemaFile.rdbuf();

    std::remove(outPath.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(outPath.c_str(), &db) != SQLITE_OK) {
        error = outPath + ": " + sqlite3_errmsg(db);
        sqlite3_close(db);
        return false;
    }
    bool ok = Exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", error)
              && Exec(db, schema.str(), error);
    for (const std::string& arg : tables) {
        if (!ok)
            break;
        const auto eq = arg.find('=');
        if (eq == std::string::npos) {
            error = arg + ": expected <table>=<rows.tsv>";
            ok = false;
            break;
        }
        std::vector<ReferenceRow> rows;
        ok = ReadReferenceTsv(arg.substr(eq + 1), rows, error)
             && InsertRows(db, arg.substr(0, eq), rows, error);
    }
    ok = ok && Exec(db, "COMMIT", error);
    sqlite3_close(db);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <schema.sql> <output> <table>=<rows.tsv>...\n", argv[0]);
        return 2;
    }
    const std::string out = argv[2];
    const std::string partial = out + ".part";
    std::string error;
    if (!Build(argv[1], partial, std::vector<std::string>(argv + 3, argv + argc), error)) {
        std::fprintf(stderr, "quillet_refdb: %s\n", error.c_str());
        std::remove(partial.c_str());
        return 1;
    }
    if (std::rename(partial.c_str(), out.c_str()) != 0) {
        std::fprintf(stderr, "quillet_refdb: cannot write %s\n", out.c_str());
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}
