#pragma once

#include "kavhost_export.h"

#include "gapp/kav_command.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace Kav {
namespace GApp {

class AppStatusManager;

// The command runner. Usable without being shown; the application derives its real window
// from it. Only one exists at a time.
class KAVHOST_EXPORT MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Set by the constructor; smgr is created (and owned) by it when null. The destructor
    // clears both where they are its own.
    static MainWindow* main_win;
    static AppStatusManager* smgr;

    // Throws ProgError while another MainWindow exists.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Parses the parameters and runs the command. Any failure - no command, not executable,
    // parse or execute error, or an exception out of the command - is reported through
    // GTools::ErrorDialog (registered text of the error id, the log as details), remembered
    // as lastErrorId()/lastErrorText(), and answered with false; nothing is thrown.
    // After a success, while a macro is recorded, the run is appended to it unless it was
    // started by another command (that one is recorded) or the command is KIND_INTERACTIVE
    // (it records the script commands it ran itself, with addCommandToMacro).
    bool execute(Command* cmd, QString const& parameters, QString* result, bool interactive);
    // While a probe is set, execute() runs nothing: it hands the command and its parameters
    // to the probe and answers false, reporting nothing. So the application learns what a
    // plug-in's menu entry would run, to run a command of its own with the same parameters.
    void setProbe(std::function<void(Command*, QString const&)> probe) { probe_ = std::move(probe); }
    // Appends "name parameters" ("name" alone for empty parameters), only while recording.
    void addCommandToMacro(Command* cmd, QString const& parameters);
    // Reports a failure the way execute() does.
    void reportError(QString const& errorId, QString const& details);

    // startMacro() begins a new, empty recording; stopMacro() ends it and answers its lines.
    void startMacro();
    QStringList stopMacro();
    bool isRecordingMacro() const { return recordingMacro_; }
    QStringList const& macroLines() const { return macroLines_; }

    // Counters. While the GUI is locked the menu bar and tool bars are disabled; `widget`
    // is who asked and is left alone. Unlocking more than was locked throws ProgError.
    void lockGUI(QWidget* widget);
    void unlockGUI(QWidget* widget);
    bool isGUILocked() const { return guiLocks_ > 0; }
    void lockDrawing();
    void unlockDrawing();   // emits drawingUnlocked() when the count drops to 0
    bool isDrawingLocked() const { return drawingLocks_ > 0; }
    int drawingLockCount() const { return drawingLocks_; }

    Command::SelectCommandMode_t getSelectCommandMode() const { return selectCommandMode_; }
    void setSelectCommandMode(Command::SelectCommandMode_t mode) { selectCommandMode_ = mode; }

    // The last failure reported: its error id and the details shown with it.
    QString lastErrorId() const { return lastErrorId_; }
    QString lastErrorText() const { return lastErrorText_; }

signals:
    void drawingUnlocked();
    void commandExecuted(QString name);
    // Around the outermost execute() (commands a command runs are inside it), before its
    // error is reported: observers collect the changes of one command.
    void executionStarted();
    void executionFinished();

private:
    bool ownsSmgr_ = false;
    int executeDepth_ = 0;
    bool recordingMacro_ = false;
    QStringList macroLines_;
    int guiLocks_ = 0;
    QList<QPointer<QWidget>> disabledByLock_;
    int drawingLocks_ = 0;
    Command::SelectCommandMode_t selectCommandMode_ = Command::SELECT_COMMAND_NONE;
    QString lastErrorId_;
    QString lastErrorText_;
    std::function<void(Command*, QString const&)> probe_;
};

} // namespace GApp
} // namespace Kav
