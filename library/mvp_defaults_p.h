#pragma once
// Internal to the plug-in: the menu provider that InitDefaults made.

namespace Kav {
namespace MCADVisProp {

class MenuHandler;

// The provider between InitDefaults and CloseDefaults, else null.
MenuHandler* menuProvider();

} // namespace MCADVisProp
} // namespace Kav
