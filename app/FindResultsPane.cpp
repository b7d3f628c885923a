#include "FindResultsPane.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMutex>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// More lines than anyone reads; past this the pane only counts.
constexpr int kMaxListed = 20000;
enum Role { PathRole = Qt::UserRole, LineRole, ColumnRole, LengthRole };
}

struct CFindResultsPane::Pending
{
    QMutex mutex;
    QList<CFileMatch> matches;
    int filesSearched = 0;
    bool scheduled = false;
};

CFindResultsPane::CFindResultsPane(MatchOpener opener, QWidget* parent)
    : QDockWidget(QStringLiteral("查找结果"), parent), m_opener(std::move(opener))
{
    setObjectName(QStringLiteral("findResults"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    auto* body = new QWidget(this);
    m_pList = new QListWidget(body);
    m_pList->setUniformItemSizes(true);
    m_pState = new QLabel(body);
    m_pStop = new QPushButton(QStringLiteral("停止"), body);
    m_pStop->setEnabled(false);
    // Moving while the search runs: its length is not known beforehand.
    m_pBusy = new QProgressBar(body);
    m_pBusy->setRange(0, 0);
    m_pBusy->setMaximumWidth(120);
    m_pBusy->hide();
    auto* bar = new QHBoxLayout;
    bar->addWidget(m_pState, 1);
    bar->addWidget(m_pBusy);
    bar->addWidget(m_pStop);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(bar);
    layout->addWidget(m_pList);
    setWidget(body);
    connect(m_pStop, &QPushButton::clicked, this, &CFindResultsPane::Stop);
    connect(m_pList, &QListWidget::itemActivated, this, &CFindResultsPane::OnItemActivated);
}

CFindResultsPane::~CFindResultsPane()
{
    Stop();
    if (m_pThread) {
        m_pThread->wait();
        delete m_pThread;
    }
}

bool CFindResultsPane::IsRunning() const
{
    return m_pThread && m_pThread->isRunning();
}

void CFindResultsPane::Stop()
{
    if (m_stop)
        m_stop->store(true);
}

void CFindResultsPane::Start(const QString& folder, const CFileSearchOptions& options)
{
    Stop();
    if (m_pThread) {
        m_pThread->wait();
        delete m_pThread;
        m_pThread = nullptr;
    }
    m_pList->clear();
    m_strFolder = folder;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_pending = std::make_shared<Pending>();
    m_pState->setText(QStringLiteral("正在查找“%1”…").arg(options.strText));
    m_pStop->setEnabled(true);
    m_pBusy->show();
    show();
    raise();

    const auto stop = m_stop;
    const auto pending = m_pending;
    // Matches reach the pane in batches: one queued call stands for all the
    // matches that arrive before it runs.
    const auto schedule = [this, pending] {
        if (!pending->scheduled) {
            pending->scheduled = true;
            QMetaObject::invokeMethod(this, &CFindResultsPane::AddMatches, Qt::QueuedConnection);
        }
    };
    m_pThread = QThread::create([this, folder, options, stop, pending, schedule] {
        const CFileSearchSummary summary = FileSearch::SearchTree(
            folder, options, *stop,
            [pending, schedule](const CFileMatch& m) {
                QMutexLocker lock(&pending->mutex);
                pending->matches << m;
                schedule();
            },
            [pending, schedule](int files) {
                QMutexLocker lock(&pending->mutex);
                pending->filesSearched = files;
                schedule();
            });
        QMetaObject::invokeMethod(this, [this, summary, pending] {
            // The last matches are shown before the summary, and only for the
            // search that is still the pane's.
            if (pending == m_pending) {
                AddMatches();
                OnFinished(summary);
            }
        }, Qt::QueuedConnection);
    });
    m_pThread->start(QThread::LowPriority);
}

void CFindResultsPane::AddMatches()
{
    const auto pending = m_pending;
    if (!pending)
        return;
    QList<CFileMatch> batch;
    int files = 0;
    {
        QMutexLocker lock(&pending->mutex);
        batch.swap(pending->matches);
        files = pending->filesSearched;
        pending->scheduled = false;
    }
    const QDir root(m_strFolder);
    m_pList->setUpdatesEnabled(false);
    for (const CFileMatch& m : batch) {
        if (m_pList->count() >= kMaxListed)
            break;
        auto* item = new QListWidgetItem(
            QStringLiteral("%1:%2: %3").arg(root.relativeFilePath(m.strPath)).arg(m.nLine).arg(m.strText.trimmed()),
            m_pList);
        item->setData(PathRole, m.strPath);
        item->setData(LineRole, m.nLine);
        item->setData(ColumnRole, m.nColumn);
        item->setData(LengthRole, m.nLength);
        item->setToolTip(m.strPath);
    }
    m_pList->setUpdatesEnabled(true);
    if (IsRunning())
        m_pState->setText(QStringLiteral("正在查找… 已搜索 %1 个文件，找到 %2 处").arg(files).arg(m_pList->count()));
}

void CFindResultsPane::OnFinished(const CFileSearchSummary& summary)
{
    m_pStop->setEnabled(false);
    m_pBusy->hide();
    QString text = summary.bStopped ? QStringLiteral("已停止。") : QString();
    text += QStringLiteral("找到 %1 处，搜索了 %2 个文件").arg(summary.nMatches).arg(summary.nFilesSearched);
    if (summary.nFilesSkipped > 0)
        text += QStringLiteral("（跳过 %1 个二进制或过大的文件）").arg(summary.nFilesSkipped);
    if (summary.nFilesTooComplex > 0)
        text += QStringLiteral("；正则表达式太复杂，有 %1 个文件没能查完").arg(summary.nFilesTooComplex);
    if (summary.nMatches > kMaxListed)
        text += QStringLiteral("，列出前 %1 处").arg(kMaxListed);
    m_pState->setText(text + QStringLiteral("。"));
    emit finished(summary);
}

void CFindResultsPane::OnItemActivated(QListWidgetItem* item)
{
    if (!item || !m_opener)
        return;
    CFileMatch m;
    m.strPath = item->data(PathRole).toString();
    m.nLine = item->data(LineRole).toInt();
    m.nColumn = item->data(ColumnRole).toInt();
    m.nLength = item->data(LengthRole).toInt();
    m_opener(m);
}
