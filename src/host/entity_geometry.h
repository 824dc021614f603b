// Measures of entities computed the way CAD programs compute them (bulged arcs included).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/drawing.h"

namespace nyhost {

// Signed area is positive for counter-clockwise outlines; Area returns its magnitude. An open
// polyline is measured as if closed, as CAD programs report it.
double PolylineSignedArea(const Polyline& pl);
double PolylineArea(const Polyline& pl);
double PolylinePerimeter(const Polyline& pl);  // open polylines: length
Extents PolylineExtents(const Polyline& pl);

// Geometric extents of an entity in model space; block references are measured from their
// definition's geometry transformed by position, scale and rotation. Texts give their insertion
// point box (height x estimated width).
Extents EntityExtents(const Drawing& d, const Entity& e);
Extents DrawingExtents(const Drawing& d);

// Expanding nested blocks with two guards: a block already open further up is not entered again
// (a block that contains itself), and the entities one walk visits are bounded, since nesting
// multiplies them (k references per block, n levels deep, cost k^n).
class BlockWalk {
 public:
  static constexpr std::size_t kMaxEntities = 2'000'000;
  explicit BlockWalk(const Drawing& d, std::size_t max_entities = kMaxEntities)
      : d_(d), left_(max_entities) {}
  // The definition `ref` shows, its entities charged to the walk; null when the block is
  // unknown, open further up or the walk is spent. Each non-null Enter is matched by a Leave.
  const BlockDefinition* Enter(const BlockReference& ref);
  void Leave() { open_.pop_back(); }
  // Whether the walk left something out.
  bool cut() const { return cut_; }

 private:
  const Drawing& d_;
  std::vector<const BlockDefinition*> open_;
  std::size_t left_;
  bool cut_ = false;
};

// A chain of block names in which the first block contains itself through the others
// ("A", "B", "A"), or empty when no block does.
std::vector<std::string> BlockCycle(const Drawing& d);

// Whether the segment from a to b touches the box (x and y only).
bool SegmentMeetsBox(Point3 a, Point3 b, const Extents& box);

// Transform of a block reference applied to a point of its definition.
Point3 BlockToWorld(const BlockReference& ref, const BlockDefinition& def, Point3 p);

}  // namespace nyhost
