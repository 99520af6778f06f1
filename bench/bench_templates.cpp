#include "templates/mvp_template_names.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using Kav::PropertyAccess::PropAccTemplate;
using Kav::PropertyAccess::PropAccTemplateContainer;

namespace {

PropAccTemplateContainer sameName(int n)
{
    PropAccTemplateContainer c;
    for (int i = 0; i < n; ++i)
        c.add(PropAccTemplate(QStringLiteral("restore template")));
    return c;
}

// Importing n templates that all carry the same name into a store that has it too.
// Target: 10,000 in under 100 ms.
void BM_ImportSameName(benchmark::State& state)
{
    PropAccTemplateContainer const incoming = sameName(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PropAccTemplateContainer stored = sameName(1);
        Kav::MCADVisProp::mergeTemplates(&stored, incoming);
        benchmark::DoNotOptimize(stored);
    }
}

// Baseline: the same appends with no renaming at all.
void BM_AppendBaseline(benchmark::State& state)
{
    PropAccTemplateContainer const incoming = sameName(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PropAccTemplateContainer stored = sameName(1);
        for (unsigned int i = 0; i < incoming.getNumberOfTemplates(); ++i)
            stored.add(incoming.getTemplate(i));
        benchmark::DoNotOptimize(stored);
    }
}

} // namespace

BENCHMARK(BM_ImportSameName)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendBaseline)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // The edit dialog benchmark needs widgets; no display is needed for them.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
