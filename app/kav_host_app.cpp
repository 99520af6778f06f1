#include "kav_host_app.h"

#include "kav_app_commands.h"
#include "kav_demo.h"
#include "kav_host_window.h"
#include "kav_script_runner.h"
#include "kav_differences_window.h"
#include "kav_snapshot_panel.h"
#include "kav_view3d_widget.h"

#include "cad/kav_element.h"
#include "cad/kav_record_manager.h"
#include "cfg/kav_cfg.h"
#include "core/kav_error_log.h"
#include "core/kav_init.h"
#include "core/kav_translate.h"
#include "gapp/kav_app_status_manager.h"
#include "gtools/kav_dialog_responder.h"
#include "io/kav_save_file.h"
#include "mcadcmd/kav_host_session.h"
#include "mcadcmd/scene/kav_scene.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>

#include <cstdio>
#include <ctime>
#include <functional>
#include <utility>

namespace Kav {
namespace App {

namespace {

void printError(QString const& text)
{
    QByteArray const bytes = text.toUtf8();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
}

} // namespace

HostApplication::HostApplication(AppOptions const& options) : options_(options) {}

HostApplication::~HostApplication()
{
    plugin_.closeDefaults();
    // Undo records hold scene state; they go before the scene does.
    CAD::RecordManager::_manager->clearHistory();
    if (session_)
        session_->printInterface().setPictureSource(nullptr);
    window_.reset();
    session_.reset();
    if (GApp::MainWindow::smgr == smgr_.get())
        GApp::MainWindow::smgr = nullptr;
    smgr_.reset();
}

void HostApplication::setUpConfiguration()
{
    configRoot_ = options_.configRoot.isEmpty() ? defaultConfigRoot() : QDir(options_.configRoot).absolutePath();
    QDir const root(configRoot_);
    Cfg::Settings::setLevelDirectory(Cfg::LEVEL_INSTALLATION, root.filePath(QStringLiteral("installation")));
    Cfg::Settings::setLevelDirectory(Cfg::LEVEL_SHARED, root.filePath(QStringLiteral("shared")));
    Cfg::Settings::setLevelDirectory(Cfg::LEVEL_USER, root.filePath(QStringLiteral("user")));
}

void HostApplication::setUpTranslations()
{
    QString const appDir = QCoreApplication::applicationDirPath();
    QStringList const candidates = {appDir + QStringLiteral("/translations"),
                                    appDir + QStringLiteral("/../share/mvp-host/translations"),
                                    QString::fromUtf8(MVP_TRANSLATIONS_BUILD_DIR)};
    for (QString const& dir : candidates) {
        if (QFileInfo(dir).isDir()) {
            setTranslationDirectory(QDir(dir).absolutePath());
            break;
        }
    }
    if (!options_.lang.isEmpty()) {
        setTranslationLocale(options_.lang);
        QLocale::setDefault(QLocale(options_.lang));
    }
    bool const wantsTranslation = !translationLocale().startsWith(QStringLiteral("en"))
                                  && translationLocale() != QStringLiteral("C");
    if (!installTranslator("mvp-host") && wantsTranslation && !options_.lang.isEmpty())
        messages_ << QStringLiteral("no translation mvp-host_%1.qm in %2; the texts stay in English")
                         .arg(translationLocale(), translationDirectory());
    // Qt's own texts (dialog buttons); missing ones are no loss worth a message.
    static QTranslator qtTranslator;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QString const qtDir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    QString const qtDir = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    if (qtTranslator.load(QStringLiteral("qtbase_") + translationLocale(), qtDir))
        QCoreApplication::installTranslator(&qtTranslator);
}

void HostApplication::start()
{
    KavInit::setApplicationName("mvp-host");
    setUpConfiguration();
    setUpTranslations();
    registerAppErrors();

    smgr_ = std::make_unique<GApp::AppStatusManager>();
    GApp::MainWindow::smgr = smgr_.get();

    session_ = std::make_unique<MCADCmd::HostSession>();
    MCADCmd::registerHostCommands();
    ErrorLog log;
    if (!MCADCmd::loadSampleScene(session_->scene(), QString(), &log))
        messages_ << translate("MvpHost", "the sample scene could not be loaded: ") + log.getLog();

    if (plugin_.load() && !plugin_.initLibrary(smgr_.get(), &cfg_))
        messages_ << translate("MvpHost", "the plug-in was loaded but not initialised");
    window_ = std::make_unique<HostWindow>(&session_->scene());
    session_->printInterface().setPictureSource([w = window_.get()] { return w->snapshotPicture(); });
    plugin_.initDefaults();
    messages_ << plugin_.messages();
    window_->refreshAll();
}

bool HostApplication::saveScreenshot(QWidget* window, QString const& path, QString* message) const
{
    // Through the atomic save, into a folder that must exist: none is made.
    QPixmap const pixmap = window->grab();
    QByteArray png;
    QBuffer buffer(&png);
    if (pixmap.isNull() || !buffer.open(QIODevice::WriteOnly) || !pixmap.save(&buffer, "PNG")) {
        *message = translate("MvpHost", "screenshot %1: the window cannot be captured").arg(path);
        return false;
    }
    QString error;
    if (!IO::SaveFile::save(path, png, &error)) {
        *message = translate("MvpHost", "screenshot: %1").arg(error);
        return false;
    }
    return true;
}

int HostApplication::runHeadless()
{
    ConsoleResponder responder;
    GTools::DialogResponder* previous = GTools::dialogResponder();
    GTools::setDialogResponder(&responder);
    for (QString const& m : messages_)
        printError(QStringLiteral("note: ") + m);

    // Nobody would see a progress dialog, and it would only cost time.
    window_->setShowsProgress(false);
    // Laid out as on screen, so labels and screenshots have their final places.
    window_->show();
    QCoreApplication::processEvents();

    int code = 0;
    ScriptRunner runner;
    if (options_.demo) {
        responder.setQuietErrors(true);
        Demo demo(this, &runner);
        code = demo.run(options_.screenshot);
    } else if (!options_.script.isEmpty()) {
        QStringList lines;
        QString message;
        if (!ScriptRunner::readScript(options_.script, &lines, &message)) {
            printError(QStringLiteral("error: ") + message);
            code = 1;
        } else {
            responder.setQuietErrors(true);
            runner.setTimings(options_.timings);
            // Nobody sees the window meanwhile: it is painted once, for the screenshot.
            window_->setUpdatesEnabled(false);
            // A picture costs a whole paint of the view: taken only when someone will see it.
            window_->setTakesPictures(options_.pictures || !options_.screenshot.isEmpty());
            code = runner.run(lines) ? 0 : 1;
            window_->setTakesPictures(true);
            window_->setUpdatesEnabled(true);
            responder.setQuietErrors(false);
        }
    }
    QCoreApplication::processEvents();
    if (options_.timings) {
        // What a user does next in the window: frame all, then find one element by typing its
        // name into the explorer's filter (the slowest keystroke counts), then clear it.
        auto timed = [](std::function<void()> const& work) {
            QElapsedTimer wall;
            wall.start();
            std::clock_t const cpu = std::clock();
            work();
            double const ms = wall.nsecsElapsed() / 1e6, cpuMs = (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
            return std::make_pair(ms, cpuMs);
        };
        auto const framed = timed([this] { window_->frameAll(); });
        printError(ScriptRunner::timingLine(QStringLiteral("frame_all"), framed.first, framed.second));
        QCoreApplication::processEvents();   // the picture after framing is not the filter's
        QString const sought = QStringLiteral("E050000");
        std::pair<double, double> slowest{0.0, 0.0};
        for (int typed = 1; typed <= sought.size(); ++typed) {
            auto const key = timed([this, &sought, typed] {
                window_->explorerFilter()->setText(sought.left(typed));
                QCoreApplication::processEvents();
            });
            slowest = std::max(slowest, key);
        }
        printError(ScriptRunner::timingLine(QStringLiteral("explorer_filter"), slowest.first, slowest.second));
        window_->explorerFilter()->clear();
        QCoreApplication::processEvents();
        std::vector<CAD::Report*> const reports = session_->scene().reports();
        if (!reports.empty()) {
            // The Snapshots panel as it opens: made, filled and painted.
            auto const panel = timed([this] {
                SnapshotPanel fresh(&session_->scene());
                fresh.resize(260, 800);
                fresh.grab();
            });
            printError(ScriptRunner::timingLine(QStringLiteral("snapshot_panel"), panel.first, panel.second));
            // The Differences window of the first snapshot: compared, read and painted.
            QString const first = reports.front()->getName();
            auto const differences = timed([this, &first] {
                window_->showDifferences(first);
                window_->differencesWindow()->grab();
            });
            printError(ScriptRunner::timingLine(QStringLiteral("differences"), differences.first, differences.second));
            window_->differencesWindow()->close();
            QCoreApplication::processEvents();
        }
        // One whole paint of the window, the view drawn from scratch.
        window_->view()->sceneChanged();
        QElapsedTimer wall;
        wall.start();
        std::clock_t const cpu = std::clock();
        window_->grab();
        printError(ScriptRunner::timingLine(QStringLiteral("paint"), wall.nsecsElapsed() / 1e6,
                                            (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC));
    }
    if (options_.printMenus) {
        for (QString const& line : window_->menuTexts())
            std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    }
    if (!options_.differences.isEmpty() && code == 0) {
        if (!window_->showDifferences(options_.differences))
            code = 1;
        QCoreApplication::processEvents();
    }
    if (!options_.screenshot.isEmpty()) {
        QString message;
        // The first paint lays the labels out, which the status bar then tells of.
        window_->grab();
        QCoreApplication::processEvents();
        if (!saveScreenshot(window_.get(), options_.screenshot, &message)) {
            printError(QStringLiteral("error: ") + message);
            code = code == 0 ? 1 : code;
        }
        QWidget* differences = window_->differencesWindow();
        if (differences != nullptr && differences->isVisible()) {
            QString path = options_.screenshot;
            path.insert(path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? path.size() - 4 : path.size(),
                        QStringLiteral("-differences"));
            if (!saveScreenshot(differences, path, &message)) {
                printError(QStringLiteral("error: ") + message);
                code = code == 0 ? 1 : code;
            }
        }
    }
    GTools::setDialogResponder(previous);
    return code;
}

} // namespace App
} // namespace Kav
