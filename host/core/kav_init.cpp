#include "kav_init.h"

#include <string>

namespace Kav {
namespace {
std::string& applicationName()
{
    static std::string name = "kavhost";
    return name;
}
} // namespace

char const* KavInit::getApplicationName()
{
    return applicationName().c_str();
}

void KavInit::setApplicationName(char const* name)
{
    applicationName() = name ? name : "";
}

} // namespace Kav
