// The deferred load of the four reference pages (LoadReferencePages) from a
// generated database of 10,000 rows with 300 categories and from the shipped
// quillet.dll, beside the same statements read through the database layer only
// (ReadReferenceTree) and through bare SQLite. The ratios printed at the end
// show what the database layer and the trees add to the queries.
#include "AdoDatabase.h"
#include "ConnectionString.h"
#include "GeneratedReferenceDb.h"
#include "ReferenceLoad.h"
#include "ReferencePage.h"
#include "ReferenceTables.h"
#include "ReferenceTreeCtrl.h"
#include "ReferenceTreeReader.h"
#include "ReferenceTreeSql.h"
#include "WSCSSView.h"
#include "WSHtmlView.h"
#include "WSJavaScriptView.h"
#include "WSPHPView.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>

#include <algorithm>
#include <vector>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>

namespace {

struct CSource
{
    std::string name;
    std::string path;
};

std::vector<CSource> g_sources;

int64_t CountItems(const std::vector<std::unique_ptr<CReferencePage>>& pages)
{
    int64_t n = 0;
    for (const auto& page : pages) {
        const QTreeWidget* tree = page->GetTreeCtrl();
        n += tree->topLevelItemCount();
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            n += tree->topLevelItem(i)->childCount();
    }
    return n;
}

std::vector<std::unique_ptr<CReferencePage>> MakePages()
{
    std::vector<std::unique_ptr<CReferencePage>> pages;
    pages.push_back(std::make_unique<CWSPHPView>());
    pages.push_back(std::make_unique<CWSCSSView>());
    pages.push_back(std::make_unique<CWSHtmlView>());
    pages.push_back(std::make_unique<CWSJavaScriptView>());
    return pages;
}

// The main frame's deferred load into four new pages; the PHP page is shown, as
// the active page of the workspace bar is, and the events the load leaves (the
// trees' layout and the first paint) are processed within the measurement.
void DeferredLoad(benchmark::State& state, const CSource& source)
{
    CAdoDatabase db;
    if (!db.Open(ConnectionString::ForFile(QString::fromStdString(source.path)))) {
        state.SkipWithError("cannot open the database");
        return;
    }
    int64_t items = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto pages = MakePages();
        pages[0]->resize(220, 600);
        pages[0]->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        LoadReferencePages([&](int tab) -> QWidget* { return tab < 4 ? pages[tab].get() : nullptr; },
                           [&] { return &db; });
        QCoreApplication::processEvents();
        state.PauseTiming();
        items = CountItems(pages);
        pages.clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["items"] = static_cast<double>(items);
}

// The same statements and rows through the database layer, no widgets.
void LayerOnly(benchmark::State& state, const CSource& source)
{
    CAdoDatabase db;
    if (!db.Open(ConnectionString::ForFile(QString::fromStdString(source.path)))) {
        state.SkipWithError("cannot open the database");
        return;
    }
    int64_t entries = 0;
    for (auto _ : state) {
        entries = 0;
        for (int kind : ReferenceTables::LoadOrder()) {
            const QList<CReferenceBranch> tree = ReadReferenceTree(&db, ReferenceTables::TableName(kind));
            for (const CReferenceBranch& branch : tree)
                entries += 1 + branch.children.size();
        }
        benchmark::DoNotOptimize(entries);
    }
    state.counters["items"] = static_cast<double>(entries);
}

// The same statements, one for the top level and one per top-level entry,
// stepped through with the SQLite C API, each column read once.
int64_t BareRead(sqlite3* db, const std::string& statement, std::vector<int>* ids)
{
    sqlite3_stmt* rows = nullptr;
    if (sqlite3_prepare_v2(db, statement.c_str(), -1, &rows, nullptr) != SQLITE_OK)
        return 0;
    int64_t n = 0;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const int a = sqlite3_column_int(rows, 0);
        benchmark::DoNotOptimize(sqlite3_column_text(rows, 1));
        benchmark::DoNotOptimize(sqlite3_column_int(rows, 2));
        if (ids)
            ids->push_back(a);
        ++n;
    }
    sqlite3_finalize(rows);
    return n;
}

void BareSqlite(benchmark::State& state, const CSource& source)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(source.path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        state.SkipWithError("cannot open the database");
        return;
    }
    int64_t entries = 0;
    for (auto _ : state) {
        entries = 0;
        for (int kind : ReferenceTables::LoadOrder()) {
            const QString table = ReferenceTables::TableName(kind);
            std::vector<int> top;
            entries += BareRead(db, ReferenceTreeSql::TopLevel(table).toStdString(), &top);
            for (int id : top)
                entries += BareRead(db, ReferenceTreeSql::Children(table, id).toStdString(), nullptr);
        }
    }
    sqlite3_close(db);
    state.counters["items"] = static_cast<double>(entries);
}

// Prints each run, then each load's time as a multiple of the bare queries':
// with repetitions, repetition k of a load is divided by repetition k of the
// bare queries (the aggregate rows are left out), and the median of those
// ratios is printed with the least and the greatest.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const CSource& source : g_sources) {
            const auto bare = m_times.find("BareSqlite/" + source.name);
            if (bare == m_times.end())
                continue;
            for (const char* side : {"LayerOnly/", "DeferredLoad/"}) {
                const auto it = m_times.find(side + source.name);
                if (it == m_times.end())
                    continue;
                std::vector<double> ratios;
                for (std::size_t k = 0; k < it->second.size() && k < bare->second.size(); ++k)
                    if (bare->second[k] > 0)
                        ratios.push_back(it->second[k] / bare->second[k]);
                if (ratios.empty())
                    continue;
                std::sort(ratios.begin(), ratios.end());
                const std::size_t n = ratios.size();
                const double median = n % 2 ? ratios[n / 2] : (ratios[n / 2 - 1] + ratios[n / 2]) / 2;
                std::printf("%s%s / BareSqlite/%s = %.2f (min %.2f, max %.2f, %zu runs)\n", side,
                            source.name.c_str(), source.name.c_str(), median, ratios.front(), ratios.back(), n);
            }
        }
    }

private:
    std::map<std::string, std::vector<double>> m_times;
};

// The offscreen platform warns on every shown window that it cannot pass on size
// hints; that says nothing about the measurement.
QtMessageHandler g_previousHandler = nullptr;

void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_previousHandler = qInstallMessageHandler(QuietOffscreen);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    QTemporaryDir dir;
    QFile schema(QStringLiteral(QUILLET_REF_SCHEMA));
    const std::string generated = dir.filePath(QStringLiteral("generated.dll")).toStdString();
    if (!schema.open(QIODevice::ReadOnly)
        || !GeneratedReferenceDb::Write(generated, schema.readAll().toStdString(), 10000, 300)) {
        std::fprintf(stderr, "cannot write the generated reference database\n");
        return 1;
    }
    g_sources.push_back({"generated", generated});
    const QString shipped = QStringLiteral(QUILLET_BIN_DIR "/quillet.dll");
    if (QFile::exists(shipped))
        g_sources.push_back({"shipped", shipped.toStdString()});

    for (const CSource& source : g_sources) {
        benchmark::RegisterBenchmark(("BareSqlite/" + source.name).c_str(), BareSqlite, source)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("LayerOnly/" + source.name).c_str(), LayerOnly, source)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("DeferredLoad/" + source.name).c_str(), DeferredLoad, source)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
