#include "kav_view_framing.h"

#include "kav_app_commands.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_limits.h"
#include "core/kav_transformation.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <algorithm>
#include <cmath>

namespace Kav {
namespace App {

namespace {

// A share of the window left around the framed scene, for its labels.
constexpr double FILL = 0.8;

bool counts(CAD::Element const* e)
{
    using EC = CAD::ElementCreator;
    unsigned int const type = e->getElementType();
    return type != EC::ASSEMBLY && type != EC::FOLDER && type != EC::REPORT && e->isVisible(CAD::VISIBLE_IN_SCENE);
}

void addBox(CAD::Element const* e, BaVec3d<double>* low, BaVec3d<double>* high, bool* any)
{
    BaVec3d<double> const& c = e->getCenter();
    BaVec3d<double> const& h = e->getHalfExtent();
    for (int axis = 0; axis < 3; ++axis) {
        double const a = c[axis] - std::fabs(h[axis]), b = c[axis] + std::fabs(h[axis]);
        if (!std::isfinite(a) || !std::isfinite(b))
            return;
    }
    for (int axis = 0; axis < 3; ++axis) {
        (*low)[axis] = std::min((*low)[axis], c[axis] - std::fabs(h[axis]));
        (*high)[axis] = std::max((*high)[axis], c[axis] + std::fabs(h[axis]));
    }
    *any = true;
}

// The rotation (as Transformation::rotation takes it: about x, then y, then z) whose rows
// are the window's right, up and towards-the-viewer directions in the scene.
BaVec3d<double> anglesOf(BaVec3d<double> const& right, BaVec3d<double> const& up, BaVec3d<double> const& toViewer)
{
    constexpr double toDegrees = 180.0 / 3.14159265358979323846;
    double const sinY = -toViewer.x;
    double const cosY = std::hypot(right.x, up.x);
    double const y = std::atan2(sinY, cosY);
    double x = std::atan2(toViewer.y, toViewer.z);
    double z = std::atan2(up.x, right.x);
    if (cosY < 1e-9) {
        // Looking along x: the turn about z is that about x, which takes all of it.
        x = std::atan2(sinY * right.y, up.y);
        z = 0.0;
    }
    return BaVec3d<double>(x * toDegrees, y * toDegrees, z * toDegrees);
}

} // namespace

BaVec3d<double> ViewFraming::rotationOf(ViewDirection direction)
{
    switch (direction) {
    case ViewDirection::Front:
        return anglesOf({1, 0, 0}, {0, 0, 1}, {0, -1, 0});
    case ViewDirection::Right:
        return anglesOf({0, 1, 0}, {0, 0, 1}, {1, 0, 0});
    case ViewDirection::Isometric: {
        double const a = 1.0 / std::sqrt(2.0), b = 1.0 / std::sqrt(6.0), c = 1.0 / std::sqrt(3.0);
        return anglesOf({a, a, 0}, {-b, b, 2 * b}, {c, -c, c});
    }
    case ViewDirection::Top:
        break;
    }
    return BaVec3d<double>();
}

bool ViewFraming::bounds(MCADCmd::Scene& scene, QStringList const* names, BaVec3d<double>* low, BaVec3d<double>* high)
{
    *low = BaVec3d<double>(INFINITY, INFINITY, INFINITY);
    *high = BaVec3d<double>(-INFINITY, -INFINITY, -INFINITY);
    bool any = false;
    if (names != nullptr) {
        for (QString const& name : *names) {
            CAD::Element const* e = scene.findElement(name);
            if (e != nullptr && counts(e))
                addBox(e, low, high, &any);
        }
        return any;
    }
    for (CAD::Element const* e : scene.elements()) {
        if (counts(e))
            addBox(e, low, high, &any);
    }
    return any;
}

namespace {

// The window rectangle the scene's box projects to; `finite` is false when a corner does not
// project to a finite point (such corners are passed over by the rectangle).
struct ProjectedBox {
    double left = INFINITY, right = -INFINITY, top = INFINITY, bottom = -INFINITY;
    bool finite = true;
};

ProjectedBox project(MCADCmd::Scene& scene, BaVec3d<double> const& low, BaVec3d<double> const& high)
{
    Transformation const t = scene.renderObject()->get3d2dTransformation();
    ProjectedBox box;
    for (int i = 0; i < 8; ++i) {
        BaVec3d<double> const at =
            t.map(BaVec3d<double>((i & 1) ? high.x : low.x, (i & 2) ? high.y : low.y, (i & 4) ? high.z : low.z));
        box.finite = box.finite && std::isfinite(at.x) && std::isfinite(at.y);
        box.left = std::min(box.left, at.x);
        box.right = std::max(box.right, at.x);
        box.top = std::min(box.top, at.y);
        box.bottom = std::max(box.bottom, at.y);
    }
    return box;
}

} // namespace

bool ViewFraming::sceneInView(MCADCmd::Scene& scene)
{
    BaVec3d<double> low, high;
    if (!bounds(scene, nullptr, &low, &high))
        return true;
    ProjectedBox const b = project(scene, low, high);
    return b.finite && b.left >= 0.0 && b.top >= 0.0 && b.right <= scene.renderObject()->getViewportWidth()
           && b.bottom <= scene.renderObject()->getViewportHeight();
}

bool ViewFraming::anyInView(MCADCmd::Scene& scene)
{
    BaVec3d<double> low, high;
    if (!bounds(scene, nullptr, &low, &high))
        return true;
    ProjectedBox const b = project(scene, low, high);
    return b.right >= 0.0 && b.bottom >= 0.0 && b.left <= scene.renderObject()->getViewportWidth()
           && b.top <= scene.renderObject()->getViewportHeight();
}

QString ViewFraming::parameters(MCADCmd::Scene& scene, QStringList const* names, BaVec3d<double> const& rotation)
{
    BaVec3d<double> low, high;
    if (!bounds(scene, names, &low, &high))
        return QString();
    BaVec3d<double> const axis = scene.renderObject()->getAxisScale();
    BaVec3d<double> const centre = (low + high) * 0.5;
    // The window shows A p + t turned and zoomed about its middle: t = -A c centres the box.
    BaVec3d<double> const translation(-axis.x * centre.x, -axis.y * centre.y, -axis.z * centre.z);
    Transformation const turn = Transformation::rotation(rotation);
    double wide = 0.0, tall = 0.0;
    for (int i = 0; i < 8; ++i) {
        BaVec3d<double> const corner((i & 1) ? high.x : low.x, (i & 2) ? high.y : low.y, (i & 4) ? high.z : low.z);
        BaVec3d<double> const d = corner - centre;
        BaVec3d<double> const q = turn.map(BaVec3d<double>(axis.x * d.x, axis.y * d.y, axis.z * d.z));
        wide = std::max(wide, std::fabs(q.x));
        tall = std::max(tall, std::fabs(q.y));
    }
    double const w = scene.renderObject()->getViewportWidth(), h = scene.renderObject()->getViewportHeight();
    double scale = scene.viewCreator()->getScale();
    double const fit = std::min(wide > 0.0 ? FILL * w / 2.0 / wide : INFINITY, tall > 0.0 ? FILL * h / 2.0 / tall : INFINITY);
    if (std::isfinite(fit))
        scale = fit;
    return Parse::createStringVector(QStringLiteral("rotation"), vectorText(Limits::ANGLE.clamp(rotation))) + QLatin1Char(' ')
           + Parse::createStringVector(QStringLiteral("translation"), vectorText(Limits::COORDINATE.clamp(translation)))
           + QLatin1Char(' ') + Parse::createDouble(QStringLiteral("scale"), Limits::SCALE.clamp(scale));
}

} // namespace App
} // namespace Kav
