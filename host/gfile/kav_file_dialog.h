#pragma once

#include "kavhost_export.h"

#include <QPointer>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace Kav {

enum KavFileMode_t {
    FILE_MODE_ANY = 0,
    FILE_MODE_EXISTING = 1,
    FILE_MODE_EXISTING_FILES = 2,   // one or several existing files
    FILE_MODE_DIRECTORY = 3,
    FILE_MODE_SAVE = 4              // a file to write; overwriting asks first
};

namespace GFile {

enum WorkingMode_t { WORKING_MODE_DEFAULT = 0, WORKING_MODE_PROJECT = 1 };

// A non-native QFileDialog, so it looks and behaves the same everywhere and a responder
// (gtools/kav_dialog_responder.h) can answer it: the request is FILE with the live dialog,
// dialogType = the file mode, title, the selection in `text` and the filters in `extra`
// (joined by ";;"). Each working mode starts in the directory last chosen in that mode.
// Without a QApplication no window is created and, without a responder, nothing is chosen.
class KAVHOST_EXPORT FileDialog {
public:
    FileDialog(WorkingMode_t workingMode, KavFileMode_t fileMode, QWidget* parent = nullptr);
    ~FileDialog();
    FileDialog(FileDialog const&) = delete;
    FileDialog& operator=(FileDialog const&) = delete;

    void setWindowTitle(QString const& title);
    // Name filters such as "Restore templates (*.rst)".
    void setFilters(QStringList const& filters);
    // The default suffix, without the dot: "rst".
    void setEnding(QString const& ending);
    // A proposed file name.
    void setSelection(QString const& fileName);

    // True when files were chosen.
    bool execFileDialog();
    // Save mode: the ending appended to a chosen name without a suffix.
    QStringList selectedFiles() const;

    // The wrapped dialog; null without a QApplication.
    QFileDialog* fileDialog() const;

    static QString lastDirectory(WorkingMode_t workingMode);
    static void setLastDirectory(WorkingMode_t workingMode, QString const& directory);

private:
    QPointer<QFileDialog> dialog_;   // the parent may delete it first
    WorkingMode_t workingMode_;
    KavFileMode_t fileMode_;
    QString title_;
    QStringList filters_;
    QString ending_;
    QString selection_;
    QStringList selected_;
};

} // namespace GFile
} // namespace Kav
