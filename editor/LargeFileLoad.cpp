#include "LargeFileLoad.h"

#include "CodeEditCtrl.h"
#include "EditorHost.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <thread>

namespace LargeFileLoad {

namespace {

qint64 g_threshold = qint64{16} << 20;

// Shares of the bar: reading and decoding on the worker, then the slices into
// the editor (while the worker colours the same text), the rest of the
// colouring, and the styles.
constexpr int kReadEnd = 45;
constexpr int kDecodeEnd = 55;
constexpr int kInsertEnd = 85;
constexpr int kColourEnd = 90;

struct WorkerResult {
    bool ok = false;
    FileEncoding::Decoded decoded;
    EditorHost::LoadColouring colour;
};

// Runs on the worker thread; percent is read by the dialog's timer, decoded
// says that out.decoded is complete (and read-only from then on: the editor's
// thread puts it into the editor while this thread colours it).
void ReadDecodeColour(const QString& path, std::atomic<int>& percent, std::atomic<bool>& decoded, WorkerResult& out)
{
    QFile file(path);
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
        percent = static_cast<int>(kReadEnd * done / std::max<qint64>(size, 1));
    }
    bytes.truncate(done);
    // A file that grew meanwhile is read to its new end.
    const QByteArray rest = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    bytes += rest;
    out.decoded = FileEncoding::Decode(bytes);
    bytes.clear();
    percent = kDecodeEnd;
    decoded = true;
    out.colour = EditorHost::ColourAhead(out.decoded.text);
    out.ok = true;
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

    std::atomic<int> percent{0};
    std::atomic<bool> decoded{false};
    std::atomic<bool> finished{false};
    WorkerResult result;
    std::thread worker([&] {
        ReadDecodeColour(path, percent, decoded, result);
        finished = true;
    });
    // The window goes on painting and the bar moving while the worker runs;
    // the dialog keeps input away from everything else.
    const auto waitFor = [&](const std::atomic<bool>& done, bool followWorker) {
        QEventLoop wait;
        QTimer tick;
        tick.setInterval(30);
        QObject::connect(&tick, &QTimer::timeout, &wait, [&] {
            if (followWorker)
                progress.setValue(percent.load());
            if (done.load() || finished.load())
                wait.quit();
        });
        tick.start();
        wait.exec();
    };
    waitFor(decoded, true);
    if (decoded && editor) {
        // Into the editor while the worker colours: both only read the text.
        editor->SetWholeText(result.decoded.text, [&](double share) {
            progress.setValue(kDecodeEnd + static_cast<int>((kInsertEnd - kDecodeEnd) * share));
        });
        progress.setValue(kInsertEnd);
    }
    waitFor(finished, false);
    worker.join();
    if (!result.ok || !editor)
        return std::nullopt;
    progress.setValue(kColourEnd);
    result.decoded.text.clear();
    result.colour(editor, [&](double share) {
        progress.setValue(kColourEnd + static_cast<int>((100 - kColourEnd) * share));
    });
    progress.setValue(100);
    return result.decoded.format;
}

} // namespace LargeFileLoad
