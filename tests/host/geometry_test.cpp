#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>
#include <numbers>

#include "host/entity_geometry.h"
#include "support/ny_geo.h"

namespace {

using nyhost::Point3;
using nyhost::Polyline;
using nyhost::PolylineVertex;

Polyline Poly(std::vector<PolylineVertex> v, bool closed) {
  Polyline p;
  p.vertices = std::move(v);
  p.closed = closed;
  return p;
}

struct AreaCase {
  const char* name;
  Polyline pl;
  double area, perimeter;
  Point3 min, max;
};

TEST(PolylineMeasures, AreaPerimeterAndExtentsIncludeBulges) {
  const double pi = std::numbers::pi;
  // A 10 x 10 square whose top edge is a half circle bulging outwards (bulge 1 = 180 degrees).
  // Going counter-clockwise, the edge from (10,10) to (0,10) bulges up with bulge +1.
  std::vector<AreaCase> cases = {
      {"square", Poly({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true), 100, 40, {0, 0}, {10, 10}},
      {"clockwise square", Poly({{0, 0}, {0, 10}, {10, 10}, {10, 0}}, true), 100, 40, {0, 0},
       {10, 10}},
      {"half circle cap", Poly({{0, 0}, {10, 0}, {10, 10, 1}, {0, 10}}, true),
       100 + pi * 25 / 2, 30 + pi * 5, {0, 0}, {10, 15}},
      {"half circle cut in", Poly({{0, 0}, {10, 0}, {10, 10, -1}, {0, 10}}, true),
       100 - pi * 25 / 2, 30 + pi * 5, {0, 0}, {10, 10}},
      // Quarter-circle bulge tan(90/4) on a 10-long chord: radius 10/sqrt(2).
      {"quarter arc open", Poly({{0, 0, std::tan(pi / 8)}, {10, 0}}, false),
       (pi / 2 - 1) * 25, pi / 2 * 10 / std::sqrt(2.0), {0, -(10 / std::sqrt(2.0) - 5)},
       {10, 0}},
      {"full circle from two half arcs", Poly({{-5, 0, 1}, {5, 0, 1}}, true), pi * 25, 10 * pi,
       {-5, -5}, {5, 5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(nyhost::PolylineArea(c.pl), c.area, 1e-9);
    EXPECT_NEAR(nyhost::PolylinePerimeter(c.pl), c.perimeter, 1e-9);
    auto e = nyhost::PolylineExtents(c.pl);
    EXPECT_NEAR(e.min.x, c.min.x, 1e-9);
    EXPECT_NEAR(e.min.y, c.min.y, 1e-9);
    EXPECT_NEAR(e.max.x, c.max.x, 1e-9);
    EXPECT_NEAR(e.max.y, c.max.y, 1e-9);
  }
}

TEST(BlockReferenceExtents, ComeFromTheDefinitionTransformed) {
  nyhost::Drawing d;
  nyhost::BlockDefinition def{"灯", {0, 0, 0}, {}};
  nyhost::Entity line;
  line.data = nyhost::Line{{0, 0, 0}, {100, 20, 0}};
  def.entities.push_back(line);
  d.SetBlock(def);
  nyhost::Entity ref;
  nyhost::BlockReference br;
  br.block = "灯";
  br.position = {1000, 500, 0};
  br.rotation_deg = 90;
  br.scale_x = 2;
  ref.data = br;
  auto e = nyhost::EntityExtents(d, ref);
  // x of the definition (0..200 after scale) becomes y; y (0..20) becomes -x.
  EXPECT_NEAR(e.min.x, 980, 1e-9);
  EXPECT_NEAR(e.max.x, 1000, 1e-9);
  EXPECT_NEAR(e.min.y, 500, 1e-9);
  EXPECT_NEAR(e.max.y, 700, 1e-9);

  // A block inside itself is measured once; a walk through nesting that multiplies beyond its
  // bound (ten references per level, eight levels) is cut off instead of visiting it all.
  auto insert = [](std::string block, double x) {
    nyhost::Entity r;
    r.data = nyhost::BlockReference{std::move(block), {x, 0, 0}};
    return r;
  };
  d.SetBlock(
      {"SELF", {0, 0, 0}, {line, insert("SELF", 10), insert("SELF", 20), insert("SELF", 30)}});
  d.Add(insert("SELF", 0));
  d.SetBlock({"L0", {0, 0, 0}, {line}});
  for (int level = 1; level <= 8; ++level)
    d.SetBlock({"L" + std::to_string(level),
                {0, 0, 0},
                std::vector<nyhost::Entity>(10, insert("L" + std::to_string(level - 1), 0))});
  d.Add(insert("L8", 0));  // 10^8 lines through its nesting, measured once per definition
  e = nyhost::DrawingExtents(d);
  EXPECT_EQ(e.min, (Point3{0, 0, 0}));
  EXPECT_EQ(e.max, (Point3{100, 20, 0}));
  EXPECT_EQ(nyhost::BlockCycle(d), (std::vector<std::string>{"SELF", "SELF"}));
  nyhost::BlockWalk walk(d);
  std::function<void(const nyhost::BlockDefinition&)> expand =
      [&](const nyhost::BlockDefinition& b) {
        for (const auto& child : b.entities)
          if (const auto* r = child.As<nyhost::BlockReference>())
            if (const auto* inner = walk.Enter(*r)) expand(*inner), walk.Leave();
      };
  expand(*walk.Enter({"L8"}));
  EXPECT_TRUE(walk.cut());
}

TEST(PointInPolygon, InsideOutsideAndBoundaryWithDrawingTolerance) {
  std::vector<Point3> l_shape = {{0, 0}, {6000, 0}, {6000, 3000}, {3000, 3000}, {3000, 6000},
                                 {0, 6000}};
  struct Case {
    Point3 p;
    int expected;
  } cases[] = {
      {{1000, 1000}, NyGeo::kInside},      {{4500, 4500}, NyGeo::kOutside},
      {{6000, 1500}, NyGeo::kOnBoundary},  {{0, 0}, NyGeo::kOnBoundary},
      {{3000, 4500}, NyGeo::kOnBoundary},  {{4500, 3000}, NyGeo::kOnBoundary},
      {{6000.000001, 1500}, NyGeo::kOnBoundary},  // below the tolerance of a 6 m room
      {{6000.1, 1500}, NyGeo::kOutside},   {{-0.1, 3000}, NyGeo::kOutside},
      {{2999.9, 5999.9}, NyGeo::kInside},  {{1500, 3000}, NyGeo::kInside},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.p.x << "," << c.p.y);
    EXPECT_EQ(NyGeo::IsPointInPolygon(l_shape, c.p), c.expected);
  }
  EXPECT_EQ(NyGeo::IsPointInPolygon({{0, 0}, {1, 1}}, {0, 0}), NyGeo::kOutside);
}

TEST(SegmentMeetsBox, CrossingTouchingAndPassingBy) {
  nyhost::Extents box;
  box.Add({0, 0, 0});
  box.Add({10, 5, 0});
  struct Case {
    Point3 a, b;
    bool meets;
  } cases[] = {
      {{-5, 2}, {15, 2}, true},    // through, ends outside
      {{2, 1}, {3, 2}, true},      // wholly inside
      {{-1, -1}, {0, 0}, true},    // ends on a corner
      {{-5, 6}, {15, 6}, false},   // parallel above
      {{11, -5}, {11, 10}, false},  // vertical beside
      {{5, -5}, {5, 10}, true},    // vertical through
      {{-3, 3}, {3, -3}, true},    // cuts the corner off
      {{-3, 2}, {2, -3}, false},   // passes the corner outside
      {{20, 0}, {30, 5}, false},   // on the line of an edge, beyond it
      {{4, 4}, {4, 4}, true},      // a point inside
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y);
    EXPECT_EQ(nyhost::SegmentMeetsBox(c.a, c.b, box), c.meets);
    EXPECT_EQ(nyhost::SegmentMeetsBox(c.b, c.a, box), c.meets) << "either direction";
  }
  EXPECT_FALSE(nyhost::SegmentMeetsBox({0, 0}, {1, 1}, nyhost::Extents{})) << "empty box";
}

TEST(GeoHelpers, MidAndMirror) {
  auto m = NyGeo::Mid({0, 0, 0}, {10, 4, 2});
  EXPECT_EQ(m, (Point3{5, 2, 1}));
  auto r = NyGeo::Mirror({3, 1, 0}, {0, 0, 0}, {10, 0, 0});
  EXPECT_NEAR(r.x, 3, 1e-12);
  EXPECT_NEAR(r.y, -1, 1e-12);
  auto diag = NyGeo::Mirror({2, 0, 0}, {0, 0, 0}, {1, 1, 0});
  EXPECT_NEAR(diag.x, 0, 1e-12);
  EXPECT_NEAR(diag.y, 2, 1e-12);
}

}  // namespace
