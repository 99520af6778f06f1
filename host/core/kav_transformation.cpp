#include "kav_transformation.h"

#include <cmath>
#include <utility>

namespace Kav {

Transformation::Transformation() : m_{}
{
    for (int i = 0; i < 4; ++i)
        m_[index(i, i)] = 1.0;
}

Transformation Transformation::translation(BaVec3d<double> const& t)
{
    Transformation r;
    r(0, 3) = t.x;
    r(1, 3) = t.y;
    r(2, 3) = t.z;
    return r;
}

Transformation Transformation::scaling(BaVec3d<double> const& s)
{
    Transformation r;
    r(0, 0) = s.x;
    r(1, 1) = s.y;
    r(2, 2) = s.z;
    return r;
}

Transformation Transformation::rotation(BaVec3d<double> const& degrees)
{
    constexpr double toRad = 3.14159265358979323846 / 180.0;
    auto axis = [](int a, int b, double rad) {
        Transformation r;
        double const c = std::cos(rad);
        double const s = std::sin(rad);
        r(a, a) = c;
        r(a, b) = -s;
        r(b, a) = s;
        r(b, b) = c;
        return r;
    };
    Transformation const rx = axis(1, 2, degrees.x * toRad);
    Transformation const ry = axis(2, 0, degrees.y * toRad);
    Transformation const rz = axis(0, 1, degrees.z * toRad);
    return rz * ry * rx;
}

Transformation Transformation::operator*(Transformation const& other) const
{
    Transformation r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += (*this)(i, k) * other(k, j);
            r(i, j) = sum;
        }
    }
    return r;
}

BaVec3d<double> Transformation::map(BaVec3d<double> const& p) const
{
    double out[4];
    for (int i = 0; i < 4; ++i)
        out[i] = (*this)(i, 0) * p.x + (*this)(i, 1) * p.y + (*this)(i, 2) * p.z + (*this)(i, 3);
    if (out[3] != 0.0 && out[3] != 1.0)
        return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
    return {out[0], out[1], out[2]};
}

BaVec2d<double> Transformation::project(BaVec3d<double> const& p) const
{
    BaVec3d<double> const q = map(p);
    return {q.x, q.y};
}

Transformation Transformation::inverted(bool* ok) const
{
    // Gauss-Jordan elimination with partial pivoting.
    double a[4][8];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            a[i][j] = (*this)(i, j);
            a[i][j + 4] = (i == j) ? 1.0 : 0.0;
        }
    }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row) {
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col]))
                pivot = row;
        }
        if (std::fabs(a[pivot][col]) < 1e-300) {
            if (ok)
                *ok = false;
            return Transformation();
        }
        if (pivot != col) {
            for (int j = 0; j < 8; ++j)
                std::swap(a[pivot][j], a[col][j]);
        }
        double const d = a[col][col];
        for (int j = 0; j < 8; ++j)
            a[col][j] /= d;
        for (int row = 0; row < 4; ++row) {
            if (row == col)
                continue;
            double const f = a[row][col];
            if (f == 0.0)
                continue;
            for (int j = 0; j < 8; ++j)
                a[row][j] -= f * a[col][j];
        }
    }
    Transformation r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r(i, j) = a[i][j + 4];
    if (ok)
        *ok = true;
    return r;
}

} // namespace Kav
