#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

namespace Kav {
class CfgNode;
namespace GApp {
class AppStatusManager;
}
namespace App {

// Loads the MCADVisProp plug-in the way a host does: the shared library at run time and its
// entry functions by name. A missing library or entry function is reported in messages()
// and the application goes on without it.
class PluginLoader {
public:
    // C entry points the plug-in exports for hosts that resolve them by name.
    static char const* const INIT_LIBRARY;    // "mvp_InitLibrary"
    static char const* const INIT_DEFAULTS;   // "mvp_InitDefaults"
    static char const* const CLOSE_DEFAULTS;  // "mvp_CloseDefaults"

    PluginLoader() = default;
    ~PluginLoader();  // never unloads: the plug-in's objects live to the end of the process
    PluginLoader(PluginLoader const&) = delete;
    PluginLoader& operator=(PluginLoader const&) = delete;

    // The places searched: the build tree, the installed library directory, the system's.
    static QStringList candidatePaths();

    // Loads the first candidate (or `path` when given) and resolves the entry functions.
    bool load(QString const& path = QString());
    bool isLoaded() const { return library_.isLoaded(); }
    QString fileName() const { return library_.fileName(); }

    // Each calls its entry function when it was found; false (and a message) otherwise.
    bool initLibrary(GApp::AppStatusManager* smgr, CfgNode* cfg);
    bool initDefaults();
    bool closeDefaults();
    bool hasInitDefaults() const { return initDefaults_ != nullptr; }

    // What went wrong or was left out, one line each.
    QStringList const& messages() const { return messages_; }

private:
    using InitLibraryFn = void (*)(GApp::AppStatusManager*, CfgNode*);
    using VoidFn = void (*)();

    QLibrary library_;
    InitLibraryFn initLibrary_ = nullptr;
    VoidFn initDefaults_ = nullptr;
    VoidFn closeDefaults_ = nullptr;
    bool defaultsActive_ = false;
    QStringList messages_;
};

} // namespace App
} // namespace Kav
