// Three-component vector: positions, normals and directions in files, vertex
// buffers and tweak variables. Components are stored as T; the float
// operations form their intermediate sums and products in double precision.
#pragma once

#include <cmath>

template <typename T>
struct Vec3 {
    T x{}, y{}, z{};

    Vec3() = default;
    Vec3(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}

    Vec3 operator+(const Vec3& o) const { return Vec3(T(x + o.x), T(y + o.y), T(z + o.z)); }
    Vec3 operator-(const Vec3& o) const { return Vec3(T(x - o.x), T(y - o.y), T(z - o.z)); }
    Vec3 operator*(T s) const { return Vec3(T(x * s), T(y * s), T(z * s)); }
    Vec3 operator-() const { return Vec3(T(-x), T(-y), T(-z)); }
    Vec3& operator+=(const Vec3& o) { return *this = *this + o; }
    Vec3& operator-=(const Vec3& o) { return *this = *this - o; }
    Vec3& operator*=(T s) { return *this = *this * s; }
    bool operator==(const Vec3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const Vec3& o) const { return !(*this == o); }

    T dot(const Vec3& o) const { return T(double(x) * o.x + double(y) * o.y + double(z) * o.z); }
    Vec3 cross(const Vec3& o) const {
        return Vec3(T(double(y) * o.z - double(z) * o.y), T(double(z) * o.x - double(x) * o.z),
                    T(double(x) * o.y - double(y) * o.x));
    }
    T length() const { return T(std::sqrt(double(x) * x + double(y) * y + double(z) * z)); }
    // A zero vector stays zero rather than turning into NaNs.
    Vec3 normalized() const {
        double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
        if (len == 0.0)
            return *this;
        return Vec3(T(x / len), T(y / len), T(z / len));
    }
    void normalize() { *this = normalized(); }
};

template <typename T>
Vec3<T> operator*(T s, const Vec3<T>& v) {
    return v * s;
}

using Vec3f = Vec3<float>;
