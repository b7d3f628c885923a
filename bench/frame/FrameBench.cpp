// The editor through the running application's main window (workspace bar,
// context-help list, prototype combo, status bar all live), on pages made of
// real PHP files, beside a bare QsciScintilla given the same file and keys.
// QUILLET_BENCH_PAGES names a folder of PHP files (the benchmark script
// unpacks Debian's wordpress there); the pages are their contents joined.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QKeyEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThreadPool>
#include <Qsci/qsciscintilla.h>

#include <chrono>
#include <functional>
#include <vector>
#include <memory>

#include "CodeEditCtrl.h"
#include "ContextHelpDlg.h"
#include "DocTemplate.h"
#include "EditorSearch.h"
#include "MainFrame.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "QuilletEvent.h"

namespace {

using Sci = QsciScintillaBase;
using Clock = std::chrono::steady_clock;

CQuilletApp* App() { return static_cast<CQuilletApp*>(qApp); }

QTemporaryDir& Scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// A page of at least bytes, the PHP files of the pages folder joined in order.
QString Page(qint64 bytes)
{
    const QString path = Scratch().filePath(QStringLiteral("page%1.php").arg(bytes));
    if (QFile::exists(path))
        return path;
    QStringList files;
    QDirIterator it(qEnvironmentVariable("QUILLET_BENCH_PAGES"), {QStringLiteral("*.php")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    QByteArray all;
    for (const QString& f : files) {
        QFile in(f);
        if (in.open(QIODevice::ReadOnly))
            all += in.readAll();
    }
    if (all.isEmpty())
        return {};
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    for (qint64 written = 0; written < bytes; written += all.size())
        out.write(all);
    return path;
}

void Settle()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// A typed character as the window system delivers it, then the events it caused.
double TimedKey(QWidget* target, char ch)
{
    const auto start = Clock::now();
    const QString text(QLatin1Char{ch});
    const auto key = static_cast<Qt::Key>(QChar(ch).toUpper().unicode());
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    QCoreApplication::processEvents();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Our side: a document of the application, in a child window of the main frame.
struct Ours
{
    CQuilletDoc* doc = nullptr;
    explicit Ours(const QString& path) { doc = App()->DocTemplate()->OpenDocumentFile(path); Settle(); }
    ~Ours()
    {
        if (!doc)
            return;
        doc->SetModifiedFlag(false);
        doc->OnCloseDocument();
        Settle();
        // The child window goes, and with it the document, only once deleted:
        // until then opening the file again would bring this one to the front.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Settle();
    }
    QsciScintilla* Editor() const { return doc ? doc->Editor() : nullptr; }
    void GoToLine(int line) const { EditorSearch::GoToLine(Editor(), line); QCoreApplication::processEvents(); }
};

// The control: a QsciScintilla in UTF-8 mode of the main window's size, nothing connected.
struct Bare
{
    std::unique_ptr<QsciScintilla> editor = std::make_unique<QsciScintilla>();
    explicit Bare(const QString& path)
    {
        editor->setUtf8(true);
        editor->resize(App()->MainFrame()->size());
        editor->show();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QByteArray bytes = file.readAll();
        editor->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
        editor->SendScintilla(Sci::SCI_ADDTEXT, static_cast<unsigned long>(bytes.size()), bytes.constData());
        editor->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1UL);
        editor->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
        editor->SendScintilla(Sci::SCI_GOTOPOS, 0UL);
        QCoreApplication::processEvents();
    }
    QsciScintilla* Editor() const { return editor.get(); }
    void GoToLine(int line) const
    {
        editor->SendScintilla(Sci::SCI_GOTOLINE, static_cast<unsigned long>(line - 1));
        QCoreApplication::processEvents();
    }
};

// Until the text shows and the window takes input. A page of its own: the
// one the key cases keep open would only be brought to the front.
template <class Side>
void Open200mb(benchmark::State& state)
{
    const QString path = Page((qint64{200} << 20) + 1);
    for (auto _ : state) {
        const auto start = Clock::now();
        auto side = std::make_unique<Side>(path);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!side->Editor() || side->Editor()->length() < (qint64{200} << 20))
            state.SkipWithError("not opened");
    }
}

// The first key typed at the top of a 200 MB page as soon as it has opened.
template <class Side>
void KeyTop200mb(benchmark::State& state)
{
    const QString path = Page((qint64{200} << 20) + 2);
    for (auto _ : state) {
        state.PauseTiming();
        auto side = std::make_unique<Side>(path);
        state.ResumeTiming();
        if (!side->Editor()) {
            state.SkipWithError("not opened");
            break;
        }
        state.SetIterationTime(TimedKey(side->Editor(), 'k'));
    }
}

// What main lets go of before the application ends.
std::vector<std::function<void()>>& Releases()
{
    static std::vector<std::function<void()>> releases;
    return releases;
}

// Kept open across repetitions: one open of 200 MB costs seconds.
template <class Side, qint64 Bytes>
Side& Held()
{
    static std::unique_ptr<Side> side;
    if (!side) {
        side = std::make_unique<Side>(Page(Bytes));
        Releases().push_back([] { side.reset(); });
    }
    return *side;
}

// The first key after typing near the end and jumping back to the middle.
template <class Side>
void JumpKey10mb(benchmark::State& state)
{
    Side& side = Held<Side, (qint64{10} << 20)>();
    QsciScintilla* editor = side.Editor();
    if (!editor) {
        state.SkipWithError("not opened");
        return;
    }
    const int lines = editor->lines();
    for (auto _ : state) {
        side.GoToLine(lines - 3);
        TimedKey(editor, 'x');
        Settle();
        side.GoToLine(lines / 2);
        state.SetIterationTime(TimedKey(editor, 'y'));
        Settle();
    }
}

// The first key after going to a far line of 200 MB, then back near the top.
template <class Side>
void KeyGoto200mb(benchmark::State& state)
{
    Side& side = Held<Side, (qint64{200} << 20)>();
    QsciScintilla* editor = side.Editor();
    if (!editor) {
        state.SkipWithError("not opened");
        return;
    }
    const int far = std::min(3'000'000, editor->lines() * 3 / 4);
    bool toFar = true;
    for (auto _ : state) {
        side.GoToLine(toFar ? far : 10);
        toFar = !toFar;
        state.SetIterationTime(TimedKey(editor, 'z'));
        Settle();
    }
}

} // namespace

BENCHMARK(Open200mb<Ours>)->Name("Open200mb/ours")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Open200mb<Bare>)->Name("Open200mb/bare")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(KeyTop200mb<Ours>)->Name("KeyTop200mb/ours")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(KeyTop200mb<Bare>)->Name("KeyTop200mb/bare")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(JumpKey10mb<Ours>)->Name("JumpKey10mb/ours")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(JumpKey10mb<Bare>)->Name("JumpKey10mb/bare")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(KeyGoto200mb<Ours>)->Name("KeyGoto200mb/ours")->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(KeyGoto200mb<Bare>)->Name("KeyGoto200mb/bare")->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings, recovery copies and the desktop entry go to a home of the run's own.
    QTemporaryDir home;
    for (const char* sub : {".config", ".local/share", ".local/state", ".cache", "runtime"})
        QDir(home.path()).mkpath(QString::fromLatin1(sub));
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toLocal8Bit());
    qputenv("XDG_STATE_HOME", (home.path() + "/.local/state").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + "/.cache").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toLocal8Bit());
    QFile::setPermissions(home.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    benchmark::Initialize(&argc, argv);
    int appArgc = 3;
    char arg0[] = "quillet", arg1[] = "-dde", arg2[] = "-embedding";
    char* appArgv[] = {arg0, arg1, arg2, nullptr};
    CQuilletApp app(appArgc, appArgv);
    if (!app.InitInstance())
        return 1;
    CQuilletEvent::Post(app.MainFrame(), QuilletEvent::DeferredLoad);
    QCoreApplication::processEvents();
    // The context-help list reads its names when first used; that is done
    // here, once, so that no measured key pays for it.
    app.MainFrame()->GetHelpList()->List();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& release : Releases())
        release();
    app.DocTemplate()->CloseAllDocuments();
    app.ExitInstance(0);
    return 0;
}
