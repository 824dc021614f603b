#include "support/ny_geo.h"

#include <cmath>

int NyGeo::IsPointInPolygon(const std::vector<nyhost::Point3>& poly, const nyhost::Point3& pt) {
  std::size_t n = poly.size();
  if (n < 3) return kOutside;
  nyhost::Extents box;
  for (const auto& p : poly) box.Add(p);
  double size = std::max(box.max.x - box.min.x, box.max.y - box.min.y);
  double tol = std::max(size * 1e-9, 1e-9);

  bool inside = false;
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const auto& a = poly[j];
    const auto& b = poly[i];
    double dx = b.x - a.x, dy = b.y - a.y;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((pt.x - a.x) * dx + (pt.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    if (std::hypot(pt.x - (a.x + t * dx), pt.y - (a.y + t * dy)) <= tol) return kOnBoundary;
    if ((a.y > pt.y) != (b.y > pt.y)) {
      double x = a.x + (pt.y - a.y) * dx / dy;
      if (pt.x < x) inside = !inside;
    }
  }
  return inside ? kInside : kOutside;
}

nyhost::Point3 NyGeo::Mid(const nyhost::Point3& a, const nyhost::Point3& b) {
  return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
}

nyhost::Point3 NyGeo::Mirror(const nyhost::Point3& p, const nyhost::Point3& a,
                             const nyhost::Point3& b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  if (len2 == 0) return {2 * a.x - p.x, 2 * a.y - p.y, p.z};
  double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
  double fx = a.x + t * dx, fy = a.y + t * dy;
  return {2 * fx - p.x, 2 * fy - p.y, p.z};
}
