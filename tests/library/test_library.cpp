#include "library/mvp_errors.h"
#include "library/mvp_library.h"
#include "mvp_temp_dir.h"
#include "restore/mvp_cmd_restore_from_template.h"
#include "restore/mvp_cmd_restore_snapshot.h"
#include "templates/mvp_cmd_edit_templates.h"
#include "templates/mvp_cmd_import_templates.h"
#include "templates/mvp_restore_template_file.h"

#include "core/kav_translate.h"
#include "gapp/kav_command_container.h"
#include "gtools/kav_error_messages.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <gtest/gtest.h>

#include <string>

using namespace Kav;
using Kav::GTools::ErrorMessageContainer;

using MvpTest::words;
namespace {

std::string s(QString const& text)
{
    return text.toStdString();
}

// The registered command of that name, if it is a T.
template <class T>
T* command(char const* name)
{
    return dynamic_cast<T*>(GApp::CommandContainer::getCommand(QString::fromLatin1(name)));
}

// InitLibrary runs once per process, as in a host: this is the only test that calls it.
TEST(InitLibrary, InstallsTheCatalogueRegistersTheErrorsAndCreatesTheObjects)
{
    // The test catalogue translates a few texts, so that only a catalogue installed before
    // the registration can have put them there.
    setTranslationDirectory(QStringLiteral(MVP_LIBRARY_QM_DIR));
    setTranslationLocale(QStringLiteral("de_DE"));
    QStringList const hostIds = ErrorMessageContainer::getIds();

    MCADVisProp::InitLibrary(nullptr, nullptr);

    QStringList ours = ErrorMessageContainer::getIds();
    for (QString const& id : hostIds)
        ours.removeOne(id);
    EXPECT_EQ(ours, words("MCADVisProp-0001|MCADVisProp-0002|MCADVisProp-0003|MCADVisProp-0004|"
                          "MCADVisProp-0007|MCADVisProp-0008|MCADVisProp-0009"));

    EXPECT_EQ(s(ErrorMessageContainer::getText(QStringLiteral("MCADVisProp-0003"))),
              "Fehler beim Speichern des Projekts");
    EXPECT_EQ(s(ErrorMessageContainer::getTextWt(QStringLiteral("MCADVisProp-0003"))),
              "Fehler beim Speichern des Projekts (Details)");
    // Only the " wt" text of 0002 is translated: the two texts are not mixed up.
    EXPECT_EQ(s(ErrorMessageContainer::getText(QStringLiteral("MCADVisProp-0002"))), "error opening the file");
    EXPECT_EQ(s(ErrorMessageContainer::getTextWt(QStringLiteral("MCADVisProp-0002"))),
              "Fehler beim \xc3\x96" "ffnen der Datei (Details)");
    EXPECT_NE(MCADVisProp::RestoreSnapshotTemplateFile::instance(), nullptr);
    using Types = std::vector<PropertyAccess::PropAccessType_t>;
    EXPECT_EQ(PropertyAccess::PropertyAccessFactory::getRegisteredTypes(),
              (Types{PropertyAccess::PROP_ACC_CAD_ELEMENT, PropertyAccess::PROP_ACC_CAD_CONTAINER,
                     PropertyAccess::PROP_ACC_3D_VIEW, PropertyAccess::PROP_ACC_LEGEND}));
    QStringList const ourCommands = words("report.restore_whole_snapshot|report.change_restore_templates|"
                                          "report.restore_by_template|report.import_restore_templates");
    QStringList registered;
    for (QString const& name : GApp::CommandContainer::getCommandNames()) {
        if (!ourCommands.contains(name))
            continue;
        registered << name;
        GApp::Command const* command = GApp::CommandContainer::getCommand(name);
        EXPECT_TRUE(command->isInMenu() && !command->isInToolBar()) << s(name);
    }
    EXPECT_EQ(registered, ourCommands);
    auto* edit = command<MCADVisProp::EditRestoreTemplateCommand>("report.change_restore_templates");
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->execute(nullptr, nullptr, nullptr)) << "the dialog has no script form";
    auto* whole = command<MCADVisProp::RestorePropertyFromSnapshotCommand>("report.restore_whole_snapshot");
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(s(whole->getMenuText()), "Ganzen Schnappschuss wiederherstellen");
    EXPECT_NE(command<MCADVisProp::RestoreSnapshotTemplateCommand>("report.restore_by_template"), nullptr);
    EXPECT_NE(command<MCADVisProp::ImportResTemCommand>("report.import_restore_templates"), nullptr);
}

} // namespace
