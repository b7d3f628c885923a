#include "PhpSyntaxCheck.h"

#include "ProcessGroup.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QToolTip>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <Qsci/qsciscintilla.h>

#include <csignal>
#include <unistd.h>

namespace {
// php's verdict on a page is a few lines; anything past this is not read.
constexpr qsizetype kMaxOutput = 64 * 1024;
const char* const kTipProperty = "syntaxMarkTip";

// Shows the verdict while the pointer rests on the error line's mark.
class CMarkTip : public QObject
{
public:
    explicit CMarkTip(QsciScintilla* editor) : QObject(editor), m_pEditor(editor) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = CPhpSyntaxCheck::TipAt(m_pEditor, help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            return false;
        }
        QToolTip::showText(help->globalPos(), tip, qobject_cast<QWidget*>(watched));
        return true;
    }

private:
    QsciScintilla* m_pEditor;
};
} // namespace

CPhpSyntaxCheck::CPhpSyntaxCheck(QObject* parent) : QObject(parent), m_pTimer(new QTimer(this))
{
    m_pTimer->setSingleShot(true);
    connect(m_pTimer, &QTimer::timeout, this, [this] {
        Stop();
        emit failed(QStringLiteral("语法检查超过 %1 秒没有结束，已停止。").arg(kTimeoutMs / 1000));
    });
}

CPhpSyntaxCheck::~CPhpSyntaxCheck()
{
    Stop();
}

QString CPhpSyntaxCheck::FindPhp()
{
    const QString configured = QSettings().value(QStringLiteral("Settings/PhpPath")).toString();
    if (!configured.isEmpty()) {
        const QFileInfo info(configured);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(QStringLiteral("php"));
}

bool CPhpSyntaxCheck::IsRunning() const
{
    return m_pProcess != nullptr;
}

void CPhpSyntaxCheck::Stop()
{
    m_pTimer->stop();
    if (!m_pProcess)
        return;
    QProcess* process = m_pProcess;
    m_pProcess = nullptr;
    process->disconnect(this);
    // php runs as the leader of a process group of its own: whatever it
    // started ends with it.
    EndProcessGroup(process);
}

bool CPhpSyntaxCheck::Start(QsciScintilla* editor)
{
    Stop();
    const QString php = FindPhp();
    if (php.isEmpty() || !editor)
        return false;
    m_pEditor = editor;
    m_output.clear();
    m_pProcess = new QProcess(this);
    m_pProcess->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_pProcess, &QProcess::readyRead, this, [this] {
        const QByteArray more = m_pProcess->readAll();
        if (m_output.size() < kMaxOutput)
            m_output += more.left(kMaxOutput - m_output.size());
    });
    connect(m_pProcess, &QProcess::finished, this, &CPhpSyntaxCheck::OnFinished);
    connect(m_pProcess, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        Stop();
        emit failed(QStringLiteral("无法启动 PHP 解释器。"));
    });
    m_pProcess->setChildProcessModifier([] { ::setpgid(0, 0); });
    // Errors shown on php's own output, whatever its ini says; no ini of the
    // user's project is read.
    m_pProcess->start(php, {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("display_errors=1"),
                            QStringLiteral("-l")});
    m_pProcess->write(editor->text().toUtf8());
    m_pProcess->closeWriteChannel();
    m_pTimer->start(kTimeoutMs);
    return true;
}

void CPhpSyntaxCheck::OnFinished()
{
    if (!m_pProcess)
        return;
    m_output += m_pProcess->readAll().left(kMaxOutput);
    const int code = m_pProcess->exitStatus() == QProcess::NormalExit ? m_pProcess->exitCode() : -1;
    m_pTimer->stop();
    m_pProcess->deleteLater();
    m_pProcess = nullptr;
    const CPhpLintResult result = ParsePhpLintOutput(QString::fromUtf8(m_output), code);
    if (m_pEditor)
        emit checked(m_pEditor, result);
}

void CPhpSyntaxCheck::MarkLine(QsciScintilla* editor, int line, const QString& tip)
{
    editor->setProperty(kTipProperty, tip);
    if (!editor->property("syntaxMarkTipShown").toBool()) {
        editor->setProperty("syntaxMarkTipShown", true);
        editor->viewport()->installEventFilter(new CMarkTip(editor));
    }
    editor->markerDefine(QsciScintilla::Circle, kErrorMarker);
    editor->setMarkerBackgroundColor(QColor(220, 40, 40), kErrorMarker);
    editor->setMarkerForegroundColor(QColor(150, 0, 0), kErrorMarker);
    editor->setMarginWidth(1, 14);
    editor->markerAdd(line - 1, kErrorMarker);
}

void CPhpSyntaxCheck::ClearMarks(QsciScintilla* editor)
{
    editor->markerDeleteAll(kErrorMarker);
    editor->setProperty(kTipProperty, QString());
    editor->setMarginWidth(1, 0);
}

QString CPhpSyntaxCheck::TipAt(QsciScintilla* editor, const QPoint& pos)
{
    int margins = 0;
    for (int m = 0; m < editor->margins(); ++m)
        margins += editor->marginWidth(m);
    const long lineHeight = editor->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL);
    if (pos.x() < 0 || pos.x() >= margins || pos.y() < 0 || lineHeight <= 0)
        return {};
    const long visible = editor->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE) + pos.y() / lineHeight;
    const long line =
        editor->SendScintilla(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(visible));
    if (line >= editor->lines() || !(editor->markersAtLine(static_cast<int>(line)) & (1 << kErrorMarker)))
        return {};
    return editor->property(kTipProperty).toString();
}
