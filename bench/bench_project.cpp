// Saving the large scene, with its snapshot, as a project file; against writing the same
// number of bytes to a file of the same kind (atomic, beside the target) in one piece.
#include "bench_scene.h"

#include "core/kav_error_log.h"
#include "mcadcmd/scene/kav_scene.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Kav;

namespace {

void BM_SaveProject(benchmark::State& state)
{
    MvpBench::RestoreScene& s = MvpBench::RestoreScene::get();
    QTemporaryDir dir;
    QString const path = dir.filePath(QStringLiteral("bench.kavproj"));
    for (auto _ : state) {
        ErrorLog log(false);
        if (!MCADCmd::saveProject(s.scene(), path, &log))
            state.SkipWithError("the project was not saved");
    }
    qint64 const size = QFileInfo(path).size();
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["file_bytes"] = static_cast<double>(size);
}

void BM_SaveFileBaseline(benchmark::State& state)
{
    MvpBench::RestoreScene& s = MvpBench::RestoreScene::get();
    QTemporaryDir dir;
    QString const path = dir.filePath(QStringLiteral("bench.kavproj"));
    {
        ErrorLog log(false);
        MCADCmd::saveProject(s.scene(), path, &log);
    }
    QByteArray const bytes(static_cast<int>(QFileInfo(path).size()), 'x');
    for (auto _ : state) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            state.SkipWithError("the file was not written");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SaveFileBaseline)->Unit(benchmark::kMillisecond)->MinTime(1.0);
