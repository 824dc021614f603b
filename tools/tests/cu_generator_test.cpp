// Checks of the zonal-cavity computation behind the shipped utilization-coefficient tables.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "refdata/cu_method.h"

namespace cu = nyluxora::cu;

namespace {

using Values = std::array<double, cu::kCurvePoints>;

// Typical distribution shapes of the shipped catalogue, cd per 1000 lamp lumens.
const Values kWideReflector = {300, 298, 293, 284, 272, 257, 239, 218, 195, 170,
                               143, 115, 87,  60,  36,  17,  6,   1,   0};
const Values kNarrowDownlight = {900, 860, 760, 610, 440, 290, 170, 90, 45, 20,
                                 8,   3,   1,   0,   0,   0,   0,   0,  0};
const Values kOpalDiffuser = {223, 222, 219, 215, 209, 202, 193, 183, 171, 158,
                              143, 128, 111, 94,  76,  58,  39,  19,  0};
const Values kGrilleA = {230, 232, 236, 240, 242, 240, 232, 216, 195, 168,
                         135, 98,  62,  32,  12,  4,   1,   0,   0};
const Values kGrilleB = {230, 228, 222, 212, 198, 180, 158, 134, 108, 82,
                         58,  36,  18,  7,   2,   1,   0,   0,   0};
const Values kBattenA = {150, 150, 149, 147, 145, 142, 139, 135, 131, 126,
                         121, 115, 109, 102, 95,  88,  80,  72,  64};
const Values kBattenB = {150, 145, 135, 120, 104, 88, 72, 58, 45, 34, 25, 17, 11, 6, 3, 1, 0, 0, 0};

std::vector<std::pair<std::string, cu::Curve>> Shapes() {
  return {{"wide reflector", cu::SymmetricCurve(kWideReflector)},
          {"narrow downlight", cu::SymmetricCurve(kNarrowDownlight)},
          {"opal diffuser", cu::SymmetricCurve(kOpalDiffuser)},
          {"grille troffer", cu::Curve{kGrilleA, kGrilleB}},
          {"bare batten", cu::Curve{kBattenA, kBattenB}}};
}

Values Cosine(double peak) {
  Values v{};
  for (int i = 0; i < cu::kCurvePoints; ++i)
    v[i] = peak * std::cos(5.0 * i * std::numbers::pi / 180);
  return v;
}

using Grid = std::map<std::tuple<int, int, int>, double>;  // (ceiling, wall, rcr) -> CU

Grid ToGrid(const std::vector<cu::CuRow>& rows) {
  Grid grid;
  for (const auto& row : rows) grid[{row.ceiling, row.wall, row.rcr}] = row.cu;
  return grid;
}

}  // namespace

TEST(ZonalLumens, CosineDistributorEmitsPiTimesItsPeak) {
  // A Lambertian emitter of peak I0 sends pi * I0 lumens downwards; sampling each zone at its
  // middle angle is accurate to about half a percent.
  const cu::Curve curve = cu::SymmetricCurve(Cosine(200.0));
  const double exact = std::numbers::pi * 200.0 / 1000.0;
  EXPECT_NEAR(cu::DownwardLor(curve), exact, 0.005 * exact);
}

TEST(ZonalLumens, UseTheMeanOfBothPlanes) {
  const cu::Curve both{kGrilleA, kGrilleB};
  const auto a = cu::ZonalLumens(cu::SymmetricCurve(kGrilleA));
  const auto b = cu::ZonalLumens(cu::SymmetricCurve(kGrilleB));
  const auto mean = cu::ZonalLumens(both);
  for (int zone = 0; zone < cu::kZones; ++zone) {
    EXPECT_NEAR(mean[zone], (a[zone] + b[zone]) / 2.0, 1e-9) << "zone " << zone;
  }
  // Only the zone middles (5, 15, ... 85 degrees) count: the 90-degree value emits nothing.
  Values horizontal_only{};
  horizontal_only[18] = 500;
  EXPECT_EQ(cu::DownwardLor(cu::SymmetricCurve(horizontal_only)), 0.0);
}

TEST(ZonalLumens, ScalingReachesTheRequestedRatioAndKeepsTheShape) {
  const cu::Curve curve{kGrilleA, kGrilleB};
  const cu::Curve scaled = cu::ScaledToDownwardLor(curve, 0.64);
  EXPECT_NEAR(cu::DownwardLor(scaled), 0.64, 1e-12);
  const double factor = scaled.plane_a[0] / curve.plane_a[0];
  for (int i = 0; i < cu::kCurvePoints; ++i) {
    EXPECT_NEAR(scaled.plane_a[i], curve.plane_a[i] * factor, 1e-9);
    EXPECT_NEAR(scaled.plane_b[i], curve.plane_b[i] * factor, 1e-9);
  }
  EXPECT_THROW(cu::ScaledToDownwardLor(cu::SymmetricCurve(Values{}), 0.5), std::invalid_argument);
}

TEST(ZonalMultiplier, FallsWithZoneAndWithCavityRatio) {
  for (int rcr = 1; rcr <= 10; ++rcr) {
    for (int zone = 0; zone < cu::kZones; ++zone) {
      const double k = cu::ZonalMultiplier(zone, rcr);
      EXPECT_GE(k, 0.0);
      EXPECT_LE(k, 1.0);
      // Strictly smaller unless both are already zero (rays too flat to reach the floor).
      if (zone > 0) {
        const double wider = cu::ZonalMultiplier(zone - 1, rcr);
        EXPECT_TRUE(k < wider || (k == 0.0 && wider == 0.0)) << rcr << "/" << zone;
      }
      if (rcr > 1) {
        const double lower = cu::ZonalMultiplier(zone, rcr - 1);
        EXPECT_TRUE(k < lower || (k == 0.0 && lower == 0.0)) << rcr << "/" << zone;
      }
    }
  }
  EXPECT_DOUBLE_EQ(cu::ZonalMultiplier(4, 0.0), 1.0);
  EXPECT_GT(cu::ZonalMultiplier(0, 0.1), 0.99);
  EXPECT_THROW(cu::ZonalMultiplier(9, 1.0), std::out_of_range);
}

TEST(ZonalMultiplier, AgreesWithRaysTracedThroughASquareRoom) {
  // Independent estimate: rays start at random points of a unit-square ceiling with random
  // azimuth and a polar angle drawn by solid angle within the zone; count those landing on the
  // floor. Cavity height h = RCR / 10 for a unit square.
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const int samples = 200000;
  for (const double rcr : {1.0, 3.0, 7.0}) {
    for (const int zone : {1, 4, 6, 8}) {
      const double c1 = std::cos(zone * 10.0 * std::numbers::pi / 180);
      const double c2 = std::cos((zone + 1) * 10.0 * std::numbers::pi / 180);
      const double h = rcr / 10.0;
      int landed = 0;
      for (int i = 0; i < samples; ++i) {
        const double x = unit(random), y = unit(random);
        const double phi = 2.0 * std::numbers::pi * unit(random);
        const double cos_t = c1 + (c2 - c1) * unit(random);
        const double reach = h * std::sqrt(1.0 - cos_t * cos_t) / cos_t;
        const double fx = x + reach * std::cos(phi), fy = y + reach * std::sin(phi);
        if (fx >= 0.0 && fx <= 1.0 && fy >= 0.0 && fy <= 1.0) ++landed;
      }
      EXPECT_NEAR(cu::ZonalMultiplier(zone, rcr), static_cast<double>(landed) / samples, 0.005)
          << "RCR " << rcr << ", zone " << zone;
    }
  }
}

TEST(FormFactor, MatchesParallelSquaresAndItsLimits) {
  // Two unit squares one unit apart (RCR 10) see each other with a view factor of 0.1998.
  EXPECT_NEAR(cu::CeilingFloorFormFactor(10.0), 0.1998, 0.0005);
  EXPECT_DOUBLE_EQ(cu::CeilingFloorFormFactor(0.0), 1.0);
  EXPECT_GT(cu::CeilingFloorFormFactor(0.01), 0.99);
  // Far apart: area / (pi h^2).
  EXPECT_NEAR(cu::CeilingFloorFormFactor(200.0), 0.05 * 0.05 / std::numbers::pi, 2e-5);
  for (int rcr = 1; rcr < 10; ++rcr) {
    EXPECT_GT(cu::CeilingFloorFormFactor(rcr), cu::CeilingFloorFormFactor(rcr + 1));
    // The walls must see less of the ceiling plus floor than all of their view.
    EXPECT_LE(2.0 * (1.0 - cu::CeilingFloorFormFactor(rcr)) / (rcr / 2.5), 1.0);
  }
}

TEST(RoomExchange, ConservesFlux) {
  // Every lumen sent into the room is absorbed somewhere in the end.
  const double cases[][7] = {{1.0, 0.7, 0.5, 0.2, 0.1, 0.2, 0.5},
                             {5.0, 0.8, 0.3, 0.2, 0.0, 0.4, 0.3},
                             {10.0, 0.5, 0.5, 0.2, 0.3, 0.3, 0.1},
                             {0.5, 0.9, 0.9, 0.9, 0.2, 0.2, 0.2}};
  for (const auto& c : cases) {
    const cu::RoomExchange e = cu::SolveRoomExchange(c[0], c[1], c[2], c[3], c[4], c[5], c[6]);
    const double absorbed = (1 - c[1]) * e.ceiling_incident + (1 - c[2]) * e.wall_incident +
                            (1 - c[3]) * e.floor_incident;
    EXPECT_NEAR(absorbed, c[4] + c[5] + c[6], 1e-12) << "RCR " << c[0];
  }
}

TEST(RoomExchange, BlackRoomKeepsTheDirectFlux) {
  const cu::RoomExchange e = cu::SolveRoomExchange(3.0, 0.0, 0.0, 0.0, 0.1, 0.2, 0.4);
  EXPECT_DOUBLE_EQ(e.ceiling_incident, 0.1);
  EXPECT_DOUBLE_EQ(e.wall_incident, 0.2);
  EXPECT_DOUBLE_EQ(e.floor_incident, 0.4);
  // Only a reflecting ceiling: the floor gets its direct light plus one bounce of the uplight.
  const double f = cu::CeilingFloorFormFactor(3.0);
  const cu::RoomExchange one = cu::SolveRoomExchange(3.0, 0.7, 0.0, 0.0, 0.1, 0.2, 0.4);
  EXPECT_NEAR(one.floor_incident, 0.4 + 0.7 * 0.1 * f, 1e-12);
}

TEST(CoefficientTable, LayoutFollowsTheSeries) {
  const cu::Curve curve = cu::SymmetricCurve(kWideReflector);
  for (const auto series : {cu::Series::k70, cu::Series::k80}) {
    const auto rows = cu::CuTable(curve, 0.0, series);
    const auto pairs = cu::SeriesPairs(series);
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(pairs[0].ceiling, series == cu::Series::k80 ? 80 : 70);
    EXPECT_EQ(pairs[9].ceiling, 0);
    EXPECT_EQ(pairs[9].wall, 0);
    for (int i = 0; i < 100; ++i) {
      EXPECT_EQ(rows[i].ceiling, pairs[i / 10].ceiling);
      EXPECT_EQ(rows[i].wall, pairs[i / 10].wall);
      EXPECT_EQ(rows[i].rcr, i % 10 + 1);
    }
  }
}

TEST(CoefficientTable, SanityPropertiesHoldForEveryShape) {
  for (const auto& [name, curve] : Shapes()) {
    const double downward = cu::DownwardLor(curve);
    for (const auto series : {cu::Series::k70, cu::Series::k80}) {
      const Grid grid = ToGrid(cu::CuTable(curve, 0.0, series));
      const auto pairs = cu::SeriesPairs(series);
      for (int rcr = 1; rcr <= 10; ++rcr) {
        const double black = grid.at({0, 0, rcr});
        // The (0,0) column is the direct light alone.
        EXPECT_NEAR(black, cu::DirectRatio(curve, rcr) * downward, 1e-12) << name;
        for (const auto& p : pairs) {
          const double v = grid.at({p.ceiling, p.wall, rcr});
          EXPECT_GT(v, 0.0) << name;
          EXPECT_LT(v, 1.0) << name;
          EXPECT_GE(v, black) << name << " (0,0) must be smallest, RCR " << rcr;
          if (rcr > 1) {
            EXPECT_LT(v, grid.at({p.ceiling, p.wall, rcr - 1})) << name;
          }
          for (const auto& q : pairs) {
            if (q.ceiling == p.ceiling && q.wall < p.wall && q.wall > 0) {
              EXPECT_GT(v, grid.at({q.ceiling, q.wall, rcr})) << name << " rises with wall";
            }
            if (q.wall == p.wall && q.ceiling < p.ceiling && q.ceiling > 0) {
              EXPECT_GT(v, grid.at({q.ceiling, q.wall, rcr})) << name << " rises with ceiling";
            }
          }
        }
      }
    }
  }
}

TEST(CoefficientTable, WideReflectorInAnOfficeLikeRoom) {
  const cu::Curve curve = cu::SymmetricCurve(kWideReflector);
  const double downward = cu::DownwardLor(curve);
  const Grid grid = ToGrid(cu::CuTable(curve, 0.0, cu::Series::k70));
  // At RCR 1, 0.8 to 0.9 of the downward light falls straight on the work plane.
  const double direct_share = grid.at({0, 0, 1}) / downward;
  EXPECT_GE(direct_share, 0.8);
  EXPECT_LE(direct_share, 0.9);
  // A 70/50 room returns part of the rest by inter-reflection (floor cavity 20 %): the value
  // lies above the direct share and a little above the downward ratio, as published
  // zonal-cavity tables of such luminaires show at RCR 1.
  const double share_70_50 = grid.at({70, 50, 1}) / downward;
  EXPECT_GT(share_70_50, direct_share);
  EXPECT_GE(share_70_50, 0.95);
  EXPECT_LE(share_70_50, 1.1);
}

TEST(CoefficientTable, UplightReachesTheWorkPlaneViaTheCeiling) {
  const cu::Curve curve = cu::SymmetricCurve(kOpalDiffuser);
  const double without = cu::CoefficientOfUtilization(curve, 0.0, 0.7, 0.5, 2.0);
  const double with = cu::CoefficientOfUtilization(curve, 0.1, 0.7, 0.5, 2.0);
  EXPECT_GT(with, without);
  EXPECT_LT(with - without, 0.1);
  // A black ceiling absorbs all of it.
  EXPECT_NEAR(cu::CoefficientOfUtilization(curve, 0.1, 0.0, 0.5, 2.0),
              cu::CoefficientOfUtilization(curve, 0.0, 0.0, 0.5, 2.0), 1e-12);
}

TEST(CoefficientSql, StatementsUseTwoDecimalsAndWholeKeys) {
  const std::string create = cu::CreateTableSql("荧光灯X-1");
  EXPECT_EQ(create,
            "CREATE TABLE [荧光灯X-1] ([利用系数] REAL, [有效顶棚反射比] REAL, [墙反射比] REAL, "
            "[室空间比] REAL);\n");
  const std::string sql = cu::InsertRowsSql("荧光灯X-1", {{0.657, 70, 50, 1}, {0.3, 0, 0, 10}});
  EXPECT_EQ(sql,
            "INSERT INTO [荧光灯X-1] (利用系数,有效顶棚反射比,墙反射比,室空间比) values "
            "(0.66,70,50,1);\n"
            "INSERT INTO [荧光灯X-1] (利用系数,有效顶棚反射比,墙反射比,室空间比) values "
            "(0.30,0,0,10);\n");
  const auto rows = cu::CuTable(cu::SymmetricCurve(kWideReflector), 0.0, cu::Series::k80);
  std::istringstream lines(cu::InsertRowsSql("t", rows));
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) ++count;
  EXPECT_EQ(count, 100);
}
