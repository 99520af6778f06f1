#pragma once

#include "kav_vec.h"
#include "kavhost_export.h"

#include <array>

namespace Kav {

// A 4x4 homogeneous transformation, row-major, acting on column vectors. The 3D view uses
// one to take scene points to window coordinates (x, y; z is the depth).
class KAVHOST_EXPORT Transformation {
public:
    Transformation(); // identity

    static Transformation translation(BaVec3d<double> const& t);
    static Transformation scaling(BaVec3d<double> const& s);
    static Transformation scaling(double s) { return scaling(BaVec3d<double>(s, s, s)); }
    // Rotation by the given angles in degrees, about x first, then y, then z.
    static Transformation rotation(BaVec3d<double> const& degrees);

    double& operator()(int row, int column) { return m_[index(row, column)]; }
    double operator()(int row, int column) const { return m_[index(row, column)]; }

    Transformation operator*(Transformation const& other) const;
    bool operator==(Transformation const& other) const { return m_ == other.m_; }
    bool operator!=(Transformation const& other) const { return m_ != other.m_; }

    // The point after the transformation, divided by w (w == 0 leaves it undivided).
    BaVec3d<double> map(BaVec3d<double> const& p) const;
    // The 2D image of a 3D point: x and y of map().
    BaVec2d<double> project(BaVec3d<double> const& p) const;
    // The inverse; *ok (when given) tells whether the matrix was invertible.
    Transformation inverted(bool* ok = nullptr) const;

private:
    static constexpr int index(int row, int column) { return row * 4 + column; }
    std::array<double, 16> m_;
};

} // namespace Kav
