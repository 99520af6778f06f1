#pragma once

#include "kavhost_export.h"

#include <QString>

namespace Kav {

// Every user-visible text goes through here.
KAVHOST_EXPORT QString translate(char const* context, char const* text);

// Loads the catalogue `name`_<locale>.qm from the host's translation directory and installs
// it in the application. Answers false when there is no application, no such catalogue for
// the locale, or it is already installed.
KAVHOST_EXPORT bool installTranslator(char const* name);

// Set by the host application before libraries load. Defaults: the directory
// "translations" beside the executable, and the system locale's name ("de_DE").
KAVHOST_EXPORT void setTranslationDirectory(QString const& directory);
KAVHOST_EXPORT QString translationDirectory();
KAVHOST_EXPORT void setTranslationLocale(QString const& locale);
KAVHOST_EXPORT QString translationLocale();

} // namespace Kav
