// The vector maths of the gem meshes.
#include <cmath>

#include "assets/assets.h"

Vec3 operator-(const Vec3& a, const Vec3& b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }

Vec3 operator+(const Vec3& a, const Vec3& b) { return Vec3(a.x + b.x, a.y + b.y, a.z + b.z); }

Vec3 cross(const Vec3& a, const Vec3& b) {
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float length(const Vec3& a) {
    double x = a.x, y = a.y, z = a.z;
    return static_cast<float>(std::sqrt(x * x + y * y + z * z));
}

// No guard: a zero vector gives non-finite components.
Vec3 normalize(const Vec3& a) {
    float len = length(a);
    return Vec3(a.x / len, a.y / len, a.z / len);
}

float distance(const Vec3& a, const Vec3& b) {
    double dx = static_cast<double>(b.x) - a.x;
    double dy = static_cast<double>(b.y) - a.y;
    double dz = static_cast<double>(b.z) - a.z;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

// Counter-clockwise corners seen from one side give the normal towards it.
Vec3 faceNormal(const Vec3& a, const Vec3& b, const Vec3& c) { return normalize(cross(b - a, c - a)); }
