// Every statement of the catalogue, run against fresh copies of the shipped databases with
// sample values; the expected rows come from the shipped reference data (data/sql).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "refdata/statements.h"
#include "support/ny_access.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using Values = std::vector<std::string>;

struct Dbs {
  NyAccess nydata, dot, plane;
};

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

double Num(const Values& v, std::size_t i) { return i < v.size() ? std::atof(v[i].c_str()) : -1; }

struct StatementCase {
  std::string name;
  std::function<void(Dbs&)> run;
};

#define CASE(name) StatementCase{#name, [](Dbs & d)

const Values kKindsPinyin = {"LED",          "白炽灯", "高压钠灯", "金属卤化物灯",
                             "紧凑型荧光灯", "卤钨灯", "荧光灯"};

std::vector<StatementCase> Cases() {
  return {
      // ---- NyData.mdb: 光源 ----
      CASE(kSelectLampKindsSorted) {
        Values v = Q(d.nydata, kSelectLampKindsSorted);
        EXPECT_EQ(v.size(), 44u);
        EXPECT_EQ(Unique(v), kKindsPinyin);
      }},
      CASE(kSelectLampKindsGrouped) { EXPECT_EQ(Q(d.nydata, kSelectLampKindsGrouped), kKindsPinyin); }},
      CASE(kSelectLampModelsOfKind) {
        Values v = Q(d.nydata, FormatSql(kSelectLampModelsOfKind, "荧光灯"));
        EXPECT_EQ(v.size(), 11u);
        EXPECT_EQ(Sorted(Unique(v)), (Values{"T5", "T8", "YZ18RR", "YZ36RR"}));
      }},
      CASE(kSelectLampModelsOfKindGrouped) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectLampModelsOfKindGrouped, "荧光灯")),
                  (Values{"T5", "T8", "YZ18RR", "YZ36RR"}));
      }},
      CASE(kSelectLampPowersNoBlank) {
        EXPECT_EQ(Sorted(Q(d.nydata, FormatSql(kSelectLampPowersNoBlank, "荧光灯", "T8"))),
                  Sorted({"18", "30", "36", "58"}));
      }},
      CASE(kSelectLampPowers) {
        EXPECT_EQ(Sorted(Q(d.nydata, FormatSql(kSelectLampPowers, "紧凑型荧光灯", "TC-DEL"))),
                  Sorted({"18", "26", "32", "42"}));
      }},
      CASE(kSelectLampPowersGrouped) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectLampPowersGrouped, "荧光灯", "T5")),
                  (Values{"14", "21", "28", "35", "54"}));
      }},
      CASE(kSelectLampFlux) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectLampFlux, "荧光灯", "T8", 36)), (Values{"3350"}));
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectLampFlux, "荧光灯", "T8", 37)), 0);
      }},
      CASE(kSelectLampRowsOfKind) {
        Values v = Q(d.nydata, FormatSql(kSelectLampRowsOfKind, "白炽灯"));
        ASSERT_EQ(v.size(), 15u);
        EXPECT_EQ(Values(v.begin(), v.begin() + 5), (Values{"白炽灯", "PZ", "40", "430", ""}));
      }},
      CASE(kSelectLampRowsOfKindByPower) {
        Values v = Q(d.nydata, FormatSql(kSelectLampRowsOfKindByPower, "卤钨灯"));
        ASSERT_EQ(v.size(), 15u);
        EXPECT_EQ((Values{v[2], v[7], v[12]}), (Values{"50", "50", "100"}));
      }},
      CASE(kSelectLampRowsOfMakerAndKind) {
        Values v = Q(d.nydata, FormatSql(kSelectLampRowsOfMakerAndKind, "通用", "LED"));
        ASSERT_EQ(v.size(), 10u);
        EXPECT_EQ(Sorted({v[1], v[6]}), Sorted({"LED-GK100", "T8-1200"}));
      }},
      CASE(kSelectLampMakersOfKindGrouped) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectLampMakersOfKindGrouped, "荧光灯")),
                  (Values{"", "通用"}));
      }},
      CASE(kSelectLampMakersOfKindSorted) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectLampMakersOfKindSorted, "LED")),
                  (Values{"", "", "", "", "通用", "通用"}));
      }},
      CASE(kSelectLampExistsBeforeSave) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectLampExistsBeforeSave, "荧光灯", "T8", 36)).size(), 5u);
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectLampExistsBeforeSave, "荧光灯", "T8", 35)), 0);
      }},
      CASE(kInsertLamp) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kInsertLamp, "LED", "X1", 5, 500, "某厂")), 1);
        EXPECT_EQ(Q(d.nydata, "SELECT [光通量],[生产厂家] FROM [光源] WHERE [光源型号] = 'X1'"),
                  (Values{"500", "某厂"}));
      }},
      CASE(kUpdateLamp) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kUpdateLamp, 3400, "某厂", "荧光灯", "T8", 36)), 1);
        EXPECT_EQ(Q(d.nydata, "SELECT [光通量],[生产厂家] FROM [光源] WHERE [光源型号] = 'T8' AND "
                              "[功率] = 36"),
                  (Values{"3400", "某厂"}));
      }},
      CASE(kSelectLampExistsBeforeDelete) {
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectLampExistsBeforeDelete, "LED", "LED-36", 36)), 1);
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectLampExistsBeforeDelete, "LED", "LED-36", 35)), 0);
      }},
      CASE(kDeleteLamp) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kDeleteLamp, "荧光灯", "T8", 36)), 1);
        EXPECT_EQ(Rows(d.nydata, "SELECT * FROM [光源] WHERE [光源型号] = 'T8'"), 3);
        EXPECT_EQ(Rows(d.nydata, "SELECT * FROM [光源]"), 43);
      }},

      // ---- NyData.mdb: 灯具型号 and coefficient tables ----
      CASE(kSelectCuModelsOfKind) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectCuModelsOfKind, "荧光灯")),
                  (Values{"YG1-1", "YG2-2", "YG701-3"}));
      }},
      CASE(kSelectCuLuminaireRowsAll) {
        Values v = Q(d.nydata, kSelectCuLuminaireRowsAll);
        ASSERT_EQ(v.size(), 50u);
        EXPECT_EQ(v[0], "LED");
        EXPECT_EQ(v[45], "荧光灯");
      }},
      CASE(kSelectCuLuminaireRowsOfKindLower) {
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectCuLuminaireRowsOfKindLower, "LED")), 2);
      }},
      CASE(kSelectCuLuminaireRowsOfKind) {
        Values v = Q(d.nydata, FormatSql(kSelectCuLuminaireRowsOfKind, "金属卤化物灯"));
        EXPECT_EQ(v, (Values{"金属卤化物灯", "GC-400", "1.2", "通用", "GC-400.bmp"}));
      }},
      CASE(kSelectCuLuminaireRowsOfMakerAndKind) {
        Values v = Q(d.nydata, FormatSql(kSelectCuLuminaireRowsOfMakerAndKind, "通用", "荧光灯"));
        EXPECT_EQ(v, (Values{"荧光灯", "YG701-3", "1.3", "通用", "YG701-3.bmp"}));
      }},
      CASE(kSelectCuLuminaireRowsOfKindAndMaker) {
        Values v = Q(d.nydata, FormatSql(kSelectCuLuminaireRowsOfKindAndMaker, "荧光灯", "通用"));
        EXPECT_EQ(v, (Values{"荧光灯", "YG701-3", "1.3", "通用", "YG701-3.bmp"}));
      }},
      CASE(kSelectCuLuminaireMakersOfKind) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectCuLuminaireMakersOfKind, "荧光灯")), (Values{"通用"}));
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectCuLuminaireMakersOfKind, "高压钠灯")), 0);
      }},
      CASE(kSelectCuTableOfLuminaire) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectCuTableOfLuminaire, "荧光灯", "YG701-3")),
                  (Values{"荧光灯YG701-3"}));
      }},
      CASE(kSelectCuLuminaireRecord) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectCuLuminaireRecord, "TD-150", "紧凑型荧光灯")),
                  (Values{"1.0", "TD-150.bmp", "紧凑型荧光灯TD-150"}));
      }},
      CASE(kSelectDesignationsOfModel) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectDesignationsOfModel, "YG701-3")),
                  (Values{"格栅荧光灯^嵌入式格栅荧光灯^"}));
      }},
      CASE(kInsertCuLuminaire) {
        ASSERT_EQ(d.nydata.ExecuteSQL(
                      FormatSql(kInsertCuLuminaire, "LED", "N1", 1.25, "", "N1.bmp", "LEDN1")),
                  1);
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectCuLuminaireRecord, "N1", "LED")),
                  (Values{"1.25", "N1.bmp", "LEDN1"}));
      }},
      CASE(kUpdateCuLuminaire) {
        ASSERT_EQ(d.nydata.ExecuteSQL(
                      FormatSql(kUpdateCuLuminaire, 1.1, "new.bmp", "某厂", "荧光灯", "YG2-2")),
                  1);
        EXPECT_EQ(Q(d.nydata, "SELECT [距高比],[位图],[生产厂家] FROM [灯具型号] WHERE "
                              "[灯具型号] = 'YG2-2'"),
                  (Values{"1.1", "new.bmp", "某厂"}));
      }},
      CASE(kUpdateDesignationsOfModel) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kUpdateDesignationsOfModel, "甲^乙^", "YG1-1")), 1);
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectDesignationsOfModel, "YG1-1")), (Values{"甲^乙^"}));
      }},
      CASE(kDeleteCuLuminaire) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kDeleteCuLuminaire, "荧光灯", "YG1-1")), 1);
        EXPECT_EQ(Rows(d.nydata, "SELECT * FROM [灯具型号]"), 9);
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectCuTableOfLuminaire, "荧光灯", "YG1-1")), 0);
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
      CASE(kSelectCuValue) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectCuValue, "荧光灯YG701-3", 80, 50, 1)), (Values{"0.51"}));
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectCuValue, "荧光灯YG701-3", 80, 50, 3)), (Values{"0.42"}));
      }},
      CASE(kDeleteAllRows) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kDeleteAllRows, "荧光灯YG701-3")), 1);
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectCuCeilingValues, "荧光灯YG701-3")), 0);
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectCuCeilingValues, "荧光灯YG2-2")), 100);
      }},
      CASE(kInsertCuValue) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kDeleteAllRows, "荧光灯YG701-3")), 1);
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kInsertCuValue, "荧光灯YG701-3", 0.456, 80, 50, 1)), 1);
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectCuValue, "荧光灯YG701-3", 80, 50, 1)), (Values{"0.46"}));
      }},

      // ---- NyData.mdb: standards ----
      CASE(kSelectStandardCategories) {
        EXPECT_EQ(Q(d.nydata, kSelectStandardCategories),
                  (Values{"居住建筑", "办公建筑", "商业建筑", "旅馆建筑", "医院建筑", "学校建筑",
                          "公用场所", "工业建筑"}));
      }},
      CASE(kSelectStandardPlaces) {
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectStandardPlaces, "办公建筑")),
                  (Values{"普通办公室", "高档办公室", "会议室", "接待室、前台", "营业厅", "设计室",
                          "文件整理、复印、发行室", "资料、档案室"}));
      }},
      CASE(kSelectStandardValues) {
        Values v = Q(d.nydata, FormatSql(kSelectStandardValues, "医院建筑", "手术室"));
        ASSERT_EQ(v.size(), 5u);
        EXPECT_EQ(std::atoi(v[0].c_str()), 750);
        EXPECT_EQ(Num(v, 1), 30.0);
        EXPECT_EQ(Num(v, 2), 25.0);
        EXPECT_EQ(Num(v, 3), 19.0);
        EXPECT_EQ(v[4], "90");
      }},
      CASE(kInsertStandardCategory) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kInsertStandardCategory, "体育建筑")), 1);
        Values v = Q(d.nydata, kSelectStandardCategories);
        ASSERT_EQ(v.size(), 9u);
        EXPECT_EQ(v.back(), "体育建筑");
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
      CASE(kInsertStandardPlace) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kInsertStandardPlace, "办公建筑", "测试室", 400,
                                                12.34, 9.96, 19.4, 85)),
                  1);
        Values v = Q(d.nydata, FormatSql(kSelectStandardValues, "办公建筑", "测试室"));
        ASSERT_EQ(v.size(), 5u);
        EXPECT_EQ(v[0], "400");
        EXPECT_DOUBLE_EQ(Num(v, 1), 12.3);
        EXPECT_DOUBLE_EQ(Num(v, 2), 10.0);
        EXPECT_DOUBLE_EQ(Num(v, 3), 19.0);
        EXPECT_EQ(v[4], "85");
        EXPECT_EQ(Q(d.nydata, FormatSql(kSelectStandardPlaces, "办公建筑")).back(), "测试室");
      }},
      CASE(kDeleteStandardPlace) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kDeleteStandardPlace, "办公建筑", "会议室")), 1);
        Values v = Q(d.nydata, FormatSql(kSelectStandardPlaces, "办公建筑"));
        EXPECT_EQ(v.size(), 7u);
        EXPECT_EQ(std::count(v.begin(), v.end(), "会议室"), 0);
      }},
      CASE(kDeleteStandardCategory) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kDeleteStandardCategory, "工业建筑")), 1);
        EXPECT_EQ(Q(d.nydata, kSelectStandardCategories).size(), 7u);
      }},
      CASE(kDropTable) {
        ASSERT_EQ(d.nydata.ExecuteSQL(FormatSql(kDropTable, "工业建筑")), 1);
        EXPECT_EQ(d.nydata.IsTableInDatabase("工业建筑", "TABLE"), 0);
        EXPECT_EQ(d.nydata.IsTableInDatabase("公用场所", "TABLE"), 1);
      }},

      // ---- NyData.mdb: reflectances ----
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
      CASE(kSelectColourlessReflectance) {
        EXPECT_EQ(Num(Q(d.nydata, FormatSql(kSelectColourlessReflectance, "喷白")), 0), 0.8);
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectColourlessReflectance, "砖墙")), 0);
      }},
      CASE(kSelectColourlessReflectanceBracketed) {
        EXPECT_EQ(Num(Q(d.nydata, FormatSql(kSelectColourlessReflectanceBracketed, "钢板")), 0), 0.15);
      }},
      CASE(kSelectColourReflectance) {
        EXPECT_EQ(Num(Q(d.nydata, FormatSql(kSelectColourReflectance, "玻璃", "镜面")), 0), 0.9);
        EXPECT_EQ(Num(Q(d.nydata, FormatSql(kSelectColourReflectance, "马赛克", "灰色")), 0), 0.28);
      }},

      // ---- both catalogues ----
      CASE(kSelectLuminaireKindsSorted) {
        Values lumen = Q(d.nydata, kSelectLuminaireKindsSorted);
        Values dot = Q(d.dot, kSelectLuminaireKindsSorted);
        EXPECT_EQ(lumen.size(), 10u);
        EXPECT_EQ(dot.size(), 10u);
        EXPECT_EQ(Unique(dot), (Values{"LED", "高压钠灯", "金属卤化物灯", "紧凑型荧光灯", "卤钨灯",
                                       "荧光灯"}));
      }},
      CASE(kSelectLuminaireExists) {
        EXPECT_EQ(Rows(d.nydata, FormatSql(kSelectLuminaireExists, "荧光灯", "YG701-3")), 1);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectLuminaireExists, "荧光灯", "YG701-3")).size(), 4u);
        EXPECT_EQ(Rows(d.dot, FormatSql(kSelectLuminaireExists, "LED", "YG701-3")), 0);
      }},

      // ---- ZirIrodoDot.mdb: 灯具型号 ----
      CASE(kSelectDotLuminaireRowsAll) {
        Values v = Q(d.dot, kSelectDotLuminaireRowsAll);
        ASSERT_EQ(v.size(), 30u);
        EXPECT_EQ(v[0], "LED");
        EXPECT_EQ(v[27], "荧光灯");
      }},
      CASE(kSelectDotLuminaireRowsOfKind) {
        EXPECT_EQ(Rows(d.dot, FormatSql(kSelectDotLuminaireRowsOfKind, "荧光灯")), 3);
      }},
      CASE(kSelectDotLuminaireRowsOfKindNoBlank) {
        Values v = Q(d.dot, FormatSql(kSelectDotLuminaireRowsOfKindNoBlank, "LED"));
        ASSERT_EQ(v.size(), 6u);
        EXPECT_EQ(Sorted({v[1], v[4]}), Sorted({"LED-P600", "GK-100"}));
      }},
      CASE(kSelectDotLuminaireRowsOfKindAndMaker) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectDotLuminaireRowsOfKindAndMaker, "荧光灯", "通用")),
                  (Values{"荧光灯", "YG701-3", "通用"}));
      }},
      CASE(kSelectDotLuminaireRowsOfMakerAndKind) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectDotLuminaireRowsOfMakerAndKind, "通用", "紧凑型荧光灯")),
                  (Values{"紧凑型荧光灯", "TD-150", "通用"}));
      }},
      CASE(kSelectDotLuminaireMakersOfKind) {
        EXPECT_EQ(Sorted(Q(d.dot, FormatSql(kSelectDotLuminaireMakersOfKind, "荧光灯"))),
                  Sorted({"通用", "", ""}));
      }},
      CASE(kSelectDotMakersUsingCurve) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectDotMakersUsingCurve, "LED", "LEDLED-P600配光曲线")),
                  (Values{"通用"}));
      }},
      CASE(kSelectDotModelsOfKindAndMaker) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectDotModelsOfKindAndMaker, "LED", "通用")),
                  (Values{"LED-P600"}));
      }},
      CASE(kSelectDotModelsOfKindMakerAndCurve) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectDotModelsOfKindMakerAndCurve, "LED", "",
                                     "LEDGK-100配光曲线")),
                  (Values{"GK-100"}));
      }},
      CASE(kSelectKindAndMakerUsingCurve) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectKindAndMakerUsingCurve, "紧凑型荧光灯TD-150配光曲线")),
                  (Values{"紧凑型荧光灯", "通用"}));
      }},
      CASE(kSelectCurveOfLuminaire) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectCurveOfLuminaire, "紧凑型荧光灯", "TD-150")),
                  (Values{"紧凑型荧光灯TD-150配光曲线"}));
      }},
      CASE(kSelectCurveOfModelAndKind) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectCurveOfModelAndKind, "GC-250", "高压钠灯")),
                  (Values{"高压钠灯GC-250配光曲线"}));
        EXPECT_EQ(Rows(d.dot, FormatSql(kSelectCurveOfModelAndKind, "GC-250", "荧光灯")), 0);
      }},
      CASE(kSelectCurveByModel) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectCurveByModel, "YG701-3")), (Values{"荧光灯YG701-3配光曲线"}));
        EXPECT_EQ(Rows(d.dot, FormatSql(kSelectCurveByModel, "BD-01")), 0);
      }},
      CASE(kInsertDotLuminaire) {
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kInsertDotLuminaire, "LED", "N2", "通用", "LEDN2配光曲线")), 1);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectCurveByModel, "N2")), (Values{"LEDN2配光曲线"}));
      }},
      CASE(kUpdateDotLuminaireMaker) {
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kUpdateDotLuminaireMaker, "某厂", "荧光灯", "YG2-2")), 1);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectDotModelsOfKindAndMaker, "荧光灯", "某厂")), (Values{"YG2-2"}));
      }},
      CASE(kDeleteDotLuminaire) {
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kDeleteDotLuminaire, "荧光灯", "YG2-2")), 1);
        EXPECT_EQ(Rows(d.dot, FormatSql(kSelectCurveByModel, "YG2-2")), 0);
        EXPECT_EQ(Rows(d.dot, kSelectDotLuminaireRowsAll), 9);
        // The curve table itself stays (the editor drops it separately).
        EXPECT_EQ(d.dot.IsTableInDatabase("荧光灯YG2-2配光曲线", "TABLE"), 1);
      }},
      CASE(kDeleteDotLuminaireOfMaker) {
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kDeleteDotLuminaireOfMaker, "荧光灯", "YG701-3", "别的厂")), 1);
        EXPECT_EQ(Rows(d.dot, FormatSql(kSelectCurveByModel, "YG701-3")), 1);
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kDeleteDotLuminaireOfMaker, "荧光灯", "YG701-3", "通用")), 1);
        EXPECT_EQ(Rows(d.dot, FormatSql(kSelectCurveByModel, "YG701-3")), 0);
      }},

      // ---- ZirIrodoDot.mdb: curve tables ----
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

      // ---- ZirIrodoDot.mdb: 默认光源 ----
      CASE(kSelectRememberedExists) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedExists, "格栅荧光灯", "YG701-3")),
                  (Values{"格栅荧光灯", "YG701-3"}));
        EXPECT_EQ(Rows(d.dot, FormatSql(kSelectRememberedExists, "格栅荧光灯", "YG2-2")), 0);
      }},
      CASE(kInsertRememberedLamps) {
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kInsertRememberedLamps, "C", "荧光灯", "T5", 28, 3, 2,
                                             "LED", "T8-600", 9, 1, 4, 9200, "M9", "吸顶灯")),
                  1);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedLamps, "吸顶灯", "M9")),
                  (Values{"荧光灯", "T5", "2", "28", "3", "LED", "T8-600", "4", "9", "1", "9200"}));
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedCurve, "吸顶灯", "M9")), (Values{"C"}));
      }},
      CASE(kUpdateRememberedLamps) {
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kUpdateRememberedLamps, "荧光灯", "T5", 28, 3, 2, "", "",
                                             0, 0, 1, 5200, "荧光灯YG2-2配光曲线", "YG701-3",
                                             "格栅荧光灯")),
                  1);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedLamps, "格栅荧光灯", "YG701-3")),
                  (Values{"荧光灯", "T5", "2", "28", "3", "", "", "1", "0", "0", "5200"}));
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedCurve, "格栅荧光灯", "YG701-3")),
                  (Values{"荧光灯YG2-2配光曲线"}));
        EXPECT_EQ(Rows(d.dot, "SELECT * FROM [默认光源]"), 4);
      }},
      CASE(kSelectRememberedCurve) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedCurve, "壁灯", "BD-01")),
                  (Values{"荧光灯YG2-2配光曲线"}));
      }},
      CASE(kInsertRememberedCurve) {
        ASSERT_EQ(d.dot.ExecuteSQL(FormatSql(kInsertRememberedCurve, "X曲线", "新灯", "M1")), 1);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedCurve, "新灯", "M1")), (Values{"X曲线"}));
        // The lamps of a curve-only row read empty.
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedLamps, "新灯", "M1")), Values(11, ""));
      }},
      CASE(kSelectRememberedLamps) {
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectRememberedLamps, "格栅荧光灯", "YG701-3")),
                  (Values{"荧光灯", "T8", "3", "36", "4", "", "", "0", "0", "0", "10050"}));
      }},

      // ---- ZirIrodoDot.mdb: Guth position index ----
      CASE(kSelectPositionIndex) {
        // Row H_R = h, column "t": the standard's index at T/R = t/10, H/R = h/10.
        EXPECT_EQ(Num(Q(d.dot, FormatSql(kSelectPositionIndex, "1", "0")), 0), 1.05);
        EXPECT_EQ(Num(Q(d.dot, FormatSql(kSelectPositionIndex, "0", "1")), 0), 1.26);
        EXPECT_EQ(Num(Q(d.dot, FormatSql(kSelectPositionIndex, "19", "19")), 0), 16.0);
        EXPECT_EQ(Q(d.dot, FormatSql(kSelectPositionIndex, "0", "25")), (Values{""}));
        EXPECT_EQ(Rows(d.dot, FormatSql(kSelectPositionIndex, "0", "31")), 0);
      }},

      // ---- plane.mdb ----
      CASE(kSelectDeviceKinds) {
        Values v = Q(d.plane, kSelectDeviceKinds);
        ASSERT_EQ(v.size(), 20u);
        EXPECT_EQ((Values{v[0], v[1]}), (Values{"灯具", "ZM1A"}));
        EXPECT_EQ((Values{v[16], v[17]}), (Values{"", "QT1"}));
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

TEST_F(StatementCatalogue, EveryStatementHasACase) {
  // Names of the catalogue, read from its header.
  fs::path header = fs::path(NYLUXORA_TEST_EXAMPLES_DIR) / ".." / "src" / "refdata" / "statements.h";
  std::ifstream in(header);
  ASSERT_TRUE(in) << header;
  std::stringstream ss;
  ss << in.rdbuf();
  std::string text = ss.str();
  std::set<std::string> declared;
  std::regex decl(R"(inline constexpr (?:const char\*|MaterialColourStatement) (k\w+))");
  for (std::sregex_iterator it(text.begin(), text.end(), decl), end; it != end; ++it)
    declared.insert((*it)[1]);
  std::set<std::string> tested;
  for (const auto& c : Cases()) EXPECT_TRUE(tested.insert(c.name).second) << "twice: " << c.name;
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
  std::string update = kUpdateRememberedLamps;
  EXPECT_EQ(std::count(update.begin(), update.end(), '\t'), 11);  // between the 12 assignments
}

}  // namespace
