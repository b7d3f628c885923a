// The code style dialog and its font dialog, driven as a user would.
#include "CodeStyleDlg.h"
#include "ColourEditor.h"
#include "SlotFontDialog.h"
#include "SlotFormat.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QListView>
#include <QStyledItemDelegate>
#include <QGroupBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QSettings AppSettings()
{
    return QSettings(QStringLiteral("Fennroth"), QStringLiteral("Quillet"));
}

// Calls answer with the first visible top-level widget of type T once it shows
// (inside the modal loop that shows it); gives up after about five seconds.
template <class T>
void WhenShown(std::function<void(T*)> answer)
{
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, answer] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) {
                timer->stop();
                timer->deleteLater();
                answer(t);
                return;
            }
        }
        if (++*tries > 500) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "dialog never shown";
        }
    });
    timer->start(10);
}

QPushButton* BoxButton(QDialog* dlg, const QString& text)
{
    for (QPushButton* b : dlg->findChildren<QPushButton*>())
        if (b->text() == text && qobject_cast<QDialogButtonBox*>(b->parentWidget()))
            return b;
    return nullptr;
}

class CodeStyle : public ::testing::Test {
protected:
    void SetUp() override { AppSettings().clear(); }
    void TearDown() override { AppSettings().clear(); }
};

} // namespace

TEST_F(CodeStyle, DialogHasItsGroupsAndTenButtons)
{
    CCodeStyleDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("代码样式设置"));
    EXPECT_EQ(dlg.font().family(), QString::fromUtf8("宋体"));
    const auto groups = dlg.findChildren<QGroupBox*>();
    ASSERT_EQ(groups.size(), 2);
    QRect html, php;
    for (QGroupBox* g : groups)
        (g->title() == "Html" ? html : php) = g->geometry();
    ASSERT_FALSE(html.isNull());
    ASSERT_FALSE(php.isNull());
    EXPECT_LT(php.left(), html.left());

    const struct {
        int id;
        const char* caption;
        bool inHtml;
    } expected[] = {{1007, "元  素", true},  {1008, "属性值", true},  {1009, "分格符", true},  {1010, "分格符", false},
                    {1011, "关键字", false}, {1012, "标识符", false}, {1013, "注  释", false}, {1014, "字符串", false},
                    {1015, "操作符", false}, {1016, "数  值", false}};
    for (const auto& e : expected) {
        QPushButton* b = dlg.Button(e.id);
        ASSERT_NE(b, nullptr) << e.id;
        EXPECT_EQ(b->text(), QString::fromUtf8(e.caption)) << e.id;
        EXPECT_TRUE((e.inHtml ? html : php).contains(b->geometry())) << e.id;
        EXPECT_FALSE((e.inHtml ? php : html).intersects(b->geometry())) << e.id;
    }
    QPushButton* close = dlg.Button(1);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QString::fromUtf8("关闭"));
    EXPECT_TRUE(close->isDefault());
    EXPECT_EQ(dlg.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly).size(), 11);

    dlg.show();
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(CodeStyle, ConfirmedFontIsStoredAsTheSlotsSevenValues)
{
    CCodeStyleDlg dlg;
    dlg.show();
    const QString family = QFontDatabase::families().value(0);
    ASSERT_FALSE(family.isEmpty());
    CChosenFont chosen;
    WhenShown<CSlotFontDialog>([&](CSlotFontDialog* fd) {
        QFont f(family, 12);
        f.setUnderline(true);
        f.setStrikeOut(true);
        fd->FontPicker()->setCurrentFont(f);
        EXPECT_TRUE(fd->SelectColour(0x0000FF)); // red
        chosen = fd->Chosen();
        QTest::mouseClick(BoxButton(fd, QString::fromUtf8("确定")), Qt::LeftButton);
    });
    QTest::mouseClick(dlg.Button(1009), Qt::LeftButton);

    QSettings s = AppSettings();
    QStringList keys = s.allKeys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"Settings/CF2_Bold", "Settings/CF2_Color", "Settings/CF2_FaceName",
                                 "Settings/CF2_Italic", "Settings/CF2_Size", "Settings/CF2_StrikeOut",
                                 "Settings/CF2_UnderLine"}));
    s.beginGroup("Settings");
    EXPECT_EQ(s.value("CF2_FaceName").toString(), family);
    EXPECT_EQ(s.value("CF2_Size").toInt(), LogicalHeightFromPoints(12, dlg.logicalDpiY()));
    EXPECT_EQ(s.value("CF2_Color").toInt(), 0x0000FF);
    EXPECT_EQ(s.value("CF2_StrikeOut").toInt(), 1);
    EXPECT_EQ(s.value("CF2_UnderLine").toInt(), 1);
    EXPECT_EQ(s.value("CF2_Bold").toInt(), chosen.weight == 700 ? 1 : 0);
    EXPECT_EQ(s.value("CF2_Italic").toInt(), chosen.italic ? 1 : 0);
    s.endGroup();
    const CSlotFormat f = GetSlotFormat(s, 2);
    EXPECT_EQ(f.crTextColor, 0x0000FFu);
    EXPECT_TRUE(f.StrikeOut() && f.Underline());
}

TEST_F(CodeStyle, CancelWritesNothing)
{
    CCodeStyleDlg dlg;
    dlg.show();
    WhenShown<CSlotFontDialog>([](CSlotFontDialog* fd) {
        fd->SelectColour(0x00FF00);
        QTest::mouseClick(BoxButton(fd, QString::fromUtf8("取消")), Qt::LeftButton);
    });
    QTest::mouseClick(dlg.Button(1011), Qt::LeftButton);
    EXPECT_TRUE(AppSettings().allKeys().isEmpty());
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(CodeStyle, EveryButtonEditsItsOwnSlot)
{
    CCodeStyleDlg dlg;
    dlg.show();
    const int ids[kSlotCount] = {1007, 1010, 1009, 1008, 1011, 1012, 1013, 1014, 1015, 1016};
    for (int slot = 0; slot < kSlotCount; ++slot) {
        WhenShown<CSlotFontDialog>([](CSlotFontDialog* fd) { fd->accept(); });
        QTest::mouseClick(dlg.Button(ids[slot]), Qt::LeftButton);
        QSettings s = AppSettings();
        EXPECT_EQ(s.allKeys().size(), 7 * (slot + 1)) << slot;
        EXPECT_TRUE(s.contains(QStringLiteral("Settings/CF%1_FaceName").arg(slot))) << slot;
    }
}

TEST_F(CodeStyle, ChosenFontInLogicalTerms)
{
    QFont f(QStringLiteral("Any"), 12);
    f.setWeight(QFont::DemiBold);
    f.setItalic(true);
    CChosenFont c = CSlotFontDialog::ChosenFontFrom(f, 0x123456, 96);
    EXPECT_EQ(c.faceName, QStringLiteral("Any"));
    EXPECT_EQ(c.height, -16);
    EXPECT_EQ(c.weight, 600);
    EXPECT_TRUE(c.italic);
    EXPECT_FALSE(c.underline || c.strikeOut);
    EXPECT_EQ(c.color, 0x123456u);
    EXPECT_EQ(SlotFontValues(0, c)[5].second.toInt(), 0);
    f.setWeight(QFont::ExtraBold);
    EXPECT_EQ(SlotFontValues(0, CSlotFontDialog::ChosenFontFrom(f, 0, 96))[5].second.toInt(), 0);
    f.setWeight(QFont::Bold);
    EXPECT_EQ(SlotFontValues(0, CSlotFontDialog::ChosenFontFrom(f, 0, 96))[5].second.toInt(), 1);
    f.setPixelSize(20);
    EXPECT_EQ(CSlotFontDialog::ChosenFontFrom(f, 0, 96).height, -20);
}

TEST_F(CodeStyle, MenuEntryPointRunsTheDialogModally)
{
    QWidget parent;
    parent.show();
    QString title;
    WhenShown<CCodeStyleDlg>([&](CCodeStyleDlg* d) {
        title = d->windowTitle();
        EXPECT_TRUE(d->isModal());
        EXPECT_EQ(d->parentWidget(), &parent);
        QTest::mouseClick(d->Button(1), Qt::LeftButton);
    });
    ColourEditor::ShowCodeStyleDialog(&parent);
    EXPECT_EQ(title, QString::fromUtf8("代码样式设置"));
}

TEST_F(CodeStyle, TheFontDialogOpensOnTheEditorsPlainFontAndEscapeClosesItWhole)
{
    CCodeStyleDlg dlg;
    dlg.show();
    const QFont editor = ColourEditor::DefaultEditorFont();
    // Changing only the colour stores the editor's own font in that colour.
    QFont shown;
    QStringList styles;
    WhenShown<CSlotFontDialog>([&](CSlotFontDialog* fd) {
        shown = fd->FontPicker()->currentFont();
        // The styles are shown in Chinese, whatever the font calls them.
        auto* delegate = fd->StyleList() ? qobject_cast<QStyledItemDelegate*>(fd->StyleList()->itemDelegate()) : nullptr;
        if (delegate && fd->StyleField()) {
            QAbstractItemModel* model = fd->StyleList()->model();
            for (int row = 0; row < model->rowCount(); ++row)
                styles << delegate->displayText(model->index(row, 0).data(), QLocale());
            styles << fd->StyleField()->text();
        }
        EXPECT_TRUE(fd->SelectColour(0x0000FF));
        QTest::mouseClick(BoxButton(fd, QString::fromUtf8("确定")), Qt::LeftButton);
    });
    QTest::mouseClick(dlg.Button(1011), Qt::LeftButton);
    EXPECT_EQ(shown.family(), QFontInfo(editor).family());
    EXPECT_EQ(shown.pointSize(), editor.pointSize());
    EXPECT_EQ(shown.weight(), QFont::Normal);
    EXPECT_FALSE(shown.italic());
    ASSERT_GE(styles.size(), 2);
    EXPECT_EQ(styles.last(), QString::fromUtf8("常规"));
    for (const char* english : {"Regular", "Book", "Roman", "Bold", "Italic", "Oblique"})
        EXPECT_FALSE(styles.join(u' ').contains(QLatin1String(english))) << styles.join(u' ').toStdString();
    QSettings s = AppSettings();
    EXPECT_EQ(s.value("Settings/CF4_FaceName").toString(), QFontInfo(editor).family());
    EXPECT_EQ(s.value("Settings/CF4_Size").toInt(), LogicalHeightFromPoints(shown.pointSizeF(), dlg.logicalDpiY()));
    EXPECT_EQ(s.value("Settings/CF4_Bold").toInt() + s.value("Settings/CF4_Italic").toInt(), 0);

    // Escape in the font lists ends the whole dialog: nothing stays open, nothing is stored.
    s.clear();
    bool open = true;
    WhenShown<CSlotFontDialog>([&](CSlotFontDialog* fd) {
        QWidget* lists = fd->FontPicker()->focusWidget() ? fd->FontPicker()->focusWidget() : fd->FontPicker();
        QTest::keyClick(lists, Qt::Key_Escape);
        open = fd->isVisible();
        if (open)
            fd->reject();
    });
    QTest::mouseClick(dlg.Button(1011), Qt::LeftButton);
    EXPECT_FALSE(open);
    EXPECT_TRUE(AppSettings().allKeys().isEmpty());
}
