#include "gapp/kav_special_menu_provider.h"

namespace Kav {
namespace GApp {

SpecialMenuProvider::SpecialMenuProvider(QObject* parent) : QObject(parent) {}

bool SpecialMenuProvider::isVisible()
{
    return true;
}

} // namespace GApp
} // namespace Kav
