// Find in files over a generated site: 10,000 PHP, HTML, CSS and JavaScript
// files of about 3 KB in 100 folders, searched for a word found in one file of
// ten, beside `grep -rniF` over the same tree as the yardstick.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>

#include "core/FileSearch.h"

namespace {

// The tree searched: QUILLET_FIND_TREE names a folder of real files (the
// benchmark script fills one from Debian's wordpress), otherwise a site is
// generated; QUILLET_FIND_TEXT is the text looked for there.
QString Needle()
{
    const QString text = qEnvironmentVariable("QUILLET_FIND_TEXT");
    return text.isEmpty() ? QStringLiteral("needleFunction") : text;
}

int ExpectedMatches()
{
    return qEnvironmentVariableIsSet("QUILLET_FIND_TREE") ? -1 : 1000;
}

QString Site()
{
    if (qEnvironmentVariableIsSet("QUILLET_FIND_TREE"))
        return qEnvironmentVariable("QUILLET_FIND_TREE");
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        const char* kinds[] = {"php", "html", "css", "js"};
        for (int i = 0; i < 10000; ++i) {
            const QString folder = dir.path() + QStringLiteral("/f%1").arg(i / 100);
            QDir().mkpath(folder);
            QFile f(folder + QStringLiteral("/file%1.%2").arg(i).arg(kinds[i % 4]));
            if (!f.open(QIODevice::WriteOnly))
                continue;
            QByteArray body;
            for (int line = 0; line < 60; ++line)
                body += "    $value" + QByteArray::number(line) + " = compute($input, " + QByteArray::number(i) + ");\n";
            if (i % 10 == 0)
                body += "    $result = needleFunction($value1);\n";
            f.write(body);
        }
    }
    return dir.path();
}

void Ours(benchmark::State& state)
{
    CFileSearchOptions options;
    options.strText = Needle();
    options.strPatterns = QStringLiteral("*.php;*.html;*.htm;*.js;*.css;*.inc");
    const QString root = Site();
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        int matches = 0;
        FileSearch::SearchTree(root, options, stop, [&](const CFileMatch&) { ++matches; });
        state.counters["matches"] = matches;
        if (ExpectedMatches() >= 0 && matches != ExpectedMatches())
            state.SkipWithError("wrong number of matches");
    }
}

void Grep(benchmark::State& state)
{
    const QString grep = QStandardPaths::findExecutable(QStringLiteral("grep"));
    const QString root = Site();
    for (auto _ : state) {
        QProcess p;
        p.start(grep, {QStringLiteral("-rniF"), Needle(), root});
        p.waitForFinished(-1);
        benchmark::DoNotOptimize(p.readAllStandardOutput());
    }
}

} // namespace

BENCHMARK(Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(Grep)->Unit(benchmark::kMillisecond);
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
