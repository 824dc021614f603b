#include "draw/distribution.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "draw/contour.h"
#include "draw/scalar_grid.h"
#include "host/entity_geometry.h"
#include "support/ny_xdata.h"

namespace nydraw {
namespace {

using nyhost::Entity;
using nyhost::Point3;

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxLevels = 200;

Entity Make(nyhost::EntityData data, const std::string& layer, int colour) {
  Entity e;
  e.layer = layer;
  e.color = colour;
  e.data = std::move(data);
  return e;
}

Entity Label(Point3 at, double height, double rotation, std::string text, const std::string& layer,
             int colour, bool middle) {
  nyhost::Text t;
  t.position = at;
  t.height = height;
  t.rotation = rotation;
  t.text = std::move(text);
  t.middle = middle;
  return Make(t, layer, colour);
}

// Colour of a value: that of the highest level not above it (the lowest for values below).
int ColourOf(const Legend& legend, double v) {
  auto it = std::upper_bound(legend.levels.begin(), legend.levels.end(), v);
  const std::size_t k = it == legend.levels.begin() ? 0 : it - legend.levels.begin() - 1;
  return legend.colours[k];
}

double Step(const std::vector<double>& axis) {
  double s = 0;
  for (std::size_t k = 1; k < axis.size(); ++k)
    s = s == 0 ? axis[k] - axis[k - 1] : std::min(s, axis[k] - axis[k - 1]);
  return s;
}

// Round step of about a tenth of the span: 1, 2 or 5 times a power of ten.
double NiceStep(double span) {
  const double raw = span / 10;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (raw <= m * p * 1.0000001) return m * p;
  return 10 * p;
}

void IsolineLabels(const ContourLine& line, double level, double height, double spacing,
                   const std::string& layer, int colour, std::vector<Entity>& out) {
  std::vector<Point3> pts = line.points;
  if (line.closed && !pts.empty()) pts.push_back(pts.front());
  double length = 0;
  for (std::size_t k = 1; k < pts.size(); ++k) length += nyhost::Distance2d(pts[k - 1], pts[k]);
  // Too short to carry its value legibly.
  if (length < 3 * height) return;
  const int count = std::max(1, static_cast<int>(length / spacing));
  const double gap = length / count;
  double next = gap / 2, run = 0;
  for (std::size_t k = 1; k < pts.size() && next < length; ++k) {
    const double seg = nyhost::Distance2d(pts[k - 1], pts[k]);
    while (seg > 0 && next <= run + seg) {
      const double f = (next - run) / seg;
      const Point3 at = pts[k - 1] + (pts[k] - pts[k - 1]) * f;
      double angle = std::atan2(pts[k].y - pts[k - 1].y, pts[k].x - pts[k - 1].x);
      // Upright for the reader.
      if (angle > kPi / 2) angle -= kPi;
      if (angle <= -kPi / 2) angle += kPi;
      out.push_back(
          Label(at, height, angle * nyhost::kRadToDeg, LevelText(level), layer, colour, true));
      next += gap;
    }
    run += seg;
  }
}

// Moves a legend entity (solids and texts only).
void Shift(Entity& e, double dx, double dy) {
  if (auto* t = e.As<nyhost::Text>()) t->position.x += dx, t->position.y += dy;
  if (auto* s = e.As<nyhost::Solid>())
    for (auto& c : s->corners) c.x += dx, c.y += dy;
}

// The legend is laid out with its top left corner at the origin, measured, and moved to the
// first place beside the room where it covers nothing.
void LegendEntities(const DrawRequest& r, const Legend& legend, const nyhost::Extents& ext,
                    std::vector<Entity>& out) {
  const double room_h = ext.max.y - ext.min.y;
  const std::size_t rows = legend.levels.size() + 4;
  const double h = std::min(3.5 * r.unit, room_h / (1.6 * static_cast<double>(rows)));
  const double row = 1.6 * h;
  double y = -h;
  const std::string& layer = r.point_layer;
  std::vector<Entity> items;
  items.push_back(
      Label({0, y, 0}, h, 0, r.cal_type == 2 ? "统一眩光" : "照度 (lx)", r.text_layer, 7, false));
  for (std::size_t k = legend.levels.size(); k-- > 0;) {
    y -= row;
    nyhost::Solid s;
    s.corners = {Point3{0, y, 0}, Point3{2 * h, y, 0}, Point3{0, y + 1.2 * h, 0},
                 Point3{2 * h, y + 1.2 * h, 0}};
    items.push_back(Make(s, layer, legend.colours[k]));
    items.push_back(Label({2.6 * h, y + 0.1 * h, 0}, h, 0, LevelText(legend.levels[k]),
                          r.text_layer, 7, false));
  }
  const char* unit = r.cal_type == 2 ? "" : " lx";
  y -= 1.5 * row;
  items.push_back(
      Label({0, y, 0}, 0.8 * h, 0,
            r.range_type == 1
                ? fmt::format("效果范围 {:g}~{:g}{}", r.effect.range_min, r.effect.range_max, unit)
                : fmt::format("计算范围 {:.1f}~{:.1f}{}", r.cal_min, r.cal_max, unit),
            r.text_layer, 7, false));
  y -= row;
  items.push_back(Label({0, y, 0}, 0.8 * h, 0, "效果: " + r.effect.name, r.text_layer, 7, false));

  const nyhost::Drawing no_blocks;  // texts and solids are measured without any
  nyhost::Extents box;
  for (const auto& e : items) box.AddBox(nyhost::EntityExtents(no_blocks, e));
  const double w = box.max.x - box.min.x, tall = box.max.y - box.min.y, gap = 3 * h;
  // Lower left corners to try.
  std::vector<Point3> corners = {{ext.max.x + gap, ext.max.y - tall, 0},
                                 {ext.min.x - gap - w, ext.max.y - tall, 0},
                                 {ext.min.x, ext.min.y - gap - tall, 0},
                                 {ext.min.x, ext.max.y + gap, 0}};
  for (int k = 1; r.occupied && k <= 200; ++k)
    corners.push_back({ext.max.x + gap + k * (w + gap), ext.max.y - tall, 0});
  Point3 at = corners.front();
  for (const auto& c : corners) {
    nyhost::Extents place;
    place.Add(c);
    place.Add({c.x + w, c.y + tall, 0});
    if (!r.occupied || !r.occupied(place)) {
      at = c;
      break;
    }
  }
  for (auto& e : items) {
    Shift(e, at.x - box.min.x, at.y - box.min.y);
    out.push_back(std::move(e));
  }
}

}  // namespace

std::string LevelText(double level) {
  if (std::fabs(level - std::round(level)) < 1e-9) return fmt::format("{:.0f}", level);
  return fmt::format("{:.1f}", level);
}

Legend MakeLegend(const DrawRequest& r) {
  Legend legend;
  double step = 10;
  if (r.range_type == 1) {
    legend.lo = r.effect.range_min;
    legend.hi = r.effect.range_max;
    step = NiceStep(legend.hi - legend.lo);
  } else {
    double sum = 0;
    for (const auto& p : r.points) sum += p.z;
    const double mean = r.points.empty() ? 0 : sum / static_cast<double>(r.points.size());
    legend.lo = std::floor(r.cal_min * 0.1) * 10;
    legend.hi = (std::floor(r.cal_max * 0.1) + 1) * 10;
    step = 10 * std::floor((10 + std::trunc(mean / 7)) * 0.1);
    if (step <= 0) step = 10;
  }
  if (!(legend.hi > legend.lo)) return legend;
  const int n = std::min(kMaxLevels, static_cast<int>((legend.hi - legend.lo) / step + 1e-9) + 1);
  for (int i = 0; i < n; ++i) legend.levels.push_back(legend.lo + step * i);
  for (int i = 0; i < n; ++i)
    legend.colours.push_back(EffectColourIndex(r.effect, n > 1 ? double(i) / (n - 1) : 0));
  return legend;
}

std::vector<Entity> BuildDistribution(const DrawRequest& r) {
  std::vector<Entity> out;
  if (r.points.empty()) return out;
  const Legend legend = MakeLegend(r);
  if (legend.levels.empty()) return out;

  nyhost::Extents cover;
  for (const auto& p : r.outline) cover.Add(p);
  ScalarGrid grid = GridFromPoints(r.points, cover);
  nyhost::Extents ext = cover;
  for (const auto& p : r.points) ext.Add({p.x, p.y, 0});
  ext.min.z = ext.max.z = 0;
  const Clip clip(ext);
  const double size = std::min(ext.max.x - ext.min.x, ext.max.y - ext.min.y);
  const double line_text = std::min(2.5 * r.unit, size / 25);

  if (r.mode == DrawMode::kAreas && !grid.Empty()) {
    const Loop whole = {{grid.xs.front(), grid.ys.front(), 0},
                        {grid.xs.back(), grid.ys.front(), 0},
                        {grid.xs.back(), grid.ys.back(), 0},
                        {grid.xs.front(), grid.ys.back(), 0}};
    std::vector<Loop> below = {whole};
    for (std::size_t k = 0; k < legend.levels.size(); ++k) {
      std::vector<Loop> above;
      if (k + 1 < legend.levels.size()) above = SuperlevelLoops(grid, legend.levels[k + 1]);
      nyhost::Hatch h;
      h.loops = clip.Band(below, above, r.outline);
      if (!h.loops.empty()) out.push_back(Make(h, r.point_layer, legend.colours[k]));
      below = std::move(above);
    }
  }
  if ((r.mode == DrawMode::kLines || (r.mode == DrawMode::kAreas && r.labels)) && !grid.Empty()) {
    for (std::size_t k = 0; k < legend.levels.size(); ++k) {
      const double level = legend.levels[k];
      for (const auto& line : clip.Lines(Isolines(grid, level), r.outline)) {
        // Over colour areas the labelled lines are drawn plain, as the areas' borders.
        nyhost::Polyline pl;
        pl.closed = line.closed;
        for (const auto& p : line.points) pl.vertices.push_back({p.x, p.y});
        out.push_back(Make(pl, r.point_layer, r.mode == DrawMode::kLines ? legend.colours[k] : 7));
        IsolineLabels(line, level, line_text, std::max(size / 2, 20 * line_text), r.text_layer,
                      r.mode == DrawMode::kLines ? legend.colours[k] : 7, out);
      }
    }
  }
  if (r.mode == DrawMode::kPoints) {
    const double pdsize = 0.3 * r.unit;
    const double dx = Step(grid.xs), dy = Step(grid.ys);
    for (std::size_t i = 0; i < r.points.size(); ++i) {
      const auto& p = r.points[i];
      out.push_back(Make(nyhost::PointEntity{{p.x, p.y, 0}}, r.point_layer, ColourOf(legend, p.z)));
      if (i < r.point_texts.size() && !r.point_texts[i].empty())
        NyXData::SetEntXData(out.back(), kPointTextKey, r.point_texts[i]);
    }
    if (r.labels) {
      // Beside its point, clear of the point mark, and no wider than one grid step.
      double h = 2.5 * r.unit;
      if (dx > 0) h = std::min(h, (dx - pdsize) / 4.0);
      if (dy > 0) h = std::min(h, 0.45 * dy);
      h = std::max(h, 0.05 * r.unit);
      const double off = 0.6 * pdsize + 0.15 * h;
      for (const auto& p : r.points)
        out.push_back(Label({p.x + off, p.y + off, 0}, h, 0, fmt::format("{:.1f}", p.z),
                            r.text_layer, 7, false));
    }
  }
  LegendEntities(r, legend, ext, out);
  return out;
}

}  // namespace nydraw
