#include "CodeEditDlg.h"

#include "UserPrompt.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The content is read as code: 40 lines of 80 characters.
constexpr int kContentLines = 40;
constexpr int kContentColumns = 80;
constexpr int kTabColumns = 8;

QFont FixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (font.pointSizeF() <= 0)
        font.setPointSize(10);
    return font;
}

} // namespace

CCodeEditDlg::CCodeEditDlg(QWidget* parent)
    : QDialog(parent),
      m_pTitle(new QLineEdit(this)),
      m_pContent(new QPlainTextEdit(this)),
      m_pOk(new QPushButton(QStringLiteral("OK"), this)),
      m_pCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setWindowTitle(QStringLiteral("代码编辑"));
    setObjectName(QStringLiteral("codeEditDlg"));

    m_pTitle->setObjectName(QStringLiteral("edit1005"));
    m_pTitle->setMaxLength(kMaxTitleLength);
    // A longer preset title stays whole until OK refuses it; typing never makes
    // the title longer than it is, and once it fits, never over 100.
    connect(m_pTitle, &QLineEdit::textChanged, this, &CCodeEditDlg::LimitTitle);

    m_pContent->setObjectName(QStringLiteral("edit1006"));
    m_pContent->setFont(FixedFont());
    m_pContent->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pContent->setTabChangesFocus(false);   // Tab types a tab
    m_pContent->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pContent->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFontMetrics metrics(m_pContent->font());
    m_pContent->setTabStopDistance(kTabColumns * metrics.horizontalAdvance(u' '));

    m_pOk->setObjectName(QStringLiteral("button1"));
    m_pOk->setDefault(true);
    m_pCancel->setObjectName(QStringLiteral("button2"));
    m_pCancel->setAutoDefault(false);
    connect(m_pOk, &QPushButton::clicked, this, &CCodeEditDlg::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CCodeEditDlg::reject);

    auto* titleLabel = new QLabel(QStringLiteral("标题:"), this);
    auto* contentLabel = new QLabel(QStringLiteral("内容:"), this);
    titleLabel->setBuddy(m_pTitle);
    contentLabel->setBuddy(m_pContent);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_pOk);
    buttons->addWidget(m_pCancel);
    buttons->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(titleLabel, 0, 0);
    grid->addWidget(m_pTitle, 0, 1);
    grid->addWidget(contentLabel, 1, 0, Qt::AlignTop);
    grid->addWidget(m_pContent, 1, 1);
    grid->addLayout(buttons, 0, 2, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);

    // Room for a whole snippet, as far as the screen allows.
    const int frame = 2 * m_pContent->frameWidth() +
                      2 * static_cast<int>(m_pContent->document()->documentMargin());
    const QSize readable(kContentColumns * metrics.horizontalAdvance(u'x') + frame +
                             m_pContent->verticalScrollBar()->sizeHint().width(),
                         kContentLines * metrics.lineSpacing() + frame +
                             m_pContent->horizontalScrollBar()->sizeHint().height());
    const QSize small = m_pContent->minimumSize();
    m_pContent->setMinimumSize(readable);
    QSize wanted = sizeHint();
    m_pContent->setMinimumSize(small);
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(wanted);
    m_pTitle->setFocus();
}

void CCodeEditDlg::SetTitle(const QString& title)
{
    m_strTitle = title;
    m_pTitle->setMaxLength(qMax<int>(kMaxTitleLength, static_cast<int>(title.size())));
    m_pTitle->setText(title);
}

void CCodeEditDlg::SetContent(const QString& content)
{
    m_strContent = content;
    m_pContent->setPlainText(content);
}

void CCodeEditDlg::LimitTitle()
{
    if (m_pTitle->maxLength() > kMaxTitleLength && m_pTitle->text().size() <= kMaxTitleLength)
        m_pTitle->setMaxLength(kMaxTitleLength);
}

QString CCodeEditDlg::TooLongText()
{
    return QStringLiteral("“请填入不多于%1个的字符。”").arg(kMaxTitleLength);
}

QString CCodeEditDlg::IncompleteText()
{
    return QStringLiteral("你还没有填写完整!");
}

void CCodeEditDlg::accept()
{
    const QString title = m_pTitle->text();
    const QString content = m_pContent->toPlainText();
    if (title.size() > kMaxTitleLength) {
        UserPrompt::ShowMessage(this, TooLongText(), QMessageBox::Warning);
        m_pTitle->setFocus();
        m_pTitle->selectAll();
        return;
    }
    if (title.trimmed().isEmpty() || content.trimmed().isEmpty()) {
        UserPrompt::ShowMessage(this, IncompleteText(), QMessageBox::NoIcon);
        return;
    }
    // Kept as typed: blanks around a title or a snippet are the user's.
    m_strTitle = title;
    m_strContent = content;
    QDialog::accept();
}
