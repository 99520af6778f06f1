// Texts the host translates out of tables (Kav::translate with a variable text), listed here
// so that lupdate finds them for the application's catalogue.

#include <QtGlobal>

namespace Kav {
namespace App {

extern char const* const HOST_TABLE_TEXTS[];
char const* const HOST_TABLE_TEXTS[] = {
    QT_TRANSLATE_NOOP("KavHost_element_type", "part"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "assembly"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "point"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "plane"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "circle"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "cylinder"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "surface inspection"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "2D section inspection"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "distance"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "folder"),
    QT_TRANSLATE_NOOP("KavHost_element_type", "report"),
};

} // namespace App
} // namespace Kav
