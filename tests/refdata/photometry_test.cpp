// Photometric files: reading each symmetry, refusing broken files by line, writing LM-63-2002,
// and importing into both catalogues (curve table, lamps, coefficient table, kept file).
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "refdata/photometry_file.h"
#include "refdata/photometry_import.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "support/ny_common.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

std::string DataFile(const std::string& name) {
  return std::string(NYLUXORA_TEST_DATA_DIR) + "/photometry/" + name;
}

struct Point {
  double c, gamma, cd_klm;
};

TEST(PhotometryFileTest, ReadsEachFormAndSymmetry) {
  struct Case {
    const char* file;
    std::vector<double> c_angles;
    int lamps;
    double lumens;
    const char* model;
    std::vector<Point> points;
  } cases[] = {
      // 2 x 500 lm, multiplier 1; polar angles every 10 degrees up to 180.
      {"downlight-sym.ies", {0}, 2, 1000, "DL-150",
       {{0, 0, 400}, {123, 5, 395}, {300, 85, 7.5}, {0, 100, 2}, {0, 180, 18}}},
      // Multiplier 0.5 on 1000 lm: half the candela values; planes 0, 45, 90 mirrored.
      {"troffer-quadrant.ies", {0, 45, 90, 135, 180, 225, 270, 315}, 1, 1000, "GT-600",
       {{0, 5, 298}, {90, 5, 295}, {180, 5, 298}, {270, 10, 280}, {135, 15, 275}, {315, 15, 275},
        {22.5, 10, 290.5}}},
      // 2000 lm: half the candela values; C270 mirrors C90, C180 stays its own.
      {"wallwasher-bilateral.ies", {0, 90, 180, 270}, 1, 2000, "WW-1",
       {{0, 10, 160}, {90, 10, 145}, {270, 10, 145}, {180, 10, 135}}},
      // Planes 90..270 (LM-63-2019): C0 mirrors C180.
      {"linear-bilateral90.ies", {0, 90, 180, 270}, 1, 1000, "LN-2",
       {{0, 50, 350}, {180, 50, 350}, {90, 50, 200}, {270, 50, 200}, {45, 50, 275}}},
      // 1991 form, full circle: the 360-degree plane is C0 again.
      {"spot-full.ies", {0, 90, 180, 270}, 1, 1500, "SP-30",
       {{0, 10, 800 / 1.5}, {270, 10, 500}, {180, 20, 200}, {315, 10, (750 + 800) / 3.0}}},
      {"old-1986.ies", {0}, 1, 1000, "old-1986", {{0, 10, 295}, {90, 15, 287.5}}},
      {"W_3350lm.ies", {0}, 1, 3350, "W-3350", {{0, 0, 300}, {0, 45, 170}, {0, 90, 0}}},
      // Already cd/klm.
      {"panel-isym1.ldt", {0}, 1, 3600, "PN-600", {{200, 5, 318}, {0, 90, 0}}},
      // C0..C180 of eight planes given, the rest mirrored across C0-C180.
      {"batten-isym2.ldt", {0, 45, 90, 135, 180, 225, 270, 315}, 2, 4400, "BT-1200",
       {{315, 10, 275}, {270, 30, 185}, {180, 20, 180}, {225, 40, 105}, {0, 5, 285}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::string error;
    auto p = ReadPhotometryFile(DataFile(c.file), error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->c_angles, c.c_angles);
    EXPECT_EQ(p->cd_klm.size(), c.c_angles.size());
    EXPECT_EQ(p->gamma_angles.front(), 0);
    EXPECT_EQ(p->lamp_count, c.lamps);
    EXPECT_DOUBLE_EQ(p->lamp_lumens, c.lumens);
    EXPECT_EQ(p->model, c.model);
    for (const auto& pt : c.points)
      EXPECT_NEAR(PhotometryIntensity(*p, pt.c, pt.gamma), pt.cd_klm, 1e-9)
          << "C" << pt.c << " gamma " << pt.gamma;
  }
}

TEST(PhotometryFileTest, RefusesBrokenFilesNamingTheLine) {
  struct Case {
    const char *file, *message;
  } cases[] = {
      {"broken-type-b.ies", "broken-type-b.ies:10: photometric type 2 (type B)"},
      {"broken-absolute.ies", "broken-absolute.ies:10: absolute photometry"},
      {"broken-short.ies", "broken-short.ies:14: too few numbers: candela value missing"},
      {"broken-not-number.ies", "broken-not-number.ies:15: '36O' is not a number"},
      {"broken-descending.ies",
       "broken-descending.ies:12: vertical angle not ascending: 40 after 50"},
      {"broken-no-nadir.ies", "broken-no-nadir.ies:12: the vertical angles start at 5"},
      {"broken-tilt-file.ies", "broken-tilt-file.ies:9: TILT=dl150.tlt"},
      {"broken-short.ldt", "broken-short.ldt:70: too few numbers: intensity missing"},
      {"broken-absolute.ldt", "broken-absolute.ldt:27: -1 lamps: absolute photometry"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ReadPhotometryFile(DataFile(c.file), error)) << c.file;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(PhotometryFileTest, WrittenFileReadsBackTheSameGrid) {
  for (const char* file : {"troffer-quadrant.ies", "batten-isym2.ldt", "downlight-sym.ies"}) {
    std::string error;
    auto p = ReadPhotometryFile(DataFile(file), error);
    ASSERT_TRUE(p) << error;
    auto q = ParseIes(WriteIes(*p), "written.ies", error);
    ASSERT_TRUE(q) << file << ": " << error;
    EXPECT_EQ(q->c_angles, p->c_angles) << file;
    EXPECT_EQ(q->gamma_angles, p->gamma_angles) << file;
    EXPECT_EQ(q->lamp_count, p->lamp_count);
    EXPECT_NEAR(q->lamp_lumens, p->lamp_lumens, 1e-6);
    for (std::size_t i = 0; i < p->cd_klm.size(); ++i)
      for (std::size_t j = 0; j < p->gamma_angles.size(); ++j)
        EXPECT_NEAR(q->cd_klm[i][j], p->cd_klm[i][j], 1e-6) << file << " " << i << "," << j;
  }
}

class PhotometryImportTest : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    LoadModule();
  }
  static V Query(NyAccess* db, const std::string& sql) {
    V v;
    db->GetSelData(v, sql);
    return v;
  }
  static bool Import(const std::string& path, const std::string& kind, const std::string& model,
                     bool replace, std::string& error) {
    PhotometryImportOptions o;
    o.kind = kind;
    o.model = model;
    o.replace = replace;
    PhotometryImportResult r;
    return ImportPhotometryFile(path, o, r, error);
  }
  // Curve table rows as "angle A B".
  static V CurveRows(const std::string& table) {
    V v = Query(ZirIrodoDotDb(), FormatSql(kSelectCurveRows, table)), rows;
    for (std::size_t i = 0; i + 2 < v.size(); i += 3)
      rows.push_back(v[i] + " " + v[i + 1] + " " + v[i + 2]);
    return rows;
  }
};

TEST_F(PhotometryImportTest, CurveTablesHoldPlanesC0AndC90AtFiveDegreeKeys) {
  struct Case {
    const char* file;
    const char* table;
    std::vector<std::string> rows;  // some rows "angle A B"
    const char* lamps;              // 默认光源: count and flux
  } cases[] = {
      {"downlight-sym.ies", "LEDDL-150配光曲线", {"0 400 400", "5 395 395", "85 8 8"}, "2 1000"},
      {"troffer-quadrant.ies", "LEDGT-600配光曲线", {"5 298 295", "40 172 78", "90 0 0"}, "1 1000"},
      // Polar angles every 10 degrees: 5, 15, ... interpolated.
      {"batten-isym2.ldt", "LEDBT-1200配光曲线", {"0 280 280", "5 285 270", "25 295 205"}, "2 4400"},
      {"W_3350lm.ies", "LEDW-3350配光曲线", {"0 300 300", "45 170 170"}, "1 3350"},
      // No C90 plane: B lies between C60 and C120; polar angles 0, 45, 90 only.
      {"asym-60.ies", "LEDAS-6配光曲线", {"45 80 50", "20 91 78", "90 0 0"}, "1 1000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::string error;
    ASSERT_TRUE(Import(DataFile(c.file), "LED", "", false, error)) << error;
    V rows = CurveRows(c.table);
    ASSERT_EQ(rows.size(), 19u);
    for (const auto& row : c.rows)
      EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
    std::string model = std::string(c.table).substr(3, std::string(c.table).size() - 3 - 12);
    V lamps = Query(ZirIrodoDotDb(), FormatSql(kSelectRememberedLamps, "LED", model));
    ASSERT_EQ(lamps.size(), 11u);
    EXPECT_EQ(lamps[2] + " " + lamps[10], c.lamps);
    V lumen = Query(NyDataDb(), FormatSql(kSelectCuLuminaireRecord, model, "LED"));
    ASSERT_EQ(lumen.size(), 3u);
    EXPECT_GT(std::stod(lumen[0]), 0.5);
    EXPECT_EQ(lumen[2], "LED" + model);
    EXPECT_EQ(Query(NyDataDb(), FormatSql(kSelectCuTableRows, lumen[2])).size(), 400u);
    // The precise calculation gets the file's whole grid back for the curve table.
    const auto file = ReadPhotometryFile(DataFile(c.file), error);
    const auto kept = KeptPhotometry(c.table, error);
    ASSERT_TRUE(file && kept) << error;
    EXPECT_EQ(kept->c_angles, file->c_angles);
    EXPECT_EQ(kept->cd_klm, file->cd_klm);
  }
  // A kept file changed since it was read is read again.
  const std::string kept = Module().DataFolder + "photometry/LEDW-3350配光曲线.ies";
  fs::copy_file(DataFile("troffer-quadrant.ies"), kept, fs::copy_options::overwrite_existing);
  std::string error;
  const auto again = KeptPhotometry("LEDW-3350配光曲线", error);
  ASSERT_TRUE(again) << error;
  EXPECT_GT(again->c_angles.size(), 1u);
  EXPECT_FALSE(KeptPhotometry("荧光灯YG2-1配光曲线", error)) << "a shipped curve keeps no file";
  EXPECT_EQ(error, "");
}

TEST_F(PhotometryImportTest, SecondImportIsRefusedUnlessReplacing) {
  std::string error;
  ASSERT_TRUE(Import(DataFile("downlight-sym.ies"), "LED", "X-1", false, error)) << error;
  EXPECT_FALSE(Import(DataFile("troffer-quadrant.ies"), "LED", "X-1", false, error));
  EXPECT_NE(error.find("already in the point-method catalogue"), std::string::npos) << error;
  EXPECT_EQ(CurveRows("LEDX-1配光曲线")[1], "5 395 395");
  ASSERT_TRUE(Import(DataFile("troffer-quadrant.ies"), "LED", "X-1", true, error)) << error;
  EXPECT_EQ(CurveRows("LEDX-1配光曲线")[1], "5 298 295");
  EXPECT_EQ(Query(ZirIrodoDotDb(), FormatSql(kSelectLuminaireExists, "LED", "X-1")).size(), 4u);
}

TEST_F(PhotometryImportTest, FailedImportWritesNothing) {
  // The kept file cannot be written: a plain file stands where its folder goes.
  ASSERT_TRUE(NyCommon::WriteFileAtomic(Module().DataFolder + "photometry", "not a folder"));
  for (const char* file : {"downlight-sym.ies", "broken-short.ies"}) {
    std::string error;
    EXPECT_FALSE(Import(DataFile(file), "LED", "Y-1", false, error)) << file;
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(Query(ZirIrodoDotDb(), FormatSql(kSelectLuminaireExists, "LED", "Y-1")).empty());
    EXPECT_FALSE(ZirIrodoDotDb()->IsTableInDatabase("LEDY-1配光曲线"));
    EXPECT_TRUE(Query(ZirIrodoDotDb(), FormatSql(kSelectRememberedExists, "LED", "Y-1")).empty());
    EXPECT_TRUE(Query(NyDataDb(), FormatSql(kSelectLuminaireExists, "LED", "Y-1")).empty());
    EXPECT_FALSE(NyDataDb()->IsTableInDatabase("LEDY-1"));
  }
}

TEST_F(PhotometryImportTest, ExportedCurveImportsAsTheSameCurve) {
  // A shipped luminaire (two planes of its table), and an imported one (the kept file's grid).
  std::string error;
  ASSERT_TRUE(Import(DataFile("spot-full.ies"), "LED", "", false, error)) << error;
  struct Case {
    const char *model, *table, *kind;  // kind: of the shipped lumen-method luminaire
  } cases[] = {{"YG701-3", "荧光灯YG701-3配光曲线", "荧光灯"},
               {"LED-P600", "LEDLED-P600配光曲线", "LED"},
               {"TD-100", "紧凑型荧光灯TD-100配光曲线", "紧凑型荧光灯"},
               {"SP-30", "LEDSP-30配光曲线", nullptr}};
  for (const auto& c : cases) {
    auto p = ModelPhotometry(c.model, error);
    ASSERT_TRUE(p) << error;
    const std::string out = home->str() + "/" + c.model + ".ies";
    ASSERT_TRUE(NyCommon::WriteFileAtomic(out, WriteIes(*p)));
    ASSERT_TRUE(Import(out, "再导入", c.model, false, error)) << error;
    EXPECT_EQ(CurveRows(std::string("再导入") + c.model + "配光曲线"), CurveRows(c.table));
    // The spacing-to-height ratio found from the curve is the one the catalogue ships.
    if (c.kind) {
      EXPECT_EQ(Query(NyDataDb(), FormatSql(kSelectCuLuminaireRecord, c.model, "再导入"))[0],
                Query(NyDataDb(), FormatSql(kSelectCuLuminaireRecord, c.model, c.kind))[0])
          << c.model;
    }
  }
  EXPECT_FALSE(CataloguePhotometry("YG701-3", error));
  EXPECT_TRUE(error.empty());
  auto kept = CataloguePhotometry("SP-30", error);
  ASSERT_TRUE(kept) << error;
  EXPECT_EQ(kept->c_angles.size(), 4u);
}

TEST_F(PhotometryImportTest, CoefficientTableIsTheGeneratorsForTheSameCurve) {
  PhotometryImportOptions o;
  o.kind = "LED";
  PhotometryImportResult r;
  std::string error;
  // With light above the horizontal, which the generator takes as --ulor.
  ASSERT_TRUE(ImportPhotometryFile(DataFile("downlight-sym.ies"), o, r, error)) << error;
  // Up to 18 cd/klm rising linearly from 90 to 180 degrees: 2 pi 18 (1 - 2 / pi) lm per klm.
  EXPECT_NEAR(r.upward_lor, 0.0411, 0.0003);
  const std::string command = std::string(NYLUXORA_TEST_BUILD_DIR) + "/bin/cu_generator --db '" +
                              Module().DataFolder + "ZirIrodoDot.mdb' --curve-table '" +
                              r.curve_table + "' --series 70 --ulor " +
                              fmt::format("{:.17g}", r.upward_lor) + " 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::vector<std::vector<double>> expected;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe.get())) {
    const char* values = std::strstr(line, "values (");
    double cu = 0, ceiling = 0, wall = 0, rcr = 0;
    if (values && std::sscanf(values, "values (%lf,%lf,%lf,%lf)", &cu, &ceiling, &wall, &rcr) == 4)
      expected.push_back({ceiling, wall, rcr, cu});
  }
  ASSERT_EQ(expected.size(), 100u);
  V rows = Query(NyDataDb(), FormatSql(kSelectCuTableRows, r.cu_table));
  ASSERT_EQ(rows.size(), 400u);
  for (std::size_t i = 0; i < 100; ++i)
    for (std::size_t k = 0; k < 4; ++k)
      EXPECT_DOUBLE_EQ(std::stod(rows[4 * i + k]), expected[i][k])
          << "row " << i << " column " << k;
}

}  // namespace
