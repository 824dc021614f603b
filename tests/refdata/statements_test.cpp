// Every statement of the catalogue, run against fresh copies of the shipped databases with
// sample values; the expected rows come from the shipped reference data (data/sql).
#include "refdata/statements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/ny_access.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using Values = std::vector<std::string>;

struct Dbs {
  NyAccess nydata, dot, plane;
  NyAccess& Of(int db) { return db == 0 ? nydata : db == 1 ? dot : plane; }
};
enum Db { kNy, kDot, kPlane };

Values Q(NyAccess& db, const std::string& sql) {
  Values v;
  db.GetSelData(v, sql);
  return v;
}

int Rows(NyAccess& db, const std::string& sql) {
  Values v;
  return db.GetSelData(v, sql);
}

Values Sorted(Values v) {
  std::sort(v.begin(), v.end());
  return v;
}

Values Unique(const Values& v) {
  Values out;
  for (const auto& s : v)
    if (std::find(out.begin(), out.end(), s) == out.end()) out.push_back(s);
  return out;
}

// Statements that only read: rows returned and, when given, the values.
enum class Cmp { Exact, AnyOrder, Distinct, DistinctAnyOrder, Prefix };
struct Read {
  const char* name;
  std::string sql;
  Db db;
  int rows;
  Values values = {};
  Cmp cmp = Cmp::Exact;
};
// Statements that change data: rows changed, then a query and its expected rows and values.
struct Change {
  const char* name;
  std::string sql;
  Db db;
  int changed;
  std::string check;
  int check_rows;
  Values check_values = {};
};

#define ST(k, ...) #k, FormatSql(k __VA_OPT__(, ) __VA_ARGS__)
const Values kKinds = {"LED", "白炽灯", "高压钠灯", "金属卤化物灯", "紧凑型荧光灯", "卤钨灯", "荧光灯"};
const Values kFluorescentModels = {"T5", "T8", "YZ18RR", "YZ36RR"};
const Values kGenericYG701 = {"荧光灯", "YG701-3", "1.3", "通用", "YG701-3.bmp"};

std::vector<Read> Reads() {
  return {
      {ST(kSelectLampKindsSorted), kNy, 44, kKinds, Cmp::Distinct},
      {ST(kSelectLampKindsGrouped), kNy, 7, kKinds},
      {ST(kSelectLampModelsOfKind, "荧光灯"), kNy, 11, kFluorescentModels, Cmp::DistinctAnyOrder},
      {ST(kSelectLampModelsOfKindGrouped, "荧光灯"), kNy, 4, kFluorescentModels},
      {ST(kSelectLampPowersNoBlank, "荧光灯", "T8"), kNy, 4, {"18", "30", "36", "58"}, Cmp::AnyOrder},
      {ST(kSelectLampPowers, "紧凑型荧光灯", "TC-DEL"), kNy, 4, {"18", "26", "32", "42"}, Cmp::AnyOrder},
      {ST(kSelectLampPowersGrouped, "荧光灯", "T5"), kNy, 5, {"14", "21", "28", "35", "54"}},
      {ST(kSelectLampFlux, "荧光灯", "T8", 36), kNy, 1, {"3350"}},
      {ST(kSelectLampFlux, "荧光灯", "T8", 37), kNy, 0},
      {ST(kSelectLampRowsOfKind, "白炽灯"), kNy, 3, {"白炽灯", "PZ", "40", "430", ""}, Cmp::Prefix},
      {ST(kSelectLampMakersOfKindGrouped, "荧光灯"), kNy, 2, {"", "通用"}},
      {ST(kSelectLampMakersOfKindSorted, "LED"), kNy, 6, {"", "", "", "", "通用", "通用"}},
      {ST(kSelectLampExistsBeforeSave, "荧光灯", "T8", 36), kNy, 1},
      {ST(kSelectLampExistsBeforeSave, "荧光灯", "T8", 35), kNy, 0},
      {ST(kSelectLampExistsBeforeDelete, "LED", "LED-36", 36), kNy, 1},
      {ST(kSelectLampExistsBeforeDelete, "LED", "LED-36", 35), kNy, 0},
      {ST(kSelectCuModelsOfKind, "荧光灯"), kNy, 3, {"YG1-1", "YG2-2", "YG701-3"}},
      {ST(kSelectCuLuminaireRowsOfKindLower, "LED"), kNy, 2},
      {ST(kSelectCuLuminaireRowsOfKind, "金属卤化物灯"), kNy, 1,
       {"金属卤化物灯", "GC-400", "1.2", "通用", "GC-400.bmp"}},
      {ST(kSelectCuLuminaireRowsOfMakerAndKind, "通用", "荧光灯"), kNy, 1, kGenericYG701},
      {ST(kSelectCuLuminaireRowsOfKindAndMaker, "荧光灯", "通用"), kNy, 1, kGenericYG701},
      {ST(kSelectCuLuminaireMakersOfKind, "荧光灯"), kNy, 1, {"通用"}},
      {ST(kSelectCuLuminaireMakersOfKind, "高压钠灯"), kNy, 0},
      {ST(kSelectCuTableOfLuminaire, "荧光灯", "YG701-3"), kNy, 1, {"荧光灯YG701-3"}},
      {ST(kSelectCuLuminaireRecord, "TD-150", "紧凑型荧光灯"), kNy, 1,
       {"1.0", "TD-150.bmp", "紧凑型荧光灯TD-150"}},
      {ST(kSelectDesignationsOfModel, "YG701-3"), kNy, 1, {"格栅荧光灯^嵌入式格栅荧光灯^"}},
      {ST(kSelectCuValue, "荧光灯YG701-3", 80, 50, 1), kNy, 1, {"0.51"}},
      {ST(kSelectCuTableRows, "荧光灯YG701-3"), kNy, 100},
      {ST(kSelectLuminairesNamingCuTable, "荧光灯yg701-3"), kNy, 1, {"荧光灯", "YG701-3"}},
      {ST(kSelectCuValue, "荧光灯YG701-3", 80, 50, 3), kNy, 1, {"0.42"}},
      {ST(kSelectStandardCategories), kNy, 8,
       {"居住建筑", "办公建筑", "商业建筑", "旅馆建筑", "医院建筑", "学校建筑", "公用场所", "工业建筑"}},
      {ST(kSelectStandardPlaces, "办公建筑"), kNy, 8,
       {"普通办公室", "高档办公室", "会议室", "接待室、前台", "营业厅", "设计室",
        "文件整理、复印、发行室", "资料、档案室"}},
      {ST(kSelectEditionCategories, "照度标准2024"), kNy, 7,
       {"居住建筑", "办公建筑", "商业建筑", "旅馆建筑", "医院建筑", "学校建筑", "公用场所"}},
      {ST(kSelectStandardUniformity, "办公建筑_2024", "普通办公室"), kNy, 1, {"0.6"}},
      {ST(kSelectStandardUniformity, "医院建筑_2024", "手术室"), kNy, 1, {"0.7"}},
      {ST(kSelectStandardUniformity, "办公建筑", "普通办公室"), kNy, 0},
      {ST(kSelectColourlessReflectance, "喷白"), kNy, 1, {"0.8"}},
      {ST(kSelectColourlessReflectance, "砖墙"), kNy, 0},
      {ST(kSelectColourlessReflectanceBracketed, "钢板"), kNy, 1, {"0.15"}},
      {ST(kSelectColourReflectance, "玻璃", "镜面"), kNy, 1, {"0.9"}},
      {ST(kSelectColourReflectance, "马赛克", "灰色"), kNy, 1, {"0.28"}},
      {ST(kSelectLuminaireKindsSorted), kNy, 10},
      {ST(kSelectLuminaireKindsSorted), kDot, 10,
       {"LED", "高压钠灯", "金属卤化物灯", "紧凑型荧光灯", "卤钨灯", "荧光灯"}, Cmp::Distinct},
      {ST(kSelectLuminaireExists, "荧光灯", "YG701-3"), kNy, 1},
      {ST(kSelectLuminaireExists, "荧光灯", "YG701-3"), kDot, 1},
      {ST(kSelectLuminaireExists, "LED", "YG701-3"), kDot, 0},
      {ST(kSelectDotLuminaireRowsOfKind, "荧光灯"), kDot, 3},
      {ST(kSelectDotLuminaireRowsOfKindAndMaker, "荧光灯", "通用"), kDot, 1, {"荧光灯", "YG701-3", "通用"}},
      {ST(kSelectDotLuminaireRowsOfMakerAndKind, "通用", "紧凑型荧光灯"), kDot, 1,
       {"紧凑型荧光灯", "TD-150", "通用"}},
      {ST(kSelectDotLuminaireMakersOfKind, "荧光灯"), kDot, 3, {"通用", "", ""}, Cmp::AnyOrder},
      {ST(kSelectDotMakersUsingCurve, "LED", "LEDLED-P600配光曲线"), kDot, 1, {"通用"}},
      {ST(kSelectDotModelsOfKindAndMaker, "LED", "通用"), kDot, 1, {"LED-P600"}},
      {ST(kSelectDotModelsOfKindMakerAndCurve, "LED", "", "LEDGK-100配光曲线"), kDot, 1, {"GK-100"}},
      {ST(kSelectKindAndMakerUsingCurve, "紧凑型荧光灯TD-150配光曲线"), kDot, 1, {"紧凑型荧光灯", "通用"}},
      {ST(kSelectCurveOfLuminaire, "紧凑型荧光灯", "TD-150"), kDot, 1, {"紧凑型荧光灯TD-150配光曲线"}},
      {ST(kSelectLuminairesNamingCurve, "荧光灯yg701-3配光曲线"), kDot, 1, {"荧光灯", "YG701-3"}},
      {ST(kSelectCurveOfModelAndKind, "GC-250", "高压钠灯"), kDot, 1, {"高压钠灯GC-250配光曲线"}},
      {ST(kSelectCurveOfModelAndKind, "GC-250", "荧光灯"), kDot, 0},
      {ST(kSelectCurveByModel, "YG701-3"), kDot, 1, {"荧光灯YG701-3配光曲线"}},
      {ST(kSelectCurveByModel, "BD-01"), kDot, 0},
      {ST(kSelectRememberedExists, "格栅荧光灯", "YG701-3"), kDot, 1, {"格栅荧光灯", "YG701-3"}},
      {ST(kSelectRememberedExists, "格栅荧光灯", "YG2-2"), kDot, 0},
      {ST(kSelectRememberedCurve, "壁灯", "BD-01"), kDot, 1, {"荧光灯YG2-2配光曲线"}},
      {ST(kSelectRememberedLamps, "格栅荧光灯", "YG701-3"), kDot, 1,
       {"荧光灯", "T8", "3", "36", "4", "", "", "0", "0", "0", "10050"}},
      // Row H_R = h, column "t": the standard's index at T/R = t/10, H/R = h/10.
      {ST(kSelectPositionIndex, "1", "0"), kDot, 1, {"1.05"}},
      {ST(kSelectPositionIndex, "0", "1"), kDot, 1, {"1.26"}},
      {ST(kSelectPositionIndex, "19", "19"), kDot, 1, {"16.0"}},
      {ST(kSelectPositionIndex, "0", "25"), kDot, 1, {""}},
      {ST(kSelectPositionIndex, "0", "31"), kDot, 0},
      {ST(kSelectPositionIndexTable), kDot, 31},
      {ST(kSelectLampRowsOfMakerAndKind, "通用", "LED"), kNy, 2,
       {"LED", "T8-1200", "18", "2000", "通用", "LED", "LED-GK100", "100", "13000", "通用"}, Cmp::AnyOrder},
      {ST(kSelectStandardValues, "医院建筑", "手术室"), kNy, 1, {"750", "30.0", "25.0", "19.0", "90"}},
      {ST(kSelectDotLuminaireRowsOfKindNoBlank, "LED"), kDot, 2,
       {"LED", "LED-P600", "通用", "LED", "GK-100", ""}, Cmp::AnyOrder},
      {ST(kSelectDeviceKinds), kPlane, 10,
       {"灯具", "ZM1A", "灯具", "ZM2", "灯具", "ZM3B", "灯具", "ZM4", "灯具", "ZM5", "开关", "KG1", "插座",
        "CZ1", "配电箱", "PD1A", "", "QT1", "开关", "ZM5"}},
  };
}

std::vector<Change> Changes() {
  const std::string place =
      FormatSql(kInsertStandardPlace, "办公建筑", "测试室", 400, 12.34, 9.96, 19.4, 85);
  const std::string lamps = FormatSql(kUpdateRememberedLamps, "荧光灯", "T5", 28, 3, 2, "", "", 0, 0,
                                      1, 5200, "荧光灯YG2-2配光曲线", "YG701-3", "格栅荧光灯");
  return {
      {ST(kInsertLamp, "LED", "X1", 5, 500, "某厂"), kNy, 1,
       "SELECT [光通量],[生产厂家] FROM [光源] WHERE [光源型号] = 'X1'", 1, {"500", "某厂"}},
      {ST(kUpdateLamp, 3400, "某厂", "荧光灯", "T8", 36), kNy, 1,
       "SELECT [光通量],[生产厂家] FROM [光源] WHERE [光源型号] = 'T8' AND [功率] = 36", 1,
       {"3400", "某厂"}},
      {ST(kDeleteLamp, "荧光灯", "T8", 36), kNy, 1, "SELECT * FROM [光源] WHERE [光源型号] = 'T8'", 3},
      {ST(kDeleteLamp, "荧光灯", "T8", 36), kNy, 1, "SELECT * FROM [光源]", 43},
      {ST(kInsertCuLuminaire, "LED", "N1", 1.25, "", "N1.bmp", "LEDN1"), kNy, 1,
       FormatSql(kSelectCuLuminaireRecord, "N1", "LED"), 1, {"1.25", "N1.bmp", "LEDN1"}},
      {ST(kUpdateCuLuminaire, 1.1, "new.bmp", "某厂", "荧光灯", "YG2-2"), kNy, 1,
       "SELECT [距高比],[位图],[生产厂家] FROM [灯具型号] WHERE [灯具型号] = 'YG2-2'", 1,
       {"1.1", "new.bmp", "某厂"}},
      {ST(kUpdateDesignationsOfModel, "甲^乙^", "YG1-1"), kNy, 1,
       FormatSql(kSelectDesignationsOfModel, "YG1-1"), 1, {"甲^乙^"}},
      {ST(kDeleteCuLuminaire, "荧光灯", "YG1-1"), kNy, 1, "SELECT * FROM [灯具型号]", 9},
      {ST(kDeleteCuLuminaire, "荧光灯", "YG1-1"), kNy, 1,
       FormatSql(kSelectCuTableOfLuminaire, "荧光灯", "YG1-1"), 0},
      {ST(kDeleteAllRows, "荧光灯YG701-3"), kNy, 1, FormatSql(kSelectCuCeilingValues, "荧光灯YG701-3"), 0},
      {ST(kDeleteAllRows, "荧光灯YG701-3"), kNy, 1, FormatSql(kSelectCuCeilingValues, "荧光灯YG2-2"), 100},
      {ST(kInsertCuValue, "荧光灯YG701-3", 0.456, 80, 50, 1), kNy, 1,
       FormatSql(kSelectCuValue, "荧光灯YG701-3", 80, 50, 1), 2, {"0.51", "0.46"}},
      {ST(kInsertStandardCategory, "体育建筑"), kNy, 1, kSelectStandardCategories, 9,
       {"居住建筑", "办公建筑", "商业建筑", "旅馆建筑", "医院建筑", "学校建筑", "公用场所", "工业建筑",
        "体育建筑"}},
      {ST(kDeleteStandardPlace, "办公建筑", "会议室"), kNy, 1, FormatSql(kSelectStandardPlaces, "办公建筑"), 7,
       {"普通办公室", "高档办公室", "接待室、前台", "营业厅", "设计室", "文件整理、复印、发行室",
        "资料、档案室"}},
      {ST(kDeleteStandardCategory, "工业建筑"), kNy, 1, kSelectStandardCategories, 7},
      {ST(kDropTable, "工业建筑"), kNy, 1,
       "SELECT name FROM sqlite_master WHERE name IN ('工业建筑', '公用场所')", 1, {"公用场所"}},
      // Densities to one decimal, the glare index whole; a new place comes last.
      {"kInsertStandardPlace", place, kNy, 1, FormatSql(kSelectStandardValues, "办公建筑", "测试室"), 1, {"400", "12.3", "10.0", "19.0", "85"}},
      {"kInsertStandardPlace", place, kNy, 1, FormatSql(kSelectStandardPlaces, "办公建筑"), 9,
       {"普通办公室", "高档办公室", "会议室", "接待室、前台", "营业厅", "设计室", "文件整理、复印、发行室",
        "资料、档案室", "测试室"}},
      {ST(kInsertEditionCategory, "照度标准2024", "体育建筑"), kNy, 1,
       FormatSql(kSelectEditionCategories, "照度标准2024"), 8},
      {ST(kDeleteEditionCategory, "照度标准2024", "公用场所"), kNy, 1,
       FormatSql(kSelectEditionCategories, "照度标准2024"), 6},
      // The 2004 list is another table.
      {ST(kDeleteEditionCategory, "照度标准2024", "办公建筑"), kNy, 1, kSelectStandardCategories, 8},
      {ST(kCreateEditionCategoryTable, "体育建筑_2024", "照度标准模板2024"), kNy, 1,
       "SELECT [照度均匀度] FROM [体育建筑_2024]", 0},
      {ST(kInsertDotLuminaire, "LED", "N2", "通用", "LEDN2配光曲线"), kDot, 1,
       FormatSql(kSelectCurveByModel, "N2"), 1, {"LEDN2配光曲线"}},
      {ST(kUpdateDotLuminaireMaker, "某厂", "荧光灯", "YG2-2"), kDot, 1,
       FormatSql(kSelectDotModelsOfKindAndMaker, "荧光灯", "某厂"), 1, {"YG2-2"}},
      {ST(kDeleteDotLuminaire, "荧光灯", "YG2-2"), kDot, 1, FormatSql(kSelectCurveByModel, "YG2-2"), 0},
      {ST(kDeleteDotLuminaire, "荧光灯", "YG2-2"), kDot, 1, kSelectDotLuminaireRowsAll, 9},
      // The curve table itself stays (the editor drops it separately).
      {ST(kDeleteDotLuminaire, "荧光灯", "YG2-2"), kDot, 1, FormatSql(kSelectCurveRows, "荧光灯YG2-2配光曲线"), 19},
      {ST(kDeleteDotLuminaireOfMaker, "荧光灯", "YG701-3", "别的厂"), kDot, 1,
       FormatSql(kSelectCurveByModel, "YG701-3"), 1},
      {ST(kDeleteDotLuminaireOfMaker, "荧光灯", "YG701-3", "通用"), kDot, 1,
       FormatSql(kSelectCurveByModel, "YG701-3"), 0},
      {ST(kInsertRememberedCurve, "X曲线", "新灯", "M1"), kDot, 1,
       FormatSql(kSelectRememberedCurve, "新灯", "M1"), 1, {"X曲线"}},
      {ST(kUpdateRememberedCurve, "Y曲线", "壁灯", "BD-01"), kDot, 1,
       FormatSql(kSelectRememberedCurve, "壁灯", "BD-01"), 1, {"Y曲线"}},
      // The lamps of a curve-only row read empty.
      {ST(kInsertRememberedCurve, "X曲线", "新灯", "M1"), kDot, 1,
       FormatSql(kSelectRememberedLamps, "新灯", "M1"), 1, Values(11, "")},
      {"kUpdateRememberedLamps", lamps, kDot, 1,
       FormatSql(kSelectRememberedLamps, "格栅荧光灯", "YG701-3"), 1, {"荧光灯", "T5", "2", "28", "3", "", "", "1", "0", "0", "5200"}},
      {"kUpdateRememberedLamps", lamps, kDot, 1,
       FormatSql(kSelectRememberedCurve, "格栅荧光灯", "YG701-3"), 1, {"荧光灯YG2-2配光曲线"}},
  };
}
#undef ST

struct StatementCase {
  std::string name;
  std::function<void(Dbs&)> run;
};

#define CASE(name) StatementCase{#name, [](Dbs & d)

// Statements whose effect needs more than one query to check.
std::vector<StatementCase> Cases() {
  return {
      CASE(kSelectLampRowsOfKindByPower) {
        Values v = Q(d.nydata, FormatSql(kSelectLampRowsOfKindByPower, "卤钨灯"));
        ASSERT_EQ(v.size(), 15u);
        EXPECT_EQ((Values{v[2], v[7], v[12]}), (Values{"50", "50", "100"}));
      }},
      CASE(kSelectCuLuminaireRowsAll) {
        Values v = Q(d.nydata, kSelectCuLuminaireRowsAll);
        ASSERT_EQ(v.size(), 50u);
        EXPECT_EQ(v[0], "LED");
        EXPECT_EQ(v[45], "荧光灯");
      }},
      CASE(kSelectCuCeilingValues) {
        Values v = Q(d.nydata, FormatSql(kSelectCuCeilingValues, "荧光灯YG701-3"));
        ASSERT_EQ(v.size(), 100u);
        double top = 0;
        for (const auto& s : v) top = std::max(top, std::atof(s.c_str()));
        EXPECT_EQ(top, 80.0);  // an 80-series table
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectCuCeilingValues, "没有的表")), 0);
      }},
      CASE(kSelectCuTableOrdered) {
        Values v = Q(d.nydata, FormatSql(kSelectCuTableOrdered, "荧光灯YG701-3"));
        ASSERT_EQ(v.size(), 100u);
        // First the lowest pair at RCR 1..10, so the first value is that of (0, 0, 1), and the
        // last that of the highest pair (80, 50) at RCR 10.
        EXPECT_EQ(v.front(), Q(d.nydata, FormatSql(kSelectCuValue, "荧光灯YG701-3", 0, 0, 1))[0]);
        EXPECT_EQ(v.back(), Q(d.nydata, FormatSql(kSelectCuValue, "荧光灯YG701-3", 80, 50, 10))[0]);
        EXPECT_GE(std::atof(v[90].c_str()), std::atof(v[99].c_str()));  // falls with RCR
      }},
      CASE(kCreateCategoryTableFromTemplate) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kCreateCategoryTableFromTemplate, "体育建筑")), 1);
        EXPECT_EQ(d.nydata.IsTableInDatabase("体育建筑", "TABLE"), 1);
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kInsertStandardPlace, "体育建筑", "体育馆", 300,
                                                11.0, 9.0, 22.0, 80)),
                  1);
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectStandardPlaces, "体育建筑")), (Values{"体育馆"}));
        // The same name twice fails and leaves the first table.
        EXPECT_EQ(d.nydata.ExecuteSQL(FormatSql(kCreateCategoryTableFromTemplate, "体育建筑")), 0);
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectStandardPlaces, "体育建筑")), 1);
      }},
      CASE(kSelectMaterialColours) {
        const std::vector<std::pair<const char*, int>> colours = {
            {"粉刷", 1},     {"喷白", 1},     {"砂浆", 1},   {"混凝土", 1}, {"砖墙", 2},
            {"釉面墙", 5},   {"水磨石", 4},   {"大理石", 4}, {"沥青", 1},   {"调和漆", 2},
            {"塑料贴面", 3}, {"塑料壁纸", 3}, {"马赛克", 7}, {"钢板", 1},   {"玻璃", 4}};
        EXPECT_EQ(std::size(kSelectMaterialColours), colours.size());
        for (auto [material, count] : colours) {
          const char* stmt = MaterialColourStatementOf(material);
          ASSERT_NE(stmt, nullptr) << material;
          EXPECT_NE(std::string(stmt).find(std::string("'") + material + "'"), std::string::npos);
          EXPECT_EQ(Rows(d.nydata, stmt), count) << material;
        }
        EXPECT_EQ(MaterialColourStatementOf("木材"), nullptr);
        EXPECT_EQ(Q(d.nydata, MaterialColourStatementOf("砖墙")), (Values{"红砖", "灰砖"}));
      }},
      CASE(kSelectDotLuminaireRowsAll) {
        Values v = Q(d.dot, kSelectDotLuminaireRowsAll);
        ASSERT_EQ(v.size(), 30u);
        EXPECT_EQ(v[0], "LED");
        EXPECT_EQ(v[27], "荧光灯");
      }},
      CASE(kSelectCurveRows) {
        NyStTable t;
        ASSERT_EQ(d.dot.GetSelData(t, FormatSql(kSelectCurveRows, "荧光灯YG701-3配光曲线")), 19);
        Values row;
        t.GetValueRecord(row, 0);
        EXPECT_EQ(row, (Values{"0", "230", "230"}));
        t.GetValueRecord(row, 1);
        EXPECT_EQ(row, (Values{"5", "232", "228"}));
        t.GetValueRecord(row, 18);
        EXPECT_EQ(row, (Values{"90", "0", "0"}));
        // A name holding "]" reaches its own table only, never the one its text starts with.
        const std::string odd = "荧光灯YG701-3配光曲线] AS [配光曲线";
        EXPECT_EQ(d.dot.GetSelData(t, FormatSql(kSelectCurveRows, odd)), 0);
        ASSERT_EQ(d.dot.CreateTable(odd, {{"角度", "int"}, {"光强A", "int"}, {"光强B", "int"}}), 1);
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kInsertCurveRow, odd, 0, 1, 2)), 1);
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kUpdateCurveRow, odd, 7, 8, 0)), 1);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectCurveRows, odd)), (Values{"0", "7", "8"}));
      }},
      CASE(kSelectCurveIntensities) {
        Values v = Q(d.dot, FormatSql(kSelectCurveIntensities, "荧光灯YG701-3配光曲线"));
        ASSERT_EQ(v.size(), 38u);
        EXPECT_EQ((Values{v[0], v[1], v[10], v[11]}), (Values{"230", "230", "240", "180"}));
      }},
      CASE(kInsertCurveRow) {
        ASSERT_EQ(d.dot.CreateTable("新曲线", {{"角度", "int"}, {"光强A", "int"}, {"光强B", "int"}}), 1);
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kInsertCurveRow, "新曲线", 5, 100, 90)), 1);
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kInsertCurveRow, "新曲线", 0, 110, 95)), 1);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectCurveRows, "新曲线")),
                  (Values{"0", "110", "95", "5", "100", "90"}));
      }},
      CASE(kUpdateCurveRow) {
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kUpdateCurveRow, "荧光灯YG701-3配光曲线", 300, 301, 5)), 1);
        Values v = Q(d.dot, FormatSql(kSelectCurveRows, "荧光灯YG701-3配光曲线"));
        ASSERT_EQ(v.size(), 57u);
        EXPECT_EQ((Values{v[3], v[4], v[5]}), (Values{"5", "300", "301"}));
        EXPECT_EQ((Values{v[6], v[7], v[8]}), (Values{"10", "236", "222"}));
      }},
      CASE(kInsertRememberedLamps) {
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kInsertRememberedLamps, "C", "荧光灯", "T5", 28, 3, 2,
                                             "LED", "T8-600", 9, 1, 4, 9200, "M9", "吸顶灯")),
                  1);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedLamps, "吸顶灯", "M9")),
                  (Values{"荧光灯", "T5", "2", "28", "3", "LED", "T8-600", "4", "9", "1", "9200"}));
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedCurve, "吸顶灯", "M9")), (Values{"C"}));
      }},
  };
}

#undef CASE

class StatementCatalogue : public ::testing::Test {
 protected:
  // Fresh copies of the shipped databases for one case.
  void Open(Dbs& d, const nytest::TempDir& dir) {
    fs::path share = fs::path(NYLUXORA_TEST_SHARE_DIR) / "data";
    for (const char* f : {"NyData.mdb", "ZirIrodoDot.mdb", "plane.mdb"})
      fs::copy_file(share / f, dir.path() / f, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(d.nydata.InitADOServer((dir.path() / "NyData.mdb").string()));
    ASSERT_TRUE(d.dot.InitADOServer((dir.path() / "ZirIrodoDot.mdb").string()));
    ASSERT_TRUE(d.plane.InitADOServer((dir.path() / "plane.mdb").string()));
  }
};

TEST_F(StatementCatalogue, EveryStatementRunsAgainstTheShippedData) {
  for (const auto& c : Cases()) {
    SCOPED_TRACE(c.name);
    nytest::TempDir dir;
    Dbs d;
    Open(d, dir);
    if (HasFatalFailure()) return;
    c.run(d);
  }
}

TEST_F(StatementCatalogue, ReadsReturnTheShippedRows) {
  nytest::TempDir dir;
  Dbs d;
  Open(d, dir);
  if (HasFatalFailure()) return;
  for (const auto& r : Reads()) {
    SCOPED_TRACE(r.name + (": " + r.sql));
    Values v;
    EXPECT_EQ(d.Of(r.db).GetSelData(v, r.sql), r.rows);
    if (r.values.empty()) continue;
    switch (r.cmp) {
      case Cmp::Exact: EXPECT_EQ(v, r.values); break;
      case Cmp::AnyOrder: EXPECT_EQ(Sorted(v), Sorted(r.values)); break;
      case Cmp::Distinct: EXPECT_EQ(Unique(v), r.values); break;
      case Cmp::DistinctAnyOrder: EXPECT_EQ(Sorted(Unique(v)), Sorted(r.values)); break;
      case Cmp::Prefix: EXPECT_EQ(Values(v.begin(), v.begin() + std::min(v.size(), r.values.size())), r.values);
    }
  }
}

TEST_F(StatementCatalogue, ChangesTakeEffect) {
  for (const auto& c : Changes()) {
    SCOPED_TRACE(c.name + (": " + c.sql));
    nytest::TempDir dir;
    Dbs d;
    Open(d, dir);
    if (HasFatalFailure()) return;
    ASSERT_EQ(d.Of(c.db).ExecuteSQL(c.sql), c.changed);
    Values v;
    EXPECT_EQ(d.Of(c.db).GetSelData(v, c.check), c.check_rows) << c.check;
    if (!c.check_values.empty()) {
      EXPECT_EQ(v, c.check_values) << c.check;
    }
  }
}

TEST_F(StatementCatalogue, EveryStatementHasACase) {
  // Names of the catalogue, read from its header.
  fs::path header = fs::path(NYLUXORA_TEST_EXAMPLES_DIR) / ".." / "src" / "refdata" / "statements.h";
  std::string text = nytest::ReadAll(header);
  ASSERT_FALSE(text.empty()) << header;
  std::set<std::string> declared;
  std::regex decl(R"(inline constexpr (?:const char\*|MaterialColourStatement) (k\w+))");
  for (std::sregex_iterator it(text.begin(), text.end(), decl), end; it != end; ++it)
    declared.insert((*it)[1]);
  std::set<std::string> tested;
  for (const auto& c : Cases()) EXPECT_TRUE(tested.insert(c.name).second) << "twice: " << c.name;
  for (const auto& r : Reads()) tested.insert(r.name);
  for (const auto& c : Changes()) tested.insert(c.name);
  EXPECT_EQ(declared, tested);
  EXPECT_GE(declared.size(), 80u);
}

TEST(StatementCatalogueText, KeepsTheExactFormsOfTheSharedDatabases) {
  // The forms the Access engine of the other version received, blanks and tabs included.
  EXPECT_EQ(std::string(kInsertCuLuminaire).find("[灯具型号]\t\t\t\t\t("), 12u);
  EXPECT_NE(std::string(kInsertDotLuminaire).find("[灯具型号]\t\t\t\t\t("), std::string::npos);
  EXPECT_NE(std::string(kInsertRememberedLamps).find(")\t\t\t\tvalues ("), std::string::npos);
  EXPECT_NE(std::string(kSelectRememberedLamps).find("[默认光源]\t\t\t\t\tWHERE"), std::string::npos);
  EXPECT_NE(std::string(kSelectLampPowersNoBlank).find("'%s'AND"), std::string::npos);
  EXPECT_EQ(std::string(kDeleteLamp).rfind("DELETE * FROM", 0), 0u);
  EXPECT_EQ(std::string(kCreateCategoryTableFromTemplate), "select * into [%s] from [照度标准模板]");
  EXPECT_EQ(std::string(kSelectCurveByModel), "SELECT [配光曲线表] FROM [灯具型号] WHERE  [灯具型号] = '%s'");
  // Names at "[%s]" have their "]" doubled; text values and numbers are written as given.
  EXPECT_EQ(FormatSql(kSelectPositionIndex, "1]", "2"),
            "select [1]]] from [古斯位置指数] where [H_R] = 2");
  EXPECT_EQ(FormatSql(kSelectStandardValues, "a]b", "c]"),
            "SELECT [照度],[现行功率密度],[目标功率密度],[统一眩光],[显色指数] FROM [a]]b] WHERE "
            "[场所名称] = 'c]'");
  std::string update = kUpdateRememberedLamps;
  EXPECT_EQ(std::count(update.begin(), update.end(), '\t'), 11);  // between the 12 assignments
}

}  // namespace
