#pragma once

#include "core/kav_vec.h"

#include <QString>
#include <QStringList>

namespace Kav {
namespace MCADCmd {
class Scene;
}
namespace App {

// The standard directions of the view.
enum class ViewDirection { Front, Top, Right, Isometric };

// What the View menu sets, always within the ranges view.set takes.
struct ViewFraming {
    // The rotation (degrees, as view.set takes it) that looks at the scene from `direction`
    // with z up (y up from the top).
    static BaVec3d<double> rotationOf(ViewDirection direction);

    // The box around the shown, drawn elements (those of `names` only, when given); false when
    // there is none.
    static bool bounds(MCADCmd::Scene& scene, QStringList const* names, BaVec3d<double>* low, BaVec3d<double>* high);
    // Whether all of the shown elements lie in the view as it is.
    static bool sceneInView(MCADCmd::Scene& scene);
    // Whether any of them does (by the box around them all).
    static bool anyInView(MCADCmd::Scene& scene);
    // The view.set parameters that show the box whole and centred with `rotation`; empty when
    // there is no box.
    static QString parameters(MCADCmd::Scene& scene, QStringList const* names, BaVec3d<double> const& rotation);
};

} // namespace App
} // namespace Kav
