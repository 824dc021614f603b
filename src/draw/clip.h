// Polygon operations of the distribution drawing (over the packaged Clipper library): areas
// between two superlevel regions, and areas and lines cut to a room outline.
#pragma once

#include <vector>

#include "draw/contour.h"
#include "host/geometry.h"

namespace nydraw {

using Loop = std::vector<nyhost::Point3>;

// Integer coordinates of the clipper around one frame of reference.
class Clip {
 public:
  // `frame`: the extents everything handled lies in.
  explicit Clip(const nyhost::Extents& frame);

  // (a minus b) cut to `outline` (no cut when outline is empty). Loops of a and b follow the
  // non-zero rule; the result's loops are to be filled by the even-odd rule.
  std::vector<Loop> Band(const std::vector<Loop>& a, const std::vector<Loop>& b,
                         const Loop& outline) const;

  // The parts of the lines inside `outline` (closed: its first point repeated at the end); a line
  // wholly inside stays as it is.
  std::vector<ContourLine> Lines(std::vector<ContourLine> lines, const Loop& outline) const;

 private:
  double ox_, oy_, scale_;
};

}  // namespace nydraw
