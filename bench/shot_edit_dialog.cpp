// Shows the edit dialog over sample templates of all three levels, with one user template
// selected, and saves what the screen shows. A second file, when given, gets the dialog
// with the template list's context menu open; a third, a read-only template selected.
//
//   shot_edit_dialog [--lang LOCALE --translations DIR] DIALOG.png [MENU.png [READONLY.png]]
//
// With --lang the plug-in's catalogue for LOCALE is loaded from DIR first.
#include "access/mvp_property_access.h"
#include "cfg/kav_cfg_settings.h"
#include "core/kav_init.h"
#include "core/kav_translate.h"
#include "io/kav_stream.h"
#include "templates/mvp_edit_restore_templates_dialog.h"
#include "templates/mvp_restore_template_file.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <cstdio>

using namespace Kav;
using namespace Kav::PropertyAccess;

namespace {

PropAccTemplate sample(char const* name, bool labels, bool view)
{
    PropAccTemplate t(QString::fromUtf8(name));
    PropAccTemplatePart element(PROP_ACC_CAD_ELEMENT);
    element.setUsage(PROP_LABEL_VISIBILITY, labels);
    element.setUsage(PROP_LABEL_CONTENT_TEMPLATE, labels);
    element.setUsage(PROP_LABEL_AUTO_PLACEMENT, false);
    t.set(element);
    PropAccTemplatePart part3d(PROP_ACC_3D_VIEW);
    part3d.setUsage(PROP_SCALE, view);
    part3d.setUsage(PROP_AXIS_SCALE, view);
    t.set(part3d);
    t.setInvalidCMMInvisibleFlag(true);
    return t;
}

bool writeLevel(QString const& dir, std::initializer_list<PropAccTemplate> list)
{
    PropAccTemplateContainer c;
    for (PropAccTemplate const& t : list)
        c.add(t);
    try {
        IO::OutStream out(QDir(dir).filePath(MCADVisProp::RestoreSnapshotTemplateFile::resourceFileName()),
                          KString("RESTORE_SNAPSHOT_TEMPLATE"), 1);
        c.saveStream(&out);
        out.close();
        return true;
    } catch (IO::StreamException const& e) {
        std::fprintf(stderr, "cannot write the sample store: %s\n", e.what());
        return false;
    }
}

// What the screen shows of `area`; the widget's own rendering where there is no screen to read.
QPixmap screenshot(QWidget* window, QRect const& area)
{
    QScreen* screen = window->screen();
    if (QGuiApplication::platformName() != QStringLiteral("offscreen") && screen != nullptr) {
        QPixmap const shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        if (!shot.isNull())
            return shot;
    }
    return window->grab();
}

// Lets the window system map and paint the window.
void settle()
{
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
}

bool save(QPixmap const& pixmap, QString const& path)
{
    if (pixmap.isNull() || !pixmap.save(path)) {
        std::fprintf(stderr, "cannot save %s\n", qUtf8Printable(path));
        return false;
    }
    std::printf("%s: %dx%d\n", qUtf8Printable(path), pixmap.width(), pixmap.height());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    if (args.size() >= 5 && args.at(1) == QStringLiteral("--lang") && args.at(3) == QStringLiteral("--translations")) {
        setTranslationLocale(args.at(2));
        setTranslationDirectory(args.at(4));
        if (!installTranslator("KavMCADVisProp")) {
            std::fprintf(stderr, "no catalogue KavMCADVisProp for %s in %s\n", qUtf8Printable(args.at(2)),
                         qUtf8Printable(args.at(4)));
            return 1;
        }
        args.erase(args.begin() + 1, args.begin() + 5);
    }
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: shot_edit_dialog [--lang LOCALE --translations DIR] DIALOG.png [MENU.png [READONLY.png]]\n");
        return 2;
    }
    QTemporaryDir root;
    if (!root.isValid()) {
        std::fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    KavInit::setApplicationName("mvp-host");
    for (int level = 0; level < 3; ++level) {
        QString const dir = root.filePath(QStringLiteral("level%1").arg(level));
        QDir().mkpath(dir);
        Cfg::Settings::setLevelDirectory(static_cast<Cfg::Level>(level), dir);
    }
    MCADVisProp::CADElementPropertyAccessCreator element;
    MCADVisProp::CADContainerPropertyAccessCreator container;
    MCADVisProp::GLViewPropertyAccessCreator view;
    MCADVisProp::LegendPropertyAccessCreator legend;
    MCADVisProp::RestoreSnapshotTemplateFile store;
    if (!writeLevel(Cfg::Settings::levelDirectory(Cfg::LEVEL_INSTALLATION), {sample("factory: full view", true, true)})
        || !writeLevel(Cfg::Settings::levelDirectory(Cfg::LEVEL_SHARED), {sample("site: labels only", true, false)})
        || !writeLevel(Cfg::Settings::levelDirectory(Cfg::LEVEL_USER),
                       {sample("inspection report", false, true), sample("quick look", true, true)}))
        return 1;

    MCADVisProp::EditRestoreTemplatesDialog dialog;
    dialog.move(40, 40);
    dialog.show();
    QTreeWidgetItem* chosen = dialog._list_w->topLevelItem(2);
    if (chosen == nullptr) {
        std::fprintf(stderr, "the sample templates did not load\n");
        return 1;
    }
    dialog._list_w->setCurrentItem(chosen);
    settle();
    if (!save(screenshot(&dialog, dialog.frameGeometry()), args.at(1)))
        return 1;
    if (args.size() < 3)
        return 0;

    bool saved = false;
    QTimer::singleShot(300, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu != nullptr) {
            saved = save(screenshot(&dialog, dialog.frameGeometry().united(menu->geometry())), args.at(2));
            menu->close();
        }
    });
    QWidget* viewport = dialog._list_w->viewport();
    QPoint const at = dialog._list_w->visualItemRect(chosen).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    if (!saved)
        return 1;
    if (args.size() < 4)
        return 0;

    dialog._list_w->setCurrentItem(dialog._list_w->topLevelItem(1));
    settle();
    return save(screenshot(&dialog, dialog.frameGeometry()), args.at(3)) ? 0 : 1;
}
