// Whole-text Recolour of PHP pages of 100 KB, 1 MB and 10 MB through a real
// QsciScintilla, beside QsciLexerHTML colouring the same text from scratch;
// and the tokenizers alone in bytes per second. Each size comes as a page of
// HTML with PHP regions and as a PHP-only file whose region is never closed.
// The same against the lexer on real PHP pages (the file named by
// QUILLET_BENCH_PHP_PAGES, which scripts/bench.sh makes of Debian's
// wordpress), by the flat rules and by the grammars.
#include "BufferStyleTarget.h"
#include "ColourEditor.h"
#include "PHPRegionTokenizer.h"
#include "PHPTokenizer.h"
#include "PageGenerator.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

#include <chrono>
#include <map>
#include <memory>
#include <utility>

namespace {

using Sci = QsciScintillaBase;

// The page of a run: range(0) is its size in bytes, range(1) is 1 for a
// PHP-only file and 0 for a page of HTML with PHP regions.
const std::string& PageOf(const benchmark::State& state)
{
    static std::map<std::pair<int64_t, int64_t>, std::string> pages;
    const auto key = std::make_pair(state.range(0), state.range(1));
    auto it = pages.find(key);
    if (it == pages.end()) {
        const auto bytes = static_cast<std::size_t>(key.first);
        it = pages.emplace(key, key.second ? BenchPages::PhpOnlyPage(bytes) : BenchPages::Page(bytes)).first;
    }
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
    const std::string& text = PageOf(state);
    auto editor = EditorWith(text);
    for (auto _ : state) {
        editor->SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
        ColourEditor::RecolourWhole(editor.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_LexerHTML(benchmark::State& state)
{
    const std::string& text = PageOf(state);
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
    const std::string& text = PageOf(state);
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
    const std::string& text = PageOf(state);
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
    const std::string& text = PageOf(state);
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
void RecolourOverLexer(benchmark::State& state, const std::string& text)
{
    auto ours = EditorWith(text);
    auto theirs = EditorWith(text);
    QsciLexerHTML lexer;
    theirs->setLexer(&lexer);
    using Clock = std::chrono::steady_clock;
    Clock::duration oursTime{}, theirsTime{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ours->SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
        ColourEditor::RecolourWhole(ours.get());
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

void BM_RecolourOverLexer(benchmark::State& state)
{
    RecolourOverLexer(state, PageOf(state));
}

// range(0): 0 for the flat rules, 1 for the grammars.
void BM_RealPagesOverLexer(benchmark::State& state)
{
    static const std::string pages = [] {
        QFile f(qEnvironmentVariable("QUILLET_BENCH_PHP_PAGES"));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }();
    if (pages.empty()) {
        state.SkipWithError("QUILLET_BENCH_PHP_PAGES names no file of PHP pages");
        return;
    }
    ColourEditor::SetRules(state.range(0) ? ColourRules::Grammar : ColourRules::Flat);
    RecolourOverLexer(state, pages);
    ColourEditor::SetRules(ColourRules::Flat);
}

constexpr int64_t kKB = 1024;

void Sizes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"bytes", "php_only"});
    for (int64_t bytes : {100 * kKB, 1024 * kKB, 10 * 1024 * kKB})
        for (int64_t phpOnly : {0, 1})
            b->Args({bytes, phpOnly});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Recolour)->Apply(Sizes);
BENCHMARK(BM_LexerHTML)->Apply(Sizes);
BENCHMARK(BM_RecolourOverLexer)->Apply(Sizes);
BENCHMARK(BM_RealPagesOverLexer)->ArgName("rules")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
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
