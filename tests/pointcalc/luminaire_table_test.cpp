#include <gtest/gtest.h>

#include "base/module_state.h"
#include "pointcalc/luminaire_table.h"
#include "pointcalc/point_dialog.h"
#include "room_fixture.h"
#include "support/ny_xdata.h"

namespace {

class LuminaireTable : public nytest::PointRoomFixture {
 protected:
  // Opens the dialog on a 6000 x 3000 room with two luminaires.
  nyhost::Dialog& TwoLuminaires() {
    first = nytest::AddLuminaire(drawing(), 1500, 1500, "3");
    nytest::AddLuminaire(drawing(), 4500, 1500, "2.25", 90);
    return *Room(nullptr, 6000, 3000)->window();
  }
  nyhost::EntityId first = nyhost::kNullId;
};

TEST_F(LuminaireTable, HeaderAndFilledRows) {
  nyhost::Dialog& w = TwoLuminaires();
  const nyhost::GridState* g = w.GridOf(kLuminaireGridId);
  ASSERT_EQ(g->rows(), 3);
  ASSERT_EQ(g->cols(), 18);
  const char* headers[] = {"灯具名称", "灯具型号", "高度", "Z轴旋转", "X轴倾角", "Y轴倾角",
                           "第一光源名称", "光源类型", "功率", "镇流器功率", "数量",
                           "第二光源名称", "光源类型", "功率", "镇流器功率", "数量", "总光通量",
                           "改变配光曲线"};
  for (int c = 0; c < 18; ++c) EXPECT_EQ(w.GetCell(kLuminaireGridId, 0, c), headers[c]);
  struct Cell {
    int row, col;
    const char* text;
  } cells[] = {{1, 0, "格栅荧光灯"}, {1, 1, "YG701-3"}, {1, 2, "3.0"},
               {2, 2, "2.25"},       {2, 3, "90"},      {1, 6, "荧光灯"},
               {1, 7, "T8"},         {1, 8, "36"},      {1, 9, "4"},
               {1, 10, "3"},         {1, 16, "10050"},  {1, 17, "荧光灯YG701-3配光曲线"}};
  for (const auto& c : cells) EXPECT_EQ(w.GetCell(kLuminaireGridId, c.row, c.col), c.text);
  const auto& angle = g->cells[1][4].options;
  EXPECT_EQ(angle, (std::vector<std::string>{"0", "5", "10", "15", "30", "45", "90", "-5", "-10",
                                             "-15", "-30", "-45", "-90"}));
  EXPECT_EQ(g->cells[1][10].options, (std::vector<std::string>{"1", "2", "3", "4", "5", "0"}));
  EXPECT_EQ(g->cells[1][9].options.size(), 10u);
  EXPECT_EQ(g->cells[1][8].options, (std::vector<std::string>{"18", "30", "36", "58"}));
  EXPECT_EQ(g->col_widths[0], 85);
  EXPECT_EQ(g->col_widths[17], 65);
}

TEST_F(LuminaireTable, RowChangesRefreshListsFluxAndTheDrawing) {
  nyhost::Dialog& w = TwoLuminaires();
  // Second lamp group: a name offers only its own types.
  w.UserCellEdit(kLuminaireGridId, 1, 11, "金属卤化物灯");
  const nyhost::GridState* g = w.GridOf(kLuminaireGridId);
  EXPECT_EQ(g->cells[1][12].options, (std::vector<std::string>{"MH", "MH-T"}));
  EXPECT_EQ(w.GetCell(kLuminaireGridId, 1, 12), "MH");
  EXPECT_EQ(w.GetCell(kLuminaireGridId, 1, 13), "70");
  // Lamp 2 count 1 x 5600 lm joins 3 x 3350 lm.
  w.UserCellEdit(kLuminaireGridId, 1, 15, "1");
  EXPECT_EQ(w.GetCell(kLuminaireGridId, 1, 16), std::to_string(3 * 3350 + 5600));
  w.UserCellEdit(kLuminaireGridId, 1, 10, "0");
  EXPECT_EQ(w.GetCell(kLuminaireGridId, 1, 16), "5600") << "count 3 -> 0 drops 3 x 3350";

  w.UserCellEdit(kLuminaireGridId, 1, 4, "-15");
  std::string tilt;
  NyXData::GetEntXData(tilt, first, "X轴旋转");
  EXPECT_EQ(tilt, "-15");
  w.UserCellEdit(kLuminaireGridId, 1, 3, "30");
  EXPECT_EQ(drawing().Find(first)->As<nyhost::BlockReference>()->rotation_deg, 30) << "as typed";
  windows.message_log.clear();
  w.UserCellEdit(kLuminaireGridId, 1, 3, "1e400");
  EXPECT_EQ(windows.message_log, std::vector<std::string>{"[岚序软件] 你输入的数据不合理!"});
  EXPECT_EQ(w.GetCell(kLuminaireGridId, 1, 3), "0") << "the record's rotation back";
  EXPECT_EQ(drawing().Find(first)->As<nyhost::BlockReference>()->rotation_deg, 30);
  // Drop lists take only their items.
  EXPECT_FALSE(w.UserCellEdit(kLuminaireGridId, 1, 10, "-1"));
  EXPECT_FALSE(w.UserCellEdit(kLuminaireGridId, 1, 8, "37"));
  EXPECT_EQ(w.GetCell(kLuminaireGridId, 1, 10), "0");
}

TEST_F(LuminaireTable, BallastMustBeANumberOfWatts) {
  nyhost::Dialog& w = TwoLuminaires();
  const std::pair<const char*, bool> cases[] = {
      {"abc", false}, {"-4", false}, {"1e400", false}, {"6", true}};
  for (const auto& [typed, ok] : cases) {
    windows.message_log.clear();
    w.UserCellEdit(kLuminaireGridId, 2, 14, typed);
    EXPECT_EQ(windows.message_log.empty(), ok) << typed;
    EXPECT_EQ(w.GetCell(kLuminaireGridId, 2, 14), ok ? typed : "0") << typed;
  }
}

TEST_F(LuminaireTable, ReadBackTakesEveryColumnAndChecksHeights) {
  nyhost::Dialog& w = TwoLuminaires();
  std::vector<LuminaireRecord> recs = Module().PointDialog->data().m_records;
  w.SetCell(kLuminaireGridId, 2, 2, "3.5");
  w.SetCell(kLuminaireGridId, 2, 5, "-30");
  w.SetCell(kLuminaireGridId, 2, 17, "LEDLED-P600配光曲线");
  recs[0].position.z = 3000.0004;  // a height the table shows as "3.0"
  ASSERT_TRUE(ReadLuminaireTable(w, kLuminaireGridId, recs));
  EXPECT_EQ(recs[0].position.z, 3000.0004) << "an untouched height keeps every digit";
  EXPECT_DOUBLE_EQ(recs[1].position.z, 3500);
  EXPECT_DOUBLE_EQ(recs[1].tilt_y, -30);
  EXPECT_DOUBLE_EQ(recs[1].rotation_z, 90);
  EXPECT_EQ(recs[1].curve_table, "LEDLED-P600配光曲线");
  EXPECT_EQ(recs[1].lamp1_count, 3);

  std::vector<LuminaireRecord> fewer(1);
  EXPECT_FALSE(ReadLuminaireTable(w, kLuminaireGridId, fewer)) << "rows and records out of step";
  const struct {
    int col;
    const char *text, *message;
  } refused[] = {{2, "-1", "灯具安装高度有误!"},
                 {16, "-5", "你输入的数据不合理!\n第1行<总光通量>: -5"},
                 {10, "-1", "你输入的数据不合理!\n第1行<数量>: -1"},
                 {4, "400", "你输入的数据不合理!\n第1行<X轴倾角>: 400"}};
  for (const auto& c : refused) {
    const std::string before = w.GetCell(kLuminaireGridId, 1, c.col);
    w.SetCell(kLuminaireGridId, 1, c.col, c.text);
    windows.message_log.clear();
    EXPECT_FALSE(ReadLuminaireTable(w, kLuminaireGridId, recs)) << c.text;
    EXPECT_EQ(windows.message_log,
              std::vector<std::string>{std::string("[岚序软件] ") + c.message});
    w.SetCell(kLuminaireGridId, 1, c.col, before);
  }
}

TEST_F(LuminaireTable, BatchEditAppliesOnlyCommonCells) {
  nyhost::Dialog& w = TwoLuminaires();
  w.UserCellEdit(kLuminaireGridId, 2, 8, "58");  // row 2: 3 x 58 W lamps, a flux of its own
  const std::string flux2 = w.GetCell(kLuminaireGridId, 2, 16);
  struct Case {
    int col;
    const char* typed;
    std::string flux1, flux2;
  } cases[] = {{5, "15", "10050", flux2},  // no lamp changed: each keeps its flux
               {10, "1", "3350", std::to_string(std::atoi(flux2.c_str()) / 3)}};  // its own lamps
  for (const auto& c : cases) {
    w.Grid(kLuminaireGridId).selection = {1, 0, 2, 3};
    std::vector<std::string> shown;
    windows.modal_driver = [&](nyhost::Dialog& d) {
      for (int col = 0; col < 18; ++col) shown.push_back(d.GetCell(4513, 1, col));
      d.UserCellEdit(4513, 1, c.col, c.typed);
      d.UserClick(402);
    };
    w.UserClick(324);
    ASSERT_EQ(shown.size(), 18u);
    EXPECT_EQ(shown[0], "格栅荧光灯");
    for (int col : {2, 3, 8, 16}) EXPECT_EQ(shown[col], "") << "rows differ in " << col;
    EXPECT_EQ(w.GetCell(kLuminaireGridId, 1, c.col), c.typed);
    EXPECT_EQ(w.GetCell(kLuminaireGridId, 2, 2), "2.25") << "an empty cell changes nothing";
    EXPECT_EQ(w.GetCell(kLuminaireGridId, 1, 16), c.flux1) << c.typed;
    EXPECT_EQ(w.GetCell(kLuminaireGridId, 2, 16), c.flux2) << c.typed;
  }
}

}  // namespace
