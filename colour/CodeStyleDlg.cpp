#include "CodeStyleDlg.h"

#include "SettingsSync.h"

#include "ColourEditor.h"
#include "SlotFontDialog.h"
#include "SlotFormat.h"
#include "StyleSlot.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>
#include <QSettings>

namespace {

struct ButtonPlace {
    int id, x, y;
};
// Positions in dialog units; every slot button is 30 x 14.
constexpr ButtonPlace kPlaces[] = {
    {1007, 119, 27}, {1008, 119, 48}, {1009, 119, 69}, {1010, 23, 27}, {1011, 61, 27},
    {1012, 23, 48},  {1013, 62, 48},  {1014, 23, 69},  {1015, 63, 69}, {1016, 23, 90},
};

const char kIdProperty[] = "controlId";

} // namespace

CCodeStyleDlg::CCodeStyleDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("代码样式设置"));
    setFont(QFont(QStringLiteral("宋体"), 10));
    setFixedSize(DluX(175), DluY(134));

    // Group boxes first, so that the buttons lie above them.
    auto* html = new QGroupBox(QStringLiteral("Html"), this);
    html->setObjectName(QStringLiteral("groupHtml"));
    Place(html, 110, 16, 49, 80);
    auto* php = new QGroupBox(QStringLiteral("Php"), this);
    php->setObjectName(QStringLiteral("groupPhp"));
    Place(php, 14, 16, 88, 100);

    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("button1"));
    close->setProperty(kIdProperty, 1);
    close->setDefault(true);
    Place(close, 112, 101, 47, 14);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    for (const ButtonPlace& p : kPlaces) {
        int slot = 0;
        while (StyleSlots::Button(slot).id != p.id)
            ++slot;
        auto* b = new QPushButton(QString::fromUtf8(StyleSlots::Button(slot).caption), this);
        b->setObjectName(QStringLiteral("button%1").arg(p.id));
        b->setProperty(kIdProperty, p.id);
        b->setAutoDefault(false);
        Place(b, p.x, p.y, 30, 14);
        connect(b, &QPushButton::clicked, this, [this, slot] { ChooseSlotFont(slot); });
    }
}

QPushButton* CCodeStyleDlg::Button(int id) const
{
    for (QPushButton* b : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        if (b->property(kIdProperty).toInt() == id)
            return b;
    return nullptr;
}

void CCodeStyleDlg::ChooseSlotFont(int slot)
{
    // No slot's format is shown: the dialog opens on the editor's own font.
    CSlotFontDialog dlg(this, ColourEditor::DefaultEditorFont());
    if (dlg.exec() != QDialog::Accepted)
        return;
    QSettings settings{QString::fromLatin1(kSettingsOrganisation), QString::fromLatin1(kSettingsApplication)};
    StoreSlotFont(settings, slot, dlg.Chosen());
    SettingsSync::Commit(settings, this);
}

// Dialog units from the dialog font's average character width and height.
int CCodeStyleDlg::DluX(int dlu) const
{
    const QFontMetrics fm(font());
    const int avg = (fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    return dlu * avg / 4;
}

int CCodeStyleDlg::DluY(int dlu) const
{
    return dlu * QFontMetrics(font()).height() / 8;
}

void CCodeStyleDlg::Place(QWidget* w, int x, int y, int cx, int cy) const
{
    w->setGeometry(DluX(x), DluY(y), DluX(cx), DluY(cy));
}
