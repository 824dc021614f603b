#include "pointcalc/intensity.h"
#include "refdata/photometry_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "refdata/luminaire_record.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "room_fixture.h"
#include "support/ny_access.h"
#include "test_support.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;

IntensityTable Table(std::initializer_list<std::pair<int, int>> values, int fill = 0) {
  IntensityTable t;
  t.cd.fill(fill);
  for (auto [angle, cd] : values) t.cd[static_cast<std::size_t>(angle / 5)] = cd;
  t.loaded = true;
  return t;
}

// A luminaire `h` metres above the origin (arch scale 1: drawing units are millimetres).
LuminaireRecord Lum(double h_m, int flux = 1000, double rot = 0, double tx = 0, double ty = 0) {
  LuminaireRecord r;
  r.position = {0, 0, h_m * 1000};
  r.total_flux = flux;
  r.rotation_z = rot;
  r.tilt_x = tx;
  r.tilt_y = ty;
  return r;
}

double E(const LuminaireRecord& r, const IntensityTable& a, const IntensityTable& b, double x_mm,
         double y_mm) {
  return LuminaireIlluminance(MakeLuminaireSource(r, a, b, 1.0), {x_mm, y_mm, 0});
}

TEST(IntensityLookup, FollowsTheAngleRules) {
  const IntensityTable t = Table({{0, 300}, {35, 200}, {40, 150}, {80, 40}, {85, 20}, {90, 500}});
  struct Case {
    int angle;
    double expected;
  } cases[] = {
      {0, 300},
      {35, 200},
      {37, 200 + (150 - 200) * 2 / 5.0},  // 0.4 of the way to the 40-degree value
      {40, 150},
      {82, 40 + (20 - 40) * 2 / 5.0},
      {85, 20},  // the last angle that emits
      {86, 0},   // nothing from 86 degrees on, whatever the 90-degree value
      {89, 0},
      {90, 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(IntensityAtAngle(c.angle, t), c.expected) << c.angle;
  EXPECT_EQ(IntensityAtAngle(0, IntensityTable{}), 0) << "an empty table emits nothing";
}

// 1000 lm x 300 cd/klm / 3 m squared straight below, whatever the rotation and the drawing unit;
// nothing at or above the luminaire.
TEST(LuminaireIlluminance, StraightBelowAndLevelWithTheLuminaire) {
  const IntensityTable a = Table({}, 300), b = a;
  for (double rot : {0.0, 30.0, 90.0, 217.0, -45.0}) {
    EXPECT_NEAR(E(Lum(3, 1000, rot), a, b, 0, 0), 300.0 / 9.0, 1e-9) << rot;
  }
  LuminaireRecord r = Lum(3);
  r.position = {0, 0, 30};  // 3 m at 100 mm per unit
  EXPECT_NEAR(LuminaireIlluminance(MakeLuminaireSource(r, a, b, 100.0), {0, 0, 0}), 300.0 / 9.0,
              1e-9);
  EXPECT_EQ(E(Lum(0), a, b, 1000, 0), 0);
  EXPECT_EQ(E(Lum(-2), a, b, 0, 0), 0);
}

TEST(LuminaireIlluminance, AnglesAtTheEdgeOfTheCurve) {
  const IntensityTable a = Table({{80, 60}, {85, 100}, {90, 500}}), b = a;
  struct Case {
    double gamma_deg;
    bool lit;
  } cases[] = {{85.3, true}, {85.9, true}, {86.0 + 1e-9, false}, {86.5, false}, {89.9, false}};
  for (const auto& c : cases) {
    const double gamma = c.gamma_deg * kDeg;
    const double r = 3000 * std::tan(gamma);
    const double got = E(Lum(3), a, b, r, 0);
    if (c.lit) {
      // t = 85: the 85-degree value alone.
      EXPECT_NEAR(got, 1000 * 100 * std::pow(std::cos(gamma), 3) / 9000.0, 1e-12) << c.gamma_deg;
    } else {
      EXPECT_EQ(got, 0) << c.gamma_deg;
    }
  }
}

TEST(LuminaireIlluminance, PointsOnATiltedAxisGetTheAxisIntensity) {
  IntensityTable a, b;
  nytest::Yg701Tables(a, b);
  // Each of these gives h / d = 1.0000000000000002 by rounding.
  const struct {
    double x, y, h, tx, ty, px, py;
  } cases[] = {{3000, 3000, 2500, 45, 0, 3000, 500},
               {0, 0, 3000, 0, 15, -3000 * std::tan(15 * kDeg), 0}};
  for (const auto& c : cases) {
    LuminaireRecord r = Lum(c.h / 1000, 10050, 0, c.tx, c.ty);
    r.position = {c.x, c.y, c.h};
    const double d_m = std::hypot(c.x - c.px, c.y - c.py, c.h) / 1000;
    const double got = LuminaireIlluminance(MakeLuminaireSource(r, a, b, 1.0), {c.px, c.py, 0});
    EXPECT_NEAR(got, 10050 * 230 / (1000 * d_m * d_m), 1e-9) << c.tx << "," << c.ty;
  }
}

TEST(LuminaireAxes, ArbitraryAxisRule) {
  struct Case {
    double tx, ty;
    double n[3], x[3];
  } cases[] = {
      {0, 0, {0, 0, 1}, {1, 0, 0}},
      {90, 0, {0, 1, 0}, {-1, 0, 0}},  // horizontal axis: Z x N
      {0, 90, {1, 0, 0}, {0, 1, 0}},
  };
  for (const auto& c : cases) {
    double n[3], x[3];
    LuminaireAxes(c.tx, c.ty, n, x);
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(n[i], c.n[i], 1e-12) << c.tx << "," << c.ty;
      EXPECT_NEAR(x[i], c.x[i], 1e-12) << c.tx << "," << c.ty;
    }
  }
}

TEST(LuminaireIlluminance, TiltedNinetyDegreesAboutXLightsOnlyTheMinusYSide) {
  const IntensityTable a = Table({}, 300), b = a;
  LuminaireRecord r = Lum(3, 1000, 0, 90, 0);
  r.position = {0, 0, 3000};
  EXPECT_EQ(E(r, a, b, 0, 1000), 0) << "+y side";
  EXPECT_EQ(E(r, a, b, 500, 0), 0) << "level in y";
  // 2 m towards -y: the plane through the point normal to +y lies 2 m from the luminaire.
  const double d = std::hypot(2000.0, 3000.0);
  const double cosg = 2000 / d;
  const double expected = 1000 * 300 * cosg * cosg * cosg / (1000 * 4.0);
  EXPECT_NEAR(E(r, a, b, 0, -2000), expected, 1e-9);
}

// ---------------------------------------------------------------- precise photometry

double PreciseE(const LuminaireRecord& r, const IntensityTable& a, const IntensityTable& b,
                double x_mm, double y_mm, const Photometry* full = nullptr) {
  LuminaireSource s = MakeLuminaireSource(r, a, b, 1.0);
  s.precise = true;
  s.photometry = full;
  return LuminaireIlluminance(s, {x_mm, y_mm, 0});
}

TEST(PreciseLookup, InterpolatesAtTheTrueAngleUpToNinetyDegrees) {
  const IntensityTable t = Table({{0, 300}, {35, 200}, {40, 150}, {80, 40}, {85, 20}, {90, 500}});
  struct Case {
    double gamma, expected;
  } cases[] = {
      {0, 300},         {35, 200},
      {37.6, 200 - 50 * 0.52},  // 0.52 of the way to the 40-degree value, not 0.4
      {85, 20},         {85.9, 20 + 480 * 0.18},
      {87.5, 260},      {90, 500},
      {90.5, 0},        {-1, 0},
  };
  for (const auto& c : cases) EXPECT_NEAR(IntensityAtGamma(c.gamma, t), c.expected, 1e-12) << c.gamma;
  EXPECT_EQ(IntensityAtGamma(10, IntensityTable{}), 0) << "an empty table emits nothing";
}

// Grid of planes `c` with cd_klm[c][gamma] at gamma 0, 5, 10 (degrees).
Photometry Grid(std::vector<double> c, std::vector<std::vector<double>> cd) {
  Photometry p;
  p.c_angles = std::move(c);
  p.gamma_angles = {0, 5, 10};
  p.cd_klm = std::move(cd);
  return p;
}

TEST(PreciseLookup, BilinearInCAndGammaOverAllPlanes) {
  const Photometry symmetric = Grid({0}, {{100, 80, 40}});
  const Photometry quadrants = Grid({0, 90, 180, 270}, {{100, 80, 40}, {200, 160, 80},
                                                        {300, 240, 120}, {400, 320, 160}});
  const Photometry wrap = Grid({0, 10, 350}, {{100, 100, 100}, {0, 0, 0}, {300, 300, 300}});
  struct Case {
    const Photometry* p;
    double c, gamma, expected;
  } cases[] = {
      {&symmetric, 123, 7.5, 60},      {&symmetric, 0, 10, 40},    {&symmetric, 0, 10.5, 0},
      {&quadrants, 0, 0, 100},         {&quadrants, 45, 0, 150},   {&quadrants, 90, 2.5, 180},
      {&quadrants, 135, 7.5, 150},     {&quadrants, 315, 0, 250},  {&quadrants, -45, 0, 250},
      {&quadrants, 360, 5, 80},        {&quadrants, 720 + 90, 0, 200},
      {&wrap, 355, 0, 200},            {&wrap, 350, 3, 300},       {&wrap, 5, 0, 50},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(PhotometryIntensity(*c.p, c.c, c.gamma), c.expected, 1e-12)
        << c.p->c_angles.size() << " planes, C " << c.c << ", gamma " << c.gamma;
  EXPECT_EQ(PhotometryIntensity(Photometry{}, 0, 0), 0);
}

// A full grid with the two planes of a curve (C0 and C180 = A, C90 and C270 = B) lights the
// axis directions exactly as the two-plane lookup does; turning the luminaire turns the grid.
TEST(PreciseLookup, FullGridAgreesWithThePlanesOnTheirAxesAndTurnsWithTheLuminaire) {
  const IntensityTable a = Table({{0, 300}, {5, 280}, {10, 250}, {15, 200}}),
                       b = Table({{0, 300}, {5, 200}, {10, 120}, {15, 50}});
  Photometry full;
  full.c_angles = {0, 90, 180, 270};
  full.gamma_angles = {0, 5, 10, 15};
  for (const IntensityTable* t : {&a, &b, &a, &b})
    full.cd_klm.push_back({1.0 * t->cd[0], 1.0 * t->cd[1], 1.0 * t->cd[2], 1.0 * t->cd[3]});
  const double r = 3000 * std::tan(12.5 * kDeg), cos3 = std::pow(std::cos(12.5 * kDeg), 3);
  EXPECT_NEAR(PreciseE(Lum(3), a, b, r, 0), 1000 * 225 * cos3 / 9000, 1e-9) << "12.5°, not 12°";
  const double at[][2] = {{r, 0}, {0, r}, {-r, 0}, {0, -r}, {0, 0}};
  for (const auto& p : at)
    for (double rot : {0.0, 90.0}) {
      const double planes = PreciseE(Lum(3, 1000, rot), a, b, p[0], p[1]);
      EXPECT_GT(planes, 0);
      EXPECT_NEAR(PreciseE(Lum(3, 1000, rot), a, b, p[0], p[1], &full), planes, 1e-9)
          << p[0] << "," << p[1] << " turned " << rot;
    }
  // Between the axes the grid is linear in C where the planes blend elliptically.
  const double d = r / std::sqrt(2.0);
  EXPECT_NEAR(PreciseE(Lum(3), a, b, d, d, &full), 1000 * (225 + 85) / 2 * cos3 / 9000, 1e-9);
}

// ---------------------------------------------------------------- loading from the database

class CurveLoading : public nytest::HostFixture {};

TEST_F(CurveLoading, LoadsNineteenRowsByPositionAndRejectsOthers) {
  LoadModule();
  IntensityTable a, b;
  ASSERT_TRUE(LoadCurve("荧光灯YG701-3配光曲线", a, b));
  EXPECT_EQ(a.cd[0], 230);
  EXPECT_EQ(a.cd[8], 195);  // 40 degrees
  EXPECT_EQ(b.cd[8], 108);
  EXPECT_EQ(b.cd[18], 0);

  EXPECT_FALSE(LoadCurve("", a, b));
  EXPECT_EQ(output.text.find("数据"), std::string::npos) << "an empty name fails silently";

  NyAccess* db = ZirIrodoDotDb();
  ASSERT_NE(db, nullptr);
  const std::vector<NyStTableField> columns{{"角度", "int"}, {"光强A", "int"}, {"光强B", "int"}};
  ASSERT_TRUE(db->CreateTable("短曲线", columns));
  ASSERT_TRUE(db->CreateTable("十度曲线", columns));
  for (int i = 0; i < 18; ++i) db->ExecuteSQL(FormatSql(kInsertCurveRow, "短曲线", 5 * i, 1, 1));
  // Angles 0, 10, 20 ... still load: the keys come from the row position.
  for (int i = 0; i < 19; ++i)
    db->ExecuteSQL(FormatSql(kInsertCurveRow, "十度曲线", 10 * i, 100 + i, 7));

  output.text.clear();
  EXPECT_FALSE(LoadCurve("短曲线", a, b));
  EXPECT_EQ(output.text, "<短曲线>数据错误,请在(灯具扩充)中修改!");
  output.text.clear();
  EXPECT_FALSE(LoadCurve("不存在的曲线", a, b));
  EXPECT_EQ(output.text, "<不存在的曲线>数据已删除,请在(灯具扩充)中修改!");
  ASSERT_TRUE(LoadCurve("十度曲线", a, b));
  EXPECT_EQ(a.cd[1], 101);  // row 2 is the 5-degree value
  EXPECT_EQ(a.cd[18], 118);

  db->ExecuteSQL(FormatSql(kInsertCurveRow, "十度曲线", 200, 1, 1));
  output.text.clear();
  EXPECT_FALSE(LoadCurve("十度曲线", a, b)) << "20 rows";
  EXPECT_EQ(output.text, "<十度曲线>数据错误,请在(灯具扩充)中修改!");
}

}  // namespace
