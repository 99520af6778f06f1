#pragma once
// The ranges every number of the visual state is held to, wherever it comes from (a command,
// a project, a snapshot's stream). Within them everything derived stays finite: a point
// (|p| <= 1e9) moved by the view (|t| <= 1e9), stretched by the axis scale (<= 1e6) and
// zoomed (<= 1e6) ends below 1e22 pixels, far from where doubles overflow.

#include "core/kav_vec.h"

#include <cmath>

namespace Kav {
namespace Limits {

struct Range {
    double min;
    double max;
    // False for NaN as well.
    constexpr bool contains(double v) const { return v >= min && v <= max; }
    bool contains(BaVec2d<double> const& v) const { return contains(v.x) && contains(v.y); }
    bool contains(BaVec3d<double> const& v) const { return contains(v.x) && contains(v.y) && contains(v.z); }
    constexpr double clamp(double v) const { return v < min ? min : (v > max ? max : v); }
    BaVec3d<double> clamp(BaVec3d<double> const& v) const { return {clamp(v.x), clamp(v.y), clamp(v.z)}; }
};

// Scene coordinates and lengths: centres, extents, pull-out points, label origins, the
// view's translation.
constexpr Range COORDINATE{-1e9, 1e9};
// Places on the 2D overlay, in pixels: label positions and offsets, the legend's position.
constexpr Range OVERLAY{-1e9, 1e9};
// View rotation, degrees.
constexpr Range ANGLE{-1e6, 1e6};
constexpr Range SCALE{1e-6, 1e6};
// Per axis; zero flattens, a negative value mirrors.
constexpr Range AXIS_SCALE{-1e6, 1e6};
// Radius and sampling step of a section: a length that is divided by.
constexpr Range POSITIVE_LENGTH{1e-6, 1e9};
// Point size and line width, pixels.
constexpr Range PIXEL_SIZE{1e-3, 1e3};
// Values of the deviation legend; its range must also be at least MIN_LEGEND_WIDTH wide.
constexpr Range DEVIATION{-1e9, 1e9};
constexpr double MIN_LEGEND_WIDTH = 1e-9;

inline bool legendRange(double min, double max)
{
    return DEVIATION.contains(min) && DEVIATION.contains(max) && max - min >= MIN_LEGEND_WIDTH;
}

} // namespace Limits
} // namespace Kav
