// Flattening of hatch boundary edges into point loops.
#include "host/dxf_hatch.h"

#include <dl_entities.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace nyhost::dxf {
namespace {

// Start and end angle of an arc edge in the order it is drawn.
void DirectedAngles(const HatchEdge& edge, double& a0, double& a1) {
  a0 = edge.angle1, a1 = edge.angle2;
  if (!edge.ccw) a0 = -a0, a1 = -a1;
  if (edge.ccw && a1 < a0) a1 += 2 * std::numbers::pi;
  if (!edge.ccw && a1 > a0) a1 -= 2 * std::numbers::pi;
}

}  // namespace

HatchEdge HatchEdge::From(const DL_HatchEdgeData& d) {
  HatchEdge e;
  e.type = d.type;
  switch (d.type) {
    case 0:
      e.points = d.vertices;
      break;
    case 1:
      e.x1 = d.x1, e.y1 = d.y1, e.x2 = d.x2, e.y2 = d.y2;
      break;
    case 2:
    case 3: {
      unsigned char ccw;  // may never have been set: read the byte, not the bool
      std::memcpy(&ccw, &d.ccw, 1);
      e.ccw = ccw != 0;
      e.cx = d.cx, e.cy = d.cy, e.angle1 = d.angle1, e.angle2 = d.angle2;
      if (d.type == 2) e.radius = d.radius;
      if (d.type == 3) e.mx = d.mx, e.my = d.my, e.ratio = d.ratio;
      break;
    }
    case 4:
      e.points = d.fitPoints.empty() ? d.controlPoints : d.fitPoints;
      break;
    default:
      break;
  }
  return e;
}

std::vector<Point3> HatchLoopPoints(const std::vector<HatchEdge>& edges) {
  std::vector<Point3> pts;
  bool have_polyline = false;
  auto push = [&](double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    Point3 p{x, y, 0};
    if (pts.empty() || !(pts.back() == p)) pts.push_back(p);
  };
  auto arc = [&](double cx, double cy, double rx, double ry, double rot, double a0, double a1) {
    int n = std::clamp(static_cast<int>(std::ceil(std::abs(a1 - a0) / 0.2)), 1, 64);
    for (int k = 0; k <= n; ++k) {
      double a = a0 + (a1 - a0) * k / n;
      double x = rx * std::cos(a), y = ry * std::sin(a);
      push(cx + x * std::cos(rot) - y * std::sin(rot), cy + x * std::sin(rot) + y * std::cos(rot));
    }
  };
  for (const HatchEdge& edge : edges) {
    switch (edge.type) {
      case 0: {  // polyline loop; dxflib adds seed points as a second polyline edge
        if (have_polyline) break;
        have_polyline = true;
        const auto& v = edge.points;
        for (std::size_t i = 0; i < v.size(); ++i) {
          if (v[i].size() < 2) continue;
          push(v[i][0], v[i][1]);
          double bulge = v[i].size() > 2 ? v[i][2] : 0;
          const auto& next = v[(i + 1) % v.size()];
          if (bulge != 0 && next.size() >= 2) {
            // Arc through the chord from this vertex to the next.
            double dx = next[0] - v[i][0], dy = next[1] - v[i][1];
            double chord = std::hypot(dx, dy), sweep = 4 * std::atan(bulge);
            if (chord <= 0) continue;
            double r = chord / (2 * std::sin(sweep / 2));
            double mx = (v[i][0] + next[0]) / 2, my = (v[i][1] + next[1]) / 2;
            double h = r * std::cos(sweep / 2);
            double cx = mx - h * dy / chord, cy = my + h * dx / chord;
            double a0 = std::atan2(v[i][1] - cy, v[i][0] - cx);
            arc(cx, cy, std::abs(r), std::abs(r), 0, a0, a0 + sweep);
          }
        }
        break;
      }
      case 1:
        push(edge.x1, edge.y1);
        push(edge.x2, edge.y2);
        break;
      case 2: {  // clockwise arcs store mirrored angles
        double a0, a1;
        DirectedAngles(edge, a0, a1);
        arc(edge.cx, edge.cy, edge.radius, edge.radius, 0, a0, a1);
        break;
      }
      case 3: {
        double major = std::hypot(edge.mx, edge.my);
        double a0, a1;
        DirectedAngles(edge, a0, a1);
        arc(edge.cx, edge.cy, major, major * edge.ratio, std::atan2(edge.my, edge.mx), a0, a1);
        break;
      }
      case 4:  // splines: their fit points, else control points
        for (const auto& p : edge.points)
          if (p.size() >= 2) push(p[0], p[1]);
        break;
      default:
        break;
    }
  }
  if (pts.size() > 1 && pts.front() == pts.back()) pts.pop_back();
  return pts;
}

}  // namespace nyhost::dxf
