// Plane geometry on drawing points.
#pragma once

#include <vector>

#include "host/geometry.h"

class NyGeo {
 public:
  enum PointPosition { kOutside = 0, kOnBoundary = 1, kInside = 2 };

  // Position of pt relative to the closed polygon (the last point joins the first). Points within
  // a tolerance of an edge (relative to the polygon's size) count as on the boundary.
  static int IsPointInPolygon(const std::vector<nyhost::Point3>& polygon, const nyhost::Point3& pt);
  // The host has one coordinate system, so user coordinates are world coordinates.
  static nyhost::Point3 Ucs2Wcs(const nyhost::Point3& p) { return p; }
  static nyhost::Point3 Mid(const nyhost::Point3& a, const nyhost::Point3& b);
  // Mirror image of p about the line through a and b.
  static nyhost::Point3 Mirror(const nyhost::Point3& p, const nyhost::Point3& a,
                               const nyhost::Point3& b);
};
