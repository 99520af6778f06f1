#pragma once

#include "core/kav_vec.h"

#include <QString>
#include <QStringList>

namespace Kav {
namespace GApp {
class SpecialMenuProvider;
}
namespace App {

// Error id of the application's own failures (a plug-in menu that could not be filled).
extern char const* const APP_MENU_ERROR;   // "MvpHost-0001"
// Registers the application's error ids with their texts (after the translators).
void registerAppErrors();

// The window changes the scene only through commands, so every change is one undo step and
// lands in a recorded macro. Runs `name` with `parameters` through the main window; false
// (the failure already shown to the user) when it failed or does not exist.
bool runCommand(QString const& name, QString const& parameters, QString* result = nullptr);
// Runs the menu form of `name` (its executeMenu), as a menu entry does. What it throws is
// reported like a failed command, with the exception's text, so that nothing escapes into
// the event loop. False when it failed, threw or does not exist.
bool runMenuCommand(QString const& name);
// True when a command of that name is registered.
bool hasCommand(QString const& name);

// The plug-in's provider of the restore-template menu, or null.
GApp::SpecialMenuProvider* restoreTemplateProvider();

// Numbers as parameter strings write them: C locale, read back exactly.
QString numberText(double value);
QStringList vectorText(BaVec2d<double> const& v);
QStringList vectorText(BaVec3d<double> const& v);
// "#rrggbb"
QString colorText(quint32 rgb);

} // namespace App
} // namespace Kav
