#pragma once
#include "kavhost_export.h"
#include "mcadcmd/kav_command_interface.h"
#include "mcadcmd/scene/kav_scene.h"
#include "mprinter/kav_print_interface.h"
#include <QString>

#include <memory>

namespace Kav {
namespace GApp {
class ViewWidgetCreator;
}
namespace MCADCmd {

// A scene with everything a plug-in reaches it through: the command interface, the cached
// interface and the documentation print interface of the main view, installed while the
// session lives. The application and the tests make one.
class KAVHOST_EXPORT HostSession {
public:
    static QString mainViewName();  // "3D View"

    HostSession();
    ~HostSession();
    HostSession(HostSession const&) = delete;
    HostSession& operator=(HostSession const&) = delete;

    Scene& scene() { return scene_; }
    CommandInterface& commandInterface() { return ci_; }
    MPrinter::PrintInterface& printInterface() { return printer_; }

private:
    Scene scene_;
    CommandInterface ci_;
    CachedCmdInterface cached_;
    MPrinter::PrintInterface printer_;
    // The main view, registered when no other creator holds its name.
    std::unique_ptr<GApp::ViewWidgetCreator> view_;
};

} // namespace MCADCmd
} // namespace Kav
