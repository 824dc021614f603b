// Object snap: the points of the drawing a click near them is drawn to, each with the mode that
// found it (endpoint, midpoint, intersection, nearest, perpendicular, insertion point, centre).
// The faces of wide polylines (walls) count as geometry of their own.
#pragma once

#include <optional>
#include <vector>

#include "host/drawing.h"

namespace nygui {

enum SnapMode : unsigned {
  kSnapEndpoint = 1u << 0,
  kSnapMidpoint = 1u << 1,
  kSnapIntersection = 1u << 2,
  kSnapNearest = 1u << 3,
  kSnapPerpendicular = 1u << 4,
  kSnapInsertion = 1u << 5,
  kSnapCenter = 1u << 6,
};
constexpr unsigned kDefaultSnapModes = kSnapEndpoint | kSnapMidpoint | kSnapIntersection |
                                       kSnapPerpendicular | kSnapInsertion | kSnapCenter;

struct SnapHit {
  nyhost::Point3 point;
  SnapMode mode = kSnapEndpoint;
};

// Every mode with its menu text, in menu order.
struct SnapModeInfo {
  SnapMode mode;
  const char* title;
};
const std::vector<SnapModeInfo>& SnapModes();

// The snap point of the enabled `modes` within `tolerance` of p: the nearest of the exact points
// (ends, midpoints, intersections, insertion points, centres, perpendicular feet from `from`),
// else the nearest point on a curve when kSnapNearest is on.
std::optional<SnapHit> FindSnap(const nyhost::Drawing& d, nyhost::Point3 p, double tolerance,
                                unsigned modes, const nyhost::Point3* from = nullptr);

}  // namespace nygui
