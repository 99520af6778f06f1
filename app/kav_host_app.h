#pragma once

#include "kav_app_options.h"
#include "kav_plugin_loader.h"

#include "core/kav_cfg_node.h"

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace Kav {
namespace GApp {
class AppStatusManager;
}
namespace MCADCmd {
class HostSession;
}
namespace App {

class HostWindow;

// Brings the application up in the order a host owes its plug-ins: application name,
// configuration levels and translators; the status manager; the scene and the host's
// commands; the plug-in (InitLibrary); the window; then InitDefaults. The destructor calls
// CloseDefaults and takes everything down in reverse. One per process.
class HostApplication {
public:
    explicit HostApplication(AppOptions const& options);
    ~HostApplication();
    HostApplication(HostApplication const&) = delete;
    HostApplication& operator=(HostApplication const&) = delete;

    // Never fails: what could not be set up is in messages() and the rest runs without it.
    void start();

    HostWindow* window() const { return window_.get(); }
    MCADCmd::HostSession& session() const { return *session_; }
    PluginLoader& plugin() { return plugin_; }
    QStringList const& messages() const { return messages_; }
    QString configRoot() const { return configRoot_; }

    // The headless runner: the demo or the script, then the screenshot. The exit code.
    int runHeadless();

    // A window as PNG (the directory is made when missing). False with a message naming the
    // file.
    bool saveScreenshot(QWidget* window, QString const& path, QString* message) const;

private:
    void setUpConfiguration();
    void setUpTranslations();

    AppOptions options_;
    QString configRoot_;
    CfgNode cfg_{QStringLiteral("mvp-host")};
    std::unique_ptr<GApp::AppStatusManager> smgr_;
    std::unique_ptr<MCADCmd::HostSession> session_;
    PluginLoader plugin_;
    std::unique_ptr<HostWindow> window_;
    QStringList messages_;
};

} // namespace App
} // namespace Kav
