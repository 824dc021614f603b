#include "draw/clip.h"

#include <algorithm>
#include <cmath>
#include <polyclipping/clipper.hpp>

#include "support/ny_geo.h"

namespace nydraw {
namespace {

namespace cl = ClipperLib;

}  // namespace

Clip::Clip(const nyhost::Extents& frame) {
  ox_ = frame.Empty() ? 0 : frame.min.x;
  oy_ = frame.Empty() ? 0 : frame.min.y;
  const double span =
      frame.Empty() ? 1 : std::max({frame.max.x - frame.min.x, frame.max.y - frame.min.y, 1e-9});
  // A billion steps across the frame: far below drawing precision, far inside 64-bit range.
  scale_ = 1e9 / span;
}

namespace {

cl::Path ToPath(const Loop& loop, double ox, double oy, double scale) {
  cl::Path path;
  path.reserve(loop.size());
  for (const auto& p : loop)
    path.emplace_back(static_cast<cl::cInt>(std::llround((p.x - ox) * scale)),
                      static_cast<cl::cInt>(std::llround((p.y - oy) * scale)));
  return path;
}

Loop ToLoop(const cl::Path& path, double ox, double oy, double scale) {
  Loop loop;
  loop.reserve(path.size());
  for (const auto& q : path)
    loop.push_back(
        {static_cast<double>(q.X) / scale + ox, static_cast<double>(q.Y) / scale + oy, 0});
  return loop;
}

}  // namespace

std::vector<Loop> Clip::Band(const std::vector<Loop>& a, const std::vector<Loop>& b,
                             const Loop& outline) const {
  cl::Paths pa, pb, diff;
  for (const auto& l : a) pa.push_back(ToPath(l, ox_, oy_, scale_));
  for (const auto& l : b) pb.push_back(ToPath(l, ox_, oy_, scale_));
  cl::Clipper c;
  c.AddPaths(pa, cl::ptSubject, true);
  if (!pb.empty()) c.AddPaths(pb, cl::ptClip, true);
  c.Execute(cl::ctDifference, diff, cl::pftNonZero, cl::pftNonZero);
  if (outline.size() >= 3 && !diff.empty()) {
    cl::Clipper cut;
    cut.AddPaths(diff, cl::ptSubject, true);
    cut.AddPath(ToPath(outline, ox_, oy_, scale_), cl::ptClip, true);
    cl::Paths inside;
    cut.Execute(cl::ctIntersection, inside, cl::pftNonZero, cl::pftNonZero);
    diff.swap(inside);
  }
  std::vector<Loop> out;
  out.reserve(diff.size());
  for (const auto& p : diff) out.push_back(ToLoop(p, ox_, oy_, scale_));
  return out;
}

std::vector<ContourLine> Clip::Lines(std::vector<ContourLine> lines, const Loop& outline) const {
  if (outline.size() < 3) return lines;
  std::vector<ContourLine> out;
  const cl::Path room = ToPath(outline, ox_, oy_, scale_);
  for (auto& line : lines) {
    bool inside = true;
    for (const auto& p : line.points)
      if (NyGeo::IsPointInPolygon(outline, p) == NyGeo::kOutside) {
        inside = false;
        break;
      }
    if (inside) {
      out.push_back(std::move(line));
      continue;
    }
    cl::Path path = ToPath(line.points, ox_, oy_, scale_);
    if (line.closed && !path.empty()) path.push_back(path.front());
    cl::Clipper c;
    c.AddPath(path, cl::ptSubject, false);
    c.AddPath(room, cl::ptClip, true);
    cl::PolyTree tree;
    c.Execute(cl::ctIntersection, tree, cl::pftNonZero, cl::pftNonZero);
    cl::Paths parts;
    cl::OpenPathsFromPolyTree(tree, parts);
    for (const auto& part : parts)
      if (part.size() >= 2) out.push_back({ToLoop(part, ox_, oy_, scale_), false});
  }
  return out;
}

}  // namespace nydraw
