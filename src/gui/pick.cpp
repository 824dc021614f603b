#include "gui/pick.h"

#include <cmath>
#include <limits>

#include "host/entity_geometry.h"

namespace nygui {
namespace {

using nyhost::Point3;

double SegmentDistance(Point3 p, Point3 a, Point3 b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double BoxDistance(const nyhost::Extents& e, Point3 p) {
  if (e.Empty()) return std::numeric_limits<double>::infinity();
  double dx = std::max({e.min.x - p.x, 0.0, p.x - e.max.x});
  double dy = std::max({e.min.y - p.y, 0.0, p.y - e.max.y});
  return std::hypot(dx, dy);
}

}  // namespace

bool OnVisibleLayer(const nyhost::Drawing& d, const nyhost::Entity& e) {
  const nyhost::Layer* l = d.FindLayer(e.layer);
  return !l || !(l->off || l->frozen || l->color < 0);
}

double EntityDistance(const nyhost::Drawing& d, const nyhost::Entity& e, Point3 p) {
  if (const auto* line = e.As<nyhost::Line>()) return SegmentDistance(p, line->start, line->end);
  if (const auto* c = e.As<nyhost::Circle>())
    return std::fabs(std::hypot(p.x - c->center.x, p.y - c->center.y) - c->radius);
  if (const auto* pl = e.As<nyhost::Polyline>()) {
    std::size_t n = pl->vertices.size();
    if (n == 1) return std::hypot(p.x - pl->vertices[0].x, p.y - pl->vertices[0].y);
    double best = std::numeric_limits<double>::infinity();
    std::size_t segs = pl->closed ? n : n - 1;
    for (std::size_t i = 0; i < segs; ++i) {
      const auto& a = pl->vertices[i];
      const auto& b = pl->vertices[(i + 1) % n];
      // Bulged segments are measured by their chord; close enough for picking.
      best = std::min(best, SegmentDistance(p, {a.x, a.y, 0}, {b.x, b.y, 0}));
    }
    return best;
  }
  return BoxDistance(nyhost::EntityExtents(d, e), p);
}

nyhost::EntityId PickEntity(const nyhost::Drawing& d, Point3 p, double tolerance,
                            const nyhost::EntityFilter& filter) {
  nyhost::EntityId best = nyhost::kNullId;
  double best_distance = tolerance;
  for (auto it = d.entities().rbegin(); it != d.entities().rend(); ++it) {
    if (it->erased || !OnVisibleLayer(d, *it)) continue;
    if (filter && !filter(*it)) continue;
    double dist = EntityDistance(d, *it, p);
    if (dist < best_distance || (best == nyhost::kNullId && dist <= tolerance)) {
      best = it->id;
      best_distance = dist;
    }
  }
  return best;
}

std::vector<nyhost::EntityId> SelectInBox(const nyhost::Drawing& d, Point3 a, Point3 b,
                                          bool crossing, const nyhost::EntityFilter& filter) {
  double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
  double y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
  std::vector<nyhost::EntityId> ids;
  for (const auto& e : d.entities()) {
    if (e.erased || !OnVisibleLayer(d, e)) continue;
    if (filter && !filter(e)) continue;
    nyhost::Extents x = nyhost::EntityExtents(d, e);
    if (x.Empty()) continue;
    bool inside = x.min.x >= x0 && x.max.x <= x1 && x.min.y >= y0 && x.max.y <= y1;
    bool touching = x.max.x >= x0 && x.min.x <= x1 && x.max.y >= y0 && x.min.y <= y1;
    if (inside || (crossing && touching)) ids.push_back(e.id);
  }
  return ids;
}

}  // namespace nygui
