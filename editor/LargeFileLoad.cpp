#include "LargeFileLoad.h"

#include "CodeEditCtrl.h"
#include "EditorHost.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <memory>

namespace LargeFileLoad {

namespace {

qint64 g_threshold = qint64{16} << 20;

// Shares of the bar: reading and decoding on the worker, then the slices into
// the editor (while the worker colours the same text). The colours follow
// once the window shows the text.
constexpr int kReadEnd = 45;
constexpr int kDecodeEnd = 55;

// One load: made on the editor's thread, filled on the worker. The text is
// complete (and read-only from then on) once decoded is set; the rest once
// finished is.
struct Job {
    QString path;
    std::atomic<int> percent{0};
    std::atomic<bool> decoded{false};
    std::atomic<bool> finished{false};
    bool ok = false;
    FileEncoding::Decoded text;
    EditorHost::LoadColouring colour;
};

void ReadDecodeColour(Job& job)
{
    QFile file(job.path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const qint64 size = file.size();
    QByteArray bytes;
    bytes.resize(size);
    constexpr qint64 kChunk = qint64{4} << 20;
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(bytes.data() + done, std::min(kChunk, size - done));
        if (got < 0)
            return;
        if (got == 0)
            break; // the file shrank meanwhile: what was there is the text
        done += got;
        job.percent = static_cast<int>(kReadEnd * done / std::max<qint64>(size, 1));
    }
    bytes.truncate(done);
    // A file that grew meanwhile is read to its new end.
    const QByteArray rest = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    bytes += rest;
    job.text = FileEncoding::Decode(bytes);
    bytes.clear();
    job.percent = kDecodeEnd;
    job.decoded = true;
    job.colour = EditorHost::ColourAhead(job.text.text);
    job.ok = true;
}

// The loads' own threads: the colouring of a load goes on after the load has
// returned, and nothing else waits for it.
QThreadPool& Workers()
{
    static QThreadPool pool;
    return pool;
}

// Gives editor the colours of job once its worker is done (if editor is
// still there then).
void ColourWhenDone(const std::shared_ptr<Job>& job, CCodeEditCtrl* editor, quint64 ticket)
{
    auto* poll = new QTimer(editor);
    poll->setInterval(15);
    QObject::connect(poll, &QTimer::timeout, editor, [job, editor, ticket, poll] {
        if (!job->finished)
            return;
        poll->deleteLater();
        poll->stop();
        job->text.text.clear();
        if (job->ok && job->colour)
            job->colour(editor, ticket);
        job->colour = {};
    });
    poll->start();
}

} // namespace

qint64 Threshold() { return g_threshold; }
void SetThreshold(qint64 bytes) { g_threshold = bytes; }

std::optional<FileEncoding::Format> Open(const QString& path, CCodeEditCtrl* editorIn)
{
    QPointer<CCodeEditCtrl> editor(editorIn);
    // Over the main window when it is up; centred on the screen before it is
    // shown (a file named on the command line).
    QWidget* owner = editor && editor->window()->isVisible() ? editor->window() : nullptr;
    QProgressDialog progress(owner);
    progress.setWindowTitle(QStringLiteral("Quillet"));
    progress.setLabelText(QStringLiteral("正在打开 %1…").arg(QFileInfo(path).fileName()));
    progress.setCancelButton(nullptr);
    progress.setRange(0, 100);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);

    auto job = std::make_shared<Job>();
    job->path = path;
    Workers().start([job] {
        ReadDecodeColour(*job);
        job->finished = true;
    });
    {
        // The window goes on painting and the bar moving while the worker
        // reads; the dialog keeps input away from everything else.
        QEventLoop wait;
        QTimer tick;
        tick.setInterval(30);
        QObject::connect(&tick, &QTimer::timeout, &wait, [&] {
            progress.setValue(job->percent.load());
            if (job->decoded || job->finished)
                wait.quit();
        });
        tick.start();
        wait.exec();
    }
    if (!job->decoded || !editor)
        return std::nullopt;
    // Into the editor while the worker colours: both only read the text.
    editor->SetWholeText(job->text.text, [&](double share) {
        progress.setValue(kDecodeEnd + static_cast<int>((100 - kDecodeEnd) * share));
    });
    progress.setValue(100);
    if (!editor)
        return std::nullopt;
    ColourWhenDone(job, editor, EditorHost::AwaitAhead(editor));
    return job->text.format;
}

} // namespace LargeFileLoad
