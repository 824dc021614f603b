#include "pointcalc/room_grid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "host/host.h"
#include "room_fixture.h"

namespace {

class RoomGrid : public nytest::HostFixture {
 protected:
  nyhost::EntityId Outline(const std::vector<std::pair<double, double>>& corners) {
    return drawing().Add(nytest::ClosedOutline(corners));
  }
  std::optional<Grid> GridOf(nyhost::EntityId id, int nx, int ny) {
    std::vector<nyhost::Point3> poly;
    nyhost::Extents ext;
    EXPECT_TRUE(RoomPolygon(id, poly, ext));
    return BuildGrid(poly, ext, nx, ny);
  }
};

TEST_F(RoomGrid, RectangleOf6000By3000WithDensity30By15) {
  auto id = Outline({{0, 0}, {6000, 0}, {6000, 3000}, {0, 3000}});
  auto g = GridOf(id, 30, 15);
  ASSERT_TRUE(g);
  EXPECT_DOUBLE_EQ(g->dx, 200);
  EXPECT_DOUBLE_EQ(g->dy, 200);
  // 31 x 16 lattice points, boundary included.
  EXPECT_EQ(g->points.size(), 496u);
  EXPECT_EQ(g->points[0], (nyhost::Point3{0, 0, 0}));
  EXPECT_EQ(g->points[1], (nyhost::Point3{0, 200, 0})) << "each column from the bottom up";
  EXPECT_EQ(g->points[16], (nyhost::Point3{200, 0, 0})) << "then the next column";
  EXPECT_EQ(g->points.back(), (nyhost::Point3{6000, 3000, 0}));
}

TEST_F(RoomGrid, LShapeDropsTheCutOutCorner) {
  auto id = Outline({{0, 0}, {4000, 0}, {4000, 2000}, {2000, 2000}, {2000, 4000}, {0, 4000}});
  auto g = GridOf(id, 4, 4);  // 1000 steps: 25 candidates
  ASSERT_TRUE(g);
  for (const auto& p : g->points) EXPECT_FALSE(p.x > 2000 && p.y > 2000) << p.x << "," << p.y;
  // 25 minus the 4 candidates strictly inside the cut-out (3000|4000 x 3000|4000).
  EXPECT_EQ(g->points.size(), 21u);
}

TEST_F(RoomGrid, OutlinesWithoutAreaOrWithAbsurdNumbersGiveNoGrid) {
  constexpr const char* kNoArea = "\n房间没有面积!";
  constexpr const char* kAbsurd = "\n你输入的数据不合理!";
  const std::vector<std::pair<double, double>> room{{0, 0}, {6000, 0}, {6000, 6000}, {0, 6000}};
  struct Case {
    std::vector<std::pair<double, double>> corners;
    int nx, ny;
    const char* message;
  } cases[] = {
      {{{0, 0}, {5000, 0}, {5000, 0}, {0, 0}}, 10, 10, kNoArea},
      {{{100, 100}}, 10, 10, kNoArea},
      {{{0, 0}, {0, 3000}}, 10, 10, kNoArea},
      {{{0, 0}, {6000, 6000}}, 10, 10, kNoArea},  // two corners: only the diagonal
      {{{0, 0}, {3000, 3000}, {6000, 6000}}, 10, 10, kNoArea},
      {room, 0, 10, kAbsurd},
      {room, 10, -5, kAbsurd},
      {room, 1000000000, 1000000000, kAbsurd},
      {{{-1e308, 0}, {1e308, 0}, {1e308, 6000}, {-1e308, 6000}}, 10, 10, kAbsurd},
  };
  for (const auto& c : cases) {
    output.text.clear();
    EXPECT_FALSE(GridOf(Outline(c.corners), c.nx, c.ny)) << c.corners.size() << " " << c.nx;
    EXPECT_EQ(output.text, c.message) << c.corners.size() << " " << c.nx;
  }
  // Far from the origin the sums still end (binary values: no rounding).
  const double x0 = std::ldexp(1.0, 1020), x1 = std::ldexp(1.5, 1020);
  auto far = GridOf(Outline({{x0, 0}, {x1, 0}, {x1, 6000}, {x0, 6000}}), 4, 4);
  ASSERT_TRUE(far);
  EXPECT_EQ(far->dx, std::ldexp(1.0, 1017));
  EXPECT_GE(far->points.size(), 9u) << "at least the 3 x 3 inside";
}

TEST_F(RoomGrid, AreaInSquareMetresAtEveryScale) {
  auto id = Outline({{0, 0}, {6000, 0}, {6000, 3000}, {0, 3000}});
  EXPECT_DOUBLE_EQ(*RoomArea(id), 18.0);
  drawing().set_arch_scale(100);
  auto small = Outline({{0, 0}, {60, 0}, {60, 30}, {0, 30}});
  EXPECT_DOUBLE_EQ(*RoomArea(small), 18.0);
  EXPECT_FALSE(RoomArea(nyhost::kNullId));
}

TEST_F(RoomGrid, RectanglePromptsAndOutline) {
  input.Point(6000, 3000);
  input.Point(0, 0);
  auto id = PickRectangleOutline();
  ASSERT_NE(id, nyhost::kNullId);
  EXPECT_EQ(output.text, "\n选择起点:\n选择终点:");
  const auto* pl = drawing().FindLive(id)->As<nyhost::Polyline>();
  ASSERT_TRUE(pl);
  EXPECT_TRUE(pl->closed);
  ASSERT_EQ(pl->vertices.size(), 4u);
  EXPECT_EQ(pl->vertices[2].x, 0);
  EXPECT_EQ(pl->vertices[2].y, 0);
  EXPECT_EQ(pl->vertices[0].start_width, -1.0);
  input.Point(0, 0);
  input.Escape();
  EXPECT_EQ(PickRectangleOutline(), nyhost::kNullId) << "corner not given";
}

TEST_F(RoomGrid, PolygonEndsOnEnterAndAddsNothingOnCancel) {
  for (auto [x, y] : {std::pair{0.0, 0.0}, {4000.0, 0.0}, {4000.0, 3000.0}}) input.Point(x, y);
  input.Enter();
  auto id = PickPolygonOutline();
  ASSERT_NE(id, nyhost::kNullId);
  EXPECT_EQ(output.text, "\n选择起点:\n选择下一点:\n选择下一点:\n选择下一点:");
  EXPECT_EQ(drawing().FindLive(id)->As<nyhost::Polyline>()->vertices.size(), 3u);

  auto before = drawing().LiveIds().size();
  input.Point(0, 0);
  input.Point(100, 0);
  input.Escape();
  EXPECT_EQ(PickPolygonOutline(), nyhost::kNullId);
  EXPECT_EQ(drawing().LiveIds().size(), before);

  input.Point(5, 5);
  input.Enter();
  auto one = PickPolygonOutline();
  EXPECT_NE(one, nyhost::kNullId) << "a one-vertex outline is accepted (and has no area)";
}

TEST_F(RoomGrid, CollectsLuminairesInsideInDrawingOrder) {
  LoadModule();
  auto& d = drawing();
  auto second = nytest::AddLuminaire(d, 4000, 1000);
  nytest::AddLuminaire(d, 9000, 1000);  // outside
  auto first = nytest::AddLuminaire(d, 1000, 2000, "2.5");
  auto on_edge = nytest::AddLuminaire(d, 6000, 1500);
  nytest::AddLuminaire(d, 2000, 2000, "3", 0, "XX-notlamp");  // not a luminaire block
  auto room = Outline({{0, 0}, {6000, 0}, {6000, 3000}, {0, 3000}});
  std::vector<LuminaireRecord> recs;
  CollectLuminaires(room, recs);
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[0].entity_id, second);
  EXPECT_EQ(recs[1].entity_id, first);
  EXPECT_EQ(recs[2].entity_id, on_edge);
  EXPECT_DOUBLE_EQ(recs[1].position.z, 2500);
  EXPECT_EQ(recs[0].curve_table, "荧光灯YG701-3配光曲线");
  d.Erase(room);
  CollectLuminaires(room, recs);
  EXPECT_TRUE(recs.empty()) << "an erased outline is an empty room";
}

}  // namespace
