// Opening, saving and typing in a 10 MB PHP page with our document and editor
// control, beside a bare QsciScintilla doing the same work in the same run;
// the closing table gives each case's ratio ours/bare.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <Qsci/qsciscintilla.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "CodeEditCtrl.h"
#include "PhpPage.h"
#include "RatioReporter.h"
#include "Sides.h"

namespace {

using Sci = QsciScintillaBase;
using PhpPage::Variant;

constexpr qsizetype kPageBytes = 10 * 1024 * 1024;
constexpr double kLimit = 1.2;

struct Setup
{
    QString dir;
    std::map<Variant, QString> files;
    std::map<Variant, QByteArray> bytes;
    std::unique_ptr<OursSide> ours;
    std::unique_ptr<BareSide> bare;
};
Setup* g_setup = nullptr;

enum class Side { Ours, OursColour, Bare };

const char* SideName(Side side)
{
    return side == Side::Ours ? "ours" : side == Side::OursColour ? "ours_colour" : "bare";
}

QsciScintilla* EditorOf(Side side)
{
    return side == Side::Bare ? g_setup->bare->Editor() : static_cast<QsciScintilla*>(g_setup->ours->Editor());
}

QWidget* KeyTargetOf(Side side)
{
    return side == Side::Bare ? g_setup->bare->KeyTarget() : g_setup->ours->KeyTarget();
}

bool OpenOn(Side side, const QString& path)
{
    return side == Side::Bare ? g_setup->bare->Open(path) : g_setup->ours->Open(path);
}

bool SaveOn(Side side, const QString& path)
{
    return side == Side::Bare ? g_setup->bare->Save(path) : g_setup->ours->Save(path);
}

long Length(QsciScintilla* e)
{
    return e->SendScintilla(Sci::SCI_GETLENGTH);
}

// The text length each side's control holds after opening variant: ours
// decodes GBK into UTF-8, the bare control takes the bytes as they are.
long ExpectedLength(Side side, Variant variant)
{
    if (side != Side::Bare && variant == Variant::GbkCrLf)
        return static_cast<long>(PhpPage::FileBytes(PhpPage::Utf8Text(kPageBytes), Variant::Utf8CrLf).size());
    return static_cast<long>(g_setup->bytes.at(variant).size());
}

void BM_Open(benchmark::State& state, Side side, Variant variant)
{
    ColourerInstalled colourer(side == Side::OursColour);
    const QString& path = g_setup->files.at(variant);
    for (auto _ : state) {
        if (!OpenOn(side, path)) {
            state.SkipWithError("open failed");
            break;
        }
        // Our side's time is until the text is in the window and it takes
        // input; a long file's colours follow from a worker thread, and are
        // let in before the next open, untimed.
        if (side == Side::OursColour) {
            state.PauseTiming();
            ColourerInstalled::WaitForColours();
            state.ResumeTiming();
        }
    }
    if (Length(EditorOf(side)) != ExpectedLength(side, variant))
        state.SkipWithError("the control does not hold the file's text");
    if (side == Side::OursColour)
        state.counters["passes_per_open"] = static_cast<double>(colourer.Passes()) / state.iterations();
    state.SetBytesProcessed(state.iterations() * g_setup->bytes.at(variant).size());
}

void BM_Save(benchmark::State& state, Side side, Variant variant)
{
    const QString out = g_setup->dir + QStringLiteral("/saved_") + QLatin1String(SideName(side)) +
                        QStringLiteral(".php");
    if (!OpenOn(side, g_setup->files.at(variant))) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        if (!SaveOn(side, out)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    QFile saved(out);
    if (!saved.open(QIODevice::ReadOnly) || saved.readAll() != g_setup->bytes.at(variant))
        state.SkipWithError("the saved file differs from the file opened");
    state.SetBytesProcessed(state.iterations() * g_setup->bytes.at(variant).size());
}

// Types 'x' at the start of a line near the top or in the middle of the
// page (QScintilla's own work per key grows with the caret's offset). With
// otherLine, every key goes to another line than the key before it (as after
// Enter or a click elsewhere), which is when our editor recolours.
void BM_Type(benchmark::State& state, Side side, bool middle, bool otherLine)
{
    ColourerInstalled colourer(side == Side::OursColour);
    if (!OpenOn(side, g_setup->files.at(Variant::Utf8Lf))) {
        state.SkipWithError("open failed");
        return;
    }
    QsciScintilla* e = EditorOf(side);
    QWidget* target = KeyTargetOf(side);
    const long firstLine = middle ? e->SendScintilla(Sci::SCI_GETLINECOUNT) / 2 : 20;
    const long length = Length(e);
    long line = firstLine;
    e->SendScintilla(Sci::SCI_GOTOLINE, static_cast<unsigned long>(line));
    QCoreApplication::processEvents();
    const int passesBefore = colourer.Passes();
    for (auto _ : state) {
        const long pos = e->SendScintilla(Sci::SCI_GETCURRENTPOS);
        TypeCharacter(target, 'x');
        state.PauseTiming();
        if (Length(e) != length + 1) {
            state.SkipWithError("the key typed nothing");
            break;
        }
        // Back to the same text for the next key, out of the measurement. The
        // deletion is a change too: its events run before the caret moves, so
        // that our editor records the line the key was typed on.
        e->SendScintilla(Sci::SCI_DELETERANGE, static_cast<unsigned long>(pos), 1L);
        QCoreApplication::processEvents();
        if (otherLine)
            line = line == firstLine ? firstLine + 2 : firstLine;
        e->SendScintilla(Sci::SCI_GOTOLINE, static_cast<unsigned long>(line));
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (side == Side::OursColour)
        state.counters["passes_per_key"] =
            static_cast<double>(colourer.Passes() - passesBefore) / state.iterations();
}

// Presses Enter at the start of a line in the middle of the page: the caret
// moves to a new line, so our editor recolours (from the change on).
void BM_Enter(benchmark::State& state, Side side)
{
    ColourerInstalled colourer(side == Side::OursColour);
    if (!OpenOn(side, g_setup->files.at(Variant::Utf8Lf))) {
        state.SkipWithError("open failed");
        return;
    }
    QsciScintilla* e = EditorOf(side);
    QWidget* target = KeyTargetOf(side);
    const long line = e->SendScintilla(Sci::SCI_GETLINECOUNT) / 2;
    const long length = Length(e);
    e->SendScintilla(Sci::SCI_GOTOLINE, static_cast<unsigned long>(line));
    QCoreApplication::processEvents();
    const int passesBefore = colourer.Passes();
    for (auto _ : state) {
        const long pos = e->SendScintilla(Sci::SCI_GETCURRENTPOS);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
        QCoreApplication::processEvents();
        state.PauseTiming();
        const long added = Length(e) - length;
        if (added < 1) {
            state.SkipWithError("Enter typed nothing");
            break;
        }
        e->SendScintilla(Sci::SCI_DELETERANGE, static_cast<unsigned long>(pos), added);
        QCoreApplication::processEvents();
        e->SendScintilla(Sci::SCI_GOTOLINE, static_cast<unsigned long>(line));
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (side == Side::OursColour)
        state.counters["passes_per_key"] =
            static_cast<double>(colourer.Passes() - passesBefore) / state.iterations();
}

void Register(const std::string& name, std::function<void(benchmark::State&)> fn)
{
    benchmark::RegisterBenchmark(name.c_str(), std::move(fn))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void RegisterAll()
{
    const Variant variants[] = {Variant::Utf8Lf, Variant::Utf8CrLf, Variant::GbkCrLf};
    for (Variant v : variants)
        for (Side s : {Side::Ours, Side::OursColour, Side::Bare})
            Register(std::string("Open/") + PhpPage::VariantName(v) + "/" + SideName(s),
                     [s, v](benchmark::State& st) { BM_Open(st, s, v); });
    for (Variant v : variants)
        for (Side s : {Side::Ours, Side::Bare})
            Register(std::string("Save/") + PhpPage::VariantName(v) + "/" + SideName(s),
                     [s, v](benchmark::State& st) { BM_Save(st, s, v); });
    for (Side s : {Side::OursColour, Side::Bare})
        Register(std::string("Enter/middle/") + SideName(s), [s](benchmark::State& st) { BM_Enter(st, s); });
    for (bool middle : {false, true})
        for (bool other : {false, true})
            for (Side s : {Side::Ours, Side::OursColour, Side::Bare})
                Register(std::string("Type/") + (middle ? "middle_" : "top_") + (other ? "other_line" : "same_line") +
                             "/" + SideName(s),
                         [s, middle, other](benchmark::State& st) { BM_Type(st, s, middle, other); });
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The colourer reads its formats from a settings store of the test mode, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    Setup setup;
    setup.dir = dir.path();
    const QByteArray text = PhpPage::Utf8Text(kPageBytes);
    for (Variant v : {Variant::Utf8Lf, Variant::Utf8CrLf, Variant::GbkCrLf}) {
        setup.files[v] = PhpPage::WriteFile(setup.dir, text, v);
        setup.bytes[v] = PhpPage::FileBytes(text, v);
        if (setup.files[v].isEmpty()) {
            std::fprintf(stderr, "cannot write the %s page\n", PhpPage::VariantName(v));
            return 1;
        }
    }
    setup.ours = std::make_unique<OursSide>();
    setup.bare = std::make_unique<BareSide>();
    if (!setup.ours->Editor()) {
        std::fprintf(stderr, "no editor view\n");
        return 1;
    }
    g_setup = &setup;

    RegisterAll();
    RatioReporter reporter(kLimit);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    g_setup = nullptr;
    return 0;
}
