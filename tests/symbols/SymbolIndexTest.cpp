// The index over a site on disk: its cache (kept by size and time, made afresh
// when damaged), its look-ups and what a name at the caret means.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sqlite3.h>

#include "SymbolIndex.h"
#include "SymbolLookup.h"
#include "SymbolMatch.h"

namespace {

const char* kLib = "<?php\nclass Base { function hello() {} const K = 1; }\n"
                   "class Page extends Base {\n  function render(Base $b) {\n    $this->hello();\n"
                   "    $b->hello();\n    $v = new Page();\n    $v->render($b);\n    parent::hello();\n"
                   "    self::K; static::render($b); $u->only_here(); $u->twice();\n  }\n"
                   "  function only_here() {}\n  function twice() {}\n  function tplContent() {}\n}\n"
                   "class Other { function twice() {} }\nfunction get_the_post() { return tpl_content(); }\n";

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct Site {
    QTemporaryDir dir;
    QString root() const { return dir.path() + "/site/"; }
    QString cache() const { return dir.path() + "/cache/symbols.sqlite"; }
    Site()
    {
        QDir().mkpath(root() + "inc");
        Write(root() + "lib.php", kLib);
        Write(root() + "inc/tpl.php", "<?php\nfunction tpl_content($prependTOC = true) {}\n");
    }
};

std::string Names(const std::vector<CSymbolRef>& refs)
{
    std::string out;
    for (const CSymbolRef& r : refs)
        out += (r.symbol->scope.empty() ? "" : r.symbol->scope + "::") + r.symbol->name + ' ';
    return out;
}

std::unique_ptr<CSymbolIndex> Indexed(const Site& site)
{
    auto index = std::make_unique<CSymbolIndex>(site.cache());
    index->SetRoot(site.root());
    EXPECT_TRUE(index->WaitUntilIdle(30000));
    return index;
}

TEST(SymbolIndex, CacheKeyedBySizeAndTime)
{
    Site site;
    EXPECT_EQ(Names(Indexed(site)->Find("tpl_content")), "tpl_content ");
    // Same size and time, other text: the cache answers; a new time reads the file.
    const QString tpl = site.root() + "inc/tpl.php";
    const QDateTime time = QFileInfo(tpl).lastModified();
    Write(tpl, "<?php\nfunction tpl_renamed($prependTOC = true) {}\n");
    QFile f(tpl);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
    f.close();
    EXPECT_EQ(Names(Indexed(site)->Find("tpl_content")), "tpl_content ");
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(time.addSecs(5), QFileDevice::FileModificationTime));
    f.close();
    auto index = Indexed(site);
    EXPECT_EQ(Names(index->Find("tpl_content")), "");
    EXPECT_EQ(Names(index->Find("TPL_RENAMED")), "tpl_renamed ");
    EXPECT_FALSE(index->CacheWasRebuilt());
}

TEST(SymbolIndex, DamagedCacheIsRebuilt)
{
    const std::function<void(const QString&)> damages[] = {
        [](const QString& path) { Write(path, QByteArray(4096, 'x')); },
        [](const QString& path) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.resize(f.size() / 2);
        },
        [](const QString& path) {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
            sqlite3_exec(db, "UPDATE files SET symbols = x'51534d3105000000ffff'", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        },
    };
    for (const auto& damage : damages) {
        Site site;
        Indexed(site);
        damage(site.cache());
        auto index = Indexed(site);
        EXPECT_TRUE(index->CacheWasRebuilt());
        EXPECT_EQ(Names(index->Find("tpl_content")), "tpl_content ");
        EXPECT_EQ(index->SymbolCount(), 12u);
        EXPECT_FALSE(Indexed(site)->CacheWasRebuilt());
    }
}

TEST(SymbolIndex, FilterBestFirst)
{
    Site site;
    auto index = Indexed(site);
    EXPECT_EQ(Names(index->Match("gtp", 5)), "get_the_post ");
    EXPECT_EQ(Names(index->Match("tplcont", 5)), "tpl_content Page::tplContent ");   // a function before a method
    EXPECT_EQ(Names(index->Match("render", 5)), "Page::render ");
    EXPECT_EQ(Names(index->Match("he", 3)), "Base::hello Page::only_here Other ");   // prefix, word, inside
    EXPECT_GT(SymbolMatch::Score("getTemplatePart", "gtp"), 0);
    EXPECT_EQ(SymbolMatch::Score("get_the_post", "gpt"), 0);
}

TEST(SymbolLookup, WhatANameMeans)
{
    Site site;
    auto index = Indexed(site);
    const std::string text = kLib;
    const struct {
        const char* at;   // the text just before the caret
        const char* found;
    } cases[] = {
        {"$this->hel", "Base::hello "},          {"$b->hel", "Base::hello "},
        {"$v->rend", "Page::render "},           {"parent::hel", "Base::hello "},
        {"self::K", "Base::K "},                 {"static::rend", "Page::render "},
        {"$u->only_h", "Page::only_here "},      {"$u->twi", "Page::twice Other::twice "},
        {"extends Ba", "Base "},                 {"new Pa", "Page "},
        {"render(Ba", "Base "},                  {"return tpl_c", "tpl_content "},
    };
    for (const auto& c : cases) {
        const std::size_t pos = text.find(c.at);
        ASSERT_NE(pos, std::string::npos) << c.at;
        const auto found = SymbolLookup::Definitions(*index, site.root() + "lib.php", text, pos + strlen(c.at));
        EXPECT_EQ(Names(found.targets), c.found) << c.at;
    }
    const std::string call = "<?php strlen($x);";
    EXPECT_EQ(SymbolLookup::Definitions(*index, QString(), call, 8).builtin, "strlen");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
