#include "mvp_fuzz_common.h"

#include "cad/kav_record_manager.h"
#include "cfg/kav_cfg_settings.h"
#include "core/kav_init.h"
#include "gapp/kav_main_window.h"
#include "gtools/kav_dialog_responder.h"
#include "library/mvp_library.h"
#include "mcadcmd/scene/kav_scene.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace MvpFuzz {

namespace {

// Every dialog is answered at once: accepted where a message is shown, rejected where a
// user would have to choose something.
class FuzzResponder : public Kav::GTools::DialogResponder {
public:
    Kav::GTools::DialogAnswer answer(Kav::GTools::DialogRequest const& request) override
    {
        Kav::GTools::DialogAnswer a;
        a.result = request.kind == Kav::GTools::DialogRequest::EXEC || request.kind == Kav::GTools::DialogRequest::FILE
                       ? 0
                       : 1;
        return a;
    }
};

// Readers log what they reject; with thousands of inputs a second that is only noise.
void quiet(QtMsgType type, QMessageLogContext const&, QString const& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
        std::abort();
    }
}

struct World {
    int argc = 1;
    char arg0[8] = "fuzz";
    char* argv[2] = {arg0, nullptr};
    std::unique_ptr<QApplication> app;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Kav::GApp::MainWindow> window;
    std::unique_ptr<Kav::MCADCmd::HostSession> session;
    FuzzResponder responder;
};

World* world = nullptr;

} // namespace

Kav::MCADCmd::HostSession& setUp()
{
    if (world != nullptr)
        return *world->session;
    world = new World; // lives until the process ends: the fuzzer never returns from its loop
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    if (qEnvironmentVariableIsEmpty("MVP_FUZZ_VERBOSE"))
        qInstallMessageHandler(quiet);
    world->app = std::make_unique<QApplication>(world->argc, world->argv);
    world->dir = std::make_unique<QTemporaryDir>();
    if (!world->dir->isValid())
        violated("no scratch directory");
    Kav::KavInit::setApplicationName("mvpfuzz");
    Kav::Cfg::Settings::setLevelDirectory(Kav::Cfg::LEVEL_USER, world->dir->path());
    Kav::GTools::setDialogResponder(&world->responder);
    world->window = std::make_unique<Kav::GApp::MainWindow>();
    world->session = std::make_unique<Kav::MCADCmd::HostSession>();
    Kav::MCADVisProp::InitLibrary(nullptr, nullptr);
    Kav::MCADCmd::registerHostCommands();
    return *world->session;
}

QString scratchPath(QString const& name)
{
    setUp();
    return QDir(world->dir->path()).filePath(name);
}

QString storePath()
{
    return scratchPath(QString::fromLatin1(Kav::KavInit::getApplicationName()) + QStringLiteral("_rstmpls.rst"));
}

QString writeScratch(QString const& name, QByteArray const& bytes)
{
    QString const path = scratchPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        violated("cannot write a scratch file", path);
    return path;
}

void resetScene(unsigned int elements)
{
    Kav::MCADCmd::HostSession& session = setUp();
    Kav::MCADCmd::generateScene(session.scene(), elements);
    auto report = std::make_unique<Kav::CAD::Report>(QStringLiteral("Snapshot 1"));
    report->setViewName(Kav::MCADCmd::HostSession::mainViewName());
    report->setCreationPropertyAccess(session.printInterface().extractPropertyAccess());
    session.scene().addReport(std::move(report));
    Kav::CAD::RecordManager::_manager->clearHistory();
}

void violated(char const* what, QString const& details)
{
    std::fprintf(stderr, "fuzz: %s\n%s\n", what, qUtf8Printable(details));
    std::abort();
}

} // namespace MvpFuzz
