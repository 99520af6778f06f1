#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace Kav {
namespace App {

class HostApplication;
class ScriptRunner;

// The built-in scenario of --demo: the sample scene, a snapshot, changes to the view and
// the elements, the whole snapshot restored, a restore by template, undo and redo. Each step
// prints its commands (through the script runner) and the state digest, and checks what
// it must: the restored state equals the snapshot's, the restored picture the one before.
class Demo {
public:
    Demo(HostApplication* app, ScriptRunner* runner);

    // screenshot: the final PNG; the step pictures go beside it ("<name>-1-before.png", ...).
    // Empty: no pictures. Answers the exit code: 0 when every step ran and every check held.
    int run(QString const& screenshot);

    // Short digest of a state text, for the step lines.
    static QString digest(QString const& state);

private:
    bool step(QString const& title, QStringList const& commands);
    QString state() const;
    QImage picture(QString const& name);
    bool check(QString const& what, bool ok);

    HostApplication* app_;
    ScriptRunner* runner_;
    QString shotBase_;
    int line_ = 0;
    int failures_ = 0;
};

} // namespace App
} // namespace Kav
