#include "SlotFontDialog.h"

#include "FontStyleNames.h"
#include "SlotFormat.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStyledItemDelegate>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct NamedColour {
    const char* name; // UTF-8
    COLORREF value;
};

// The sixteen colours a font dialog offers, in its order.
const NamedColour kColours[] = {
    {"黑色", MakeColorRef(0, 0, 0)},       {"褐红色", MakeColorRef(128, 0, 0)},
    {"绿色", MakeColorRef(0, 128, 0)},     {"橄榄色", MakeColorRef(128, 128, 0)},
    {"藏青色", MakeColorRef(0, 0, 128)},   {"紫色", MakeColorRef(128, 0, 128)},
    {"深青色", MakeColorRef(0, 128, 128)}, {"灰色", MakeColorRef(128, 128, 128)},
    {"银色", MakeColorRef(192, 192, 192)}, {"红色", MakeColorRef(255, 0, 0)},
    {"酸橙色", MakeColorRef(0, 255, 0)},   {"黄色", MakeColorRef(255, 255, 0)},
    {"蓝色", MakeColorRef(0, 0, 255)},     {"紫红色", MakeColorRef(255, 0, 255)},
    {"水绿色", MakeColorRef(0, 255, 255)}, {"白色", MakeColorRef(255, 255, 255)},
};

// Shows a style list's names in Chinese; the list keeps the fonts' own
// names, by which the font dialog looks the styles up.
class CChineseStyleDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        return FontStyleNames::Chinese(QStyledItemDelegate::displayText(value, locale));
    }
};

QColor ToQColor(COLORREF c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

} // namespace

CSlotFontDialog::CSlotFontDialog(QWidget* parent, const QFont& initial) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("字体"));

    // Qt's own font dialog, embedded: its effects part has underline and strike-out.
    m_pFont = new QFontDialog(this);
    m_pFont->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_pFont->setWindowFlags(Qt::Widget);
    m_pFont->setCurrentFont(PlainFont(initial));
    // The embedded dialog ends itself on Escape: this one ends with it, so
    // no empty window is left.
    connect(m_pFont, &QDialog::finished, this, &QDialog::done);
    ShowStylesInChinese();

    m_pColour = new QComboBox(this);
    for (const NamedColour& c : kColours) {
        QPixmap swatch(16, 12);
        swatch.fill(ToQColor(c.value));
        m_pColour->addItem(QIcon(swatch), QString::fromUtf8(c.name), static_cast<uint>(c.value));
    }
    auto* colourLabel = new QLabel(QStringLiteral("颜色(&C):"), this);
    colourLabel->setBuddy(m_pColour);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(colourLabel);
    colourRow->addWidget(m_pColour);
    colourRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pFont);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
    m_pFont->setVisible(true);
}

QFont CSlotFontDialog::PlainFont(const QFont& font)
{
    const QString family = QFontInfo(font).family();
    QFont plain(family);
    if (font.pixelSize() > 0)
        plain.setPixelSize(font.pixelSize());
    else
        plain.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() : 10);
    // The style by the family's own name for it, which the dialog finds in
    // its list whatever language the generic style names are in; an oblique
    // style is no plain one.
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont face = QFontDatabase::font(family, style, 10);
        if (face.weight() == QFont::Normal && face.style() == QFont::StyleNormal) {
            plain.setStyleName(style);
            break;
        }
    }
    return plain;
}

void CSlotFontDialog::ShowStylesInChinese()
{
    // The style list is the one its label "字体风格" names; the style field
    // is the read-only field that shows the list's current name. Both only
    // show the style: the dialog keeps the chosen name apart.
    for (QLabel* label : m_pFont->findChildren<QLabel*>())
        if (label->text() == QFontDialog::tr("Font st&yle"))
            m_pStyleList = qobject_cast<QListView*>(label->buddy());
    if (!m_pStyleList)
        return;
    m_pStyleList->setItemDelegate(new CChineseStyleDelegate(m_pStyleList));
    const QString current = m_pStyleList->currentIndex().data().toString();
    for (QLineEdit* field : m_pFont->findChildren<QLineEdit*>())
        if (field->isReadOnly() && !current.isEmpty() && field->text() == current)
            m_pStyleField = field;
    if (QLineEdit* field = m_pStyleField) {
        connect(field, &QLineEdit::textChanged, this, [field](const QString& text) {
            const QString shown = FontStyleNames::Chinese(text);
            if (shown != text)
                field->setText(shown);
        });
        field->setText(FontStyleNames::Chinese(current));
    }
}

bool CSlotFontDialog::SelectColour(COLORREF colour)
{
    const int i = m_pColour->findData(static_cast<uint>(colour));
    if (i < 0)
        return false;
    m_pColour->setCurrentIndex(i);
    return true;
}

CChosenFont CSlotFontDialog::Chosen() const
{
    const auto colour = static_cast<COLORREF>(m_pColour->currentData().toUInt());
    return ChosenFontFrom(m_pFont->currentFont(), colour, logicalDpiY());
}

CChosenFont CSlotFontDialog::ChosenFontFrom(const QFont& font, COLORREF colour, double dpi)
{
    CChosenFont c;
    c.faceName = font.family();
    c.height = font.pixelSize() > 0 ? -font.pixelSize() : LogicalHeightFromPoints(font.pointSizeF(), dpi);
    c.weight = font.weight();
    c.italic = font.italic();
    c.underline = font.underline();
    c.strikeOut = font.strikeOut();
    c.color = colour;
    return c;
}
