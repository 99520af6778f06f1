#include "gfile/kav_file_dialog.h"

#include "gtools/kav_dialog_responder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <array>

namespace Kav {
namespace GFile {
namespace {

std::array<QString, 2>& lastDirectories()
{
    static std::array<QString, 2> directories;
    return directories;
}

std::size_t slot(WorkingMode_t mode)
{
    return mode == WORKING_MODE_PROJECT ? 1 : 0;
}

QFileDialog::FileMode qtFileMode(KavFileMode_t mode)
{
    switch (mode) {
    case FILE_MODE_EXISTING:
        return QFileDialog::ExistingFile;
    case FILE_MODE_EXISTING_FILES:
        return QFileDialog::ExistingFiles;
    case FILE_MODE_DIRECTORY:
        return QFileDialog::Directory;
    case FILE_MODE_ANY:
    case FILE_MODE_SAVE:
        break;
    }
    return QFileDialog::AnyFile;
}

} // namespace

FileDialog::FileDialog(WorkingMode_t workingMode, KavFileMode_t fileMode, QWidget* parent)
    : workingMode_(workingMode), fileMode_(fileMode)
{
    // A widget without a QApplication aborts the process; console programs get no window.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    dialog_ = new QFileDialog(parent);
    dialog_->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog_->setFileMode(qtFileMode(fileMode));
    if (fileMode == FILE_MODE_SAVE) {
        dialog_->setAcceptMode(QFileDialog::AcceptSave);
        dialog_->setOption(QFileDialog::DontConfirmOverwrite, false);
    } else {
        dialog_->setAcceptMode(QFileDialog::AcceptOpen);
    }
    QString const start = lastDirectory(workingMode);
    if (!start.isEmpty() && QDir(start).exists())
        dialog_->setDirectory(start);
}

FileDialog::~FileDialog()
{
    delete dialog_.data();
}

void FileDialog::setWindowTitle(QString const& title)
{
    title_ = title;
    if (dialog_)
        dialog_->setWindowTitle(title);
}

void FileDialog::setFilters(QStringList const& filters)
{
    filters_ = filters;
    if (dialog_)
        dialog_->setNameFilters(filters);
}

void FileDialog::setEnding(QString const& ending)
{
    ending_ = ending.startsWith(QLatin1Char('.')) ? ending.mid(1) : ending;
    if (dialog_)
        dialog_->setDefaultSuffix(ending_);
}

void FileDialog::setSelection(QString const& fileName)
{
    selection_ = fileName;
    if (dialog_)
        dialog_->selectFile(fileName);
}

bool FileDialog::execFileDialog()
{
    selected_.clear();
    GTools::DialogRequest request;
    request.kind = GTools::DialogRequest::FILE;
    request.dialogType = fileMode_;
    request.title = title_;
    request.text = selection_;
    request.extra = filters_.join(QStringLiteral(";;"));
    request.dialog = dialog_.data();

    bool accepted = false;
    QStringList files;
    if (GTools::DialogResponder* responder = GTools::dialogResponder()) {
        GTools::DialogAnswer const answer = responder->answer(request);
        accepted = answer.result == QDialog::Accepted;
        files = answer.files;
    } else if (dialog_) {
        accepted = dialog_->exec() == QDialog::Accepted;
        if (dialog_)   // the dialog's parent may have gone while it ran
            files = dialog_->selectedFiles();
    }
    if (!accepted || files.isEmpty())
        return false;

    if (fileMode_ == FILE_MODE_SAVE && !ending_.isEmpty()) {
        for (QString& file : files) {
            if (QFileInfo(file).suffix().isEmpty())
                file += QLatin1Char('.') + ending_;
        }
    }
    selected_ = files;
    QFileInfo const first(files.first());
    setLastDirectory(workingMode_, fileMode_ == FILE_MODE_DIRECTORY ? first.absoluteFilePath() : first.absolutePath());
    return true;
}

QStringList FileDialog::selectedFiles() const
{
    return selected_;
}

QFileDialog* FileDialog::fileDialog() const
{
    return dialog_.data();
}

QString FileDialog::lastDirectory(WorkingMode_t workingMode)
{
    return lastDirectories()[slot(workingMode)];
}

void FileDialog::setLastDirectory(WorkingMode_t workingMode, QString const& directory)
{
    lastDirectories()[slot(workingMode)] = directory;
}

} // namespace GFile
} // namespace Kav
