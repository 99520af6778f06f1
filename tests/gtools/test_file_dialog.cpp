#include "gfile/kav_file_dialog.h"
#include "mvp_responder.h"
#include "mvp_temp_dir.h"

#include <QDir>
#include <QFileDialog>

#include <gtest/gtest.h>

using Kav::GFile::FileDialog;
using Kav::GTools::DialogAnswer;
using Kav::GTools::DialogRequest;

TEST(FileDialog, OpenThroughTheResponder)
{
    FileDialog dialog(Kav::GFile::WORKING_MODE_DEFAULT, Kav::FILE_MODE_EXISTING_FILES, nullptr);
    dialog.setWindowTitle(QStringLiteral("Import"));
    dialog.setFilters({QStringLiteral("Restore templates (*.rst)"), QStringLiteral("All files (*)")});
    dialog.setSelection(QStringLiteral("old.rst"));

    QStringList const chosen = {QStringLiteral("/data/a.rst"), QStringLiteral("/data/b")};
    MvpTest::ResponderGuard guard;
    guard->push([&](DialogRequest const& r) {
        EXPECT_EQ(r.kind, DialogRequest::FILE);
        EXPECT_EQ(r.dialogType, Kav::FILE_MODE_EXISTING_FILES);
        EXPECT_EQ(r.title, QStringLiteral("Import"));
        EXPECT_EQ(r.text, QStringLiteral("old.rst"));
        EXPECT_EQ(r.extra, QStringLiteral("Restore templates (*.rst);;All files (*)"));
        auto* qt = qobject_cast<QFileDialog*>(r.dialog);
        EXPECT_NE(qt, nullptr);
        if (qt != nullptr) {
            EXPECT_EQ(qt->fileMode(), QFileDialog::ExistingFiles);
            EXPECT_EQ(qt->acceptMode(), QFileDialog::AcceptOpen);
            EXPECT_TRUE(qt->testOption(QFileDialog::DontUseNativeDialog));
            EXPECT_EQ(qt->nameFilters().size(), 2);
            EXPECT_EQ(qt->windowTitle(), QStringLiteral("Import"));
        }
        DialogAnswer a;
        a.result = QDialog::Accepted;
        a.files = chosen;
        return a;
    });
    ASSERT_TRUE(dialog.execFileDialog());
    // Open mode leaves the names alone even without the ending.
    EXPECT_EQ(dialog.selectedFiles(), chosen);

    // Cancelled, or accepted without a file: nothing chosen, the old choice gone.
    guard->pushAnswer(QDialog::Rejected);
    EXPECT_FALSE(dialog.execFileDialog());
    EXPECT_TRUE(dialog.selectedFiles().isEmpty());
    guard->pushFiles({});
    EXPECT_FALSE(dialog.execFileDialog());
}

TEST(FileDialog, SaveAppendsTheEnding)
{
    MvpTest::TempDir dir;
    FileDialog dialog(Kav::GFile::WORKING_MODE_DEFAULT, Kav::FILE_MODE_SAVE, nullptr);
    dialog.setEnding(QStringLiteral("rst"));
    QFileDialog* qt = dialog.fileDialog();
    ASSERT_NE(qt, nullptr);
    EXPECT_EQ(qt->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(qt->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(qt->defaultSuffix(), QStringLiteral("rst"));

    MvpTest::ResponderGuard guard;
    guard->pushFiles({dir.path(QStringLiteral("out")), dir.path(QStringLiteral("keep.txt"))});
    ASSERT_TRUE(dialog.execFileDialog());
    EXPECT_EQ(dialog.selectedFiles(),
              QStringList({dir.path(QStringLiteral("out.rst")), dir.path(QStringLiteral("keep.txt"))}));
    EXPECT_EQ(guard->asked().at(0).dialogType, Kav::FILE_MODE_SAVE);
}

TEST(FileDialog, EachWorkingModeStartsWhereItLastChose)
{
    MvpTest::TempDir dir;
    FileDialog::setLastDirectory(Kav::GFile::WORKING_MODE_DEFAULT, QString());
    FileDialog::setLastDirectory(Kav::GFile::WORKING_MODE_PROJECT, QString());
    {
        FileDialog project(Kav::GFile::WORKING_MODE_PROJECT, Kav::FILE_MODE_EXISTING, nullptr);
        MvpTest::ResponderGuard guard;
        guard->pushFiles({dir.path(QStringLiteral("p.rst"))});
        ASSERT_TRUE(project.execFileDialog());
    }
    EXPECT_EQ(QDir(FileDialog::lastDirectory(Kav::GFile::WORKING_MODE_PROJECT)).canonicalPath(),
              QDir(dir.root()).canonicalPath());
    EXPECT_TRUE(FileDialog::lastDirectory(Kav::GFile::WORKING_MODE_DEFAULT).isEmpty());

    FileDialog next(Kav::GFile::WORKING_MODE_PROJECT, Kav::FILE_MODE_EXISTING, nullptr);
    ASSERT_NE(next.fileDialog(), nullptr);
    EXPECT_EQ(next.fileDialog()->directory().canonicalPath(), QDir(dir.root()).canonicalPath());
    FileDialog::setLastDirectory(Kav::GFile::WORKING_MODE_PROJECT, QString());
}

TEST(FileDialog, ParentDeletedFirst)
{
    auto* parent = new QWidget;
    FileDialog dialog(Kav::GFile::WORKING_MODE_DEFAULT, Kav::FILE_MODE_EXISTING, parent);
    EXPECT_NE(dialog.fileDialog(), nullptr);
    delete parent;   // takes the QFileDialog with it
    EXPECT_EQ(dialog.fileDialog(), nullptr);
    MvpTest::ResponderGuard guard;
    guard->pushFiles({QStringLiteral("/x/y")});
    EXPECT_TRUE(dialog.execFileDialog());
    EXPECT_EQ(guard->asked().at(0).dialog, nullptr);
}
