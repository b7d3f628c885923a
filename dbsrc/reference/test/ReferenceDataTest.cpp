// Checks of the reference data: the committed tables (shape, ids, tree,
// prototypes), real lines of each language, and the database built from
// them as the pages and the context-help list read it.

#include "ReferenceTsv.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

struct TableInfo {
    const char* file;
    const char* table;
    int maxKind;
    std::set<int> categoryKinds;   // kinds of the category rows
    std::set<int> parentKinds;     // kinds a parent row may have
};

const TableInfo kTables[] = {
    {"php.tsv", "F7F57F64_03FF_497f_A9F2_61FC77564_QXV", 5, {0}, {0, 3}},
    {"css.tsv", "BEE75057_3DC5_466c_BD4E_BBEE0C3FF_QXV", 1, {1}, {1}},
    {"html.tsv", "DED3730B_75AB_47e9_B307_9BC8491E5_QXV", 1, {1}, {1}},
    {"javascript.tsv", "G100FFB3_C69B_409c_9F28_D3457560B_QXV", 5, {0}, {0, 2, 3}},
};

void PrintTo(const TableInfo& t, std::ostream* os)
{
    *os << t.file;
}

std::vector<ReferenceRow> Load(const char* file)
{
    std::vector<ReferenceRow> rows;
    std::string error;
    EXPECT_TRUE(ReadReferenceTsv(std::string(QUILLET_REF_SOURCE_DIR) + "/" + file, rows, error)) << error;
    return rows;
}

// The rows of one table by parent name and name ("" for the top level).
struct Index {
    std::map<std::int32_t, const ReferenceRow*> byId;
    std::map<std::pair<std::string, std::string>, const ReferenceRow*> byName;

    explicit Index(const std::vector<ReferenceRow>& rows)
    {
        for (const auto& r : rows)
            byId[r.a] = &r;
        for (const auto& r : rows) {
            const auto parent = byId.find(r.f);
            byName[{parent == byId.end() ? std::string() : parent->second->c, r.c}] = &r;
        }
    }
    const ReferenceRow* Find(const std::string& parent, const std::string& name) const
    {
        const auto it = byName.find({parent, name});
        return it == byName.end() ? nullptr : it->second;
    }
    // The entry named name under any top-level row.
    const ReferenceRow* FindChild(const std::string& name) const
    {
        for (const auto& [key, row] : byName)
            if (key.second == name && !key.first.empty())
                return row;
        return nullptr;
    }
};

class Database {
public:
    Database()
    {
        if (sqlite3_open_v2(QUILLET_REF_DB, &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << QUILLET_REF_DB << ": " << sqlite3_errmsg(m_db);
            sqlite3_close(m_db);
            m_db = nullptr;
        }
    }
    ~Database() { sqlite3_close(m_db); }
    bool IsOpen() const { return m_db != nullptr; }

    // Every row of the statement as text columns.
    std::vector<std::vector<std::string>> Query(const std::string& sql) const
    {
        std::vector<std::vector<std::string>> out;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(m_db);
            return out;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const auto* text = sqlite3_column_text(stmt, i);
                row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
            }
            out.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        return out;
    }

private:
    sqlite3* m_db = nullptr;
};

bool StartsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

class ReferenceTable : public ::testing::TestWithParam<TableInfo> {};

TEST_P(ReferenceTable, RowsFormATwoLevelTreeWithPrototypesNamedAfterTheirEntry)
{
    const TableInfo& t = GetParam();
    const auto rows = Load(t.file);
    ASSERT_GT(rows.size(), 100u);
    Index index(rows);

    std::int32_t previous = 0;
    std::set<std::pair<std::int32_t, std::string>> names;
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(t.file) + " id " + std::to_string(r.a) + " " + r.c);
        EXPECT_GT(r.a, previous) << "ids must be unique and in ascending order";
        previous = r.a;
        EXPECT_FALSE(r.b.empty());
        EXPECT_FALSE(r.c.empty());
        EXPECT_EQ(r.c.find_first_of("\t\r\n"), std::string::npos);
        EXPECT_EQ(r.d.find_first_of("\t\r\n"), std::string::npos);
        EXPECT_GE(r.e, 0);
        EXPECT_LE(r.e, t.maxKind);
        EXPECT_TRUE(names.insert({r.f, r.c}).second) << "two entries of one name under one parent";
        for (const auto& piece : SplitPrototypes(r.d))
            EXPECT_TRUE(StartsWith(piece, r.c)) << "prototype \"" << piece << "\"";
        if (t.categoryKinds.count(r.e)) {
            EXPECT_EQ(r.f, 0) << "a category is a top-level row";
        }
        if (r.f != 0) {
            const auto parent = index.byId.find(r.f);
            ASSERT_NE(parent, index.byId.end()) << "parent " << r.f << " does not exist";
            EXPECT_EQ(parent->second->f, 0) << "entry deeper than two levels";
            EXPECT_TRUE(t.parentKinds.count(parent->second->e)) << "parent kind " << parent->second->e;
        }
    }
}

TEST_P(ReferenceTable, DatabaseHoldsTheCommittedRowsWithAnIndexOnTheParent)
{
    const TableInfo& t = GetParam();
    const auto rows = Load(t.file);
    Database db;
    ASSERT_TRUE(db.IsOpen());
    const auto stored = db.Query(std::string("SELECT a,b,c,d,e,f FROM ") + t.table + " ORDER BY a");
    ASSERT_EQ(stored.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        const std::vector<std::string> expected{std::to_string(r.a), r.b, r.c, r.d,
                                                std::to_string(r.e), std::to_string(r.f)};
        ASSERT_EQ(stored[i], expected) << "row " << i;
    }
    const auto indexed = db.Query(std::string("SELECT ii.name FROM pragma_index_list('") + t.table
                                  + "') AS il, pragma_index_info(il.name) AS ii");
    ASSERT_EQ(indexed.size(), 1u);
    EXPECT_EQ(indexed[0][0], "f");
}

TEST_P(ReferenceTable, TreeFillListsTheCategoriesFirstAndEveryCategoryHasEntries)
{
    const TableInfo& t = GetParam();
    Database db;
    ASSERT_TRUE(db.IsOpen());
    const auto top = db.Query(std::string("SELECT a,b,e FROM ") + t.table + " WHERE f=0 order by c");
    ASSERT_FALSE(top.empty());
    bool pastCategories = false;
    for (const auto& row : top) {
        const bool category = t.categoryKinds.count(std::stoi(row[2])) > 0;
        EXPECT_FALSE(category && pastCategories) << row[1] << " sorts after a non-category";
        pastCategories = pastCategories || !category;
        if (category) {
            const auto children = db.Query(std::string("SELECT a,b,e FROM ") + t.table
                                           + " WHERE f=" + row[0] + " order by c");
            EXPECT_FALSE(children.empty()) << row[1] << " is empty";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllTables, ReferenceTable, ::testing::ValuesIn(kTables),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

TEST(ReferenceData, PhpLinesComeFromReflectionAndTheStubs)
{
    const auto rows = Load("php.tsv");
    Index index(rows);
    const auto* strlen = index.FindChild("strlen");
    ASSERT_NE(strlen, nullptr);
    EXPECT_EQ(strlen->d, "strlen(string $string): int");
    EXPECT_EQ(strlen->e, 1);
    EXPECT_EQ(index.byId.at(strlen->f)->b, "字符串 (String)");

    const auto* hsc = index.FindChild("htmlspecialchars");
    ASSERT_NE(hsc, nullptr);
    EXPECT_EQ(hsc->d, "htmlspecialchars(string $string, int $flags = ENT_QUOTES | ENT_SUBSTITUTE | ENT_HTML401, "
                      "?string $encoding = null, bool $double_encode = true): string");

    const auto* preg = index.FindChild("preg_match");
    ASSERT_NE(preg, nullptr);
    EXPECT_EQ(preg->d, "preg_match(string $pattern, string $subject, array &$matches = null, "
                       "int $flags = 0, int $offset = 0): int|false");
    const auto* fopen = index.FindChild("fopen");
    ASSERT_NE(fopen, nullptr);
    EXPECT_TRUE(fopen->d.ends_with("): resource|false")) << fopen->d;

    const auto* strReplace = index.FindChild("str_replace");
    ASSERT_NE(strReplace, nullptr);
    EXPECT_NE(strReplace->d.find("int &$count = null"), std::string::npos) << strReplace->d;
    ASSERT_NE(index.FindChild("array_map"), nullptr);
    EXPECT_EQ(index.byId.at(index.FindChild("array_map")->f)->b, "数组 (Array)");

    const auto* echo = index.FindChild("echo");
    ASSERT_NE(echo, nullptr);
    EXPECT_EQ(echo->e, 2);
    const auto* exitRow = index.FindChild("exit");
    ASSERT_NE(exitRow, nullptr);
    EXPECT_EQ(SplitPrototypes(exitRow->d).size(), 2u) << "overloads are separate lines";

    const auto* pdo = index.Find("", "PDO");
    ASSERT_NE(pdo, nullptr);
    EXPECT_EQ(pdo->e, 3);
    const auto* prepare = index.Find("PDO", "PDO::prepare");
    ASSERT_NE(prepare, nullptr);
    EXPECT_EQ(prepare->e, 4);
    EXPECT_EQ(prepare->d, "PDO::prepare(string $query, array $options = []): PDOStatement|false");
    const auto* current = index.Find("ArrayIterator", "ArrayIterator::current");
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->d, "ArrayIterator::current(): mixed") << "tentative return type";
    ASSERT_NE(index.Find("PDO", "PDO::ATTR_ERRMODE"), nullptr);
    EXPECT_EQ(index.Find("PDO", "PDO::ATTR_ERRMODE")->e, 5);

    // the extensions a web page uses are all there, the command-line ones are not
    for (const char* name : {"mb_strlen", "mysqli_connect", "pg_connect", "curl_init", "imagecreate",
                             "intl_get_error_code", "simplexml_load_string", "bcadd", "gmp_add",
                             "zip_open", "opcache_get_status", "json_encode", "session_start"})
        EXPECT_NE(index.FindChild(name), nullptr) << name;
    EXPECT_EQ(index.FindChild("readline"), nullptr);
    EXPECT_EQ(index.FindChild("pcntl_fork"), nullptr);
    int functions = 0;
    for (const auto& r : rows)
        functions += r.e == 1;
    EXPECT_GT(functions, 1800);
}

TEST(ReferenceData, ContextHelpOffersTheStrFunctionsWithTheirPrototypes)
{
    Database db;
    ASSERT_TRUE(db.IsOpen());
    const auto names = db.Query("SELECT a,c FROM F7F57F64_03FF_497f_A9F2_61FC77564_QXV WHERE e IN(1,2,3)");
    EXPECT_GT(names.size(), 2000u);
    std::string strlenId;
    int str = 0;
    for (const auto& row : names) {
        str += StartsWith(row[1], "str");
        if (row[1] == "strlen")
            strlenId = row[0];
    }
    EXPECT_GT(str, 30);
    ASSERT_FALSE(strlenId.empty());
    const auto d = db.Query("SELECT d FROM F7F57F64_03FF_497f_A9F2_61FC77564_QXV WHERE a=" + strlenId);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0][0], "strlen(string $string): int");
}

TEST(ReferenceData, CssAndHtmlLines)
{
    const auto css = Load("css.tsv");
    Index cssIndex(css);
    const auto* display = cssIndex.FindChild("display");
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->e, 0);
    EXPECT_TRUE(StartsWith(display->d, "display: [ <display-outside> || <display-inside> ]")) << display->d;
    EXPECT_EQ(cssIndex.byId.at(display->f)->b, "显示 (Display)");
    ASSERT_NE(cssIndex.FindChild("grid-template-columns"), nullptr);
    const auto* webkit = cssIndex.FindChild("-webkit-line-clamp");
    ASSERT_NE(webkit, nullptr);
    EXPECT_EQ(cssIndex.byId.at(webkit->f)->b, "厂商前缀 (Vendor-prefixed)");
    const auto* fontFace = cssIndex.FindChild("@font-face");
    ASSERT_NE(fontFace, nullptr);
    EXPECT_NE(fontFace->d.find("[ font-family: <family-name> ] ||"), std::string::npos)
        << "descriptor blocks lose their \";\": " << fontFace->d;

    const auto html = Load("html.tsv");
    Index htmlIndex(html);
    const auto* img = htmlIndex.FindChild("img");
    ASSERT_NE(img, nullptr);
    const auto imgLines = SplitPrototypes(img->d);
    EXPECT_EQ(imgLines[0], "img: <img>") << "a void element has no end tag";
    ASSERT_EQ(imgLines.size(), 2u);
    EXPECT_NE(imgLines[1].find("alt"), std::string::npos);
    EXPECT_NE(imgLines[1].find("srcset"), std::string::npos);
    const auto* div = htmlIndex.FindChild("div");
    ASSERT_NE(div, nullptr);
    EXPECT_TRUE(StartsWith(div->d, "div: <div>...</div>")) << div->d;
    EXPECT_EQ(htmlIndex.byId.at(div->f)->b, "内容分组 (Grouping content)");
    const auto* input = htmlIndex.FindChild("input");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(htmlIndex.byId.at(input->f)->b, "表单 (Forms)");
    const auto* marquee = htmlIndex.FindChild("marquee");
    ASSERT_NE(marquee, nullptr);
    EXPECT_EQ(htmlIndex.byId.at(marquee->f)->b, "已废弃 (Obsolete)");
    ASSERT_NE(htmlIndex.FindChild("onclick"), nullptr);
}

TEST(ReferenceData, JavaScriptLines)
{
    const auto rows = Load("javascript.tsv");
    Index index(rows);
    const auto* array = index.Find("", "Array");
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->e, 3);
    const auto* map = index.Find("Array", "Array.prototype.map");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->e, 4);
    EXPECT_EQ(map->d, "Array.prototype.map<U>(callbackfn: (value: T, index: number, array: T[]) => U, "
                      "thisArg?: any): U[]");
    const auto* from = index.Find("Array", "Array.from");
    ASSERT_NE(from, nullptr);
    EXPECT_GT(SplitPrototypes(from->d).size(), 1u) << "overloads are separate lines";
    const auto* length = index.Find("Array", "Array.prototype.length");
    ASSERT_NE(length, nullptr);
    EXPECT_EQ(length->e, 5);

    const auto* fetch = index.FindChild("fetch");
    ASSERT_NE(fetch, nullptr);
    EXPECT_EQ(fetch->e, 1);
    EXPECT_EQ(fetch->d, "fetch(input: RequestInfo | URL, init?: RequestInit): Promise<Response>");
    ASSERT_NE(index.FindChild("parseInt"), nullptr);
    ASSERT_NE(index.Find("Math", "Math.max"), nullptr);
    ASSERT_NE(index.Find("JSON", "JSON.parse"), nullptr);
    ASSERT_NE(index.Find("Reflect", "Reflect.apply"), nullptr);
    ASSERT_NE(index.Find("Intl.DateTimeFormat", "Intl.DateTimeFormat.prototype.format"), nullptr);
    ASSERT_NE(index.Find("document", "document.getElementById"), nullptr);
    EXPECT_EQ(index.Find("document", "document.getElementById")->d,
              "document.getElementById(elementId: string): HTMLElement | null");
    ASSERT_NE(index.Find("console", "console.log"), nullptr);
    ASSERT_NE(index.Find("localStorage", "localStorage.getItem"), nullptr);
    ASSERT_NE(index.Find("Element", "Element.prototype.querySelector"), nullptr)
        << "members of mixins such as ParentNode belong to the element";

    // the typed arrays are one group
    const auto* typed = index.Find("", "TypedArray");
    ASSERT_NE(typed, nullptr);
    ASSERT_NE(index.Find("TypedArray", "TypedArray.prototype.map"), nullptr);
    ASSERT_NE(index.Find("TypedArray", "Uint8Array"), nullptr);
    EXPECT_EQ(index.Find("", "Uint8Array"), nullptr);
    EXPECT_EQ(index.Find("", "Float64Array"), nullptr);

    // object types are written without ";"
    const auto* arrayBuffer = index.Find("", "ArrayBuffer");
    ASSERT_NE(arrayBuffer, nullptr);
    EXPECT_NE(arrayBuffer->d.find("options?: { maxByteLength?: number }"), std::string::npos)
        << arrayBuffer->d;
}

TEST(ReferenceTsv, MalformedFilesAreRefusedWithTheirLine)
{
    // Named after this process, so that runs side by side never share it.
    const auto path =
        (std::filesystem::temp_directory_path() / ("quillet_reftsv_test." + std::to_string(::getpid()) + ".tsv")).string();
    const struct {
        const char* text;
        const char* error;   // the end of the message; "" when the file is good
    } cases[] = {
        {"a\tb\tc\td\te\tf\n1\tT\tn\tn()\t0\t0\n", ""},
        {"a\tb\tc\td\te\tf\n1\tT\tn\tn()\t0\n", ":2: expected 6 fields, found 5"},
        {"a\tb\tc\td\te\tf\n1\tT\tn\tn()\tx\t0\n", ":2: a, e and f must be 32-bit integers"},
        {"a\tb\tc\td\te\tf\n3000000000\tT\tn\tn()\t0\t0\n", ":2: a, e and f must be 32-bit integers"},
        {"a\tb\tc\td\te\tf\n1\tT\tn\tn()\t0\t0\r\n", ":2: carriage return inside a row"},
        {"a\tb\tc\td\te\tf\n\n", ":2: empty line"},
        {"id\tb\tc\td\te\tf\n", ":1: the header must be the column names a to f"},
        {"", ":0: empty file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::ofstream(path, std::ios::binary) << c.text;
        std::vector<ReferenceRow> rows;
        std::string error;
        const bool ok = ReadReferenceTsv(path, rows, error);
        EXPECT_EQ(ok, *c.error == 0);
        if (!ok) {
            EXPECT_TRUE(error.ends_with(c.error)) << error;
        }
    }
    std::remove(path.c_str());
    std::vector<ReferenceRow> rows;
    std::string error;
    EXPECT_FALSE(ReadReferenceTsv(path, rows, error));
    EXPECT_NE(error.find("cannot be read"), std::string::npos);
}

} // namespace
