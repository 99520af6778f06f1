#pragma once
// Private to kavhost: the scene's visual state as plain data (for undo records and the
// state dump), its text pieces, and the settings of view.set, legend.set and element.set.

#include "cad/kav_element.h"
#include "core/kav_kstring.h"
#include "core/kav_text.h"
#include "core/kav_vec.h"
#include "mcadcmd/scene/kav_element_state_p.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace Kav {
class ErrorLog;
namespace MCADCmd {
class Scene;
namespace Detail {

QString vec(BaVec2d<double> const& v);
QString vec(BaVec3d<double> const& v);
QString quoted(QString const& text);
// "#rrggbb" to 0xRRGGBB; false for anything else.
bool parseColor(QString const& text, quint32* rgb);

// The view and the legend.
struct VisualState {
    BaVec3d<double> rotation;
    BaVec3d<double> translation;
    BaVec3d<double> axisScale;
    double scale = 1.0;
    BaVec3d<double> renderRotation;
    BaVec3d<double> renderTranslation;
    BaVec3d<double> renderAxisScale;
    double renderScale = 1.0;
    KString legendData;
    BaVec2d<double> legendPosition;
    bool hasLegendData = true;
};

// An element as it was, to be made again at its place among the scene's elements.
struct ElementCopy {
    long index = 0;
    ElementState state;
};

// The element and its sub-elements, in scene order.
std::vector<ElementCopy> copySubtree(Scene& scene, QString const& name);
// Puts copies back at their places (in the order given: parents first).
void restoreCopies(Scene& scene, std::vector<ElementCopy> const& copies);
VisualState capture(Scene& scene);
void apply(Scene& scene, VisualState const& state);

// Reads the element keys of element.set from `params` (taking what it reads) and applies
// them. Throws ParamError for a malformed value; nothing is changed then.
void applyElementSettings(Scene& scene, CAD::Element* element, QString& params);
// legend.set's keys.
void applyLegendSettings(Scene& scene, QString& params);
// view.set's keys.
void applyViewSettings(Scene& scene, QString& params);

} // namespace Detail
} // namespace MCADCmd
} // namespace Kav
