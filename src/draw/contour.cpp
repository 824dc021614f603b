#include "draw/contour.h"

#include <cstdint>

namespace nydraw {
namespace {

using Key = std::int32_t;

// Keys of the points a contour passes: the crossing on the edge from node k to its right
// neighbour (2k) or to its upper neighbour (2k + 1), or node k itself (2N + k).
class Tracer {
 public:
  Tracer(const ScalarGrid& g, double level)
      : g_(g), a_(level), n_(g.nx() * g.ny()), next_(3 * n_, -1), has_prev_(3 * n_, 0) {}

  void CellSegments() {
    const std::size_t nx = g_.nx(), ny = g_.ny();
    for (std::size_t j = 0; j + 1 < ny; ++j) {
      for (std::size_t i = 0; i + 1 < nx; ++i) {
        const std::size_t k = j * nx + i;
        const double v[4] = {g_.values[k], g_.values[k + 1], g_.values[k + nx + 1],
                             g_.values[k + nx]};
        const bool h[4] = {v[0] >= a_, v[1] >= a_, v[2] >= a_, v[3] >= a_};
        if (h[0] == h[1] && h[1] == h[2] && h[2] == h[3]) continue;
        // Edges walked counter-clockwise: bottom, right, top, left.
        const Key key[4] = {Edge(k, false), Edge(k + 1, true), Edge(k + nx, false), Edge(k, true)};
        int leave[2], enter[2], nl = 0, ne = 0;
        for (int m = 0; m < 4; ++m) {
          const bool from = h[m], to = h[(m + 1) % 4];
          if (from && !to) leave[nl++] = m;
          if (!from && to) enter[ne++] = m;
        }
        if (nl == 1) {
          Link(key[leave[0]], key[enter[0]]);
          continue;
        }
        // Saddle: a high centre joins the high corners, so each leaving crossing turns to the
        // next entering one counter-clockwise; a low centre joins the low corners.
        const bool high_centre = (v[0] + v[1] + v[2] + v[3]) / 4 >= a_;
        for (int s = 0; s < 2; ++s) {
          const int m = leave[s];
          const int target = high_centre ? (m + 1) % 4 : (m + 3) % 4;
          Link(key[m], key[target]);
        }
      }
    }
  }

  // The lattice border walked counter-clockwise, closing the superlevel region.
  void BorderSegments() {
    const std::size_t nx = g_.nx(), ny = g_.ny();
    std::vector<std::size_t> ring;
    for (std::size_t i = 0; i + 1 < nx; ++i) ring.push_back(i);
    for (std::size_t j = 0; j + 1 < ny; ++j) ring.push_back(j * nx + nx - 1);
    for (std::size_t i = nx - 1; i > 0; --i) ring.push_back((ny - 1) * nx + i);
    for (std::size_t j = ny - 1; j > 0; --j) ring.push_back(j * nx);
    for (std::size_t r = 0; r < ring.size(); ++r) {
      const std::size_t p = ring[r], q = ring[(r + 1) % ring.size()];
      const bool hp = g_.values[p] >= a_, hq = g_.values[q] >= a_;
      const std::size_t lo = std::min(p, q);
      const Key edge = Edge(lo, std::max(p, q) - lo != 1);
      if (hp && hq) Link(Node(p), Node(q));
      if (hp && !hq) Link(Node(p), edge);
      if (!hp && hq) Link(edge, Node(q));
    }
  }

  std::vector<ContourLine> Chains() {
    std::vector<ContourLine> out;
    // Open chains start where nothing leads in; what is left are closed loops.
    for (Key s : touched_)
      if (!has_prev_[s] && next_[s] >= 0) out.push_back(Follow(s, false));
    for (Key s : touched_)
      if (next_[s] >= 0) out.push_back(Follow(s, true));
    return out;
  }

 private:
  Key Edge(std::size_t k, bool up) const { return static_cast<Key>(2 * k + (up ? 1 : 0)); }
  Key Node(std::size_t k) const { return static_cast<Key>(2 * n_ + k); }

  void Link(Key from, Key to) {
    next_[from] = to;
    has_prev_[to] = 1;
    touched_.push_back(from);
  }

  nyhost::Point3 Position(Key key) const {
    const std::size_t nx = g_.nx();
    if (static_cast<std::size_t>(key) >= 2 * n_) {
      const std::size_t k = static_cast<std::size_t>(key) - 2 * n_;
      return {g_.xs[k % nx], g_.ys[k / nx], 0};
    }
    const std::size_t k = static_cast<std::size_t>(key) / 2;
    const bool up = key % 2 == 1;
    const std::size_t q = up ? k + nx : k + 1;
    const double vp = g_.values[k], vq = g_.values[q];
    const double t = (a_ - vp) / (vq - vp);
    const double x0 = g_.xs[k % nx], y0 = g_.ys[k / nx];
    const double x1 = g_.xs[q % nx], y1 = g_.ys[q / nx];
    return {x0 + t * (x1 - x0), y0 + t * (y1 - y0), 0};
  }

  // Walks the chain from s, consuming its links.
  ContourLine Follow(Key s, bool closed) {
    ContourLine line;
    line.closed = closed;
    Key k = s;
    line.points.push_back(Position(k));
    while (next_[k] >= 0) {
      const Key n = next_[k];
      next_[k] = -1;
      if (n == s) break;
      line.points.push_back(Position(n));
      k = n;
    }
    return line;
  }

  const ScalarGrid& g_;
  double a_;
  std::size_t n_;
  std::vector<Key> next_;
  std::vector<char> has_prev_;
  std::vector<Key> touched_;
};

}  // namespace

std::vector<ContourLine> Isolines(const ScalarGrid& grid, double level) {
  if (grid.Empty()) return {};
  Tracer t(grid, level);
  t.CellSegments();
  return t.Chains();
}

std::vector<std::vector<nyhost::Point3>> SuperlevelLoops(const ScalarGrid& grid, double level) {
  std::vector<std::vector<nyhost::Point3>> loops;
  if (grid.Empty()) return loops;
  Tracer t(grid, level);
  t.CellSegments();
  t.BorderSegments();
  for (auto& line : t.Chains())
    if (line.points.size() >= 3) loops.push_back(std::move(line.points));
  return loops;
}

}  // namespace nydraw
