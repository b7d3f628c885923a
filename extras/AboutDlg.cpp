#include "AboutDlg.h"

#include <QApplication>
#include <QDate>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QStyle>
#include <QPushButton>

#include "HyperLink.h"

namespace {

QLabel* AddStatic(QWidget* parent, const QString& text, const QRect& r)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Never clip a text that the font makes wider than its place.
    label->setGeometry(QRect(r.topLeft(), r.size().expandedTo(label->sizeHint())));
    return label;
}

QString BuildLine()
{
    const QDate built = QLocale::c().toDate(QString::fromLatin1(__DATE__).simplified(),
                                            QStringLiteral("MMM d yyyy"));
    return QStringLiteral("构建于 %1，Qt %2").arg(built.toString(Qt::ISODate), QString::fromLatin1(qVersion()));
}

} // namespace

QString CAboutDlg::MakerAddress()
{
    return QStringLiteral("https://quillet.fennroth.example/");
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("关于 Quillet"));
    setModal(true);

    auto* icon = new QLabel(this);
    const QRect iconRect = DialogRect(11, 17, 21, 21);
    // Drawn from the SVG at the box's own size rather than scaled from the
    // window icon's fixed sizes.
    QPixmap pixmap = QIcon(QStringLiteral(":/quillet/icons/quillet.svg")).pixmap(iconRect.size());
    if (pixmap.isNull())   // no reader for the program's icon on this system
        pixmap = style()->standardIcon(QStyle::SP_FileIcon).pixmap(iconRect.size());
    icon->setPixmap(pixmap);
    icon->setGeometry(iconRect);

    AddStatic(this, QStringLiteral("Quillet 3.0 版"), DialogRect(40, 10, 119, 8));
    AddStatic(this, BuildLine(), DialogRect(40, 25, 119, 8));

    m_pOk = new QPushButton(QStringLiteral("确定"), this);
    m_pOk->setGeometry(DialogRect(178, 7, 50, 14));
    m_pOk->setDefault(true);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);

    AddStatic(this, QStringLiteral("不过我知道,好多兄弟连5元都不肯拿出"), DialogRect(62, 65, 137, 8));
    AddStatic(this, QStringLiteral("如果您支持我的话,请多多点击广告吧"), DialogRect(62, 81, 133, 8));

    m_pLink = new CHyperLink(QStringLiteral("我的网站  ") + MakerAddress(), this);
    m_pLink->setObjectName(QStringLiteral("link"));
    m_pLink->setProperty("ctrlId", kLinkId);
    m_pLink->setGeometry(DialogRect(62, 97, 129, 8));
    m_pLink->SetURL(MakerAddress());

    QSize size = DialogRect(0, 0, 235, 127).size();
    for (const QWidget* child : findChildren<QWidget*>())
        size = size.expandedTo(QSize(child->geometry().right() + 8, child->geometry().bottom() + 8));
    setFixedSize(size);
    m_pOk->setFocus(Qt::OtherFocusReason);
}

void CAboutDlg::DoModal(QWidget* parent)
{
    const QPointer<QWidget> focus = QApplication::focusWidget();
    CAboutDlg(parent).exec();
    if (focus) {
        focus->window()->activateWindow();
        focus->setFocus(Qt::ActiveWindowFocusReason);
    }
}

QRect CAboutDlg::DialogRect(int x, int y, int width, int height) const
{
    // The platform's dialog base units: the average width of the Latin
    // letters and the height of the dialog's font.
    const QFontMetrics fm(font());
    const int baseX = qMax(1, (fm.horizontalAdvance(
                                   QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) + 26) / 52);
    const int baseY = qMax(1, fm.height());
    return QRect(x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8);
}
