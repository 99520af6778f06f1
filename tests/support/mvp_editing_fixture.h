#pragma once

#include "cfg/kav_cfg_settings.h"
#include "core/kav_init.h"
#include "io/kav_stream.h"
#include "mvp_gui.h"
#include "mvp_listed_creators.h"
#include "mvp_responder.h"
#include "mvp_temp_dir.h"
#include "propertyaccess/kav_prop_acc_template_container.h"
#include "templates/mvp_restore_template_file.h"

#include <QDir>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace MvpTest {

// Level directories in a temporary tree, the template store, the library's four creators as
// they describe themselves, and a responder that fails the test on any unscripted dialog.
class EditingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Kav::KavInit::setApplicationName("mvptest");
        for (int level = 0; level < 3; ++level) {
            QString const d = root.path(QStringLiteral("level%1").arg(level));
            QDir().mkpath(d);
            Kav::Cfg::Settings::setLevelDirectory(static_cast<Kav::Cfg::Level>(level), d);
        }
        store = std::make_unique<Kav::MCADVisProp::RestoreSnapshotTemplateFile>();
    }

    void TearDown() override
    {
        store.reset();
        Kav::Cfg::Settings::reset();
    }

    QString levelFile(int level) const
    {
        return root.path(QStringLiteral("level%1/mvptest_rstmpls.rst").arg(level));
    }

    // A store file holding `c`. The container writes user-level templates only, so they all
    // go in as such; reading tags them with the level of the file.
    static void writeStore(QString const& path, Kav::PropertyAccess::PropAccTemplateContainer const& c)
    {
        Kav::PropertyAccess::PropAccTemplateContainer user;
        for (unsigned int i = 0; i < c.getNumberOfTemplates(); ++i) {
            Kav::PropertyAccess::PropAccTemplate t = c.getTemplate(i);
            t.setConfigLevel(Kav::Cfg::LEVEL_USER);
            user.add(t);
        }
        Kav::IO::OutStream out(path, Kav::KString("RESTORE_SNAPSHOT_TEMPLATE"), 1);
        user.saveStream(&out);
        out.close();
    }

    // The bytes a store file holding `c` has.
    QByteArray storeBytesOf(Kav::PropertyAccess::PropAccTemplateContainer const& c) const
    {
        QString const path = root.path(QStringLiteral("expected.rst"));
        writeStore(path, c);
        return readAll(path);
    }

    QByteArray userStore() const { return readAll(levelFile(2)); }

    static void writeExchange(QString const& path, Kav::PropertyAccess::PropAccTemplateContainer const& c)
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << c;
    }

    // A template whose content tells it apart: the view part follows the name's length.
    static Kav::PropertyAccess::PropAccTemplate sample(QString const& name,
                                                       Kav::Cfg::Level level = Kav::Cfg::LEVEL_USER)
    {
        using namespace Kav::PropertyAccess;
        PropAccTemplate t(name, level);
        PropAccTemplatePart view(PROP_ACC_3D_VIEW);
        view.setUsage(PROP_ROTATION, name.size() % 2 == 0);
        view.setUsage(PROP_SCALE, false);
        t.set(view);
        t.setInvalidCMMInvisibleFlag(true);
        return t;
    }

    static Kav::PropertyAccess::PropAccTemplateContainer container(
        std::initializer_list<Kav::PropertyAccess::PropAccTemplate> list)
    {
        Kav::PropertyAccess::PropAccTemplateContainer c;
        for (auto const& t : list)
            c.add(t);
        return c;
    }

    // The user-level samples of "A|B|...".
    static Kav::PropertyAccess::PropAccTemplateContainer samples(char const* names)
    {
        Kav::PropertyAccess::PropAccTemplateContainer c;
        for (QString const& n : words(names))
            c.add(sample(n));
        return c;
    }

    TempDir root;
    LibraryCreators creators;
    ResponderGuard responder;
    std::unique_ptr<Kav::MCADVisProp::RestoreSnapshotTemplateFile> store;
};

} // namespace MvpTest
