#include "pointcalc/room_grid.h"

#include <fmt/printf.h>

#include <cmath>

#include "base/module_state.h"
#include "host/entity_geometry.h"
#include "host/host.h"
#include "refdata/luminaire_record.h"
#include "support/ny_ent.h"
#include "support/ny_geo.h"
#include "support/ny_scale.h"

namespace {

nyhost::Entity OutlineEntity(const std::vector<nyhost::Point3>& corners) {
  nyhost::Polyline pl;
  for (const auto& c : corners) {
    nyhost::PolylineVertex v;
    v.x = c.x;
    v.y = c.y;
    // Start and end width -1: the polyline's default width.
    v.start_width = -1.0;
    v.end_width = -1.0;
    pl.vertices.push_back(v);
  }
  pl.closed = true;
  nyhost::Entity e;
  e.data = pl;
  return e;
}

}  // namespace

nyhost::EntityId PickRectangleOutline() {
  nyhost::Host& host = nyhost::Host::Get();
  nyhost::Point3 p1, p2;
  if (host.GetPoint(nullptr, "\n选择起点:", p1) != nyhost::kRtNorm) return nyhost::kNullId;
  if (host.GetCorner(p1, "\n选择终点:", p2) != nyhost::kRtNorm) return nyhost::kNullId;
  p1 = NyGeo::Ucs2Wcs(p1);
  p2 = NyGeo::Ucs2Wcs(p2);
  return NyEnt::AddEntToModalSpace(
      OutlineEntity({{p1.x, p1.y, 0}, {p2.x, p1.y, 0}, {p2.x, p2.y, 0}, {p1.x, p2.y, 0}}));
}

nyhost::EntityId PickPolygonOutline() {
  nyhost::Host& host = nyhost::Host::Get();
  nyhost::Point3 first;
  if (host.GetPoint(nullptr, "\n选择起点:", first) != nyhost::kRtNorm) return nyhost::kNullId;
  std::vector<nyhost::Point3> corners{NyGeo::Ucs2Wcs(first)};
  while (true) {
    nyhost::Point3 next;
    int rc = host.JigPoint("\n选择下一点:", corners, next);
    if (rc == nyhost::kRtNone) break;                    // Enter keeps what was picked
    if (rc != nyhost::kRtNorm) return nyhost::kNullId;  // cancel adds nothing
    corners.push_back(NyGeo::Ucs2Wcs(next));
  }
  nyhost::Entity e = OutlineEntity(corners);
  // Polygon outlines take the drawing's defaults, not the explicit width of the rectangle.
  for (auto& v : e.As<nyhost::Polyline>()->vertices) v.start_width = v.end_width = 0;
  return NyEnt::AddEntToModalSpace(std::move(e));
}

bool RoomPolygon(nyhost::EntityId outline, std::vector<nyhost::Point3>& polygon,
                 nyhost::Extents& extents) {
  polygon.clear();
  extents = {};
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  const nyhost::Entity* e = d && outline != nyhost::kNullId ? d->FindLive(outline) : nullptr;
  const nyhost::Polyline* pl = e ? e->As<nyhost::Polyline>() : nullptr;
  if (!pl) return false;
  for (const auto& v : pl->vertices) polygon.push_back({v.x, v.y, 0});
  if (!polygon.empty()) polygon.push_back(polygon.front());
  extents = nyhost::EntityExtents(*d, *e);
  return true;
}

double GridCandidates(int x_count, int y_count) {
  return (static_cast<double>(x_count) + 1) * (static_cast<double>(y_count) + 1);
}

bool ConfirmCalculationSize(int x_count, int y_count, std::size_t luminaires) {
  const double points = GridCandidates(x_count, y_count);
  const double evaluations = points * static_cast<double>(luminaires);
  const double megabytes = points * kBytesPerGridPoint / (1024.0 * 1024.0);
  nyhost::WindowSystem& windows = nyhost::Host::Get().windows();
  if (points > kMaxGridPoints || evaluations > kMaxEvaluations) {
    windows.MessageBox(
        kMessageCaption,
        fmt::sprintf("你输入的数据不合理!\n<计算密度>%d*%d有%.0f个计算点,%zu个灯具:计算点不能超过"
                     "%.0f个,计算点数×灯具数不能超过%.0f。",
                     x_count, y_count, points, luminaires, kMaxGridPoints, kMaxEvaluations),
        nyhost::MbIcon::kWarning, nyhost::MbButtons::kOk);
    return false;
  }
  if (points <= kAskGridPoints && evaluations <= kAskEvaluations) return true;
  return windows.MessageBox(
             kMessageCaption,
             fmt::sprintf("<计算密度>%d*%d有%.0f个计算点,%zu个灯具,约需%.0fMB内存,可能要耗费很多"
                          "时间。是否继续?",
                          x_count, y_count, points, luminaires, megabytes),
             nyhost::MbIcon::kWarning, nyhost::MbButtons::kYesNo) == nyhost::kIdYes;
}

namespace {

// Twice the area enclosed by the (explicitly closed) polygon as a fraction of its extents'
// width x height: measured from the first vertex and in those units, so that neither far nor
// huge coordinates lose precision or overflow.
double TwiceAreaFraction(const std::vector<nyhost::Point3>& polygon, double width, double height) {
  double sum = 0;
  for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
    const double ax = (polygon[i].x - polygon[0].x) / width;
    const double ay = (polygon[i].y - polygon[0].y) / height;
    const double bx = (polygon[i + 1].x - polygon[0].x) / width;
    const double by = (polygon[i + 1].y - polygon[0].y) / height;
    sum += ax * by - bx * ay;
  }
  return std::fabs(sum);
}

bool Finite(const nyhost::Extents& e) {
  return std::isfinite(e.min.x) && std::isfinite(e.min.y) && std::isfinite(e.max.x) &&
         std::isfinite(e.max.y) && std::isfinite(e.max.x - e.min.x) &&
         std::isfinite(e.max.y - e.min.y);
}

}  // namespace

std::optional<Grid> BuildGrid(const std::vector<nyhost::Point3>& polygon,
                              const nyhost::Extents& extents, int x_count, int y_count) {
  nyhost::Host& host = nyhost::Host::Get();
  if (x_count < 1 || y_count < 1 || GridCandidates(x_count, y_count) > kMaxGridPoints ||
      (!extents.Empty() && !Finite(extents))) {
    host.Print("\n你输入的数据不合理!");
    return std::nullopt;
  }
  const double width = extents.Empty() ? 0 : extents.max.x - extents.min.x;
  const double height = extents.Empty() ? 0 : extents.max.y - extents.min.y;
  // Two corners, or corners on one line, enclose nothing even when their extents do.
  if (width < 0.0001 || height < 0.0001 || TwiceAreaFraction(polygon, width, height) <= 1e-9) {
    host.Print("\n房间没有面积!");
    return std::nullopt;
  }
  Grid g;
  g.dx = width / x_count;
  g.dy = height / y_count;
  g.points.reserve(static_cast<std::size_t>(GridCandidates(x_count, y_count)));
  // Repeated addition, as the distribution drawing expects: the last column or row may be lost
  // to rounding. The counters only bound the loops; they never end them before the sums do.
  double u = 0;
  for (int i = 0; i <= x_count && u <= width; ++i, u += g.dx) {
    double v = 0;
    for (int j = 0; j <= y_count && v <= height; ++j, v += g.dy) {
      nyhost::Point3 c{extents.min.x + u, extents.min.y + v, 0};
      if (NyGeo::IsPointInPolygon(polygon, c) != NyGeo::kOutside) g.points.push_back(c);
    }
  }
  return g;
}

std::optional<double> RoomArea(nyhost::EntityId outline) {
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  const nyhost::Entity* e = d && outline != nyhost::kNullId ? d->Find(outline) : nullptr;
  const nyhost::Polyline* pl = e ? e->As<nyhost::Polyline>() : nullptr;
  if (!pl) return std::nullopt;
  const double k = NyScale::GetArchScale(d) * 0.001;
  return nyhost::PolylineArea(*pl) * k * k;
}

void CollectLuminaires(nyhost::EntityId outline, std::vector<LuminaireRecord>& records) {
  records.clear();
  std::vector<nyhost::Point3> polygon;
  nyhost::Extents extents;
  if (!RoomPolygon(outline, polygon, extents)) return;
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  // Index loop: filling a record may ask the user for a substitute curve, and nothing here may
  // rely on the entity vector staying put while that runs.
  for (std::size_t i = 0; i < d->entities().size(); ++i) {
    const nyhost::Entity e = d->entities()[i];
    if (e.erased) continue;
    const auto* ref = e.As<nyhost::BlockReference>();
    if (!ref) continue;
    if (NyGeo::IsPointInPolygon(polygon, ref->position) == NyGeo::kOutside) continue;
    LuminaireRecord rec;
    if (FillLuminaireRecord(e, rec)) records.push_back(rec);
  }
}
