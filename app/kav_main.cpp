// mvp-host: the reference host application of the MCADVisProp plug-in.

#include "kav_app_options.h"
#include "kav_host_app.h"
#include "kav_host_window.h"

#include "core/kav_errors.h"
#include "gapp/kav_gapp_errors.h"
#include "gtools/kav_dialogs.h"
#include "io/kav_stream.h"

#include <QApplication>
#include <QStatusBar>

#include <cstdio>
#include <exception>

namespace {

// Whatever escapes an event handler is shown, not fatal: the application keeps running.
class Application : public QApplication {
public:
    Application(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override
    {
        QString text;
        try {
            return QApplication::notify(receiver, event);
        } catch (Kav::ProgError const& e) {
            text = e.getMessage();
        } catch (Kav::IO::StreamException const& e) {
            text = e.getText();
        } catch (std::exception const& e) {
            text = QString::fromUtf8(e.what());
        } catch (...) {
            text = QStringLiteral("unknown exception");
        }
        Kav::GTools::ErrorDialog(QString::fromLatin1(Kav::GApp::EXCEPTION_ERROR), text);
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    Kav::App::AppOptions options;
    QString message;
    if (!Kav::App::parseOptions(arguments, &options, &message)) {
        std::fprintf(stderr, "mvp-host: %s\n%s", message.toLocal8Bit().constData(),
                     Kav::App::usageText().toLocal8Bit().constData());
        return 2;
    }
    if (options.help) {
        std::fputs(Kav::App::usageText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    // The headless runner needs no display; without one it draws offscreen.
    if (options.isHeadless() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));

    Application app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mvp-host"));
    int code = 0;
    {
        Kav::App::HostApplication host(options);
        host.start();
        if (options.isHeadless()) {
            code = host.runHeadless();
        } else {
            for (QString const& m : host.messages())
                std::fprintf(stderr, "mvp-host: %s\n", m.toLocal8Bit().constData());
            if (!host.messages().isEmpty())
                host.window()->statusBar()->showMessage(host.messages().first());
            host.window()->show();
            code = app.exec();
        }
    }
    return code;
}
