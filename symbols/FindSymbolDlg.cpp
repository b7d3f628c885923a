#include "FindSymbolDlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "SymbolIcons.h"
#include "SymbolMatch.h"

CFindSymbolDlg::CFindSymbolDlg(const CSymbolIndex& index, QWidget* parent) : QDialog(parent), m_pIndex(&index)
{
    Build(QStringLiteral("查找符号"));
}

CFindSymbolDlg::CFindSymbolDlg(std::vector<CSymbolRef> candidates, const QString& title, QWidget* parent)
    : QDialog(parent)
{
    for (const CSymbolRef& r : candidates)
        m_candidates.push_back({r.path, *r.symbol});
    Build(title);
}

void CFindSymbolDlg::Build(const QString& title)
{
    setObjectName(QStringLiteral("findSymbolDlg"));
    setWindowTitle(title);
    m_pFilter = new QLineEdit(this);
    m_pFilter->setObjectName(QStringLiteral("symbolFilter"));
    m_pFilter->setPlaceholderText(QStringLiteral("输入名称或其首字母"));
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("symbolList"));
    m_pList->setUniformItemSizes(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pFilter);
    layout->addWidget(m_pList);
    resize(560, 380);
    connect(m_pFilter, &QLineEdit::textChanged, this, &CFindSymbolDlg::Refill);
    connect(m_pFilter, &QLineEdit::returnPressed, this, &CFindSymbolDlg::Choose);
    connect(m_pList, &QListWidget::itemActivated, this, &CFindSymbolDlg::Choose);
    // The arrow and page keys move through the list while the focus stays in the box.
    m_pFilter->installEventFilter(this);
    Refill();
}

QString CFindSymbolDlg::LineText(const CSymbolPlace& place, const QString& root)
{
    const CSymbol& s = place.symbol;
    QString name = QString::fromStdString(s.name);
    if (s.IsMember())
        name = QString::fromStdString(s.scope) +
               QLatin1String(s.kind == SymbolKind::Method && !s.isStatic ? "->" : "::") +
               QLatin1String(s.kind == SymbolKind::Property ? "$" : "") + name;
    if (s.kind == SymbolKind::Function || s.kind == SymbolKind::Method)
        name += u'(' + QString::fromStdString(s.params) + u')';
    QString file = place.path;
    if (!root.isEmpty() && file.startsWith(root))
        file = file.mid(root.size());
    return QStringLiteral("%1    %2    %3:%4")
        .arg(name, QString::fromUtf8(SymbolKinds::DisplayName(s.kind)), QDir::toNativeSeparators(file))
        .arg(s.line);
}

void CFindSymbolDlg::Refill()
{
    const QByteArray filter = m_pFilter->text().trimmed().toUtf8();
    const std::string_view f(filter.constData(), std::size_t(filter.size()));
    m_shown.clear();
    if (m_pIndex) {
        if (!f.empty())
            for (const CSymbolRef& r : m_pIndex->Match(f, kMaxLines))
                m_shown.push_back({r.path, *r.symbol});
    } else {
        std::vector<std::string> names, lower;
        for (const CSymbolPlace& r : m_candidates) {
            names.push_back(r.symbol.scope + "::" + r.symbol.name);
            lower.push_back(SymbolMatch::Lower(names.back()));
        }
        if (f.empty())
            m_shown = m_candidates;
        else
            for (int k : SymbolMatch::Best(names, lower, f, kMaxLines))
                m_shown.push_back(m_candidates[std::size_t(k)]);
    }
    const QString root = m_pIndex ? m_pIndex->Root() : QString();
    m_pList->setUpdatesEnabled(false);
    m_pList->clear();
    for (const CSymbolPlace& r : m_shown)
        m_pList->addItem(new QListWidgetItem(SymbolIcons::Icon(r.symbol.kind), LineText(r, root)));
    if (m_pList->count())
        m_pList->setCurrentRow(0);
    m_pList->setUpdatesEnabled(true);
}

void CFindSymbolDlg::Choose()
{
    const int row = m_pList->currentRow();
    if (row < 0 || std::size_t(row) >= m_shown.size())
        return;
    m_chosen = m_shown[std::size_t(row)];
    accept();
}

bool CFindSymbolDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pFilter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(m_pList, &copy);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
