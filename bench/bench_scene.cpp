#include "bench_scene.h"

#include "access/mvp_property_access.h"
#include "cad/kav_record_manager.h"
#include "gapp/kav_main_window.h"
#include "gtools/kav_dialog_responder.h"
#include "restore/mvp_cmd_restore_from_template.h"
#include "restore/mvp_cmd_restore_snapshot.h"

#include <cstdio>
#include <cstdlib>

namespace MvpBench {

using namespace Kav;

struct RestoreScene::Parts {
    GApp::MainWindow window;
    MCADCmd::HostSession session;
    MCADVisProp::CADElementPropertyAccessCreator element;
    MCADVisProp::CADContainerPropertyAccessCreator container;
    MCADVisProp::GLViewPropertyAccessCreator view;
    MCADVisProp::LegendPropertyAccessCreator legend;
    MCADVisProp::RestorePropertyFromSnapshotCommand whole;
    MCADVisProp::RestoreSnapshotTemplateCommand byTemplate;
    GTools::StderrResponder responder; // a restore's warnings must not wait for a user
};

RestoreScene& RestoreScene::get()
{
    static RestoreScene* scene = new RestoreScene; // lives as long as the process
    return *scene;
}

RestoreScene::RestoreScene() : parts_(std::make_unique<Parts>())
{
    QByteArray const n = qgetenv("MVP_BENCH_ELEMENTS");
    count_ = n.isEmpty() ? 100000u : n.toUInt();
    GTools::setDialogResponder(&parts_->responder);
    MCADCmd::generateScene(scene(), count_);
    auto report = std::make_unique<CAD::Report>(snapshotName());
    report->setViewName(MCADCmd::HostSession::mainViewName());
    report->setCreationPropertyAccess(session().printInterface().extractPropertyAccess());
    scene().addReport(std::move(report));
    CAD::RecordManager::_manager->clearHistory();
}

MCADCmd::HostSession& RestoreScene::session()
{
    return parts_->session;
}

GApp::Command* RestoreScene::whole()
{
    return &parts_->whole;
}

MCADVisProp::RestoreSnapshotTemplateCommand* RestoreScene::byTemplate()
{
    return &parts_->byTemplate;
}

void RestoreScene::run(GApp::Command* command, QString const& params)
{
    QString result;
    if (!parts_->window.execute(command, params, &result, false)) {
        std::fprintf(stderr, "%s failed: %s %s\n", qUtf8Printable(command->getCommandName()),
                     qUtf8Printable(parts_->window.lastErrorId()), qUtf8Printable(parts_->window.lastErrorText()));
        std::exit(1);
    }
}

} // namespace MvpBench
