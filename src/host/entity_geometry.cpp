#include "host/entity_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace nyhost {
namespace {

struct Arc {
  Point3 center;
  double radius, start, sweep;  // angles in radians; sweep signed
};

// The arc from a to b with the given bulge (bulge != 0).
Arc ArcOf(const PolylineVertex& a, const PolylineVertex& b) {
  double sweep = 4 * std::atan(a.bulge);
  double chord = std::hypot(b.x - a.x, b.y - a.y);
  double radius = chord / (2 * std::sin(std::fabs(sweep) / 2));
  double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
  // Distance from the chord midpoint to the centre, on the left for positive bulge.
  double sagitta_side = radius * std::cos(sweep / 2);
  double nx = -(b.y - a.y) / chord, ny = (b.x - a.x) / chord;
  double sign = sweep > 0 ? 1 : -1;
  // For |sweep| > pi the cosine is negative and moves the centre to the other side, as needed.
  Point3 c{mx + sign * nx * sagitta_side, my + sign * ny * sagitta_side, 0};
  return {c, radius, std::atan2(a.y - c.y, a.x - c.x), sweep};
}

template <typename F>
void ForEachSegment(const Polyline& pl, F f) {
  std::size_t n = pl.vertices.size();
  if (n < 2) return;
  std::size_t segs = pl.closed ? n : n - 1;
  for (std::size_t i = 0; i < segs; ++i) f(pl.vertices[i], pl.vertices[(i + 1) % n]);
}

bool Degenerate(const PolylineVertex& a, const PolylineVertex& b) {
  return a.bulge == 0 || (a.x == b.x && a.y == b.y);
}

}  // namespace

double PolylineSignedArea(const Polyline& pl) {
  std::size_t n = pl.vertices.size();
  if (n < 2) return 0;
  double area = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const auto& a = pl.vertices[i];
    const auto& b = pl.vertices[(i + 1) % n];
    area += a.x * b.y - b.x * a.y;
  }
  area /= 2;
  // Each bulged segment adds (or removes) its circular segment; the closing segment counts only
  // when the polyline is closed.
  ForEachSegment(pl, [&](const PolylineVertex& a, const PolylineVertex& b) {
    if (Degenerate(a, b)) return;
    Arc arc = ArcOf(a, b);
    double theta = std::fabs(arc.sweep);
    double segment = 0.5 * arc.radius * arc.radius * (theta - std::sin(theta));
    area += arc.sweep > 0 ? segment : -segment;
  });
  return area;
}

double PolylineArea(const Polyline& pl) { return std::fabs(PolylineSignedArea(pl)); }

double PolylinePerimeter(const Polyline& pl) {
  double len = 0;
  ForEachSegment(pl, [&](const PolylineVertex& a, const PolylineVertex& b) {
    if (Degenerate(a, b)) {
      len += std::hypot(b.x - a.x, b.y - a.y);
    } else {
      Arc arc = ArcOf(a, b);
      len += arc.radius * std::fabs(arc.sweep);
    }
  });
  return len;
}

Extents PolylineExtents(const Polyline& pl) {
  Extents e;
  for (const auto& v : pl.vertices) e.Add({v.x, v.y, pl.elevation});
  ForEachSegment(pl, [&](const PolylineVertex& a, const PolylineVertex& b) {
    if (Degenerate(a, b)) return;
    Arc arc = ArcOf(a, b);
    // Add every axis direction (0, 90, 180, 270 degrees) the arc passes through.
    for (int k = -8; k <= 8; ++k) {
      double ang = k * std::numbers::pi / 2;
      double rel = (ang - arc.start) * (arc.sweep > 0 ? 1 : -1);
      rel = std::fmod(rel, 2 * std::numbers::pi);
      if (rel < 0) rel += 2 * std::numbers::pi;
      if (rel <= std::fabs(arc.sweep))
        e.Add({arc.center.x + arc.radius * std::cos(ang), arc.center.y + arc.radius * std::sin(ang),
               pl.elevation});
    }
  });
  return e;
}

bool SegmentMeetsBox(Point3 a, Point3 b, const Extents& box) {
  if (box.Empty()) return false;
  // The segment a + t (b - a), t in [0, 1], cut down to each slab of the box in turn.
  double t0 = 0, t1 = 1;
  const double d[2] = {b.x - a.x, b.y - a.y}, from[2] = {a.x, a.y};
  const double lo[2] = {box.min.x, box.min.y}, hi[2] = {box.max.x, box.max.y};
  for (int k = 0; k < 2; ++k) {
    if (d[k] == 0) {
      if (from[k] < lo[k] || from[k] > hi[k]) return false;
      continue;
    }
    double ta = (lo[k] - from[k]) / d[k], tb = (hi[k] - from[k]) / d[k];
    if (ta > tb) std::swap(ta, tb);
    t0 = std::max(t0, ta);
    t1 = std::min(t1, tb);
    if (t0 > t1) return false;
  }
  return true;
}

Point3 BlockToWorld(const BlockReference& ref, const BlockDefinition& def, Point3 p) {
  double x = (p.x - def.base.x) * ref.scale_x;
  double y = (p.y - def.base.y) * ref.scale_y;
  const double a = ref.rotation_deg * kDegToRad;
  const double c = std::cos(a), s = std::sin(a);
  return {ref.position.x + x * c - y * s, ref.position.y + x * s + y * c,
          ref.position.z + (p.z - def.base.z) * ref.scale_z};
}

const BlockDefinition* BlockWalk::Enter(const BlockReference& ref) {
  const BlockDefinition* def = d_.FindBlock(ref.block);
  if (!def) return nullptr;
  if (std::find(open_.begin(), open_.end(), def) != open_.end() || def->entities.size() > left_) {
    cut_ = true;
    return nullptr;
  }
  left_ -= def->entities.size();
  open_.push_back(def);
  return def;
}

std::vector<std::string> BlockCycle(const Drawing& d) {
  const auto& blocks = d.blocks();
  std::unordered_map<std::string_view, std::size_t> index;
  for (std::size_t i = 0; i < blocks.size(); ++i) index.emplace(blocks[i].name, i);
  // Depth-first without recursion: a file may nest blocks deeper than the stack allows.
  enum : char { kNew, kOpen, kDone };
  std::vector<char> state(blocks.size(), kNew);
  std::vector<std::pair<std::size_t, std::size_t>> stack;  // block, next entity to look at
  for (std::size_t root = 0; root < blocks.size(); ++root) {
    if (state[root] != kNew) continue;
    stack.push_back({root, 0});
    state[root] = kOpen;
    while (!stack.empty()) {
      auto& [block, next] = stack.back();
      const auto& entities = blocks[block].entities;
      if (next == entities.size()) {
        state[block] = kDone;
        stack.pop_back();
        continue;
      }
      const auto* ref = entities[next++].As<BlockReference>();
      auto it = ref ? index.find(ref->block) : index.end();
      if (it == index.end() || state[it->second] == kDone) continue;
      if (state[it->second] == kOpen) {
        std::vector<std::string> chain;
        auto from = std::find_if(stack.begin(), stack.end(),
                                 [&](const auto& s) { return s.first == it->second; });
        for (; from != stack.end(); ++from) chain.push_back(blocks[from->first].name);
        chain.push_back(blocks[it->second].name);
        return chain;
      }
      state[it->second] = kOpen;
      stack.push_back({it->second, 0});
    }
  }
  return {};
}

namespace {

// One measuring pass: the box of each block's contents, in the block's own coordinates, is
// computed once and reused by every reference, so nesting costs no more than the definitions.
struct ExtentsWalk {
  explicit ExtentsWalk(const Drawing& drawing) : d(drawing), walk(drawing) {}
  const Drawing& d;
  BlockWalk walk;
  std::unordered_map<const BlockDefinition*, Extents> boxes;
};

Extents LocalExtents(const Entity& e, ExtentsWalk& walk);

Extents BlockExtents(const BlockReference& ref, ExtentsWalk& walk) {
  const BlockDefinition* def = walk.d.FindBlock(ref.block);
  auto known = def ? walk.boxes.find(def) : walk.boxes.end();
  if (def && known == walk.boxes.end() && walk.walk.Enter(ref)) {
    Extents box;
    for (const auto& child : def->entities)
      if (!child.erased) box.AddBox(LocalExtents(child, walk));
    walk.walk.Leave();
    known = walk.boxes.emplace(def, box).first;
  }
  Extents out;
  if (known == walk.boxes.end() || known->second.Empty()) {
    out.Add(ref.position);
    return out;
  }
  // Transform the box corners; exact for rotations that are multiples of 90 degrees and a
  // conservative box otherwise.
  const Extents& box = known->second;
  for (int i = 0; i < 4; ++i) {
    Point3 corner{i & 1 ? box.max.x : box.min.x, i & 2 ? box.max.y : box.min.y, box.min.z};
    out.Add(BlockToWorld(ref, *def, corner));
  }
  return out;
}

Extents LocalExtents(const Entity& e, ExtentsWalk& walk) {
  Extents out;
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, BlockReference>) {
          out = BlockExtents(v, walk);
        } else if constexpr (std::is_same_v<T, Polyline>) {
          out = PolylineExtents(v);
        } else if constexpr (std::is_same_v<T, Text> || std::is_same_v<T, MText>) {
          std::size_t chars = 0;
          for (unsigned char ch : v.text) chars += (ch & 0xC0) != 0x80;
          double w = v.height * 0.8 * static_cast<double>(chars);
          if constexpr (std::is_same_v<T, Text>) {
            if (v.middle) {
              out.Add({v.position.x - w / 2, v.position.y - v.height / 2, v.position.z});
              out.Add({v.position.x + w / 2, v.position.y + v.height / 2, v.position.z});
              return;
            }
          }
          out.Add(v.position);
          out.Add({v.position.x + w, v.position.y + v.height, v.position.z});
        } else if constexpr (std::is_same_v<T, PointEntity>) {
          out.Add(v.position);
        } else if constexpr (std::is_same_v<T, Line>) {
          out.Add(v.start);
          out.Add(v.end);
        } else if constexpr (std::is_same_v<T, Circle>) {
          out.Add(v.center - Point3{v.radius, v.radius, 0});
          out.Add(v.center + Point3{v.radius, v.radius, 0});
        } else if constexpr (std::is_same_v<T, Solid>) {
          for (const auto& p : v.corners) out.Add(p);
        } else if constexpr (std::is_same_v<T, Hatch>) {
          for (const auto& loop : v.loops)
            for (const auto& p : loop) out.Add(p);
        }
      },
      e.data);
  return out;
}

}  // namespace

Extents EntityExtents(const Drawing& d, const Entity& e) {
  ExtentsWalk walk(d);
  return LocalExtents(e, walk);
}

Extents DrawingExtents(const Drawing& d) {
  ExtentsWalk walk(d);
  Extents out;
  for (const auto& e : d.entities())
    if (!e.erased) out.AddBox(LocalExtents(e, walk));
  return out;
}

}  // namespace nyhost
