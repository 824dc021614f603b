#include <fmt/printf.h>
#include <gtest/gtest.h>

#include "base/module_state.h"
#include "lumen/cu_lookup.h"
#include "lumen/lumen_report.h"
#include "lumen/lumen_room.h"
#include "refdata/reference_db.h"
#include "support/ny_access.h"
#include "test_support.h"

namespace {

// A table whose entry is base(pair) - 0.04 × (RCR - 1): 0.60 at RCR 3 and 0.56 at RCR 4 for the
// (50,30) pair of the 70-series.
CuTable MakeTable(bool eighty) {
  CuTable t;
  t.name = "t";
  t.eighty_series = eighty;
  for (int p = 0; p < 10; ++p)
    for (int rcr = 1; rcr <= 10; ++rcr) {
      const double base = 0.76 - 0.02 * p - (p == 9 ? 0.2 : 0);
      t.entries[{CuCeilingColumns(eighty)[p], CuWallColumns()[p], rcr}].push_back(base -
                                                                                  0.04 * (rcr - 1));
    }
  return t;
}

double At(bool eighty, int pair, int rcr) {
  return MakeTable(eighty).entries.at(
      {CuCeilingColumns(eighty)[pair], CuWallColumns()[pair], rcr})[0];
}

TEST(CuLookup, InterpolatesAndClampsOnEveryAxis) {
  struct Case {
    bool eighty;
    double c, w, rcr, expected;
  } cases[] = {
      {false, 0.5, 0.3, 4, At(false, 4, 4)},                              // on the grid
      {false, 0.5, 0.3, 3.25, 0.59},                                      // 0.60 → 0.56
      {false, 0.5, 0.6, 4, At(false, 3, 4)},                              // wall 0.6 as 0.5
      {false, 0.5, 0.3, 12, At(false, 4, 10)},                            // RCR 12 as 10
      {false, 0.5, 0.3, 0.4, At(false, 4, 1)},                            // RCR 0.4 as 1
      {true, 0.85, 0.5, 2, At(true, 0, 2)},                               // above the 80-series top
      {false, 0.75, 0.5, 2, At(false, 0, 2)},                             // above the 70-series top
      {false, 0.2, 0.5, 2, (At(false, 6, 2) * 2 + At(false, 9, 2)) / 3},  // 30 % ↔ (0,0)
      // Wall 5 %: 10 % ↔ (0,0), then ceiling 50 ↔ (0,0) at 80 % of the way.
      {false, 0.4, 0.05, 1, 0.4 * At(false, 5, 1) + 0.6 * At(false, 9, 1)},
      {false, 0.6, 0.4, 1,
       ((At(false, 3, 1) + At(false, 4, 1)) / 2 + (At(false, 0, 1) + At(false, 1, 1)) / 2) / 2},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(InterpolateCu(MakeTable(c.eighty), c.c, c.w, c.rcr), c.expected, 1e-9)
        << c.c << " " << c.w << " " << c.rcr;
}

TEST(CuLookup, MissingOrDuplicatedEntryGivesMinusOneWithItsMessage) {
  nyhost::WindowSystem windows;
  nyhost::Host::Get().SetWindows(&windows);
  CuTable missing = MakeTable(false), twice = MakeTable(false);
  missing.entries.erase({50, 30, 4});
  twice.entries[{50, 30, 4}].push_back(0.5);
  for (const CuTable* t : {&missing, &twice})
    EXPECT_EQ(LookupUtilizationCoefficient(*t, 0.5, 0.3, 3.5), -1);
  EXPECT_EQ(LookupUtilizationCoefficient(CuTable{}, 0.5, 0.3, 3.5), -1);
  EXPECT_EQ(windows.message_log,
            std::vector<std::string>(2, "[岚序软件] 利用系数没找到 或 存在多个利用系数!"));
  nyhost::Host::Get().SetWindows(nullptr);
}

class CuDatabase : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    LoadModule();
  }
};

TEST_F(CuDatabase, ShippedTablesAreFoundReadAndSeriesDetected) {
  auto lum = FindCuLuminaire(NyDataDb(), "YG701-3", "荧光灯");
  ASSERT_TRUE(lum);
  EXPECT_EQ(lum->table, "荧光灯YG701-3");
  EXPECT_DOUBLE_EQ(lum->spacing_ratio, 1.3);
  auto t = LoadCuTable(NyDataDb(), lum->table);
  ASSERT_TRUE(t);
  EXPECT_TRUE(t->eighty_series);
  EXPECT_DOUBLE_EQ(InterpolateCu(*t, 0.8, 0.5, 1), 0.51);
  auto m = ReadCuMatrix(NyDataDb(), lum->table);
  ASSERT_TRUE(m);
  EXPECT_DOUBLE_EQ((*m)[0][0], 0.51);
  EXPECT_FALSE(LoadCuTable(NyDataDb(), "没有这个表"));
  // A model that is not in the catalogue keeps the previous choice with the duplicate message.
  EXPECT_FALSE(FindCuLuminaire(NyDataDb(), "YG701-3", "LED"));
  NyDataDb()->ExecuteSQL("DELETE FROM [荧光灯YG701-3] WHERE [室空间比] = 10");
  EXPECT_FALSE(ReadCuMatrix(NyDataDb(), "荧光灯YG701-3"));
  EXPECT_EQ(windows.message_log,
            (std::vector<std::string>{"[岚序软件] <灯具型号>中有相同的型号和光源:YG701-3 LED!",
                                      "[岚序软件] 数据库缺少数据,请检查数据库是否只有100行数据!"}));
}

LumenRoom Office() {
  LumenRoom r;
  r.length = 10;
  r.width = 5;
  r.standard_lx = 300;
  r.standard_lpd = 11;
  r.cu = 0.61;
  r.set1 = {2, 1500, 3000, "36", "4"};
  r.set2 = {1, 0, 0, "", "0"};
  return r;
}

TEST(LumenRoom, GeometryAndEffectiveReflectances) {
  LumenRoom r = Office();
  UpdateRoomGeometry(r);
  EXPECT_DOUBLE_EQ(r.floor_area, 50);
  EXPECT_DOUBLE_EQ(r.perimeter, 30);
  EXPECT_DOUBLE_EQ(r.wall_area, 84);
  EXPECT_DOUBLE_EQ(RoomCavityRatio(r), 4.2);
  r.window_ratio = 20;
  EXPECT_NEAR(EffectiveWall(r), 0.418, 1e-12);
  r.window_ratio = 0;
  EXPECT_DOUBLE_EQ(EffectiveWall(r), 0.5);
  EXPECT_DOUBLE_EQ(CutCoefficient(0.6579, 3), 0.657);
  EXPECT_DOUBLE_EQ(CutCoefficient(-1, 3), -1);
}

TEST(LumenRoom, CalculationResultsAndVerdicts) {
  struct Case {
    double standard, height;
    const char* expected;  // count, E, lpd, reference, tips or the stop message
  } cases[] = {
      {300, 2.8,
       "12 307.5 19.2 11 标准功率密度w/m2|计算照度大于等于标准照度,采用标准功率密度|"
       "计算功率密度大于等于标准功率密度,不通过!建议调整光源或灯具|计算照度大于等于标准照度,通过!"},
      {0, 2.8, "0 0 0 0 none"},
      {300, 8, "12 307.5 19.2 11 标准功率密度w/m2"},  // RCR 12 still calculates
      {300, 10.8, "室形系数RCR = 16.2,远大于10,不适合使用利用系数法计算!"},
  };
  for (const auto& c : cases) {
    LumenRoom r = Office();
    r.standard_lx = c.standard;
    r.height = c.height;
    std::string got;
    if (auto stop = CalculateAverageIlluminance(r)) {
      got = *stop;
    } else {
      got = fmt::sprintf("%d %.15g %.15g", r.count, r.illuminance, r.lpd);
      auto v = ShowPowerDensityVerdicts(r);
      got += fmt::sprintf(" %.15g ", r.reference_lpd);
      got += v ? v->label + "|" + v->reference_tip + "|" + v->lpd_tip + "|" + v->illuminance_tip
               : "none";
    }
    EXPECT_EQ(got.substr(0, std::string(c.expected).size()), c.expected) << c.height;
  }
  LumenRoom r = Office();
  r.cu = 0;
  EXPECT_EQ(CalculateAverageIlluminance(r).value_or(""), "利用系数 == 0");
}

TEST(LumenRoom, ReducedLimitAndEditedResults) {
  LumenRoom r = Office();
  UpdateRoomGeometry(r);
  r.illuminance = 250;
  EXPECT_DOUBLE_EQ(ComputeReducedPowerDensity(r), 9.16);
  r.count = 11;
  IlluminanceFromCount(r);
  EXPECT_NEAR(r.illuminance, 281.8, 1e-9);  // 281.82 cut down
  EXPECT_NEAR(r.reference_lpd, 10.33, 1e-9);
  auto v = ShowPowerDensityVerdicts(r);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->label, "折算功率密度w/m2");
  EXPECT_EQ(v->lpd_tip, "计算功率密度大于等于折算功率密度,不通过!建议调整光源或灯具");
  r.illuminance = 300;
  CountFromIlluminance(r);
  EXPECT_EQ(r.count, 12);
}

// One template line in, its two report entries out.
TEST(LumenReport, PlaceholdersAndVerdictLines) {
  const char* zh_marker = "结论:计算功率密度小于标准功率密度,通过!";
  const char* en_marker =
      "If the power density calculated out is smaller than the standard power density, ok";
  const char* en_reject =
      "If the power density calculated out is larger than or equal to the standard power density, "
      "the design will be rejected, we recommend adjustment on the light source or lamps.";
  struct Case {
    const char* line;
    double illuminance, lpd, reference;
    bool english;
    const char* first;
    const char* second;
    StandardEdition edition = StandardEdition::k2004;
  } cases[] = {
      {"<%灯具数>套 <%实际照度>lx,共<%灯具数>套", 320, 9.5, 11, false, "12套 320.0lx,共12套", ""},
      {"<%室形系数>|<%利用系数>|<%照明面积>|<%围墙的面积>|<%安装高度>|<%窗墙比>", 320, 9.5, 11,
       false, "1.19|0.6100|50.0|84.00|2.80|15", ""},
      {"<%光源型号>/<%光源数>/<%功率>/<%镇流器功率>/<%光通量>|<%光源型号1>/<%光源数1>/<%功率1>",
       320, 9.5, 11, false, "T8/2/36/4/3000|/1/0", ""},
      {"<%功率密度>/<%折算功率密度>/<%标准功率密度>/<%标准照度>", 250, 9.5, 9.16, false,
       "9.50/9.16/11/300", ""},
      {"<%计算时间>", 0, 0, 0, false, "2026年03月05日 08时09分07秒", ""},
      {"<%计算时间>", 0, 0, 0, true, "08:09:07 05/03/2026", ""},
      {"[<%工程名称><%设计阶段>]<%单位>/<%设计人><%未知>", 0, 0, 0, false, "[]岚序/张三<%未知>",
       ""},
      // Not calculated yet: the verdict line stays as written.
      {"<%功率密度> 计算功率密度小于标准功率密度", 0, 9.5, 11, false,
       "9.50 计算功率密度小于标准功率密度", ""},
      // Without the marker sentence there is no verdict.
      {"计算功率密度小于标准", 320, 9.5, 11, false, "计算功率密度小于标准", ""},
      {zh_marker, 320, 9.5, 11, false, "计算照度大于等于标准照度,采用标准功率密度11(W/m2)",
       "计算功率密度小于标准功率密度,通过!"},
      {zh_marker, 320, 11, 11, false, "计算照度大于等于标准照度,采用标准功率密度11(W/m2)",
       "计算功率密度大于等于标准功率密度,不通过!建议调整光源或灯具"},
      {zh_marker, 250, 9.5, 9.16, false, "计算照度小于标准照度,采用折算功率密度9.16(W/m2)",
       "计算功率密度大于等于折算功率密度,不通过!建议调整光源或灯具"},
      {en_marker, 250, 9, 9.16, true,
       "If the luminance calculated out is smaller than the standard luminance, the reduced "
       "power density 9.16 (W/m2) will be adopted.",
       "If the power density calculated out is smaller than the reduced power density, the "
       "design will be passed."},
      {zh_marker, 320, 12, 11, true,
       "If the luminance calculated out is larger than or equal to the standard luminance, the "
       "standard power density 11 (W/m2) will be adopted.",
       en_reject},
      // The 2024 edition holds 90 % of the standard enough and names itself once, at the end.
      {zh_marker, 280, 9.5, 11, false, "计算照度不低于标准照度的90%,采用标准功率密度11(W/m2)",
       "计算功率密度小于标准功率密度,通过!；依据GB/T 50034-2024 (GB 55015-2021)",
       StandardEdition::k2024},
      {en_marker, 280, 9.5, 11, true,
       "If the luminance calculated out is larger than or equal to the standard luminance, the "
       "standard power density 11 (W/m2) will be adopted.",
       "If the power density calculated out is smaller than the standard power density, the "
       "design will be passed. (GB/T 50034-2024 (GB 55015-2021))",
       StandardEdition::k2024},
  };
  for (const auto& c : cases) {
    LumenReportInput in;
    in.room = Office();
    in.room.height = 2.8;
    UpdateRoomGeometry(in.room);
    in.room.count = 12;
    in.room.set2.power = "0";
    in.room.illuminance = c.illuminance;
    in.room.lpd = c.lpd;
    in.room.reference_lpd = c.reference;
    in.company = "岚序";
    in.designer = "张三";
    in.lamp_model1 = "T8";
    in.english = c.english;
    in.edition = c.edition;
    in.time.tm_year = 126;  // 2026-03-05 08:09:07
    in.time.tm_mon = 2;
    in.time.tm_mday = 5;
    in.time.tm_hour = 8;
    in.time.tm_min = 9;
    in.time.tm_sec = 7;
    const auto out = LumenReportLines({c.line}, in);
    ASSERT_EQ(out.size(), 2u) << c.line;
    EXPECT_EQ(out[0], c.first) << c.line;
    EXPECT_EQ(out[1], c.second) << c.line;
  }
}

TEST(LumenReport, PdfDocumentKeepsTheLinesAndSketchesEachLuminaire) {
  LumenReportInput in;
  in.room = Office();
  in.room.illuminance = 320;  // calculated: the edition is named
  for (int count : {0, 1, 7, 12}) {
    in.room.count = count;
    const auto doc = LumenReportDocument({"甲", "", "乙", "第二句"}, in);
    std::vector<std::string> paragraphs;
    int luminaires = 0, outside = 0;
    for (const auto& block : doc.blocks) {
      if (const auto* p = std::get_if<nyhost::ReportParagraph>(&block)) paragraphs.push_back(p->text);
      if (const auto* f = std::get_if<nyhost::ReportFigure>(&block))
        for (const auto& item : std::get<nyhost::SketchFigure>(f->picture).items)
          if (const auto* c = std::get_if<nyhost::SketchCircle>(&item)) {
            ++luminaires;
            outside += c->centre.x <= 0 || c->centre.x >= in.room.length || c->centre.y <= 0 ||
                       c->centre.y >= in.room.width;
          }
    }
    EXPECT_EQ(doc.title, "甲");
    EXPECT_EQ(paragraphs, (std::vector<std::string>{"乙", "第二句", "校验依据：GB 50034-2004"}));
    EXPECT_EQ(luminaires, count);
    EXPECT_EQ(outside, 0) << count;
  }
}

TEST(LumenReport, EnglishModelStopsOnceNoChineseIsLeft) {
  const NameTranslations names = {{"格栅", "Grille "}, {"荧光灯", "troffer"}, {"troffer", "X"}};
  struct Case {
    const char* model;
    NameTranslations names;
    const char* english;
  } cases[] = {
      {"格栅荧光灯YG701", names, "Grille trofferYG701"},  // the third pair is not applied
      {"格栅灯", names, "Grille 灯"},                     // what is left untranslated stays
      {"筒灯", {}, "筒灯"},
      {"", names, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TranslateModel(c.model, c.names), c.english) << c.model;
  LumenReportInput in;
  in.room.model = "格栅荧光灯";
  in.names = names;
  EXPECT_EQ(LumenReportLines({"<%型号>"}, in)[0], "格栅荧光灯");
  in.english = true;
  EXPECT_EQ(LumenReportLines({"<%型号>"}, in)[0], "Grille troffer");
}

TEST(LumenRoom, RoomFromOutline) {
  struct Case {
    double area, perimeter, scale, length, width;
  } cases[] = {
      {50e6, 30e3, 1, 10, 5},        // a drawn 10 m × 5 m rectangle
      {50e6, 30e3, 100, 1000, 500},  // 1:100 drawing units
      {100e6, 38e3, 1, 10, 10},      // D < 0: the square of the same area
  };
  for (const auto& c : cases) {
    LumenRoom r;
    ASSERT_TRUE(RoomFromOutline(c.area, c.perimeter, c.scale, r));
    EXPECT_NEAR(r.length, c.length, 1e-9);
    EXPECT_NEAR(r.width, c.width, 1e-9);
  }
  LumenRoom r;
  EXPECT_FALSE(RoomFromOutline(0, 10, 1, r));
  EXPECT_DOUBLE_EQ(r.length, 10);
}

}  // namespace
