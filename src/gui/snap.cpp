#include "gui/snap.h"

#include <cmath>
#include <limits>

#include "gui/pick.h"

namespace nygui {
namespace {

using nyhost::Point3;

struct Segment {
  Point3 a, b;
};

Point3 Lerp(Point3 a, Point3 b, double t) {
  return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), 0};
}
double Dist(Point3 a, Point3 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Parameter of the foot of p on the line through the segment (unclamped).
double FootParameter(const Segment& s, Point3 p) {
  const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y, len2 = dx * dx + dy * dy;
  return len2 > 0 ? ((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / len2 : 0;
}

std::optional<Point3> Intersect(const Segment& s, const Segment& t) {
  const double rx = s.b.x - s.a.x, ry = s.b.y - s.a.y, sx = t.b.x - t.a.x, sy = t.b.y - t.a.y;
  const double den = rx * sy - ry * sx;
  if (std::fabs(den) < 1e-12 * (std::hypot(rx, ry) * std::hypot(sx, sy) + 1e-300)) return {};
  const double u = ((t.a.x - s.a.x) * sy - (t.a.y - s.a.y) * sx) / den;
  const double v = ((t.a.x - s.a.x) * ry - (t.a.y - s.a.y) * rx) / den;
  constexpr double kEps = 1e-9;
  if (u < -kEps || u > 1 + kEps || v < -kEps || v > 1 + kEps) return {};
  return Lerp(s.a, s.b, u);
}

double HalfWidth(const nyhost::Polyline& pl) {
  double w = pl.constant_width;
  for (const auto& v : pl.vertices) w = std::max({w, v.start_width, v.end_width});
  return w / 2;
}

// One face: the polyline offset by `off` (left positive), mitred where segments meet.
std::vector<Point3> Offset(const std::vector<Point3>& v, bool closed, double off) {
  const std::size_t n = v.size();
  auto normal = [&](std::size_t i) {  // left normal of the segment from vertex i
    const Point3 a = v[i], b = v[(i + 1) % n];
    const double len = Dist(a, b);
    return len > 0 ? Point3{-(b.y - a.y) / len, (b.x - a.x) / len, 0} : Point3{0, 0, 0};
  };
  std::vector<Point3> out;
  for (std::size_t i = 0; i < n; ++i) {
    const bool first = i == 0 && !closed, last = i + 1 == n && !closed;
    Point3 n1 = first ? normal(0) : normal((i + n - 1) % n);
    Point3 n2 = last ? normal(n - 2) : normal(i);
    // The mitre: along the bisector of the two normals, long enough to keep both offsets.
    Point3 m{n1.x + n2.x, n1.y + n2.y, 0};
    const double dot = m.x * n2.x + m.y * n2.y;
    if (std::fabs(dot) < 1e-9) m = n2;
    const double k = std::fabs(dot) < 1e-9 ? off : off / dot;
    out.push_back({v[i].x + m.x * k, v[i].y + m.y * k, 0});
  }
  return out;
}

// The straight pieces and exact points an entity offers to snapping.
void Collect(const nyhost::Entity& e, std::vector<Segment>& segs, std::vector<SnapHit>& points) {
  if (const auto* line = e.As<nyhost::Line>()) {
    segs.push_back({line->start, line->end});
    points.push_back({line->start, kSnapEndpoint});
    points.push_back({line->end, kSnapEndpoint});
  } else if (const auto* pl = e.As<nyhost::Polyline>()) {
    std::vector<Point3> v;
    for (const auto& pv : pl->vertices) v.push_back({pv.x, pv.y, 0});
    auto add_chain = [&](const std::vector<Point3>& c, bool closed) {
      for (const auto& p : c) points.push_back({p, kSnapEndpoint});
      const std::size_t n = c.size(), count = closed ? n : (n ? n - 1 : 0);
      for (std::size_t i = 0; i < count; ++i) segs.push_back({c[i], c[(i + 1) % n]});
    };
    add_chain(v, pl->closed);
    if (const double half = HalfWidth(*pl); half > 0 && v.size() >= 2) {
      add_chain(Offset(v, pl->closed, half), pl->closed);
      add_chain(Offset(v, pl->closed, -half), pl->closed);
    }
  } else if (const auto* c = e.As<nyhost::Circle>()) {
    points.push_back({c->center, kSnapCenter});
  } else if (const auto* ref = e.As<nyhost::BlockReference>()) {
    points.push_back({ref->position, kSnapInsertion});
  } else if (const auto* t = e.As<nyhost::Text>()) {
    points.push_back({t->position, kSnapInsertion});
  } else if (const auto* m = e.As<nyhost::MText>()) {
    points.push_back({m->position, kSnapInsertion});
  } else if (const auto* pt = e.As<nyhost::PointEntity>()) {
    points.push_back({pt->position, kSnapInsertion});
  }
}

}  // namespace

const std::vector<SnapModeInfo>& SnapModes() {
  static const std::vector<SnapModeInfo> modes = {
      {kSnapEndpoint, "端点"},  {kSnapMidpoint, "中点"},    {kSnapIntersection, "交点"},
      {kSnapCenter, "圆心"},    {kSnapInsertion, "插入点"}, {kSnapPerpendicular, "垂足"},
      {kSnapNearest, "最近点"},
  };
  return modes;
}

std::optional<SnapHit> FindSnap(const nyhost::Drawing& d, Point3 p, double tolerance,
                                unsigned modes, const Point3* from) {
  std::vector<Segment> segs, near;
  std::vector<SnapHit> points;
  for (const auto& e : d.entities()) {
    if (e.erased || !OnVisibleLayer(d, e)) continue;
    Collect(e, segs, points);
  }
  for (const auto& s : segs) {
    const double t = std::clamp(FootParameter(s, p), 0.0, 1.0);
    if (Dist(Lerp(s.a, s.b, t), p) > tolerance) continue;
    near.push_back(s);
    points.push_back({Lerp(s.a, s.b, 0.5), kSnapMidpoint});
    if (from) {
      const double f = FootParameter(s, *from);
      if (f >= 0 && f <= 1) points.push_back({Lerp(s.a, s.b, f), kSnapPerpendicular});
    }
  }
  for (std::size_t i = 0; i < near.size(); ++i)
    for (std::size_t j = i + 1; j < near.size(); ++j)
      if (auto x = Intersect(near[i], near[j])) points.push_back({*x, kSnapIntersection});

  std::optional<SnapHit> best;
  double best_distance = tolerance;
  for (const auto& h : points) {
    if (!(modes & h.mode)) continue;
    const double dist = Dist(h.point, p);
    // Ties go to the first found: ends before the midpoints and crossings that share them.
    if (dist < best_distance || (!best && dist <= tolerance)) {
      best_distance = dist;
      best = SnapHit{{h.point.x, h.point.y, 0}, h.mode};
    }
  }
  if (best || !(modes & kSnapNearest)) return best;
  for (const auto& s : near) {
    Point3 q = Lerp(s.a, s.b, std::clamp(FootParameter(s, p), 0.0, 1.0));
    if (const double dist = Dist(q, p); dist <= best_distance) {
      best_distance = dist;
      best = SnapHit{q, kSnapNearest};
    }
  }
  return best;
}

}  // namespace nygui
