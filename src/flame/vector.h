#pragma once

// Single-precision 3-D vector with a carried fourth component; arithmetic uses x, y, z only.
struct Vector4 {
    float x = 0, y = 0, z = 0, w = 1;

    constexpr Vector4() = default;
    constexpr Vector4(float x_, float y_, float z_) : x(x_), y(y_), z(z_), w(1) {}
    constexpr Vector4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    constexpr Vector4& operator+=(const Vector4& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    constexpr Vector4& operator-=(const Vector4& o) {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    constexpr Vector4& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    constexpr float Dot(const Vector4& o) const { return x * o.x + y * o.y + z * o.z; }
};

constexpr Vector4 operator+(Vector4 a, const Vector4& b) {
    return a += b;
}
constexpr Vector4 operator-(Vector4 a, const Vector4& b) {
    return a -= b;
}
constexpr Vector4 operator*(Vector4 a, float s) {
    return a *= s;
}

// Three rows; the product with a vector is the rows' dot products with it.
struct Matrix3 {
    Vector4 rows[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    constexpr Vector4 operator*(const Vector4& v) const {
        return {rows[0].Dot(v), rows[1].Dot(v), rows[2].Dot(v)};
    }
};
