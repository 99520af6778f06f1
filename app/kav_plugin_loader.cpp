#include "kav_plugin_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Kav {
namespace App {

char const* const PluginLoader::INIT_LIBRARY = "mvp_InitLibrary";
char const* const PluginLoader::INIT_DEFAULTS = "mvp_InitDefaults";
char const* const PluginLoader::CLOSE_DEFAULTS = "mvp_CloseDefaults";

PluginLoader::~PluginLoader()
{
    // Commands and creators of the plug-in are registered with the host until the process
    // ends; unloading the code under them would leave dangling virtual tables.
    library_.setLoadHints(QLibrary::PreventUnloadHint);
}

QStringList PluginLoader::candidatePaths()
{
    QStringList paths;
    paths << QString::fromUtf8(MVP_PLUGIN_BUILD_PATH);
    if (QCoreApplication::instance()) {
        QDir const appDir(QCoreApplication::applicationDirPath());
        paths << appDir.filePath(QStringLiteral("../") + QString::fromUtf8(MVP_INSTALL_LIBDIR) + QLatin1Char('/')
                                 + QString::fromUtf8(MVP_PLUGIN_FILE_NAME));
    }
    // Left to the system's library search.
    paths << QStringLiteral("KavMCADVisProp");
    return paths;
}

bool PluginLoader::load(QString const& path)
{
    QStringList const candidates = path.isEmpty() ? candidatePaths() : QStringList{path};
    QStringList tried;
    for (QString const& candidate : candidates) {
        bool const isFile = candidate.contains(QLatin1Char('/'));
        if (isFile && !QFileInfo::exists(candidate)) {
            tried << candidate + QStringLiteral(" (not there)");
            continue;
        }
        library_.setFileName(candidate);
        if (library_.load())
            break;
        tried << candidate + QStringLiteral(" (") + library_.errorString() + QLatin1Char(')');
    }
    if (!library_.isLoaded()) {
        messages_ << QStringLiteral("plug-in KavMCADVisProp not loaded; tried: ") + tried.join(QStringLiteral(", "));
        return false;
    }
    library_.setLoadHints(QLibrary::PreventUnloadHint);
    initLibrary_ = reinterpret_cast<InitLibraryFn>(library_.resolve(INIT_LIBRARY));
    initDefaults_ = reinterpret_cast<VoidFn>(library_.resolve(INIT_DEFAULTS));
    closeDefaults_ = reinterpret_cast<VoidFn>(library_.resolve(CLOSE_DEFAULTS));
    for (auto const& entry : {std::make_pair(INIT_LIBRARY, initLibrary_ != nullptr),
                              std::make_pair(INIT_DEFAULTS, initDefaults_ != nullptr),
                              std::make_pair(CLOSE_DEFAULTS, closeDefaults_ != nullptr)}) {
        if (!entry.second)
            messages_ << QStringLiteral("plug-in %1 has no entry function %2; running without it")
                             .arg(library_.fileName(), QString::fromLatin1(entry.first));
    }
    return true;
}

bool PluginLoader::initLibrary(GApp::AppStatusManager* smgr, CfgNode* cfg)
{
    if (initLibrary_ == nullptr)
        return false;
    initLibrary_(smgr, cfg);
    return true;
}

bool PluginLoader::initDefaults()
{
    if (initDefaults_ == nullptr)
        return false;
    initDefaults_();
    defaultsActive_ = true;
    return true;
}

bool PluginLoader::closeDefaults()
{
    if (closeDefaults_ == nullptr || !defaultsActive_)
        return false;
    closeDefaults_();
    defaultsActive_ = false;
    return true;
}

} // namespace App
} // namespace Kav
