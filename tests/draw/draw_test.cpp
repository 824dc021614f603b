#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "draw/contour.h"
#include "draw/distribution.h"
#include "draw/effect_dialog.h"
#include "draw/ny_lxr_draw.h"
#include "host/aci_colors.h"
#include "pointcalc/room_fixture.h"
#include "support/ny_common.h"
#include "support/ny_geo.h"

namespace {

using nydraw::Loop;
using nyhost::Point3;

// Lattice points of f over [x0, x1] x [y0, y1] in n x n steps, kept where `keep` says.
std::vector<Point3> Sample(double (*f)(double, double), double x0, double x1, double y0, double y1,
                           int n, const Loop& keep = {}) {
  std::vector<Point3> pts;
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= n; ++j) {
      Point3 p{x0 + (x1 - x0) * i / n, y0 + (y1 - y0) * j / n, 0};
      p.z = f(p.x, p.y);
      if (keep.empty() || NyGeo::IsPointInPolygon(keep, p) != NyGeo::kOutside) pts.push_back(p);
    }
  return pts;
}

double SignedArea(const Loop& l) {
  double a = 0;
  for (std::size_t k = 0; k < l.size(); ++k) {
    const auto& p = l[k];
    const auto& q = l[(k + 1) % l.size()];
    a += p.x * q.y - q.x * p.y;
  }
  return a / 2;
}

TEST(Contour, AnalyticFields) {
  // A plane is interpolated exactly: one straight line, every vertex on x + 2y = 3.
  auto plane =
      nydraw::GridFromPoints(Sample([](double x, double y) { return x + 2 * y; }, 0, 2, 0, 2, 16));
  auto lines = nydraw::Isolines(plane, 3);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_FALSE(lines[0].closed);
  for (const auto& p : lines[0].points) EXPECT_NEAR(p.x + 2 * p.y, 3, 1e-12);
  // Its superlevel region lies above the line from (0, 1.5) to (2, 0.5): area 2.
  auto above = nydraw::SuperlevelLoops(plane, 3);
  ASSERT_EQ(above.size(), 1u);
  EXPECT_NEAR(SignedArea(above[0]), 2, 1e-9) << "counter-clockwise, exact";

  // A cone: one closed circle of radius 1, within the interpolation error of a 0.05 step.
  auto cone = nydraw::GridFromPoints(
      Sample([](double x, double y) { return std::hypot(x, y); }, -2, 2, -2, 2, 80));
  lines = nydraw::Isolines(cone, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].closed);
  for (const auto& p : lines[0].points) EXPECT_NEAR(std::hypot(p.x, p.y), 1, 1e-3);
  // Below the cone's level the region is the square with a clockwise hole.
  above = nydraw::SuperlevelLoops(cone, 1);
  ASSERT_EQ(above.size(), 2u);
  EXPECT_NEAR(SignedArea(above[0]) + SignedArea(above[1]), 16 - M_PI, 0.01);

  // A saddle x*y at a level just above 0: two lines, each keeping the high side on its left,
  // whichever way the saddle cells resolve.
  auto saddle =
      nydraw::GridFromPoints(Sample([](double x, double y) { return x * y; }, -1, 1, -1, 1, 2));
  lines = nydraw::Isolines(saddle, 0.25);
  EXPECT_EQ(lines.size(), 2u);
  for (const auto& l : lines) EXPECT_FALSE(l.closed);
}

TEST(Distribution, AreasOfAnLShapedRoomStayInsideAndCoverIt) {
  const Loop room = {{0, 0, 0},       {6000, 0, 0}, {6000, 3000, 0}, {3000, 3000, 0},
                     {3000, 6000, 0}, {0, 6000, 0}, {0, 0, 0}};
  nydraw::DrawRequest r;
  r.points = Sample([](double x, double y) { return 100 + 0.05 * x + 0.02 * y; }, 0, 6000, 0, 6000,
                    30, room);
  r.cal_min = 100, r.cal_max = 520;
  r.mode = nydraw::DrawMode::kAreas;
  r.effect.stops = {0x0000FF, 0xFF0000};
  r.point_layer = "P", r.text_layer = "T";
  r.outline = room;
  double area = 0;
  int hatches = 0;
  for (const auto& e : nydraw::BuildDistribution(r)) {
    const auto* h = e.As<nyhost::Hatch>();
    if (!h) continue;
    ++hatches;
    for (const auto& loop : h->loops) {
      area += std::fabs(SignedArea(loop)) * (SignedArea(loop) > 0 ? 1 : -1);
      for (const auto& p : loop) ASSERT_NE(NyGeo::IsPointInPolygon(room, p), NyGeo::kOutside);
    }
  }
  EXPECT_GE(hatches, 5);
  // The bands neither overlap nor leave gaps: together they are the room.
  EXPECT_NEAR(area, 27e6, 27e6 * 1e-6);
}

class DrawLight : public nytest::HostFixture {
 protected:
  std::string EffectFile() { return std::string(NYLUXORA_TEST_SHARE_DIR) + "/data/LXSetColor.syl"; }
  // Live entities of the distribution; with `kind` set, only those of that DXF type.
  std::size_t Tagged(const char* kind = nullptr) {
    std::size_t n = 0;
    for (nyhost::EntityId id : drawing().LiveIds()) {
      std::string owner;
      if (NyXData::GetEntXData(owner, id, NyLXRDrawDll::kTagKey) && !owner.empty() &&
          (!kind || std::string(nyhost::EntityTypeName(*drawing().Find(id))) == kind))
        ++n;
    }
    return n;
  }
};

TEST_F(DrawLight, ReplacesItsRoomDropsOrphansAndUndoesInOneStep) {
  NyLXRDrawDll lib;
  lib.SetEffectFile(EffectFile());
  std::vector<std::string> names;
  lib.GetCurEffects(names);
  EXPECT_EQ(names, (std::vector<std::string>{"默认", "彩虹", "灰度", "冷暖"}));
  const auto room =
      drawing().Add(nytest::ClosedOutline({{0, 0}, {4000, 0}, {4000, 4000}, {0, 4000}}));
  lib.SetCalValue(
      Sample([](double x, double y) { return 200 + x / 40 - y / 80; }, 0, 4000, 0, 4000, 20), 300,
      150);
  lib.SetLayer("电气-照明-照度计算点", "电气-照明-照度标注");
  lib.SetWallId(room);
  lib.SetDrawMode(1);
  lib.DrawLight();
  const std::size_t lines = Tagged(), depth = drawing().undo_depth();
  ASSERT_GT(lines, 5u);
  lib.DrawLight();
  EXPECT_EQ(Tagged(), lines) << "drawn again, the room's earlier drawing went";
  drawing().Undo();
  EXPECT_EQ(Tagged(), lines) << "one undo step takes back exactly one drawing";
  EXPECT_EQ(drawing().undo_depth(), depth);
  // The outline goes; drawing another room removes the orphaned drawing.
  drawing().Erase(room);
  const auto other =
      drawing().Add(nytest::ClosedOutline({{0, 0}, {4000, 0}, {4000, 4000}, {0, 4000}}));
  lib.SetWallId(other);
  lib.SetDrawMode(0);
  lib.SetDim(1);
  lib.DrawLight();
  EXPECT_EQ(Tagged("POINT"), 21u * 21u);
  EXPECT_EQ(Tagged("LWPOLYLINE"), 0u) << "the lines of the erased room went";
  EXPECT_EQ(host().GetVarInt("PDMODE"), 35);

  lib.SetEffectFile(home->str() + "/missing.syl");
  EXPECT_THROW(lib.DrawLight(), std::runtime_error);
}

TEST_F(DrawLight, TheLegendTakesTheFirstSideWhereItCoversNothing) {
  auto square = [](double x0, double y0, double x1, double y1) {
    return nytest::ClosedOutline({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
  };
  // Rooms round the 4 m room: beside it, and a large empty one whose edges stay clear of where
  // the legend would go.
  const auto right = square(4200, 0, 8200, 4000), left = square(-4200, 0, -200, 4000),
             below = square(0, -4200, 4000, -200), above = square(0, 4200, 4000, 8200),
             wide_right = square(4100, -20000, 30000, 20000),
             floor = square(-10000, -10000, 14000, 14000);
  struct Case {
    std::vector<nyhost::Entity> plan;
    std::function<bool(const nyhost::Extents&)> where;
    const char* side;
  } cases[] = {
      {{}, [](const nyhost::Extents& b) { return b.min.x > 4000; }, "right"},
      {{right}, [](const nyhost::Extents& b) { return b.max.x < 0; }, "left"},
      {{wide_right}, [](const nyhost::Extents& b) { return b.max.x < 0; }, "left of an empty room"},
      {{right, left}, [](const nyhost::Extents& b) { return b.max.y < 0 && b.min.x >= 0; },
       "below"},
      {{right, left, below}, [](const nyhost::Extents& b) { return b.min.y > 4000; }, "above"},
      {{right, left, below, above, floor},
       [](const nyhost::Extents& b) { return b.min.x > 8200 && b.max.x < 14000; },
       "further right, inside the floor"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.side);
    host().SetDrawing(std::make_unique<nyhost::Drawing>());
    NyLXRDrawDll lib;
    lib.SetEffectFile(EffectFile());
    const auto room = drawing().Add(square(0, 0, 4000, 4000));
    for (const auto& e : c.plan) drawing().Add(e);
    lib.SetCalValue(Sample([](double x, double) { return 100 + x / 20; }, 0, 4000, 0, 4000, 10),
                    300, 100);
    lib.SetWallId(room);
    lib.SetDrawMode(1);
    lib.DrawLight();
    nyhost::Extents swatches;
    for (nyhost::EntityId id : drawing().LiveIds())
      if (const auto* s = drawing().Find(id)->As<nyhost::Solid>())
        for (const auto& p : s->corners) swatches.Add(p);
    ASSERT_FALSE(swatches.Empty());
    EXPECT_TRUE(c.where(swatches)) << swatches.min.x << "," << swatches.min.y << " "
                                   << swatches.max.x << "," << swatches.max.y;
  }
}

TEST_F(DrawLight, EffectFileAndDialog) {
  const std::string file = home->str() + "/LXSetColor.syl";
  std::string shipped;
  ASSERT_TRUE(NyCommon::ReadFile(EffectFile(), shipped));
  ASSERT_TRUE(NyCommon::WriteFileAtomic(file, shipped));
  // OK: a new effect with its own range is written and chosen.
  windows.modal_driver = [](nyhost::Dialog& d) {
    d.UserType(388, "办公");
    d.UserClick(394);
    d.UserChoose(390, "灰度");
    d.UserType(391, "800");
    d.UserType(392, "100");
    d.UserClick(396);
    d.UserClick(387);
  };
  std::string name = "彩虹";
  ASSERT_TRUE(nydraw::RunEffectDialog(file, name));
  EXPECT_EQ(name, "办公");
  std::vector<nydraw::ColourEffect> effects;
  std::string error;
  ASSERT_TRUE(nydraw::LoadEffects(file, effects, error)) << error;
  ASSERT_EQ(effects.size(), 5u);
  EXPECT_EQ(effects[4].scale, "灰度");
  EXPECT_EQ(effects[4].range_max, 800);
  EXPECT_EQ(effects[4].recommended.back(), "100-800");
  EXPECT_EQ(nydraw::EffectColourIndex(effects[4], 1), nyhost::NearestAci(0xD0D0D0));

  // Cancel and a damaged file write nothing.
  std::string before;
  NyCommon::ReadFile(file, before);
  windows.modal_driver = [](nyhost::Dialog& d) { d.UserClick(395), d.UserClick(393); };
  EXPECT_FALSE(nydraw::RunEffectDialog(file, name));
  const std::string damaged = "[坏]\n颜色类型=RGB\n颜色=0,0\n最大照度=1\n最小照度=0\n";
  NyCommon::WriteFileAtomic(file, damaged);
  windows.message_log.clear();
  EXPECT_FALSE(nydraw::RunEffectDialog(file, name));
  ASSERT_EQ(windows.message_log.size(), 1u);
  EXPECT_NE(windows.message_log[0].find("丢失"), std::string::npos);
  std::string after;
  NyCommon::ReadFile(file, after);
  EXPECT_EQ(after, damaged);
}

}  // namespace
