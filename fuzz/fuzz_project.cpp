// Project files. A file that loads must save, and the saved file must load to the same
// state. Saving is stable from the second save on: the first may still carry what an access
// read from an older version of its stream but no longer reads back (the legend's position),
// the ones after it may not change. A file that does not load must say why.
#include "mvp_fuzz_common.h"

#include "core/kav_error_log.h"
#include "mcadcmd/scene/kav_scene.h"

#include <QFile>

namespace {

QByteArray fileBytes(QString const& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        MvpFuzz::violated("a saved project cannot be opened", path);
    return f.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size)
{
    MvpFuzz::setUp();
    QString const input = MvpFuzz::writeScratch(QStringLiteral("input.kavproj"), MvpFuzz::bytes(data, size));
    Kav::MCADCmd::Scene first;
    Kav::ErrorLog log(false);
    if (!Kav::MCADCmd::loadProject(first, input, &log)) {
        if (log.getLog().trimmed().isEmpty())
            MvpFuzz::violated("a project was refused without a reason");
        return 0;
    }
    QString const saved = MvpFuzz::scratchPath(QStringLiteral("saved.kavproj"));
    if (!Kav::MCADCmd::saveProject(first, saved, &log))
        MvpFuzz::violated("a loaded project cannot be saved", log.getLog());
    Kav::MCADCmd::Scene second;
    if (!Kav::MCADCmd::loadProject(second, saved, &log))
        MvpFuzz::violated("a saved project does not load", log.getLog());
    QString const firstState = Kav::MCADCmd::dumpState(first);
    if (Kav::MCADCmd::dumpState(second) != firstState)
        MvpFuzz::violated("a saved project loads to another state", firstState);
    QString const again = MvpFuzz::scratchPath(QStringLiteral("again.kavproj"));
    if (!Kav::MCADCmd::saveProject(second, again, &log))
        MvpFuzz::violated("a reloaded project cannot be saved", log.getLog());
    QByteArray const againBytes = fileBytes(again);
    if (fileBytes(saved) == againBytes)
        return 0;
    Kav::MCADCmd::Scene third;
    if (!Kav::MCADCmd::loadProject(third, again, &log))
        MvpFuzz::violated("a project saved twice does not load", log.getLog());
    if (Kav::MCADCmd::dumpState(third) != firstState)
        MvpFuzz::violated("a project saved twice loads to another state", firstState);
    QString const last = MvpFuzz::scratchPath(QStringLiteral("last.kavproj"));
    if (!Kav::MCADCmd::saveProject(third, last, &log))
        MvpFuzz::violated("a project saved twice cannot be saved again", log.getLog());
    if (fileBytes(last) != againBytes)
        MvpFuzz::violated("saving, loading and saving again keeps changing the file");
    return 0;
}

// The application comes up before the first input, outside the per-input time limit.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MvpFuzz::setUp();
    return 0;
}
