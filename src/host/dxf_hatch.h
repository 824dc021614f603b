// Hatch boundaries as dxflib reports them, flattened into the point loops of a Hatch entity.
#pragma once

#include <vector>

#include "host/geometry.h"

struct DL_HatchEdgeData;

namespace nyhost::dxf {

// The parts of a hatch boundary edge we use. dxflib's edge struct leaves members such as its
// bool ccw uninitialised, so copying it whole reads indeterminate values; copy field by field.
struct HatchEdge {
  int type = 0;  // 0 polyline, 1 line, 2 arc, 3 elliptic arc, 4 spline
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double cx = 0, cy = 0, radius = 0, angle1 = 0, angle2 = 0, mx = 0, my = 0, ratio = 1;
  bool ccw = true;
  std::vector<std::vector<double>> points;  // polyline vertices, else spline fit/control points

  static HatchEdge From(const DL_HatchEdgeData& d);
};

// One boundary loop as points (arcs and bulges approximated by chords), without repeated points
// and without the closing point; empty when no edge yields a finite point.
std::vector<Point3> HatchLoopPoints(const std::vector<HatchEdge>& edges);

}  // namespace nyhost::dxf
