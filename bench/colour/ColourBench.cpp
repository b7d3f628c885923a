// Whole-text Recolour of PHP pages of 100 KB, 1 MB and 10 MB through a real
// QsciScintilla, beside QsciLexerHTML colouring the same text from scratch;
// and the tokenizers alone in bytes per second.
#include "BufferStyleTarget.h"
#include "ColourEditor.h"
#include "PHPRegionTokenizer.h"
#include "PHPTokenizer.h"
#include "PageGenerator.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardPaths>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

#include <chrono>
#include <map>
#include <memory>

namespace {

using Sci = QsciScintillaBase;

const std::string& PageOf(std::size_t bytes)
{
    static std::map<std::size_t, std::string> pages;
    auto it = pages.find(bytes);
    if (it == pages.end())
        it = pages.emplace(bytes, BenchPages::Page(bytes)).first;
    return it->second;
}

std::unique_ptr<QsciScintilla> EditorWith(const std::string& text)
{
    auto e = std::make_unique<QsciScintilla>();
    e->SendScintilla(Sci::SCI_SETCODEPAGE, static_cast<unsigned long>(Sci::SC_CP_UTF8));
    e->SendScintilla(Sci::SCI_SETTEXT, static_cast<uintptr_t>(0), text.c_str());
    e->resize(800, 600);
    return e;
}

void BM_Recolour(benchmark::State& state)
{
    const std::string& text = PageOf(static_cast<std::size_t>(state.range(0)));
    auto editor = EditorWith(text);
    for (auto _ : state) {
        editor->SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
        ColourEditor::RecolourControl(editor.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_LexerHTML(benchmark::State& state)
{
    const std::string& text = PageOf(static_cast<std::size_t>(state.range(0)));
    auto editor = EditorWith(text);
    QsciLexerHTML lexer;
    editor->setLexer(&lexer);
    for (auto _ : state) {
        editor->SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
        editor->SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L);
    }
    benchmark::DoNotOptimize(editor->SendScintilla(Sci::SCI_GETENDSTYLED));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    editor->setLexer(nullptr);
}

template <class Tok>
void BM_Tokenize(benchmark::State& state)
{
    const std::string& text = PageOf(static_cast<std::size_t>(state.range(0)));
    CBufferStyleTarget target(text);
    Tok tokenizer(target);
    for (auto _ : state) {
        tokenizer.Tokenize(text);
        benchmark::DoNotOptimize(tokenizer.Tokens().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["tokens"] = static_cast<double>(tokenizer.Tokens().size());
}

// The whole pass into a byte buffer: everything but the control.
void BM_ColourBuffer(benchmark::State& state)
{
    const std::string& text = PageOf(static_cast<std::size_t>(state.range(0)));
    CBufferStyleTarget target(text);
    for (auto _ : state) {
        CPHPRegionTokenizer(target).Recolour();
        benchmark::DoNotOptimize(target.Buffer().Slots().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

// The control's share of a pass: clearing and setting every style byte once.
void BM_StyleBytesOnly(benchmark::State& state)
{
    const std::string& text = PageOf(static_cast<std::size_t>(state.range(0)));
    auto editor = EditorWith(text);
    const std::vector<std::uint8_t> styles = ColourBytes(text);
    for (auto _ : state) {
        editor->SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
        editor->SendScintilla(Sci::SCI_STARTSTYLING, 0UL, 0x1fL);
        editor->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<uintptr_t>(styles.size()),
                              reinterpret_cast<const char*>(styles.data()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

// Both in one loop over two editors holding the same page: the counter
// "ratio" is our pass's time over the lexer's (the target is at most 0.25).
void BM_RecolourOverLexer(benchmark::State& state)
{
    const std::string& text = PageOf(static_cast<std::size_t>(state.range(0)));
    auto ours = EditorWith(text);
    auto theirs = EditorWith(text);
    QsciLexerHTML lexer;
    theirs->setLexer(&lexer);
    using Clock = std::chrono::steady_clock;
    Clock::duration oursTime{}, theirsTime{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ours->SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
        ColourEditor::RecolourControl(ours.get());
        const auto t1 = Clock::now();
        theirs->SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
        theirs->SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L);
        const auto t2 = Clock::now();
        oursTime += t1 - t0;
        theirsTime += t2 - t1;
    }
    state.counters["ours_ms"] = std::chrono::duration<double, std::milli>(oursTime).count() / state.iterations();
    state.counters["lexer_ms"] = std::chrono::duration<double, std::milli>(theirsTime).count() / state.iterations();
    state.counters["ratio"] = std::chrono::duration<double>(oursTime) / std::chrono::duration<double>(theirsTime);
    theirs->setLexer(nullptr);
}

constexpr int64_t kKB = 1024;

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(100 * kKB)->Arg(1024 * kKB)->Arg(10 * 1024 * kKB)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Recolour)->Apply(Sizes);
BENCHMARK(BM_LexerHTML)->Apply(Sizes);
BENCHMARK(BM_RecolourOverLexer)->Apply(Sizes);
BENCHMARK(BM_ColourBuffer)->Apply(Sizes);
BENCHMARK(BM_StyleBytesOnly)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_Tokenize, CPHPTokenizer)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_Tokenize, CPHPRegionTokenizer)->Apply(Sizes);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Formats come from a settings store of the test mode, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
