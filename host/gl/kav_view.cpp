#include "gl/kav_view.h"

#include <cmath>

namespace Kav {
namespace GL {

bool ViewCreator::setMainViewDirectionFromTransformation()
{
    // The viewer looks along -z in view space; in the scene that is the rotation's inverse
    // (its transpose) applied to -z, i.e. minus the third row of the rotation.
    Transformation const r = Transformation::rotation(rotation_);
    BaVec3d<double> const dir(-r(2, 0), -r(2, 1), -r(2, 2));
    double const len = dir.length();
    if (!std::isfinite(len) || len < 1e-12)
        return false;
    viewDirection_ = dir * (1.0 / len);
    return true;
}

void RenderObject::setViewportSize(int width, int height)
{
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
    changed();
}

Transformation RenderObject::get3d2dTransformation() const
{
    if (hasTransformation_)
        return transformation_;
    Transformation const viewport =
        Transformation::translation(BaVec3d<double>(width_ / 2.0, height_ / 2.0, 0.0));
    // Window y grows downwards.
    Transformation const zoom = Transformation::scaling(BaVec3d<double>(scale_, -scale_, scale_));
    transformation_ = viewport * zoom * Transformation::rotation(rotation_) * Transformation::translation(translation_) *
                      Transformation::scaling(axisScale_);
    hasTransformation_ = true;
    return transformation_;
}

} // namespace GL
} // namespace Kav
