#include "mvp_errors.h"

#include "core/kav_translate.h"
#include "gtools/kav_error_messages.h"

#include <QString>
#include <QtGlobal>

namespace Kav {
namespace MCADVisProp {

char const* const ERROR_SAVE_FILE = "MCADVisProp-0001";
char const* const ERROR_OPEN_FILE = "MCADVisProp-0002";
char const* const ERROR_SAVE_PROJECT = "MCADVisProp-0003";
char const* const ERROR_SAVE_TEMPLATES = "MCADVisProp-0004";
char const* const ERROR_NOT_A_SNAPSHOT = "MCADVisProp-0007";
char const* const ERROR_NO_RESTORE_INFO = "MCADVisProp-0008";
char const* const ERROR_TEMPLATES_BUSY = "MCADVisProp-0009";

namespace {

struct ErrorText {
    char const* const* id;
    char const* text;
    char const* textWt;
};

// Both texts are spelled out and marked, so that the catalogue tools find each of them.
// 0005 and 0006 were retired and stay free.
ErrorText const errorTexts[] = {
    {&ERROR_SAVE_FILE,
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error saving the file"),
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error saving the file wt")},
    {&ERROR_OPEN_FILE,
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error opening the file"),
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error opening the file wt")},
    {&ERROR_SAVE_PROJECT,
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error saving project"),
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error saving project wt")},
    {&ERROR_SAVE_TEMPLATES,
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error saving templates"),
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error saving templates wt")},
    {&ERROR_NOT_A_SNAPSHOT,
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error the element in the parameterstring is not a snapshot"),
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error the element in the parameterstring is not a snapshot wt")},
    {&ERROR_NO_RESTORE_INFO,
     QT_TRANSLATE_NOOP("MCADVisProp_err",
                       "error snapshot has no restore information (maybe the snapshot was created with an older "
                       "version than v6.0.0 or by an image file"),
     QT_TRANSLATE_NOOP("MCADVisProp_err",
                       "error snapshot has no restore information (maybe the snapshot was created with an older "
                       "version than v6.0.0 or by an image file wt")},
    {&ERROR_TEMPLATES_BUSY,
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error the restore templates are being changed by another program"),
     QT_TRANSLATE_NOOP("MCADVisProp_err", "error the restore templates are being changed by another program wt")},
};

} // namespace

void registerErrors()
{
    for (ErrorText const& e : errorTexts) {
        QString const textWt = translate("MCADVisProp_err", e.textWt);
        QString const text = translate("MCADVisProp_err", e.text);
        GTools::ErrorMessageContainer::registerError(*e.id, text, textWt);
    }
}

} // namespace MCADVisProp
} // namespace Kav
