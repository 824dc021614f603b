#include "draw/scalar_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace nydraw {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Sorted distinct coordinates, merging runs closer than tol.
std::vector<double> Distinct(std::vector<double> v, double tol) {
  std::sort(v.begin(), v.end());
  std::vector<double> out;
  for (double x : v)
    if (out.empty() || x - out.back() > tol) out.push_back(x);
  return out;
}

std::size_t IndexOf(const std::vector<double>& axis, double x, double tol) {
  auto it = std::lower_bound(axis.begin(), axis.end(), x - tol);
  return static_cast<std::size_t>(it - axis.begin());
}

// Adds a column at the cover's edge when the lattice stops short of it by less than 1.5 steps.
void Reach(std::vector<double>& axis, double lo, double hi, double tol) {
  if (axis.size() < 2) return;
  const double step_lo = axis[1] - axis[0];
  const double step_hi = axis[axis.size() - 1] - axis[axis.size() - 2];
  if (axis.front() - lo > tol && axis.front() - lo < 1.5 * step_lo) axis.insert(axis.begin(), lo);
  if (hi - axis.back() > tol && hi - axis.back() < 1.5 * step_hi) axis.push_back(hi);
}

}  // namespace

ScalarGrid GridFromPoints(const std::vector<nyhost::Point3>& points, const nyhost::Extents& cover) {
  ScalarGrid g;
  if (points.empty()) return g;
  nyhost::Extents ext;
  std::vector<double> xs, ys;
  xs.reserve(points.size());
  ys.reserve(points.size());
  for (const auto& p : points) {
    ext.Add(p);
    xs.push_back(p.x);
    ys.push_back(p.y);
  }
  const double tol = 1e-6 * std::max({ext.max.x - ext.min.x, ext.max.y - ext.min.y, 1e-6});
  g.xs = Distinct(std::move(xs), tol);
  g.ys = Distinct(std::move(ys), tol);
  if (!cover.Empty()) {
    Reach(g.xs, cover.min.x, cover.max.x, tol);
    Reach(g.ys, cover.min.y, cover.max.y, tol);
  }
  g.values.assign(g.nx() * g.ny(), kNaN);
  for (const auto& p : points) {
    const std::size_t i = IndexOf(g.xs, p.x, tol), j = IndexOf(g.ys, p.y, tol);
    if (i < g.nx() && j < g.ny()) g.values[j * g.nx() + i] = p.z;
  }
  FillMissing(g);
  return g;
}

void FillMissing(ScalarGrid& g) {
  const std::size_t nx = g.nx(), ny = g.ny();
  std::vector<std::size_t> missing;
  for (std::size_t k = 0; k < g.values.size(); ++k)
    if (std::isnan(g.values[k])) missing.push_back(k);
  if (missing.size() == g.values.size()) return;
  std::vector<std::pair<std::size_t, double>> ring;
  while (!missing.empty()) {
    ring.clear();
    std::vector<std::size_t> still;
    for (std::size_t k : missing) {
      const std::size_t i = k % nx, j = k / nx;
      double sum = 0;
      int n = 0;
      auto take = [&](std::size_t kk) {
        if (!std::isnan(g.values[kk])) sum += g.values[kk], ++n;
      };
      if (i > 0) take(k - 1);
      if (i + 1 < nx) take(k + 1);
      if (j > 0) take(k - nx);
      if (j + 1 < ny) take(k + nx);
      if (n > 0)
        ring.emplace_back(k, sum / n);
      else
        still.push_back(k);
    }
    for (const auto& [k, v] : ring) g.values[k] = v;
    missing.swap(still);
  }
}

}  // namespace nydraw
