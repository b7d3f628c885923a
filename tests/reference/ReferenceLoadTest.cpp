// The deferred load of the four reference pages.
#include "ConnectionString.h"
#include "ReferenceFixtures.h"
#include "ReferenceLoad.h"
#include "ReferenceTreeCtrl.h"
#include "ScriptedResponder.h"
#include "WSCSSView.h"
#include "WSHtmlView.h"
#include "WSJavaScriptView.h"
#include "WSPHPView.h"

#include <QApplication>
#include <QMessageBox>
#include <gtest/gtest.h>

using namespace ReferenceFixtures;

namespace {

// The six pages of the workspace bar by tab: the four reference pages, then two
// pages of other kinds.
struct Pages
{
    CWSPHPView php;
    CWSCSSView css;
    CWSHtmlView html;
    CWSJavaScriptView javascript;
    QWidget codeBlock;
    QWidget localSite;
    QList<int> asked;   // the tabs the load asked for, in order

    QWidget* At(int tab)
    {
        asked << tab;
        QWidget* views[] = {&php, &css, &html, &javascript, &codeBlock, &localSite};
        return tab >= 0 && tab < 6 ? views[tab] : nullptr;
    }
    std::function<QWidget*(int)> ViewAt()
    {
        return [this](int tab) { return At(tab); };
    }
    QList<CReferencePage*> Reference() { return {&php, &css, &html, &javascript}; }
};

// Each table gets its own entries, titled after the page, so a page filled from
// another page's table shows.
QStringList TablesFor(const QList<int>& kinds)
{
    QStringList statements;
    for (int kind : kinds) {
        const QString table = ReferenceTables::TableName(kind);
        const QString caption = ReferenceTables::Caption(kind);
        statements << CreateTable(table)
                   << InsertRows(table, {{1, caption + QStringLiteral(" category"), QStringLiteral("1"), 0, 0},
                                         {2, caption + QStringLiteral(" entry"), QStringLiteral("2"), 1, 1},
                                         {3, caption + QStringLiteral(" other"), QStringLiteral("3"), 0, 0}});
    }
    return statements;
}

bool AnyMessageBox()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w))
            return true;
    return false;
}

} // namespace

TEST(LoadReferencePages, FillsPhpHtmlCssJavaScriptInThatOrderEachFromItsTable)
{
    CReferenceDbFile file(TablesFor({0, 1, 2, 3}));
    Pages pages;
    // Record which pages were already filled each time the database is asked for.
    QList<QList<int>> filledWhenAsked;
    auto database = [&]() -> CAdoDatabase* {
        QList<int> filled;
        for (CReferencePage* page : pages.Reference())
            if (page->GetTreeCtrl()->topLevelItemCount() > 0)
                filled << page->GetKind();
        filledWhenAsked << filled;
        return file.Database();
    };
    LoadReferencePages(pages.ViewAt(), database);

    EXPECT_EQ(pages.asked, (QList<int>{0, 2, 1, 3}));
    EXPECT_EQ(filledWhenAsked, (QList<QList<int>>{{}, {0}, {0, 2}, {0, 1, 2}}));
    for (CReferencePage* page : pages.Reference()) {
        const QString caption = ReferenceTables::Caption(page->GetKind());
        SCOPED_TRACE(caption.toStdString());
        CReferenceTreeCtrl* tree = page->GetTreeCtrl();
        ASSERT_EQ(tree->topLevelItemCount(), 2);
        EXPECT_EQ(tree->topLevelItem(0)->text(0), caption + " category");
        ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
        EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), caption + " entry");
        EXPECT_EQ(tree->topLevelItem(1)->text(0), caption + " other");
    }
}

TEST(LoadReferencePages, WithoutTheDatabaseFourEmptyPagesAndNoMessage)
{
    CScriptedResponder user;
    Pages pages;
    int askedForDatabase = 0;
    LoadReferencePages(pages.ViewAt(), [&]() -> CAdoDatabase* {
        ++askedForDatabase;
        return nullptr;
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(askedForDatabase, 4);
    for (CReferencePage* page : pages.Reference())
        EXPECT_EQ(page->GetTreeCtrl()->topLevelItemCount(), 0) << page->GetKind();
    EXPECT_TRUE(user.asked.isEmpty());
    EXPECT_FALSE(AnyMessageBox());

    // A database file that is no database behaves the same.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quillet.dll"));
    QFile junk(path);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    CAdoDatabase unreadable;
    unreadable.Open(ConnectionString::ForFile(path));
    LoadReferencePages(pages.ViewAt(), [&] { return &unreadable; });
    for (CReferencePage* page : pages.Reference())
        EXPECT_EQ(page->GetTreeCtrl()->topLevelItemCount(), 0) << page->GetKind();
    EXPECT_TRUE(user.asked.isEmpty());
    EXPECT_FALSE(AnyMessageBox());
}

TEST(LoadReferencePages, AMissingTableLeavesOnlyItsPageEmpty)
{
    CScriptedResponder user;
    CReferenceDbFile file(TablesFor({0, 1, 3}));   // no Html table
    Pages pages;
    LoadReferencePages(pages.ViewAt(), [&] { return file.Database(); });
    EXPECT_EQ(pages.php.GetTreeCtrl()->topLevelItemCount(), 2);
    EXPECT_EQ(pages.css.GetTreeCtrl()->topLevelItemCount(), 2);
    EXPECT_EQ(pages.html.GetTreeCtrl()->topLevelItemCount(), 0);
    EXPECT_EQ(pages.javascript.GetTreeCtrl()->topLevelItemCount(), 2);
    EXPECT_TRUE(user.asked.isEmpty());
}

TEST(LoadReferencePages, TabsWithoutReferencePagesArePassedOver)
{
    CReferenceDbFile file(TablesFor({0, 1, 2, 3}));
    CWSCSSView css;
    QWidget placeholder;
    // Tab 0 holds no reference page, tab 2 none at all; the CSS page at tab 1 loads.
    LoadReferencePages([&](int tab) -> QWidget* { return tab == 1 ? &css : tab == 0 ? &placeholder : nullptr; },
                       [&] { return file.Database(); });
    EXPECT_EQ(css.GetTreeCtrl()->topLevelItemCount(), 2);
}
