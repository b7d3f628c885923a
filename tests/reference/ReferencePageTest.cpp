// The reference pages: their trees and images, the fill, and the messages a
// click and a double click post.
#include "FillReferenceTree.h"
#include "MessageRecorder.h"
#include "ReferenceFixtures.h"
#include "ReferenceImages.h"
#include "ReferencePage.h"
#include "ReferenceTables.h"
#include "ReferenceTreeCtrl.h"
#include "WSCSSView.h"
#include "WSHtmlView.h"
#include "WSJavaScriptView.h"
#include "WSPHPView.h"

#include <QPainter>
#include <array>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace ReferenceFixtures;

namespace {

std::vector<std::unique_ptr<CReferencePage>> MakeAllPages(QObject* target = nullptr)
{
    std::vector<std::unique_ptr<CReferencePage>> pages;
    pages.push_back(std::make_unique<CWSPHPView>(target));
    pages.push_back(std::make_unique<CWSCSSView>(target));
    pages.push_back(std::make_unique<CWSHtmlView>(target));
    pages.push_back(std::make_unique<CWSJavaScriptView>(target));
    return pages;
}

QImage ImageOf(const QIcon& icon, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(16, 16), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool HasVisiblePixels(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

QStringList TopTitles(const QTreeWidget* tree)
{
    QStringList titles;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        titles << tree->topLevelItem(i)->text(0);
    return titles;
}

} // namespace

TEST(ReferencePages, EachPageHasItsKindTreeIdTableAndImages)
{
    const auto pages = MakeAllPages();
    const int kinds[] = {0, 1, 2, 3};
    const int ids[] = {109, 110, 107, 108};
    const qsizetype images[] = {6, 2, 2, 6};
    for (size_t i = 0; i < pages.size(); ++i) {
        const CReferencePage& page = *pages[i];
        SCOPED_TRACE(page.metaObject()->className());
        EXPECT_EQ(page.GetKind(), kinds[i]);
        EXPECT_EQ(page.GetTableName(), ReferenceTables::TableName(kinds[i]));
        ASSERT_NE(page.GetTreeCtrl(), nullptr);
        EXPECT_EQ(page.GetTreeCtrl()->parent(), &page);
        EXPECT_EQ(page.GetTreeCtrl()->GetControlId(), ids[i]);
        EXPECT_EQ(page.GetTreeCtrl()->property("controlId").toInt(), ids[i]);
        EXPECT_EQ(page.GetTreeCtrl()->topLevelItemCount(), 0);

        const QList<QIcon>& list = page.GetTreeCtrl()->GetImageList();
        ASSERT_EQ(list.size(), images[i]);
        QList<QImage> seen;
        for (const QIcon& icon : list) {
            const QImage image = ImageOf(icon);
            ASSERT_EQ(image.size(), QSize(16, 16));
            EXPECT_TRUE(HasVisiblePixels(image));
            EXPECT_FALSE(seen.contains(image)) << "two kinds share one image";
            // The selected image is the same image, not a tinted copy.
            EXPECT_EQ(ImageOf(icon, QIcon::Selected), image);
            seen << image;
        }
    }
    EXPECT_EQ((std::array{CWSPHPView::kTreeId, CWSCSSView::kTreeId, CWSHtmlView::kTreeId,
                          CWSJavaScriptView::kTreeId}),
              (std::array{109, 110, 107, 108}));
}

TEST(ReferencePages, TheFilterBoxAndTheTreeCoverThePageAtEverySize)
{
    CWSHtmlView page;
    page.resize(220, 200);
    page.show();
    for (const QSize size : {QSize(220, 200), QSize(32, 32), QSize(400, 700)}) {
        page.resize(size);
        QCoreApplication::processEvents();
        const QRect filter = page.FilterBox()->geometry();
        EXPECT_EQ(filter, QRect(0, 0, page.width(), filter.height())) << size.width() << "x" << size.height();
        EXPECT_EQ(page.GetTreeCtrl()->geometry(), page.rect().adjusted(0, filter.height(), 0, 0))
            << size.width() << "x" << size.height();
    }
}

TEST(ReferenceImages, StripsAreCutAndTheMaskColourIsTransparent)
{
    QImage strip(32, 16, QImage::Format_RGB32);
    strip.fill(qRgb(0, 0xFF, 0));                  // green: the mask of the PHP strip
    QPainter p(&strip);
    p.fillRect(QRect(2, 2, 4, 4), QColor(0xFF, 0, 0));
    p.fillRect(QRect(20, 4, 3, 3), QColor(0, 0, 0xFF));
    p.end();
    const QList<QIcon> icons = ReferenceImages::FromStrip(strip, 3, ReferenceImages::MaskColour(0));
    ASSERT_EQ(icons.size(), 3);
    const QImage first = ImageOf(icons[0]);
    EXPECT_EQ(qAlpha(first.pixel(0, 0)), 0);
    EXPECT_EQ(first.pixel(3, 3), qRgb(0xFF, 0, 0));
    const QImage second = ImageOf(icons[1]);
    EXPECT_EQ(qAlpha(second.pixel(0, 0)), 0);
    EXPECT_EQ(second.pixel(5, 5), qRgb(0, 0, 0xFF));
    EXPECT_TRUE(icons[2].isNull()) << "the strip holds two images only";

    // The CSS and Html strips key out red instead.
    EXPECT_EQ(ReferenceImages::MaskColour(1), qRgb(0xFF, 0, 0));
    EXPECT_EQ(ReferenceImages::MaskColour(2), qRgb(0xFF, 0, 0));
    EXPECT_EQ(ReferenceImages::MaskColour(3), qRgb(0, 0xFF, 0));
    const QImage keyedRed = ImageOf(ReferenceImages::FromStrip(strip, 1, ReferenceImages::MaskColour(1))[0]);
    EXPECT_EQ(keyedRed.pixel(0, 0), qRgb(0, 0xFF, 0));
    EXPECT_EQ(qAlpha(keyedRed.pixel(3, 3)), 0);
}

TEST(FillReferenceTree, ItemsShowTitleImageAndIdInNameOrder)
{
    const QString table = ReferenceTables::TableName(ReferenceKind::JavaScript);
    CReferenceDbFile file(QStringList{CreateTable(table)} + InsertRows(table, {
        {7, QStringLiteral("Zeta"), QStringLiteral("b"), 0, 0},
        {3, QStringLiteral("Alpha"), QStringLiteral("c"), 3, 0},
        {9, QStringLiteral("Mid"), QStringLiteral("a"), 1, 0},
        {20, QStringLiteral("y-child"), QStringLiteral("y"), 4, 9},
        {21, QStringLiteral("x-child"), QStringLiteral("x"), 5, 9},
        {22, QStringLiteral("unknown kind"), QStringLiteral("z"), 9, 9},
        {30, QStringLiteral("grandchild"), QStringLiteral("0"), 1, 20},
    }));
    CWSJavaScriptView page;
    CReferenceTreeCtrl* tree = page.GetTreeCtrl();
    page.Load(file.Database());

    ASSERT_EQ(TopTitles(tree), (QStringList{"Mid", "Zeta", "Alpha"}));
    const QTreeWidgetItem* mid = tree->topLevelItem(0);
    EXPECT_EQ(CReferenceTreeCtrl::ItemData(mid), 9);
    EXPECT_EQ(mid->icon(0).cacheKey(), tree->Image(1).cacheKey());
    EXPECT_EQ(CReferenceTreeCtrl::ItemKind(mid), 1);
    EXPECT_EQ(CReferenceTreeCtrl::ItemKind(mid->child(2)), 9);
    EXPECT_EQ(CReferenceTreeCtrl::ItemData(tree->topLevelItem(2)), 3);
    EXPECT_EQ(tree->topLevelItem(2)->icon(0).cacheKey(), tree->Image(3).cacheKey());

    ASSERT_EQ(mid->childCount(), 3);
    EXPECT_EQ(mid->child(0)->text(0), "x-child");
    EXPECT_EQ(CReferenceTreeCtrl::ItemData(mid->child(0)), 21);
    EXPECT_EQ(mid->child(0)->icon(0).cacheKey(), tree->Image(5).cacheKey());
    EXPECT_EQ(mid->child(1)->text(0), "y-child");
    // A kind beyond the image list shows no image.
    EXPECT_TRUE(mid->child(2)->icon(0).isNull());
    // The grandchild is never read, so entry 20 has no children.
    EXPECT_EQ(mid->child(1)->childCount(), 0);
    EXPECT_EQ(tree->topLevelItem(1)->childCount(), 0);

    // The fill adds to the tree; it never clears it first.
    page.Load(file.Database());
    EXPECT_EQ(tree->topLevelItemCount(), 6);
    EXPECT_EQ(tree->topLevelItem(3)->text(0), "Mid");
}

TEST(FillReferenceTree, NoDatabaseLeavesTheTreeAsItWas)
{
    CWSCSSView page;
    page.GetTreeCtrl()->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("kept")}));
    page.Load(nullptr);
    FillReferenceTree(page.GetTreeCtrl(), nullptr, page.GetTableName());
    EXPECT_EQ(TopTitles(page.GetTreeCtrl()), QStringList{"kept"});
}

namespace {

// A shown page of kind with three entries, the first with two children, and
// last a category with one entry in it; all expanded.
struct ShownPage
{
    CMessageRecorder frame;
    std::unique_ptr<CReferenceDbFile> file;
    std::unique_ptr<CReferencePage> page;

    explicit ShownPage(std::unique_ptr<CReferencePage> made) : page(std::move(made))
    {
        const QString table = page->GetTableName();
        const qint32 category = ReferenceTables::CategoryKind(page->GetKind());
        const qint32 entry = category == 0 ? 1 : 0;
        file = std::make_unique<CReferenceDbFile>(QStringList{CreateTable(table)} + InsertRows(table, {
            {1, QStringLiteral("first"), QStringLiteral("a"), entry, 0},
            {2, QStringLiteral("second"), QStringLiteral("b"), entry, 0},
            {3, QStringLiteral("third"), QStringLiteral("c"), entry, 0},
            {11, QStringLiteral("child one"), QStringLiteral("a"), entry, 1},
            {12, QStringLiteral("child two"), QStringLiteral("b"), entry, 1},
            {4, QStringLiteral("02 String"), QStringLiteral("d"), category, 0},
            {41, QStringLiteral("member"), QStringLiteral("m"), entry, 4},
        }));
        page->SetMessageTarget(&frame);
        page->Load(file->Database());
        page->resize(220, 300);
        page->show();
        page->GetTreeCtrl()->expandAll();
        QCoreApplication::processEvents();
    }

    CReferenceTreeCtrl* Tree() const { return page->GetTreeCtrl(); }
    QPoint CentreOf(QTreeWidgetItem* item) const { return Tree()->visualItemRect(item).center(); }
};

void ExpectMessage(const CMessageRecorder::Message& m, QEvent::Type type, const CReferencePage& page)
{
    EXPECT_EQ(m.type, type);
    EXPECT_EQ(m.wParam, page.GetKind());
    EXPECT_EQ(m.lParam, 0);
    EXPECT_EQ(m.control, page.GetTreeCtrl());
}

} // namespace

TEST(ReferencePageMessages, ClickAndDoubleClickPostTheKindAndTheTree)
{
    auto pages = MakeAllPages();
    for (auto& made : pages) {
        ShownPage shown(std::move(made));
        SCOPED_TRACE(shown.page->metaObject()->className());
        QWidget* viewport = shown.Tree()->viewport();
        QTreeWidgetItem* child = shown.Tree()->topLevelItem(0)->child(1);

        QTest::mouseClick(viewport, Qt::LeftButton, {}, shown.CentreOf(child));
        EXPECT_TRUE(shown.frame.messages.isEmpty()) << "posted, not sent";
        QCoreApplication::processEvents();
        ASSERT_EQ(shown.frame.messages.size(), 1);
        ExpectMessage(shown.frame.messages[0], QuilletEvent::PageSelection, *shown.page);
        // The main frame reads the entry from the tree it is given.
        EXPECT_EQ(CReferenceTreeCtrl::ItemData(CReferenceTreeCtrl::SelectedItem(shown.Tree())), 12);

        // A double click: click, double-click event, release.
        QTreeWidgetItem* third = shown.Tree()->topLevelItem(2);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, shown.CentreOf(third));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, shown.CentreOf(third));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, shown.CentreOf(third));
        EXPECT_EQ(shown.frame.messages.size(), 1) << "posted, not sent";
        QCoreApplication::processEvents();
        ASSERT_EQ(shown.frame.messages.size(), 3);
        ExpectMessage(shown.frame.messages[1], QuilletEvent::PageSelection, *shown.page);
        ExpectMessage(shown.frame.messages[2], QuilletEvent::InsertEntry, *shown.page);
        EXPECT_EQ(CReferenceTreeCtrl::ItemData(CReferenceTreeCtrl::SelectedItem(shown.Tree())), 3);

        // After the double click a single click is a click again.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, shown.CentreOf(child));
        QCoreApplication::processEvents();
        ASSERT_EQ(shown.frame.messages.size(), 4);
        ExpectMessage(shown.frame.messages[3], QuilletEvent::PageSelection, *shown.page);
    }
}

TEST(ReferencePageMessages, ClicksOutsideEntriesPostToo_OtherButtonsDoNot)
{
    ShownPage shown(std::make_unique<CWSPHPView>());
    QWidget* viewport = shown.Tree()->viewport();
    const QPoint below(20, viewport->height() - 5);
    ASSERT_EQ(shown.Tree()->itemAt(below), nullptr);

    QTest::mouseClick(viewport, Qt::RightButton, {}, shown.CentreOf(shown.Tree()->topLevelItem(1)));
    QTest::mouseClick(viewport, Qt::MiddleButton, {}, below);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown.frame.messages.isEmpty());

    // Like the tree's own click notification, a click on empty space is reported;
    // the main frame then finds no selected entry, or the one selected before.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, below);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, below);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, below);
    QCoreApplication::processEvents();
    ASSERT_EQ(shown.frame.messages.size(), 2);
    ExpectMessage(shown.frame.messages[0], QuilletEvent::PageSelection, *shown.page);
    ExpectMessage(shown.frame.messages[1], QuilletEvent::InsertEntry, *shown.page);

    // A double click whose release never came does not swallow the next click.
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, below);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, below);
    QCoreApplication::processEvents();
    ASSERT_EQ(shown.frame.messages.size(), 4);
    ExpectMessage(shown.frame.messages[2], QuilletEvent::InsertEntry, *shown.page);
    ExpectMessage(shown.frame.messages[3], QuilletEvent::PageSelection, *shown.page);
}

TEST(ReferencePageMessages, NoTargetNoMessageAndATargetGivenLater)
{
    CMessageRecorder frame;
    ShownPage shown(std::make_unique<CWSCSSView>());
    shown.page->SetMessageTarget(nullptr);
    const QPoint first = shown.CentreOf(shown.Tree()->topLevelItem(0));
    QTest::mouseClick(shown.Tree()->viewport(), Qt::LeftButton, {}, first);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown.frame.messages.isEmpty());

    shown.page->SetMessageTarget(&frame);
    EXPECT_EQ(shown.page->GetMessageTarget(), &frame);
    QTest::mouseClick(shown.Tree()->viewport(), Qt::LeftButton, {}, first);
    QCoreApplication::processEvents();
    ASSERT_EQ(frame.messages.size(), 1);
    ExpectMessage(frame.messages[0], QuilletEvent::PageSelection, *shown.page);
}

TEST(ReferencePageMessages, CategoriesOpenAndCloseButShowAndInsertNothing)
{
    auto pages = MakeAllPages();
    for (auto& made : pages) {
        ShownPage shown(std::move(made));
        SCOPED_TRACE(shown.page->metaObject()->className());
        QWidget* viewport = shown.Tree()->viewport();
        QTreeWidgetItem* category = shown.Tree()->topLevelItem(3);
        ASSERT_EQ(category->text(0), "02 String");
        ASSERT_TRUE(category->isExpanded());

        // A click selects the category and posts nothing.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, shown.CentreOf(category));
        QCoreApplication::processEvents();
        EXPECT_TRUE(shown.frame.messages.isEmpty());
        EXPECT_EQ(CReferenceTreeCtrl::SelectedItem(shown.Tree()), category);

        // A double click closes it, the next one opens it again; no insertion.
        for (const bool expanded : {false, true}) {
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, shown.CentreOf(category));
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, shown.CentreOf(category));
            QCoreApplication::processEvents();
            EXPECT_EQ(category->isExpanded(), expanded);
        }
        EXPECT_TRUE(shown.frame.messages.isEmpty());

        // The entry inside it is an entry like any other.
        QTreeWidgetItem* member = category->child(0);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, shown.CentreOf(member));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, shown.CentreOf(member));
        QCoreApplication::processEvents();
        ASSERT_EQ(shown.frame.messages.size(), 2);
        ExpectMessage(shown.frame.messages[0], QuilletEvent::PageSelection, *shown.page);
        ExpectMessage(shown.frame.messages[1], QuilletEvent::InsertEntry, *shown.page);
        EXPECT_EQ(CReferenceTreeCtrl::ItemData(CReferenceTreeCtrl::SelectedItem(shown.Tree())), 41);
    }
}
