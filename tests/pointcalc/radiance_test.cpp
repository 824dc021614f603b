// The precise point calculation against an independent program: the direct illuminance of a
// 600-luminaire hall computed with Radiance (tests/data/radiance-s4), the hall read as a plan.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <cstdio>

#include "host/dxf_io.h"
#include "pointcalc/horizontal.h"
#include "pointcalc/intensity.h"
#include "pointcalc/room_grid.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "room_fixture.h"
#include "support/ny_access.h"
#include "support/ny_scale.h"

namespace {

struct Reference {
  nyhost::Point3 point;  // mm
  double lux = 0;        // E_radiance_lux
};

// Every `step`-th row of S4_results.csv: x, y (m), z, Radiance's lux, ...
std::vector<Reference> ReadReference(std::size_t step) {
  std::ifstream in(std::string(NYLUXORA_TEST_RADIANCE_DIR) + "/S4_results.csv");
  std::vector<Reference> rows;
  std::string line;
  std::getline(in, line);
  for (std::size_t i = 0; std::getline(in, line); ++i) {
    double x = 0, y = 0, e = 0;
    if (i % step == 0 && std::sscanf(line.c_str(), "%lf,%lf,%*f,%lf", &x, &y, &e) == 3)
      rows.push_back({{x * 1000, y * 1000, 0}, e});
  }
  return rows;
}

class RadianceHall : public nytest::HostFixture {
 protected:
  // Curve W in the point-method catalogue under model W-3350, with one 3350 lm lamp remembered
  // for the hall's luminaires, as the catalogue editor and the luminaire table store them.
  void AddCurveW() {
    std::ifstream in(std::string(NYLUXORA_TEST_RADIANCE_DIR) + "/S4.json");
    const auto scene = nlohmann::json::parse(in);
    const auto& w = scene["photometry"]["curves"]["W"];
    NyAccess* db = ZirIrodoDotDb();
    ASSERT_NE(db, nullptr);
    ASSERT_TRUE(db->CreateTable("W", {{"角度", "int"}, {"光强A", "int"}, {"光强B", "int"}}));
    for (int i = 0; i < 19; ++i)
      ASSERT_TRUE(db->ExecuteSQL(FormatSql(kInsertCurveRow, "W", 5 * i, w["C0"][i].get<int>(),
                                           w["C90"][i].get<int>())));
    ASSERT_TRUE(db->ExecuteSQL(FormatSql(kInsertDotLuminaire, "筒灯", "W-3350", "", "W")));
    ASSERT_TRUE(db->ExecuteSQL(FormatSql(kInsertRememberedLamps, "W", "荧光灯", "T8", 36, 0, 1,
                                         "", "", 0, 0, 0, 3350, "W-3350", "宽配光筒灯")));
  }
};

// Largest |E - Radiance| / Radiance over the points, with the curve looked up precisely or not.
double MaxRelativeDifference(const std::vector<LuminaireRecord>& records,
                             const std::vector<Reference>& ref, bool precise) {
  RunSources sources(NyScale::GetArchScale(nyhost::Host::Get().drawing()), precise);
  for (const auto& r : records)
    if (!sources.Add(r)) return INFINITY;
  std::vector<nyhost::Point3> points;
  for (const auto& r : ref) points.push_back(r.point);
  std::vector<double> values;
  SumIlluminance(sources.sources(), points, values, CalculationThreads());
  double worst = 0;
  for (std::size_t i = 0; i < ref.size(); ++i)
    worst = std::max(worst, std::fabs(values[i] - ref[i].lux) / ref[i].lux);
  return worst;
}

TEST_F(RadianceHall, PreciseModeAgreesWithRadianceWhereTheDefaultCannot) {
  LoadModule();
  AddCurveW();
  nyhost::DxfResult read;
  auto plan = nyhost::ReadDxf(NYLUXORA_TEST_HALL_DXF, read);
  ASSERT_TRUE(plan) << read.error;
  host().SetDrawing(std::move(plan));
  const nyhost::EntityId outline =
      drawing().Add(nytest::ClosedOutline({{0, 0}, {60000, 0}, {60000, 40000}, {0, 40000}}));
  std::vector<LuminaireRecord> records;
  CollectLuminaires(outline, records);
  ASSERT_EQ(records.size(), 600u);
  EXPECT_EQ(records.front().total_flux, 3350);
  EXPECT_DOUBLE_EQ(records.front().position.z, 2800);

  const std::vector<Reference> ref = ReadReference(7);
  ASSERT_EQ(ref.size(), 1401u);
  EXPECT_LT(MaxRelativeDifference(records, ref, true), 1e-4);
  // Whole degrees and the cut above 85 degrees put the default mode well outside that.
  EXPECT_GT(MaxRelativeDifference(records, ref, false), 1e-3);
}

}  // namespace
