// The access blocks of a large scene's elements written to and read from memory, against the
// same values through QDataStream on a QBuffer.
#include "bench_scene.h"

#include "access/mvp_element_property_access.h"
#include "io/kav_stream.h"

#include <QBuffer>
#include <QDataStream>
#include <benchmark/benchmark.h>

using namespace Kav;
using MCADVisProp::CADElementPropertyAccess;

namespace {

// The element accesses of the snapshot (owned by its report).
std::vector<CADElementPropertyAccess const*> elementAccesses()
{
    MvpBench::RestoreScene& s = MvpBench::RestoreScene::get();
    auto const* report =
        dynamic_cast<CAD::Report const*>(s.scene().findElement(MvpBench::RestoreScene::snapshotName()));
    std::vector<CADElementPropertyAccess const*> list;
    for (PropertyAccess::PropertyAccessBase const* a : report->getCreationPropertyAccess()) {
        if (auto const* e = dynamic_cast<CADElementPropertyAccess const*>(a))
            list.push_back(e);
    }
    return list;
}

QByteArray writeBlocks(std::vector<CADElementPropertyAccess const*> const& accesses)
{
    QByteArray bytes;
    IO::OutStream out(&bytes, KString("MVP_BENCH"), 1);
    for (CADElementPropertyAccess const* a : accesses)
        a->saveStream(&out);
    out.close();
    return bytes;
}

void write(QDataStream& out, CADElementPropertyAccess const& a)
{
    CAD::ElemProp const& p = a.getElemProp();
    out << a.getVisible() << a.getAutoLabelPlacement() << a.getLabelPosition().x << a.getLabelPosition().y
        << a.getManualOriginOffset().x << a.getManualOriginOffset().y << a.getManualOriginOffset().z
        << a.getLabelVisible() << a.getUsesDefaultProperties() << a.getHasPullOut() << a.getPullOutPoint().x
        << a.getPullOutPoint().y << a.getPullOutPoint().z << a.getFirstKink() << a.getElementType()
        << a.getIsSectionInsp2d() << a.getAutoSampling() << a.getSampling();
    out << p.selected << p.highlighted << p.color << p.transparency << p.pointSize << p.lineWidth << p.displayMode;
    out << true; // the filler
    out << a.getLabelTemplate().getContent() << a.getLabelTemplate().getFontSize() << a.getLabelTemplate().hasFrame();
}

// What the baseline reads back into: the same fields as plain values.
struct Plain {
    bool visible, autoPlacement, labelVisible, usesDefault, hasPullOut, firstKink, isSection, autoSampling, filler, frame;
    double labelPosition[2], originOffset[3], pullOut[3], sampling;
    quint32 elementType, fontSize;
    CAD::ElemProp prop;
    QString content;
};

void read(QDataStream& in, Plain& v)
{
    in >> v.visible >> v.autoPlacement >> v.labelPosition[0] >> v.labelPosition[1] >> v.originOffset[0] >>
        v.originOffset[1] >> v.originOffset[2] >> v.labelVisible >> v.usesDefault >> v.hasPullOut >> v.pullOut[0] >>
        v.pullOut[1] >> v.pullOut[2] >> v.firstKink >> v.elementType >> v.isSection >> v.autoSampling >> v.sampling;
    in >> v.prop.selected >> v.prop.highlighted >> v.prop.color >> v.prop.transparency >> v.prop.pointSize >>
        v.prop.lineWidth >> v.prop.displayMode;
    in >> v.filler >> v.content >> v.fontSize >> v.frame;
}

QByteArray writeData(std::vector<CADElementPropertyAccess const*> const& accesses)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    out.setByteOrder(QDataStream::LittleEndian);
    for (CADElementPropertyAccess const* a : accesses)
        write(out, *a);
    buffer.close();
    return bytes;
}

void BM_WriteAccessBlocks(benchmark::State& state)
{
    std::vector<CADElementPropertyAccess const*> const accesses = elementAccesses();
    qint64 size = 0;
    for (auto _ : state) {
        QByteArray const bytes = writeBlocks(accesses);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.counters["elements"] = static_cast<double>(accesses.size());
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_WriteQDataStreamBaseline(benchmark::State& state)
{
    std::vector<CADElementPropertyAccess const*> const accesses = elementAccesses();
    qint64 size = 0;
    for (auto _ : state) {
        QByteArray const bytes = writeData(accesses);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_ReadAccessBlocks(benchmark::State& state)
{
    std::vector<CADElementPropertyAccess const*> const accesses = elementAccesses();
    QByteArray const bytes = writeBlocks(accesses);
    std::vector<CADElementPropertyAccess> into(accesses.size());
    for (auto _ : state) {
        IO::InStream in(bytes);
        for (CADElementPropertyAccess& a : into) {
            if (a.loadStream(&in) != a.getNumberOfBlocks())
                state.SkipWithError("an access block did not read");
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ReadQDataStreamBaseline(benchmark::State& state)
{
    std::vector<CADElementPropertyAccess const*> const accesses = elementAccesses();
    QByteArray bytes = writeData(accesses);
    std::vector<Plain> into(accesses.size());
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QDataStream in(&buffer);
        in.setByteOrder(QDataStream::LittleEndian);
        for (Plain& v : into)
            read(in, v);
        if (in.status() != QDataStream::Ok)
            state.SkipWithError("the baseline did not read");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_WriteAccessBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteQDataStreamBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAccessBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadQDataStreamBaseline)->Unit(benchmark::kMillisecond);
