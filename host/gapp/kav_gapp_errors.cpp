#include "gapp/kav_gapp_errors.h"

#include "core/kav_translate.h"
#include "gtools/kav_error_messages.h"

#include <QString>

namespace Kav {
namespace GApp {

char const* const PARAMETER_ERROR = "KavHost-Param-0001";
char const* const COMMAND_FAILED_ERROR = "KavHost-Command-0001";
char const* const COMMAND_NOT_EXECUTABLE_ERROR = "KavHost-Command-0002";
char const* const EXCEPTION_ERROR = "KavHost-Exception-0001";
char const* const STREAM_ERROR = "KavHost-Stream-0001";

namespace {

char const* const context = "Kav::GApp";

void registerOne(char const* id, char const* text, bool translated)
{
    QString const plain = QString::fromUtf8(text);
    GTools::ErrorMessageContainer::registerError(id, translated ? translate(context, text) : plain, plain);
}

void registerAll(bool translated)
{
    registerOne(PARAMETER_ERROR, QT_TRANSLATE_NOOP("Kav::GApp", "error in the parameter string"), translated);
    registerOne(COMMAND_FAILED_ERROR, QT_TRANSLATE_NOOP("Kav::GApp", "the command failed"), translated);
    registerOne(COMMAND_NOT_EXECUTABLE_ERROR, QT_TRANSLATE_NOOP("Kav::GApp", "the command cannot be executed"),
                translated);
    registerOne(EXCEPTION_ERROR, QT_TRANSLATE_NOOP("Kav::GApp", "the command failed with an internal error"),
                translated);
    registerOne(STREAM_ERROR, QT_TRANSLATE_NOOP("Kav::GApp", "a file cannot be read or written"), translated);
}

// The registry is created on first use, so this is safe at load time; it makes sure the ids
// are known even before a main window exists (headless use of the commands).
struct LoadTimeRegistration {
    LoadTimeRegistration() { registerAll(false); }
};
LoadTimeRegistration const loadTimeRegistration;

} // namespace

void registerErrors()
{
    registerAll(true);
}

} // namespace GApp
} // namespace Kav
