#include "cfg/kav_cfg_settings.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_main_window.h"
#include "gfile/kav_file_dialog.h"
#include "gtools/kav_edit_name_dialog.h"
#include "mcadcmd/kav_command_interface.h"
#include "mvp_editing_fixture.h"
#include "templates/mvp_cmd_import_templates.h"
#include "templates/mvp_edit_restore_templates_dialog.h"
#include "templates/mvp_prop_acc_template_view.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <fstream>

using namespace Kav;
using namespace Kav::PropertyAccess;
using Kav::GTools::DialogAnswer;
using Kav::GTools::DialogRequest;
using Kav::MCADVisProp::EditRestoreTemplatesDialog;
using MvpTest::clickBox;
using MvpTest::clickRow;
using MvpTest::row;

using MvpTest::words;
namespace {

using Dialog = std::unique_ptr<EditRestoreTemplatesDialog>;

using MvpTest::MenuUse;

class EditDialogTest : public MvpTest::EditingTest {
protected:
    Dialog open()
    {
        auto dialog = std::make_unique<EditRestoreTemplatesDialog>();
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    static MenuUse useMenu(EditRestoreTemplatesDialog& dialog, QString const& entry = QString())
    {
        return MvpTest::useContextMenu(dialog._list_w->viewport(), QPoint(5, 5), entry);
    }

    static std::map<QString, bool> enabledEntries(bool rename, bool remove, bool exportSelected)
    {
        return {{QStringLiteral("new"), true}, {QStringLiteral("rename"), rename}, {QStringLiteral("delete"), remove},
                {QStringLiteral("import"), true}, {QStringLiteral("export selected"), exportSelected}};
    }

    static QStringList listNames(EditRestoreTemplatesDialog& dialog, bool selectedOnly = false)
    {
        QStringList names;
        for (int i = 0; i < dialog._list_w->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = dialog._list_w->topLevelItem(i);
            if (!selectedOnly || item->isSelected())
                names << item->text(0);
        }
        return names;
    }

    // No template in the content pane: every box unchecked and greyed.
    static bool paneEmpty(EditRestoreTemplatesDialog& dialog)
    {
        bool empty = true;
        for (QTreeWidgetItem* item : dialog.contentView()->findItems(QStringLiteral("*"),
                                                                     Qt::MatchWildcard | Qt::MatchRecursive))
            empty = empty && item->checkState(0) == Qt::Unchecked && !(item->flags() & Qt::ItemIsEnabled);
        return empty;
    }

    static Qt::CheckState box(EditRestoreTemplatesDialog& dialog, QString const& text)
    {
        return row(dialog.contentView(), text)->checkState(0);
    }

    // `t` with one property of its part of `type` set.
    static PropAccTemplate withUsage(PropAccTemplate t, PropAccessType_t type, PropTemplateID_t id, bool used)
    {
        PropAccTemplatePart part = t.getTemplatePart(type);
        part.setUsage(id, used);
        t.set(part);
        return t;
    }

    // A template as the content pane leaves it after a click: a part for every type.
    static PropAccTemplate withAllParts(PropAccTemplate t)
    {
        for (PropAccessType_t type : {PROP_ACC_3D_VIEW, PROP_ACC_LEGEND, PROP_ACC_CAD_CONTAINER, PROP_ACC_CAD_ELEMENT}) {
            if (!t.hasTemplatePart(type))
                t.set(PropAccTemplatePart(type));
        }
        return t;
    }

    // Answers the next dialog with a check of what it asks.
    void expectNext(DialogRequest::Kind kind, std::function<DialogAnswer(DialogRequest const&)> answer)
    {
        responder->push([kind, answer](DialogRequest const& r) {
            EXPECT_EQ(r.kind, kind) << GTools::describeRequest(r).toStdString();
            return r.kind == kind ? answer(r) : DialogAnswer{};
        });
    }
};

} // namespace

TEST_F(EditDialogTest, FormAndEmptyStore)
{
    Dialog dialog = open();
    EXPECT_EQ(dialog->objectName(), QStringLiteral("Kav_MCADVisPropEditRestoreTemplates_dlg"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("edit templates"));
    EXPECT_EQ(dialog->_list_w->headerItem()->text(0), QStringLiteral("template list"));
    EXPECT_EQ(dialog->contentView()->headerItem()->text(0), QStringLiteral("template content"));

    EXPECT_TRUE(listNames(*dialog).isEmpty());
    EXPECT_TRUE(paneEmpty(*dialog));
    // It opens showing every text of the content pane whole, without scrolling.
    QAbstractItemView* content = dialog->contentView();
    EXPECT_GE(content->viewport()->width(), content->sizeHintForColumn(0));
    EXPECT_EQ(content->verticalScrollBar()->maximum(), 0);
    // The pane fills its frame, and keeps its scroll bar so that unfolding does not shift it.
    EXPECT_EQ(content->geometry(), dialog->_frame_w->rect());
    EXPECT_TRUE(content->verticalScrollBar()->isVisible());
    QSize const chosen = dialog->size() + QSize(37, 23);
    dialog->resize(chosen);
    QTest::mouseClick(dialog->_ok_w, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_TRUE(QFile::exists(levelFile(2)));
    EXPECT_EQ(userStore(), storeBytesOf(PropAccTemplateContainer()));
    EXPECT_EQ(open()->size(), chosen) << "the next one opens as this one closed";
}

TEST_F(EditDialogTest, NewTemplateIsAppendedWithAllEntriesSelected)
{
    writeStore(levelFile(0), container({sample(QStringLiteral("I"), Cfg::LEVEL_INSTALLATION)}));
    PropAccTemplateContainer const user = samples("A|B");
    writeStore(levelFile(2), user);
    QByteArray const before = userStore();

    auto nameNew = [this](QString const& name) {
        expectNext(DialogRequest::EXEC, [name](DialogRequest const& r) {
            auto* names = qobject_cast<GTools::EditNameDialog*>(r.dialog);
            DialogAnswer answer;
            if (names == nullptr)
                return answer;
            EXPECT_EQ(names->windowTitle(), QStringLiteral("new template"));
            EXPECT_EQ(names->selectedName(), QStringLiteral("restore template"));
            names->nameEdit()->setText(QStringLiteral("A"));
            EXPECT_FALSE(names->okButton()->isEnabled()) << "user-level names are taken";
            names->nameEdit()->setText(QStringLiteral("I"));
            EXPECT_TRUE(names->okButton()->isEnabled()) << "read-only names are free";
            names->nameEdit()->setText(name);
            names->okButton()->click();
            answer.result = names->result();
            return answer;
        });
    };

    {
        Dialog dialog = open();
        EXPECT_EQ(listNames(*dialog, true), words("I")) << "opens on the first template";
        EXPECT_EQ(box(*dialog, QStringLiteral("rotation")), Qt::Unchecked);
        nameNew(QStringLiteral("N"));
        useMenu(*dialog, QStringLiteral("new"));
        EXPECT_EQ(listNames(*dialog),
                  words("I|A|B|N"));
        EXPECT_EQ(listNames(*dialog, true), listNames(*dialog));
        EXPECT_TRUE(paneEmpty(*dialog));
        QTest::mouseClick(dialog->_cancel_w, Qt::LeftButton);
        EXPECT_EQ(userStore(), before) << "cancel keeps the store";
    }
    {
        Dialog dialog = open();
        nameNew(QStringLiteral("N"));
        useMenu(*dialog, QStringLiteral("new"));
        // The new template can be picked and edited at once.
        clickRow(dialog->_list_w, row(dialog->_list_w, QStringLiteral("N")));
        clickBox(dialog->contentView(), row(dialog->contentView(), QStringLiteral("label visibility")));
        QTest::mouseClick(dialog->_ok_w, Qt::LeftButton);
    }
    PropAccTemplate const added =
        withUsage(withAllParts(PropAccTemplate(QStringLiteral("N"))), PROP_ACC_CAD_ELEMENT, PROP_LABEL_VISIBILITY, false);
    EXPECT_EQ(userStore(), storeBytesOf(container({sample(QStringLiteral("A")), sample(QStringLiteral("B")), added})));
}

TEST_F(EditDialogTest, RenameKeepsPlaceSelectionAndEdits)
{
    writeStore(levelFile(2),
               samples("A|B|C"));
    Dialog dialog = open();
    // An edit of the first template reaches the working copy when another is picked.
    clickBox(dialog->contentView(), row(dialog->contentView(), QStringLiteral("scale")));
    clickRow(dialog->_list_w, row(dialog->_list_w, QStringLiteral("B")));
    EXPECT_EQ(box(*dialog, QStringLiteral("rotation")), Qt::Unchecked);
    clickBox(dialog->contentView(), row(dialog->contentView(), QStringLiteral("rotation")));

    // The name of another editable template is refused.
    responder->pushAcceptName(QStringLiteral("C"));
    useMenu(*dialog, QStringLiteral("rename"));
    EXPECT_EQ(listNames(*dialog), words("A|B|C"));
    responder->pushAcceptName(QStringLiteral("B2"));
    MenuUse const use = useMenu(*dialog, QStringLiteral("rename"));
    EXPECT_EQ(use.enabled, enabledEntries(true, true, true));
    EXPECT_EQ(listNames(*dialog), words("A|B2|C"));
    EXPECT_EQ(listNames(*dialog, true), words("B2"));
    EXPECT_EQ(box(*dialog, QStringLiteral("rotation")), Qt::Checked) << "the edit survives the rename";
    EXPECT_TRUE(row(dialog->contentView(), QStringLiteral("rotation"))->flags() & Qt::ItemIsEnabled);

    // Meanwhile another writer removed C and added X and a B2 of its own: OK applies the
    // dialog's edits to that, and the name taken meanwhile is made free.
    writeStore(levelFile(2), samples("A|B|X|B2"));
    QTest::mouseClick(dialog->_ok_w, Qt::LeftButton);
    PropAccTemplate renamed = withUsage(withAllParts(sample(QStringLiteral("B"))), PROP_ACC_3D_VIEW, PROP_ROTATION, true);
    renamed.setName(QStringLiteral("B2_1"));
    PropAccTemplate const first = withUsage(withAllParts(sample(QStringLiteral("A"))), PROP_ACC_3D_VIEW, PROP_SCALE, true);
    EXPECT_EQ(userStore(),
              storeBytesOf(container({first, renamed, sample(QStringLiteral("X")), sample(QStringLiteral("B2"))})));
}

TEST_F(EditDialogTest, DeleteAnsweredYesRemovesTheSelectedUserTemplates)
{
    writeStore(levelFile(0), container({sample(QStringLiteral("I"), Cfg::LEVEL_INSTALLATION)}));
    QByteArray const installation = MvpTest::readAll(levelFile(0));
    writeStore(levelFile(2),
               samples("A|B|C"));
    Dialog dialog = open();

    // A read-only template in the selection forbids deleting.
    clickRow(dialog->_list_w, row(dialog->_list_w, QStringLiteral("A")), Qt::ControlModifier);
    EXPECT_EQ(useMenu(*dialog).enabled, enabledEntries(false, false, true));
    EXPECT_TRUE(paneEmpty(*dialog));

    clickRow(dialog->_list_w, row(dialog->_list_w, QStringLiteral("A")));
    clickRow(dialog->_list_w, row(dialog->_list_w, QStringLiteral("C")), Qt::ControlModifier);
    responder->pushAnswer(1);
    MenuUse const use = useMenu(*dialog, QStringLiteral("delete"));
    EXPECT_EQ(use.enabled, enabledEntries(false, true, true));
    EXPECT_EQ(listNames(*dialog), words("I|B"));
    EXPECT_TRUE(listNames(*dialog, true).isEmpty());
    EXPECT_TRUE(paneEmpty(*dialog));

    // What another writer added meanwhile stays.
    writeStore(levelFile(2), samples("A|B|C|D"));
    QTest::mouseClick(dialog->_ok_w, Qt::LeftButton);
    EXPECT_EQ(userStore(), storeBytesOf(samples("B|D")));
    EXPECT_EQ(MvpTest::readAll(levelFile(0)), installation);
}

TEST_F(EditDialogTest, ImportRefusesACorruptFileRenamesClashesAndRecordsTheMacroAtOnce)
{
    GApp::MainWindow window;
    MCADVisProp::ImportResTemCommand import;
    window.startMacro();
    writeStore(levelFile(2), samples("A"));
    QByteArray const before = userStore();
    QString const exchange = root.path(QStringLiteral("exchange.rst"));
    PropAccTemplate incoming = sample(QStringLiteral("A"));
    incoming.setNewInvisibleFlag(true);
    writeExchange(exchange, container({incoming}));
    QString const macroLine =
        QStringLiteral("report.import_restore_templates ") + import.createFileParameterString(exchange);

    auto chooseFile = [this, exchange] {
        expectNext(DialogRequest::FILE, [exchange](DialogRequest const& r) {
            EXPECT_EQ(r.dialogType, Kav::FILE_MODE_EXISTING_FILES);
            EXPECT_EQ(r.title, QStringLiteral("import file"));
            EXPECT_EQ(r.extra, QStringLiteral("restore template files (*.rst)"));
            EXPECT_FALSE(GApp::MainWindow::smgr->isSelectionEnabled()) << "selection off while choosing";
            return DialogAnswer{QDialog::Accepted, {exchange}};
        });
    };
    QString const corrupt = root.path(QStringLiteral("corrupt.rst"));
    ASSERT_TRUE(MvpTest::writeAll(corrupt, QByteArrayLiteral("{\"format\": \"kav-restore-templates\", \"templ")));
    {
        Dialog dialog = open();
        clickBox(dialog->contentView(), row(dialog->contentView(), QStringLiteral("scale")));
        // An empty name opens nothing: that is no empty import either.
        for (QString const& file : {corrupt, QString()}) {
            responder->pushFiles({file});
            expectNext(DialogRequest::ERROR, [](DialogRequest const& r) {
                EXPECT_EQ(r.errorId, QString::fromLatin1(MCADCmd::ERROR_OPEN_FILE));
                return DialogAnswer{};
            });
            useMenu(*dialog, QStringLiteral("import"));
            EXPECT_EQ(listNames(*dialog), words("A"));
            EXPECT_EQ(listNames(*dialog, true), words("A"));
            EXPECT_EQ(box(*dialog, QStringLiteral("scale")), Qt::Checked) << "the shown edit is still there";
            EXPECT_TRUE(window.macroLines().isEmpty());
        }
        chooseFile();
        useMenu(*dialog, QStringLiteral("import"));
        EXPECT_TRUE(GApp::MainWindow::smgr->isSelectionEnabled());
        EXPECT_EQ(listNames(*dialog), words("A|A_1"));
        EXPECT_TRUE(listNames(*dialog, true).isEmpty());
        EXPECT_TRUE(paneEmpty(*dialog));
        EXPECT_EQ(window.macroLines(), QStringList{macroLine});
        QTest::mouseClick(dialog->_cancel_w, Qt::LeftButton);
    }
    EXPECT_EQ(userStore(), before);
    EXPECT_EQ(window.macroLines(), QStringList{macroLine}) << "the macro entry stays after cancel";
    {
        Dialog dialog = open();
        chooseFile();
        useMenu(*dialog, QStringLiteral("import"));
        QTest::mouseClick(dialog->_ok_w, Qt::LeftButton);
    }
    incoming.setName(QStringLiteral("A_1"));
    EXPECT_EQ(userStore(), storeBytesOf(container({sample(QStringLiteral("A")), incoming})));
    EXPECT_EQ(window.macroLines().size(), 2);
}

TEST_F(EditDialogTest, ExportWritesTheSelectedTemplatesInListOrder)
{
    PropAccTemplate const plan = sample(QStringLiteral("plan.b"), Cfg::LEVEL_SHARED);
    writeStore(levelFile(1), container({plan}));
    writeStore(levelFile(2), samples("A|CC"));
    QByteArray const before = userStore();
    Dialog dialog = open();
    clickRow(dialog->_list_w, row(dialog->_list_w, QStringLiteral("CC")));
    clickRow(dialog->_list_w, row(dialog->_list_w, QStringLiteral("plan.b")), Qt::ControlModifier);

    QString const target = root.path(QStringLiteral("out"));
    expectNext(DialogRequest::FILE, [target](DialogRequest const& r) {
        EXPECT_EQ(r.dialogType, Kav::FILE_MODE_SAVE);
        EXPECT_EQ(r.title, QStringLiteral("export file"));
        EXPECT_EQ(r.text, QStringLiteral("plan")) << "the first selected template's base name";
        return DialogAnswer{QDialog::Accepted, {target}};
    });
    MenuUse const use = useMenu(*dialog, QStringLiteral("export selected"));
    EXPECT_EQ(use.enabled, enabledEntries(false, false, true));

    PropAccTemplateContainer written;
    std::ifstream in((target + QStringLiteral(".rst")).toStdString(), std::ios::binary);
    ASSERT_TRUE(in.is_open()) << "the ending is added";
    in >> written;
    ASSERT_FALSE(in.fail());
    ASSERT_EQ(written.getNumberOfTemplates(), 2u);
    EXPECT_TRUE(written.getTemplate(0).sameContent(plan));
    EXPECT_TRUE(written.getTemplate(1).sameContent(sample(QStringLiteral("CC"))));

    // A file that cannot be written.
    responder->pushFiles({root.path(QStringLiteral("no/such/dir/x.rst"))});
    expectNext(DialogRequest::ERROR, [](DialogRequest const& r) {
        EXPECT_EQ(r.errorId, QString::fromLatin1(MCADCmd::ERROR_SAVE_FILE));
        return DialogAnswer{};
    });
    useMenu(*dialog, QStringLiteral("export selected"));

    QTest::mouseClick(dialog->_cancel_w, Qt::LeftButton);
    EXPECT_EQ(userStore(), before);
}

TEST_F(EditDialogTest, LockedStoreHasNoMenuAndOkWritesNothing)
{
    writeStore(levelFile(0), container({sample(QStringLiteral("I"), Cfg::LEVEL_INSTALLATION)}));
    writeStore(levelFile(2), samples("A"));
    QByteArray const before = userStore();
    Cfg::Settings::setLocked(true);
    {
        Dialog dialog = open();
        clickRow(dialog->_list_w, row(dialog->_list_w, QStringLiteral("A")));
        EXPECT_FALSE(useMenu(*dialog).shown);
        QTreeWidgetItem* rotation = row(dialog->contentView(), QStringLiteral("rotation"));
        EXPECT_FALSE(rotation->flags() & Qt::ItemIsEnabled);
        clickBox(dialog->contentView(), rotation);
        EXPECT_EQ(rotation->checkState(0), Qt::Unchecked);
        QTest::mouseClick(dialog->_ok_w, Qt::LeftButton);
    }
    EXPECT_EQ(userStore(), before);

    ASSERT_TRUE(QFile::remove(levelFile(2)));
    {
        Dialog dialog = open();
        QTest::mouseClick(dialog->_ok_w, Qt::LeftButton);
    }
    EXPECT_FALSE(QFile::exists(levelFile(2)));
}
