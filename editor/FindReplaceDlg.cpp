#include "FindReplaceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

#include "UserPrompt.h"
#include "core/DialogPlacement.h"
#include "core/FindHistory.h"

CFindReplaceDlg::CFindReplaceDlg(EditorProvider activeEditor, QWidget* parent)
    : QDialog(parent), m_activeEditor(std::move(activeEditor))
{
    setObjectName(QStringLiteral("findReplaceDlg"));
    setModal(false);
    m_pFind = new QComboBox(this);
    m_pFind->setObjectName(QStringLiteral("findWhat"));
    m_pFind->setEditable(true);
    m_pFind->setInsertPolicy(QComboBox::NoInsert);
    m_pFind->setMinimumContentsLength(30);
    m_pFind->setMaxCount(FindHistory::kMaxEntries);
    m_pFind->addItems(FindHistory::Stored());
    m_pFind->setCurrentIndex(-1);
    m_pReplace = new QLineEdit(this);
    m_pReplace->setObjectName(QStringLiteral("replaceWith"));
    auto* findLabel = new QLabel(QStringLiteral("查找内容:"), this);
    findLabel->setBuddy(m_pFind);
    m_pReplaceLabel = new QLabel(QStringLiteral("替换为:"), this);
    m_pReplaceLabel->setBuddy(m_pReplace);

    m_pMatchCase = new QCheckBox(QStringLiteral("区分大小写"), this);
    m_pWholeWord = new QCheckBox(QStringLiteral("全字匹配"), this);
    m_pRegExp = new QCheckBox(QStringLiteral("正则表达式"), this);
    m_pBackward = new QCheckBox(QStringLiteral("向上"), this);

    auto* findNext = new QPushButton(QStringLiteral("查找下一个"), this);
    findNext->setDefault(true);
    m_pReplaceButton = new QPushButton(QStringLiteral("替换"), this);
    m_pReplaceAllButton = new QPushButton(QStringLiteral("全部替换"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    for (QPushButton* b : {findNext, m_pReplaceButton, m_pReplaceAllButton, close})
        b->setAutoDefault(false);
    findNext->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_pFind, 0, 1);
    grid->addWidget(m_pReplaceLabel, 1, 0);
    grid->addWidget(m_pReplace, 1, 1);
    auto* options = new QVBoxLayout;
    for (QCheckBox* c : {m_pMatchCase, m_pWholeWord, m_pRegExp, m_pBackward})
        options->addWidget(c);
    grid->addLayout(options, 2, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {findNext, m_pReplaceButton, m_pReplaceAllButton, close})
        buttons->addWidget(b);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 3, 1);
    setTabOrder(m_pFind, m_pReplace);

    connect(findNext, &QPushButton::clicked, this, &CFindReplaceDlg::OnFindNext);
    connect(m_pReplaceButton, &QPushButton::clicked, this, &CFindReplaceDlg::OnReplace);
    connect(m_pReplaceAllButton, &QPushButton::clicked, this, &CFindReplaceDlg::OnReplaceAll);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CFindReplaceDlg::Open(bool replace)
{
    m_bReplace = replace;
    setWindowTitle(replace ? QStringLiteral("替换") : QStringLiteral("查找"));
    for (QWidget* w : {static_cast<QWidget*>(m_pReplaceLabel), static_cast<QWidget*>(m_pReplace),
                       static_cast<QWidget*>(m_pReplaceButton), static_cast<QWidget*>(m_pReplaceAllButton)})
        w->setVisible(replace);
    QString prefill = m_lastSearch.strText;
    if (QsciScintilla* editor = m_activeEditor ? m_activeEditor() : nullptr) {
        const QString selected = editor->selectedText();
        if (!selected.isEmpty() && !selected.contains(u'\n') && !selected.contains(u'\r'))
            prefill = selected;
    }
    m_pFind->setEditText(prefill);
    adjustSize();
    show();
    raise();
    activateWindow();
    m_pFind->setFocus(Qt::ShortcutFocusReason);
    m_pFind->lineEdit()->selectAll();
    if (QsciScintilla* editor = m_activeEditor ? m_activeEditor() : nullptr)
        KeepMatchVisible(editor);
}

CFindOptions CFindReplaceDlg::Options() const
{
    CFindOptions o;
    o.strText = m_pFind->currentText();
    o.bMatchCase = m_pMatchCase->isChecked();
    o.bWholeWord = m_pWholeWord->isChecked();
    o.bRegExp = m_pRegExp->isChecked();
    o.bBackward = m_pBackward->isChecked();
    return o;
}

void CFindReplaceDlg::Remember(const CFindOptions& options)
{
    m_lastSearch = options;
    const QStringList history = FindHistory::Remember(options.strText);
    // The drop-down follows without losing what is typed in it.
    const QString typed = m_pFind->currentText();
    m_pFind->clear();
    m_pFind->addItems(history);
    m_pFind->setEditText(typed);
}

void CFindReplaceDlg::ReportNotFound(const QString& text)
{
    emit statusMessage(QStringLiteral("找不到“%1”").arg(text));
}

bool CFindReplaceDlg::ReportFailure(const CFindOptions& options, const CSearchResult& result)
{
    if (result.outcome == SearchOutcome::BadPattern)
        UserPrompt::ShowMessage(this, QStringLiteral("正则表达式有误：%1").arg(result.strError));
    else if (result.outcome == SearchOutcome::TooComplex)
        UserPrompt::ShowMessage(this, QStringLiteral("正则表达式“%1”太复杂，无法在这段文本中查完，已停止查找。"
                                                     "文本没有任何改动。").arg(options.strText));
    else
        return false;
    return true;
}

QsciScintilla* CFindReplaceDlg::StartSearch(CFindOptions& options)
{
    options = Options();
    if (options.strText.isEmpty())
        return nullptr;
    Remember(options);
    return m_activeEditor ? m_activeEditor() : nullptr;
}

void CFindReplaceDlg::OnFindNext()
{
    CFindOptions o;
    QsciScintilla* editor = StartSearch(o);
    if (!editor)
        return;
    const CSearchResult result = EditorSearch::FindNext(editor, o);
    Report(o, result);
    if (result.outcome == SearchOutcome::Found)
        KeepMatchVisible(editor);
}

void CFindReplaceDlg::KeepMatchVisible(QsciScintilla* editor)
{
    if (!isVisible() || !editor->hasSelectedText())
        return;
    using Sci = QsciScintillaBase;
    const auto start = static_cast<unsigned long>(editor->SendScintilla(Sci::SCI_GETSELECTIONSTART));
    const auto end = static_cast<unsigned long>(editor->SendScintilla(Sci::SCI_GETSELECTIONEND));
    const long line = editor->SendScintilla(Sci::SCI_LINEFROMPOSITION, start);
    const int x1 = static_cast<int>(editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, start));
    const int y1 = static_cast<int>(editor->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, start));
    const int height = static_cast<int>(editor->SendScintilla(Sci::SCI_TEXTHEIGHT, static_cast<unsigned long>(line)));
    int x2 = static_cast<int>(editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, end));
    if (editor->SendScintilla(Sci::SCI_LINEFROMPOSITION, end) != line || x2 <= x1)
        x2 = editor->viewport()->width();   // a match over several lines: its first line, to the edge
    const QRect match(editor->viewport()->mapToGlobal(QPoint(x1, y1)), QSize(x2 - x1, std::max(height, 1)));
    const QRect screen = editor->screen() ? editor->screen()->availableGeometry() : QRect();
    const QPoint place = DialogPlacement::KeepClear(frameGeometry(), match, screen);
    if (place != frameGeometry().topLeft())
        move(place);
}

bool CFindReplaceDlg::Repeat(bool backward)
{
    if (m_lastSearch.strText.isEmpty())
        return false;
    CFindOptions o = m_lastSearch;
    o.bBackward = backward;
    if (QsciScintilla* editor = m_activeEditor ? m_activeEditor() : nullptr) {
        const CSearchResult result = EditorSearch::FindNext(editor, o);
        Report(o, result);
        if (result.outcome == SearchOutcome::Found)
            KeepMatchVisible(editor);
    }
    return true;
}

void CFindReplaceDlg::Report(const CFindOptions& options, const CSearchResult& result)
{
    if (!ReportFailure(options, result) && result.outcome == SearchOutcome::NotFound)
        ReportNotFound(options.strText);
}

void CFindReplaceDlg::OnReplace()
{
    CFindOptions o;
    QsciScintilla* editor = StartSearch(o);
    if (!editor)
        return;
    const long before = editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const CSearchResult result = EditorSearch::ReplaceSelected(editor, o, m_pReplace->text());
    if (ReportFailure(o, result))
        return;
    if (result.nReplaced == 0 && editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART) == before &&
        !editor->hasSelectedText())
        ReportNotFound(o.strText);
    else
        KeepMatchVisible(editor);
}

void CFindReplaceDlg::OnReplaceAll()
{
    CFindOptions o;
    QsciScintilla* editor = StartSearch(o);
    if (!editor)
        return;
    const CSearchResult result = EditorSearch::ReplaceAll(editor, o, m_pReplace->text());
    if (ReportFailure(o, result))
        return;
    if (result.nReplaced == 0)
        ReportNotFound(o.strText);
    else
        emit statusMessage(QStringLiteral("已替换 %1 处。").arg(result.nReplaced));
}

void CFindReplaceDlg::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    if (QsciScintilla* editor = m_activeEditor ? m_activeEditor() : nullptr) {
        editor->window()->activateWindow();
        editor->setFocus(Qt::OtherFocusReason);
    }
}
