// The site symbol index over Debian's WordPress and MediaWiki (unpacked by
// scripts/bench.sh into the folder QUILLET_BENCH_SITES names, with wordpress/
// and mediawiki/ in it), each figure beside a yardstick in the same run:
// - index_wordpress/cold: every PHP file read, no cache; beside Universal
//   Ctags reading the same tree (ctags), and warm: the same from the cache;
// - goto_definition/ours: the name at the caret looked up and the file of its
//   definition shown at that line in our editor control; beside bare: the
//   same file shown in a bare QsciScintilla at that line, no look-up;
// - find_symbol_key/ours: one key typed in the 查找符号 box over every symbol
//   of both sites (matching, ordering, the list filled); beside scan: a plain
//   substring search over the same names.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <Qsci/qsciscintilla.h>

#include "CodeEditCtrl.h"
#include "FindSymbolDlg.h"
#include "SymbolIndex.h"
#include "SymbolLookup.h"
#include "SymbolMatch.h"

namespace {

QString g_sites;
QTemporaryDir* g_scratch = nullptr;

QString WordPress() { return g_sites + QStringLiteral("/wordpress"); }

void IndexWordPress(benchmark::State& state, bool warm)
{
    const QString cache = g_scratch->filePath(warm ? "warm.sqlite" : "cold.sqlite");
    if (warm) {
        CSymbolIndex first(cache);
        first.SetRoot(WordPress());
        first.WaitUntilIdle(600000);
    }
    std::size_t symbols = 0;
    for (auto _ : state) {
        if (!warm)
            QFile::remove(cache);
        CSymbolIndex index(cache);
        index.SetRoot(WordPress());
        if (!index.WaitUntilIdle(600000))
            state.SkipWithError("the index did not finish");
        symbols = index.SymbolCount();
    }
    state.counters["symbols"] = double(symbols);
}

void Ctags(benchmark::State& state)
{
    const QString ctags = QStandardPaths::findExecutable(QStringLiteral("ctags"));
    if (ctags.isEmpty()) {
        state.SkipWithError("no ctags");
        return;
    }
    for (auto _ : state) {
        QProcess p;
        p.start(ctags, {QStringLiteral("-R"), QStringLiteral("--languages=PHP"), QStringLiteral("-f"),
                        QStringLiteral("/dev/null"), WordPress()});
        p.waitForFinished(600000);
    }
}

const CSymbolIndex& BothSites()
{
    static CSymbolIndex* index = [] {
        auto* i = new CSymbolIndex(g_scratch->filePath("both.sqlite"));
        i->SetRoot(g_sites);
        i->WaitUntilIdle(600000);
        return i;
    }();
    return *index;
}

// A call of a WordPress function defined in another file, in a document of the site.
const std::string kCaller = "<?php\n$title = get_the_title( $post );\n";

void ShowAt(QsciScintilla& editor, const QString& path, int line)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    if (auto* ours = qobject_cast<CCodeEditCtrl*>(&editor))
        ours->SetWholeText(bytes);
    else
        editor.SendScintilla(QsciScintillaBase::SCI_SETTEXT, bytes.constData());
    editor.setCursorPosition(line - 1, 0);
    editor.ensureLineVisible(line - 1);
    editor.repaint();
}

void GoToDefinition(benchmark::State& state, bool ours)
{
    static CSymbolIndex* index = [] {
        auto* i = new CSymbolIndex(g_scratch->filePath("goto.sqlite"));
        i->SetRoot(WordPress());
        i->WaitUntilIdle(600000);
        return i;
    }();
    const std::vector<CSymbolRef> target = index->Find("get_the_title", {SymbolKind::Function});
    if (target.size() != 1) {
        state.SkipWithError("get_the_title not found once");
        return;
    }
    const QString path = target.front().path;
    const int line = target.front().symbol->line;
    std::unique_ptr<QsciScintilla> editor(ours ? new CCodeEditCtrl : new QsciScintilla);
    editor->SendScintilla(QsciScintillaBase::SCI_SETCODEPAGE, 65001UL);
    editor->resize(800, 600);
    editor->show();
    QCoreApplication::processEvents();
    const QString caller = WordPress() + QStringLiteral("/wp-includes/caller.php");
    for (auto _ : state) {
        if (ours) {
            const auto found = SymbolLookup::Definitions(*index, caller, kCaller, kCaller.find("get_the") + 4);
            if (found.targets.size() != 1)
                state.SkipWithError("no single target");
            ShowAt(*editor, found.targets.front().path, found.targets.front().symbol->line);
        } else {
            ShowAt(*editor, path, line);
        }
        QCoreApplication::processEvents();
    }
}

void FindSymbolKey(benchmark::State& state, bool ours)
{
    const CSymbolIndex& index = BothSites();
    state.counters["symbols"] = double(index.SymbolCount());
    const char* const texts[] = {"get_po", "get_pos"};
    if (ours) {
        CFindSymbolDlg dialog(index);
        dialog.show();
        QCoreApplication::processEvents();
        int k = 0;
        for (auto _ : state) {
            dialog.FilterBox()->setText(QString::fromLatin1(texts[k++ & 1]));
            QCoreApplication::processEvents();
        }
    } else {
        std::vector<std::string> names;
        for (const CSymbolRef& r : index.Match("", std::size_t(-1)))
            names.push_back(SymbolMatch::Lower(r.symbol->name));
        int k = 0;
        for (auto _ : state) {
            std::size_t hits = 0;
            for (const std::string& n : names)
                hits += n.find(texts[k & 1]) != std::string::npos;
            ++k;
            benchmark::DoNotOptimize(hits);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_sites = qEnvironmentVariable("QUILLET_BENCH_SITES");
    if (g_sites.isEmpty() || !QDir(WordPress()).exists()) {
        std::fprintf(stderr, "QUILLET_BENCH_SITES must name a folder holding wordpress/ (and mediawiki/)\n");
        return 1;
    }
    QTemporaryDir scratch;
    g_scratch = &scratch;
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("Symbols/index_wordpress/cold", IndexWordPress, false)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    RegisterBenchmark("Symbols/index_wordpress/warm", IndexWordPress, true)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    RegisterBenchmark("Symbols/index_wordpress/ctags", Ctags)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    RegisterBenchmark("Symbols/goto_definition/ours", GoToDefinition, true)->Unit(benchmark::kMillisecond)->UseRealTime();
    RegisterBenchmark("Symbols/goto_definition/bare", GoToDefinition, false)->Unit(benchmark::kMillisecond)->UseRealTime();
    RegisterBenchmark("Symbols/find_symbol_key/ours", FindSymbolKey, true)->Unit(benchmark::kMillisecond)->UseRealTime();
    RegisterBenchmark("Symbols/find_symbol_key/scan", FindSymbolKey, false)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
