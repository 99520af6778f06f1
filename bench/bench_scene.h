#pragma once
// The scene the restore, stream and project benchmarks share, made once per process: a main
// window, a host session over a generated scene of 100,000 elements (MVP_BENCH_ELEMENTS
// overrides the number), the library's four access creators and its two restore commands,
// and one snapshot of the scene.

#include "mcadcmd/kav_host_session.h"

#include <QString>

#include <memory>

namespace Kav {
namespace GApp {
class Command;
}
namespace MCADVisProp {
class RestoreSnapshotTemplateCommand;
}
} // namespace Kav

namespace MvpBench {

class RestoreScene {
public:
    static RestoreScene& get();
    static QString snapshotName() { return QStringLiteral("Snapshot 1"); }

    Kav::MCADCmd::Scene& scene() { return session().scene(); }
    Kav::MCADCmd::HostSession& session();
    unsigned int elementCount() const { return count_; }
    Kav::GApp::Command* whole();
    Kav::MCADVisProp::RestoreSnapshotTemplateCommand* byTemplate();

    // Runs a command through the main window; aborts the benchmark run when it fails.
    void run(Kav::GApp::Command* command, QString const& params);

private:
    RestoreScene();
    struct Parts;
    std::unique_ptr<Parts> parts_;
    unsigned int count_ = 0;
};

} // namespace MvpBench
