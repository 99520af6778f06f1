#pragma once

#include <cmath>

namespace Kav {

// Plain 2D and 3D vectors (points and directions alike).
template <typename T>
struct BaVec2d {
    T x{};
    T y{};

    constexpr BaVec2d() = default;
    constexpr BaVec2d(T x_, T y_) : x(x_), y(y_) {}

    constexpr T& operator[](int i) { return i == 0 ? x : y; }
    constexpr T const& operator[](int i) const { return i == 0 ? x : y; }

    constexpr BaVec2d operator+(BaVec2d const& o) const { return {x + o.x, y + o.y}; }
    constexpr BaVec2d operator-(BaVec2d const& o) const { return {x - o.x, y - o.y}; }
    constexpr BaVec2d operator*(T f) const { return {x * f, y * f}; }
    BaVec2d& operator+=(BaVec2d const& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr T dot(BaVec2d const& o) const { return x * o.x + y * o.y; }
    T length() const { return std::sqrt(dot(*this)); }

    constexpr bool operator==(BaVec2d const& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(BaVec2d const& o) const { return !(*this == o); }
};

template <typename T>
struct BaVec3d {
    T x{};
    T y{};
    T z{};

    constexpr BaVec3d() = default;
    constexpr BaVec3d(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}

    constexpr T& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    constexpr T const& operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    constexpr BaVec3d operator+(BaVec3d const& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr BaVec3d operator-(BaVec3d const& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr BaVec3d operator*(T f) const { return {x * f, y * f, z * f}; }
    BaVec3d& operator+=(BaVec3d const& o)
    {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    constexpr T dot(BaVec3d const& o) const { return x * o.x + y * o.y + z * o.z; }
    constexpr BaVec3d cross(BaVec3d const& o) const
    {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    T length() const { return std::sqrt(dot(*this)); }

    constexpr bool operator==(BaVec3d const& o) const { return x == o.x && y == o.y && z == o.z; }
    constexpr bool operator!=(BaVec3d const& o) const { return !(*this == o); }
};

} // namespace Kav
