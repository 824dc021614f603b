// The lumen method: coefficient lookup, room results and verdicts, the report, the dialog with
// its schemes and editors, and the batch command.
#include <fmt/format.h>
#include <fmt/printf.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "base/module_state.h"
#include "host/text_codec.h"
#include "lumen/cu_lookup.h"
#include "lumen/lumen_dialog.h"
#include "lumen/lumen_report.h"
#include "lumen/lumen_room.h"
#include "lumen/lumen_scheme.h"
#include "lumen/luminaire_chooser.h"
#include "refdata/catalogue_editor_cu.h"
#include "refdata/reference_db.h"
#include "standards/cu_table_editor.h"
#include "standards/reflectance_dialog.h"
#include "support/ny_access.h"
#include "support/ny_ini_file.h"
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

LumenRoom OfficeRoom() {
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

TEST(LumenRoom, GeometryReflectancesAndEditedResults) {
  LumenRoom r = OfficeRoom();
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
  // A count typed in gives the illuminance (cut down) and the reduced limit; an illuminance the
  // count (the reduced limit's own cut is checked with the editions).
  r.count = 11;
  IlluminanceFromCount(r);
  EXPECT_NEAR(r.illuminance, 281.8, 1e-9);  // 281.82 cut down
  EXPECT_NEAR(r.reference_lpd, 10.33, 1e-9);
  auto v = ShowPowerDensityVerdicts(r);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->lpd_tip, "计算功率密度大于等于折算功率密度,不通过!建议调整光源或灯具");
  r.illuminance = 300;
  CountFromIlluminance(r);
  EXPECT_EQ(r.count, 12);
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
    LumenRoom r = OfficeRoom();
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
  LumenRoom r = OfficeRoom();
  r.cu = 0;
  EXPECT_EQ(CalculateAverageIlluminance(r).value_or(""), "利用系数 == 0");
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
    in.room = OfficeRoom();
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
    in.time = {.tm_sec = 7, .tm_min = 9, .tm_hour = 8, .tm_mday = 5, .tm_mon = 2, .tm_year = 126};
    const auto out = LumenReportLines({c.line}, in);
    ASSERT_EQ(out.size(), 2u) << c.line;
    EXPECT_EQ(out[0], c.first) << c.line;
    EXPECT_EQ(out[1], c.second) << c.line;
  }
}

TEST(LumenReport, PdfDocumentKeepsTheLinesAndSketchesEachLuminaire) {
  LumenReportInput in;
  in.room = OfficeRoom();
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

using Drive = std::function<void(nyhost::Dialog&)>;

class LumenDialog : public nytest::HostFixture {
 protected:
  nyhost::Dialog& Open() {
    if (!module_loaded) LoadModule();
    Type("NYZirIrodo_LYXS ");
    return *Module().LyxsDialog->window();
  }
  // The next modal dialogs are driven by these, one per dialog, in order.
  void Modals(std::vector<Drive> drives) {
    auto queue = std::make_shared<std::vector<Drive>>(std::move(drives));
    windows.modal_driver = [queue](nyhost::Dialog& d) {
      if (queue->empty()) return d.EndDialog(nyhost::kIdCancel);
      Drive drive = queue->front();
      queue->erase(queue->begin());
      drive(d);
    };
  }
  static Drive Luminaire(const char* kind, const char* model) {
    return [=](nyhost::Dialog& d) {
      d.UserChoose(226, kind);
      d.UserChoose(279, model);
      d.UserClick(1);
    };
  }
  // The office: 10 × 5 m, YG701-3 with two 36 W T8 lamps, standard 300 lx / 11 W/m².
  void Office(nyhost::Dialog& w) {
    w.UserType(287, "10");
    w.UserType(288, "5");
    Modals({[](nyhost::Dialog& d) {
              d.UserChoose(236, "办公建筑/普通办公室");
              d.UserClose();  // the close box hands the values over too
            },
            Luminaire("荧光灯", "YG701-3")});
    w.UserClick(235);
    w.UserClick(208);
    w.UserChoose(229, "荧光灯");
    w.UserChoose(230, "T8");
    w.UserChoose(322, "36");
    w.UserType(270, "2");
    w.UserChoose(231, "无");
  }
};

TEST_F(LumenDialog, ShippedCuTablesAreFoundReadAndSeriesDetected) {
  LoadModule();
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

TEST_F(LumenDialog, DefaultsListsAndTips) {
  nyhost::Dialog& w = Open();
  std::map<int, std::string> expected = {{287, "10"}, {288, "10"}, {264, "2.8"}, {262, "15"},
                                         {216, "50"}, {217, "50"}, {226, "100"}, {221, "0.7"},
                                         {318, "-1"}, {228, "0"},  {270, "1"},   {324, "0"}};
  for (const auto& [id, text] : expected) EXPECT_EQ(w.GetText(id), text) << id;
  EXPECT_GT(w.FindStringExact(229, "荧光灯"), -1);
  EXPECT_EQ(w.GetItemText(231, w.GetCount(231) - 1), "无");
  EXPECT_EQ(w.FindStringExact(229, "无"), -1);
  EXPECT_EQ(w.GetToolTip(219), "在屏幕勾绘矩形房间");
  w.UserChoose(231, "无");
  for (int id : {273, 338, 237, 323, 325, 286}) EXPECT_FALSE(w.IsEnabled(id)) << id;
  w.UserChoose(231, "LED");
  EXPECT_TRUE(w.IsEnabled(273));
}

TEST_F(LumenDialog, CalculatesEditsResultsAndWarns) {
  nyhost::Dialog& w = Open();
  Office(w);
  EXPECT_EQ(w.GetText(226), "300");
  EXPECT_EQ(w.GetText(284), "6700");
  EXPECT_EQ(w.GetText(289), "YG701-3");
  w.UserClick(239);
  EXPECT_EQ(w.GetText(318), "0.353");
  EXPECT_EQ(w.GetText(228), "10");    // 9.06 rounded up
  EXPECT_EQ(w.GetText(358), "14.4");  // 2 × 36 W × 10 ÷ 50 m²
  EXPECT_EQ(w.GetText(405), "标准功率密度w/m2");
  EXPECT_EQ(w.Control(358)->text_color, 0xFF0000u);
  // A typed count gives the illuminance (cut down), a spin one luminaire more or less.
  w.UserType(228, "6");
  EXPECT_EQ(w.GetText(405), "折算功率密度w/m2");
  w.UserSpin(339, 1);
  EXPECT_EQ(w.GetText(228), "7");
  windows.message_log.clear();
  w.UserType(264, "0");
  w.UserType(216, "120");
  w.UserType(217, "-5");
  w.UserType(221, "1.5");
  EXPECT_EQ(w.GetText(217), "0");
  EXPECT_EQ(windows.message_log,
            (std::vector<std::string>{"[岚序软件] 房间高度不可小于等于0!",
                                      "[岚序软件] 顶棚反射率 不可大于 100 !",
                                      "[岚序软件] 请输入一个介于 0.01 和 1 之间的数字。"}));
  w.UserType(221, "0.7");
  windows.menu_answers = {5};
  w.UserClick(224);
  EXPECT_EQ(w.GetText(221), "0.65");
}

TEST_F(LumenDialog, LampsAreRememberedPerLuminaire) {
  nyhost::Dialog& w = Open();
  Office(w);
  Modals({Luminaire("LED", "LED-P600"), Luminaire("荧光灯", "YG701-3")});
  w.UserClick(208);
  w.UserChoose(229, "LED");
  EXPECT_EQ(w.GetText(289), "LED-P600");
  w.UserClick(208);
  EXPECT_EQ(w.GetText(229), "荧光灯");
  EXPECT_EQ(w.GetText(230), "T8");
  EXPECT_EQ(w.GetText(322), "36");
  EXPECT_EQ(w.GetText(270), "2");
}

TEST_F(LumenDialog, ChooserAndItsLookupWindow) {
  nyhost::Dialog& w = Open();
  std::string ri, shown;
  Modals({[&](nyhost::Dialog& d) {
            d.UserChoose(226, "荧光灯");
            d.UserChoose(279, "YG701-3");
            d.UserClick(228);
            shown = d.GetText(229);
            d.UserType(229, "1.5");  // leaving the field with 1 or more gives 0.99
            EXPECT_EQ(d.GetText(229), "0.99");
            d.UserType(229, "0");
            d.UserClick(1);  // refused, the chooser stays
            d.UserType(229, "0.42");
            d.UserClick(1);
          },
          [&](nyhost::Dialog& d) {
            ri = d.GetText(1003);
            d.UserType(1005, "1");
            d.UserClick(1);
            d.UserType(1005, "0.5");
            d.UserClick(1);
          }});
  windows.message_log.clear();
  w.UserClick(208);
  std::erase_if(windows.message_log, [](const std::string& m) { return m.find("位图") != m.npos; });
  EXPECT_EQ(ri, "1.786");  // 5 ÷ RCR 2.8
  EXPECT_EQ(shown, "0.500");
  EXPECT_EQ(w.GetText(318), "0.42");
  EXPECT_EQ(windows.message_log, (std::vector<std::string>{"[岚序软件] 利用系数不可大于1 !",
                                                           "[岚序软件] 利用系数不可大于1!",
                                                           "[岚序软件] 利用系数不可小于等于0!"}));
}

// Keeps the picture files it is asked to show.
struct PictureRecorder : nyhost::Painter {
  std::vector<std::string> images;
  double Width() const override { return 140; }
  double Height() const override { return 90; }
  void Line(double, double, double, double, std::uint32_t, double) override {}
  void Rect(double, double, double, double, std::uint32_t, std::uint32_t) override {}
  void Text(double, double, const std::string&, std::uint32_t, double) override {}
  void Image(double, double, double, double, const std::string& path) override {
    images.push_back(path);
  }
};

TEST_F(LumenDialog, ChooserAndEditorShowTheLuminairesPicture) {
  LoadModule();
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(Module().DataFolder) / "照度曲线";
  const std::string shown = (folder / "YG701-3.bmp").string();
  // A build without Qt ships no pictures; the painter is handed the path only.
  if (!fs::exists(shown)) {
    fs::create_directories(folder);
    std::ofstream(shown) << "BM";
  }
  fs::remove(folder / "YG2-2.bmp");
  const std::vector<std::string> missing = {"[岚序软件] 位图不存在!"};
  struct Case {
    const char* model;
    bool present;
  } cases[] = {{"YG701-3", true}, {"YG2-2", false}};
  for (const auto& c : cases) {
    PictureRecorder chooser, editor;
    std::vector<std::string> chooser_log, editor_log;
    windows.modal_driver = [&](nyhost::Dialog& d) {
      d.UserChoose(226, "荧光灯");  // shows the kind's first model, YG1-1
      windows.message_log.clear();
      d.UserChoose(279, c.model);
      chooser_log = windows.message_log;
      d.Paint(282, chooser);
      d.UserClick(nyhost::kIdCancel);
    };
    CLuminaireChooserDlg(0.7, 0.5, 2.8, 0.5).DoModal(nullptr);
    windows.modal_driver = [&](nyhost::Dialog& d) {
      d.UserChoose(304, "荧光灯");
      windows.message_log.clear();
      for (int i = 0; i < d.GetCount(261); ++i)
        if (d.GetItemText(261, i).find(c.model) != std::string::npos)
          d.UserChoose(261, d.GetItemText(261, i));
      editor_log = windows.message_log;
      d.Paint(299, editor);
      d.UserClick(nyhost::kIdCancel);
    };
    RunCuLuminaireCatalogueEditor(nullptr);
    const auto images = c.present ? std::vector<std::string>{shown} : std::vector<std::string>{};
    EXPECT_EQ(chooser.images, images) << c.model;
    EXPECT_EQ(editor.images, images) << c.model;
    EXPECT_EQ(chooser_log, c.present ? std::vector<std::string>{} : missing) << c.model;
    EXPECT_EQ(editor_log, c.present ? std::vector<std::string>{} : missing) << c.model;
  }
}

TEST_F(LumenDialog, SchemesSaveLoadAndDelete) {
  nyhost::Dialog& w = Open();
  Office(w);
  w.UserClick(239);
  auto name = [](const char* n) {
    return [n](nyhost::Dialog& d) {
      d.UserType(1001, n);
      d.UserClick(1);
    };
  };
  Modals({name("甲"), name("乙"), name("甲")});
  w.UserClick(409);
  w.UserType(287, "20");
  w.UserClick(409);
  windows.message_answers = {nyhost::kIdNo};
  w.UserType(287, "30");
  w.UserClick(409);  // existing name, "no": nothing written
  const std::string file = Module().DataFolder + kSchemeFileName;
  EXPECT_EQ(SchemeNames(file), (std::vector<std::string>{"甲", "乙"}));
  EXPECT_EQ(NyIniFile::ReadKey("甲", "房间长", 0.0, file), 10);
  EXPECT_EQ(NyIniFile::ReadKey("甲", "灯具数", 0, file), 10);
  const auto keys = NyIniFile::ReadSection("甲", file);
  ASSERT_EQ(keys.size(), 33u);
  EXPECT_EQ(keys.front().first, "单灯光通量1");  // written in the order of the key table
  EXPECT_EQ(keys.back().first, "灯光通量1");
  EXPECT_EQ(w.GetItemText(388, 0), "乙");
  // Loading clears the results the scheme holds.
  w.UserChoose(388, "甲");
  EXPECT_EQ(w.GetText(287), "10");
  EXPECT_EQ(w.GetText(228), "0");
  EXPECT_EQ(w.GetText(318), "0.353");
  windows.message_answers = {nyhost::kIdYes, nyhost::kIdYes};
  w.UserClick(407);
  EXPECT_EQ(w.GetText(388), "乙");
  w.UserClick(407);
  EXPECT_EQ(w.GetCount(388), 0);
  EXPECT_TRUE(SchemeNames(file).empty());
  // With the list empty, "保存" asks for a name.
  Modals({name("丙")});
  w.UserClick(406);
  EXPECT_EQ(SchemeNames(file), std::vector<std::string>{"丙"});
}

TEST_F(LumenDialog, DrawnRoomAndClosing) {
  nyhost::Dialog& w = Open();
  input.Point(0, 0);
  input.Point(12000, 4000);
  w.UserClick(219);
  host().RunPendingCommands();
  EXPECT_EQ(w.GetText(287), "12");
  EXPECT_EQ(w.GetText(288), "4");
  EXPECT_TRUE(w.visible());
  // A cancelled pick: the old outline is gone, the room stays.
  windows.message_log.clear();
  Type("NYZirIrodo_LYXS_POLYGON ");
  EXPECT_EQ(windows.message_log, std::vector<std::string>{"[岚序软件] 房间面积=0!"});
  EXPECT_EQ(w.GetText(287), "12");
  // An octagon has no rectangle of its area and perimeter: the square of its area.
  for (int k = 0; k < 8; ++k)
    input.Point(5000 * std::cos(0.7853981633974483 * k), 5000 * std::sin(0.7853981633974483 * k));
  input.Enter();
  Type("NYZirIrodo_LYXS_POLYGON ");
  const std::string side = w.GetText(287);
  EXPECT_NEAR(std::stod(side), std::sqrt(2 * 25e6 * std::sqrt(2.0)) / 1000, 1e-4);
  EXPECT_EQ(w.GetText(288), side);
  w.UserClose();
  EXPECT_EQ(Module().LyxsDialog, nullptr);
  std::size_t live = 0;
  for (const auto& e : drawing().entities()) live += e.erased ? 0 : 1;
  EXPECT_EQ(live, 0u);
  Type("NYZirIrodo_LYXS_RECT ");
  EXPECT_NE(output.text.find("对话框已关闭!"), std::string::npos);
  nyhost::Dialog& again = Open();
  EXPECT_EQ(again.GetText(287), side);
}

TEST_F(LumenDialog, ReflectanceDialog) {
  LoadModule();
  struct Case {
    std::vector<int> clicks;
    const char* typed;
    double expected;
    int colours;  // enabled colour buttons
  } cases[] = {
      {{1040}, nullptr, 80, 0},        // 喷白: no colours, its value at once
      {{1051, 1061}, nullptr, 10, 6},  // 马赛克: six of its seven colours
      {{1043, 1057}, nullptr, 23, 2},  // 砖墙 灰砖
      {{320}, "95", 100, 0},          {{321}, "5", 0, 0},
  };
  for (const auto& c : cases) {
    CNySetReflectivityDlg dlg;
    int enabled = 0;
    windows.modal_driver = [&](nyhost::Dialog& d) {
      if (c.typed) d.UserType(274, c.typed);
      for (int id : c.clicks) d.UserClick(id);
      for (int i = 0; i < 6; ++i) enabled += d.IsEnabled(1056 + i) ? 1 : 0;
      d.UserClick(1);
    };
    EXPECT_EQ(dlg.DoModal(nullptr), nyhost::kIdOk);
    EXPECT_NEAR(dlg.m_dReflectivity, c.expected, 1e-9) << c.clicks[0];
    EXPECT_EQ(enabled, c.colours) << c.clicks[0];
  }
}

TEST_F(LumenDialog, CoefficientTableEditor) {
  LoadModule();
  const std::string name30(30, 'x');
  struct Case {
    std::string table;
    std::vector<std::pair<std::string, std::string>> edits;  // cell (2,1) text, then OK
    bool flip;
    int result;
    std::vector<std::string> messages;
  } cases[] = {
      {"荧光灯YG701-3", {{"0.51", "0.657"}}, false, nyhost::kIdOk, {}},
      {"荧光灯YG701-3",
       {{"0.66", "abc"}, {"abc", "1.2"}},
       false,
       nyhost::kIdCancel,
       {"[岚序软件] 第2行第1列单元格中的值不是数字!", "[岚序软件] 第2行第1列单元格中的值 > 1!"}},
      {name30, {{"", "0.5"}}, true, nyhost::kIdOk, {}},
      {name30 + "y", {{"", "0.5"}}, false, nyhost::kIdCancel, {"[岚序软件] 表名太长!"}},
  };
  for (const auto& c : cases) {
    windows.message_log.clear();
    CCuTableEditorDlg dlg(c.table);
    windows.modal_driver = [&](nyhost::Dialog& d) {
      if (c.flip) d.UserClick(CCuTableEditorDlg::kSeries);
      for (const auto& [before, typed] : c.edits) {
        EXPECT_EQ(d.GetCell(301, 2, 1), before) << c.table;
        d.UserCellEdit(301, 2, 1, typed);
        d.UserClick(1);
      }
      if (!d.destroyed() && !d.result()) d.UserClick(2);
    };
    EXPECT_EQ(dlg.DoModal(), c.result) << c.table;
    EXPECT_EQ(windows.message_log, c.messages) << c.table;
  }
  auto t = LoadCuTable(NyDataDb(), "荧光灯YG701-3");
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(InterpolateCu(*t, 0.8, 0.5, 1), 0.66);  // 0.657 stored as 0.66
  auto created = LoadCuTable(NyDataDb(), name30);
  ASSERT_TRUE(created);
  EXPECT_TRUE(created->eighty_series);
  EXPECT_EQ(created->entries.size(), 100u);
  EXPECT_FALSE(LoadCuTable(NyDataDb(), name30 + "y"));
}

std::string g_edited;  // the table the catalogue editor asked to edit

TEST_F(LumenDialog, LuminaireCatalogueEditor) {
  LoadModule();
  const char* kIllegal =
      "[岚序软件] 【名称】、【型号】不合法！\n总长度不可超出64字符！\n存在一些非法字符！";
  const char* kDuplicate = "[岚序软件] 此光源类型与灯具类型已经存在, 无法添加! ";
  struct Case {
    const char* model;
    bool click_first;
    const char* message;  // null: saved
  } cases[] = {
      {"YG701-9", false, "[岚序软件] 请先在列表中点选一个灯具,新灯具的利用系数表将从它复制!"},
      {"YG701-9", true, nullptr},
      {"yg701-3", true, kDuplicate},  // its table name differs from another's only in case
      {"YG'1", true, kIllegal},
      {"YG[1]", true, kIllegal},
  };
  for (const auto& c : cases) {
    windows.message_log.clear();
    windows.modal_driver = [&](nyhost::Dialog& d) {
      d.UserChoose(304, "荧光灯");  // shows the kind's first row without remembering its table
      if (c.click_first) d.UserChoose(261, "#0");
      d.UserType(257, c.model);
      d.UserClick(373);
      d.UserClick(2);
    };
    RunCuLuminaireCatalogueEditor(nullptr);
    std::vector<std::string> expected;
    if (c.message) expected.push_back(c.message);
    std::vector<std::string> got;
    for (const auto& m : windows.message_log)
      if (m.find("位图") == std::string::npos) got.push_back(m);
    EXPECT_EQ(got, expected) << c.model;
  }
  NyAccess* db = NyDataDb();
  std::vector<std::string> rows;
  EXPECT_EQ(db->GetSelData(rows, "SELECT [利用系数] FROM [荧光灯YG701-9]"), 100);
  // "编辑利用系数表" opens the clicked row's table; deleting drops the row and its table.
  windows.message_answers = {nyhost::kIdYes};
  windows.modal_driver = [](nyhost::Dialog& d) {
    d.UserChoose(304, "荧光灯");
    for (int i = 0; i < d.GetCount(261); ++i)
      if (d.GetItemText(261, i).find("YG701-9") != std::string::npos)
        d.UserChoose(261, d.GetItemText(261, i));
    d.UserClick(250);
    d.UserClick(248);
    d.UserClick(2);
  };
  RunCuLuminaireCatalogueEditor([](const std::string& t) { g_edited = t; });
  EXPECT_EQ(g_edited, "荧光灯YG701-9");
  EXPECT_FALSE(db->IsTableInDatabase("荧光灯YG701-9"));
  EXPECT_EQ(db->GetSelData(rows, "SELECT * FROM [灯具型号] WHERE [灯具型号] = 'YG701-9'"), 0);
}

// The word processor, replaced by a recorder of what it is handed.
struct Recorder : nyhost::OfficePort {
  int written = 0;
  std::string path, font;
  double size = 0;
  std::vector<std::string> paragraphs;
  std::unique_ptr<nyhost::Workbook> OpenWorkbook(const std::string&, std::string&) override {
    return nullptr;
  }
  bool WriteDocument(const std::string& p, const std::vector<std::string>& lines,
                     const std::string& f, double s, std::string&) override {
    ++written;
    path = p, paragraphs = lines, font = f, size = s;
    return true;
  }
};

TEST_F(LumenDialog, ReportAndTemplateButtons) {
  Recorder office;
  host().SetOffice(&office);
  nyhost::Dialog& w = Open();
  Office(w);
  w.UserClick(239);
  const std::string tpl = Module().DataFolder + "report.txt";
  // A template as older installations kept it, in GBK.
  std::ofstream(tpl) << nyhost::Utf8ToGbk(
                            "[<%光源型号>][<%光源型号1>][<%光源数1>][<%功率1>][<%镇流器功率1>]\r\n"
                            "计算功率密度小于标准功率密度\r\n")
                            .value();
  const std::string out = home->str() + "/r.docx";
  auto click = [&](std::vector<std::string> files, std::vector<int> answers) {
    windows.file_answers = std::move(files);
    windows.message_answers = std::move(answers);
    w.UserClick(238);
    return office.written;
  };
  EXPECT_EQ(click({""}, {}), 0);  // cancelled
  ASSERT_EQ(click({home->str() + "/r"}, {}), 1);
  EXPECT_EQ(office.path, out);
  EXPECT_EQ(office.font + fmt::format("{}", office.size), "宋体10");
  // Set 2 is 无: no lamp model, its count as stored, no power. The verdict is the dialog's.
  const std::vector<std::string> expected = {
      "[T8][][1][0][0]", "", w.GetToolTip(360) + w.GetText(360) + "(W/m2)", w.GetToolTip(358)};
  EXPECT_EQ(office.paragraphs, expected);
  EXPECT_EQ(windows.opened_documents.back(), out);

  std::ofstream(out) << "old";
  EXPECT_EQ(click({out}, {nyhost::kIdNo}), 1);
  EXPECT_EQ(windows.message_log.back(), "[岚序软件] 该计算书已存在,是否覆盖?");
  const std::string lock = home->str() + "/.~lock.r.docx#";
  std::ofstream(lock) << "x";
  EXPECT_EQ(click({out}, {nyhost::kIdYes}), 1);
  EXPECT_EQ(windows.message_log.back(),
            "[岚序软件] 无法覆盖" + out + ":共享冲突.\n源文件或目标文件可能正在使用!");
  std::filesystem::remove(lock);
  EXPECT_EQ(click({out}, {nyhost::kIdYes}), 2);

  w.UserClick(341);
  EXPECT_EQ(windows.opened_documents.back(), tpl);
  std::filesystem::remove(tpl);
  w.UserClick(341);
  EXPECT_EQ(windows.message_log.back(), "[岚序软件] 模板文件" + tpl + "不存在!");
  EXPECT_EQ(click({out}, {nyhost::kIdYes}), 3);
  EXPECT_TRUE(office.paragraphs.empty());  // no template, an empty document

  // The language switch file is read as the dialog opens: the English report and its template.
  std::ofstream(Module().ReportLanguageFile) << "[语言设置]\n材料表=1\n";
  w.UserClose();
  nyhost::Dialog& en = Open();
  Office(en);
  en.UserClick(239);
  windows.file_answers = {home->str() + "/en.docx"};
  en.UserClick(238);
  ASSERT_FALSE(office.paragraphs.empty());
  EXPECT_EQ(office.paragraphs.front(), "Illuminance Calculation Report");
  en.UserClick(341);
  EXPECT_EQ(windows.opened_documents.back(), Module().DataFolder + "EngReport.txt");
}

// The batch command and the example session give the same numbers.
TEST(LumenCommand, PrintsWhatTheSessionShows) {
  nytest::TempDir a, b;
  auto run = [](const std::string& args, const nytest::TempDir& home) {
    std::string cmd = std::string("NYLUXORA_SHARE=") + NYLUXORA_TEST_SHARE_DIR + " " +
                      NYLUXORA_TEST_BUILD_DIR + "/bin/nyluxora --data-dir '" + home.str() + "' " +
                      args + " 2>/dev/null";
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int st = pclose(p);
    std::map<std::string, std::string> fields;  // "[215:id label]" -> rest of the line
    std::istringstream lines(out);
    for (std::string l; std::getline(lines, l);)
      if (l.rfind("[215:", 0) == 0) fields[l.substr(0, l.find(']') + 1)] = l.substr(l.find(']'));
    return std::make_pair(WEXITSTATUS(st), fields);
  };
  const std::string ex = NYLUXORA_TEST_EXAMPLES_DIR;
  auto session = run("session " + ex + "/lumen.session --plan " + ex + "/office.dxf", a);
  auto batch =
      run("lumen --length 10 --width 5 --height 3.55 --ceiling 70 --wall 50 --window 15 "
          "--maintenance 0.8 --luminaire YG701-3 --source 荧光灯 --lamp 荧光灯/T8/36 --lamps 2 "
          "--ballast 4 --standard 办公建筑/普通办公室",
          b);
  ASSERT_EQ(session.first, 0);
  ASSERT_EQ(batch.first, 0);
  for (const char* key : {"[215:318 利用系数]", "[215:228 灯具数]", "[215:227 实际照度lx]",
                          "[215:358 功率密度w/m2]", "[215:360 标准功率密度w/m2]"})
    EXPECT_EQ(batch.second[key], session.second[key]) << key;
  EXPECT_EQ(batch.second["[215:228 灯具数]"], "] 8");
  EXPECT_EQ(run("lumen --scheme 普通办公室", a).second["[215:227 实际照度lx]"],
            session.second["[215:227 实际照度lx]"]);
  EXPECT_EQ(run("lumen --length 10 --width 5 --height 20 --luminaire YG701-3 --source 荧光灯 "
                "--lamp 荧光灯/T8/36",
                b)
                .first,
            1);
  EXPECT_EQ(run("lumen --length 10", b).first, 2);

  // Its report, as an office program shows it; written again over the first, then in English.
  nytest::TempDir work;
  const std::string zh = work.str() + "/计算书.docx", en = work.str() + "/report.docx";
  const std::string scheme = "lumen --scheme 普通办公室 --report ";
  EXPECT_EQ(run(scheme + "'" + zh + "'", a).first, 0);
  EXPECT_EQ(run(scheme + "'" + zh + "'", a).first, 0);
  // The report command writes the same from the scheme.
  const std::string report = "report --scheme 普通办公室 --out ";
  EXPECT_EQ(run(report + "'" + en + "' --english", a).first, 0);
  EXPECT_EQ(run(scheme + "'" + work.str() + "/r.doc'", a).first, 2);
  EXPECT_EQ(run("report --out '" + work.str() + "/r.docx'", a).first, 2) << "no plan, no scheme";
  // As a PDF, with a sketch of the room and its luminaires.
  const std::string pdf = work.str() + "/计算书.pdf";
#ifdef NYLUXORA_TEST_RENDER
  ASSERT_EQ(run(report + "'" + pdf + "'", a).first, 0);
  if (const auto text = nytest::OfficeDocumentText(pdf, work.path())) {
    for (const char* expected : {"灯具数：8 套", "采用标准功率密度11(W/m2)", "8 套灯具均匀布置"})
      EXPECT_NE(text->find(expected), std::string::npos) << expected;
  }
#else
  EXPECT_EQ(run(report + "'" + pdf + "'", a).first, 1);  // no renderer: refused, not faked
#endif
  const auto zh_text = nytest::OfficeDocumentText(zh, work.path());
  if (!zh_text) GTEST_SKIP() << "soffice is not installed: the report was not opened";
  const auto en_text = nytest::OfficeDocumentText(en, work.path());
  ASSERT_TRUE(en_text);
  for (const char* expected : {"照度计算书", "YG701-3", "灯具数：8 套", "计算照度大于等于标准照度"})
    EXPECT_NE(zh_text->find(expected), std::string::npos) << expected;
  for (const char* expected : {"Illuminance Calculation Report", "Luminaires: 8",
                               "larger than or equal to the standard luminance"})
    EXPECT_NE(en_text->find(expected), std::string::npos) << expected;
  EXPECT_EQ(zh_text->find("<%"), std::string::npos);
  EXPECT_EQ(en_text->find("<%"), std::string::npos);
}

}  // namespace
