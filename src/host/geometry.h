// Plain geometric values shared by the drawing database and its users.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace nyhost {

struct Point3 {
  double x = 0, y = 0, z = 0;
  friend bool operator==(const Point3&, const Point3&) = default;
};

inline Point3 operator+(Point3 a, Point3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Point3 operator-(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Point3 operator*(Point3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline double Distance2d(Point3 a, Point3 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Axis-aligned box; empty until the first point is added.
struct Extents {
  Point3 min{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
             std::numeric_limits<double>::infinity()};
  Point3 max{-std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
             -std::numeric_limits<double>::infinity()};

  bool Empty() const { return min.x > max.x; }
  void Add(Point3 p) {
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
  }
  void AddBox(const Extents& e) {
    if (!e.Empty()) {
      Add(e.min);
      Add(e.max);
    }
  }
};

constexpr double kDegToRad = 0.017453292519943295;
constexpr double kRadToDeg = 57.29577951308232;

}  // namespace nyhost
