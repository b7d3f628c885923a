// The four pages loaded from the reference database that the build ships.
#include "AdoDatabase.h"
#include "AdoResultSet.h"
#include "ConnectionString.h"
#include "ReferenceLoad.h"
#include "ReferenceTreeCtrl.h"
#include "WSCSSView.h"
#include "WSHtmlView.h"
#include "WSJavaScriptView.h"
#include "WSPHPView.h"

#include <QFileInfo>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

qint32 Count(CAdoDatabase& db, const QString& statement)
{
    CAdoResultSet rs;
    rs.Open(db.GetConnection(), statement, Ado::adOpenForwardOnly, Ado::adLockReadOnly, Ado::adUseClient);
    qint32 n = -1;
    if (rs.GetRecordCount() > 0)
        rs.GetFieldValue(QStringLiteral("n"), n);
    return n;
}

int ItemCount(const QTreeWidget* tree)
{
    int n = tree->topLevelItemCount();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        n += tree->topLevelItem(i)->childCount();
    return n;
}

} // namespace

TEST(ShippedReferenceDatabase, FillsTheFourPagesWithTheirTwoLevelTrees)
{
    const QString path = QStringLiteral(QUILLET_BIN_DIR "/quillet.dll");
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path))) << db.GetLastErrorText().toStdString();

    CWSPHPView php;
    CWSCSSView css;
    CWSHtmlView html;
    CWSJavaScriptView javascript;
    CReferencePage* pages[] = {&php, &css, &html, &javascript};
    LoadReferencePages([&](int tab) -> QWidget* { return tab < 4 ? pages[tab] : nullptr; },
                       [&] { return &db; });

    for (CReferencePage* page : pages) {
        SCOPED_TRACE(page->metaObject()->className());
        const QString table = page->GetTableName();
        const qint32 top = Count(db, QStringLiteral("SELECT count(*) AS n FROM %1 WHERE f=0").arg(table));
        const qint32 second = Count(db, QStringLiteral("SELECT count(*) AS n FROM %1 WHERE f IN "
                                                       "(SELECT a FROM %1 WHERE f=0)").arg(table));
        ASSERT_GT(top, 0);
        EXPECT_EQ(page->GetTreeCtrl()->topLevelItemCount(), top);
        EXPECT_EQ(ItemCount(page->GetTreeCtrl()), top + second);
    }

    // The PHP page opens with the language constructs; strlen sits under its
    // category with its id as item data.
    CReferenceTreeCtrl* tree = php.GetTreeCtrl();
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("语言结构 (Language constructs)"));
    CAdoResultSet rs;
    rs.Open(db.GetConnection(),
            QStringLiteral("SELECT a,f FROM %1 WHERE c='strlen'").arg(php.GetTableName()),
            Ado::adOpenForwardOnly, Ado::adLockReadOnly, Ado::adUseClient);
    ASSERT_EQ(rs.GetRecordCount(), 1);
    qint32 id = 0, parent = 0;
    rs.GetFieldValue(QStringLiteral("a"), id);
    rs.GetFieldValue(QStringLiteral("f"), parent);
    const QList<QTreeWidgetItem*> found = tree->findItems(QStringLiteral("strlen"),
                                                          Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(CReferenceTreeCtrl::ItemData(found[0]), id);
    ASSERT_NE(found[0]->parent(), nullptr);
    EXPECT_EQ(CReferenceTreeCtrl::ItemData(found[0]->parent()), parent);
    EXPECT_EQ(found[0]->icon(0).cacheKey(), tree->Image(1).cacheKey());   // a function
}

TEST(ShippedReferenceDatabase, FilterBoxNarrowsTheTreeToMatchingEntries)
{
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(QStringLiteral(QUILLET_BIN_DIR "/quillet.dll"))));
    CWSPHPView php;
    php.Load(&db);
    const auto shown = [&] {
        QStringList names;
        for (QTreeWidgetItemIterator it(php.GetTreeCtrl(), QTreeWidgetItemIterator::NotHidden); *it; ++it)
            if ((*it)->childCount() == 0)
                names << (*it)->text(0);
        return names;
    };
    const qsizetype all = shown().size();
    php.FilterBox()->setText(QStringLiteral("strtou"));
    EXPECT_EQ(shown(), QStringList({"strtoupper", "mb_strtoupper"}));
    php.FilterBox()->setText(QStringLiteral("strlen"));
    EXPECT_TRUE(shown().contains("strlen"));
    EXPECT_FALSE(shown().contains("strtoupper"));
    php.FilterBox()->clear();
    EXPECT_EQ(shown().size(), all);
}
