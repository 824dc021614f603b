// The curve editor (216), the curve chooser (219) and the preview curve, driven as a person
// would: typing cells, choosing list entries, pressing buttons.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "refdata/curve_chooser.h"
#include "refdata/curve_editor.h"
#include "refdata/curve_preview.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "test_support.h"

namespace {

using V = std::vector<std::string>;

struct RecordingPainter : nyhost::Painter {
  int lines = 0, red = 0, blue = 0;
  double Width() const override { return 200; }
  double Height() const override { return 150; }
  void Line(double, double, double, double, std::uint32_t color, double) override {
    ++lines;
    if (color == 0xD02020) ++red;
    if (color == 0x2040D0) ++blue;
  }
  void Rect(double, double, double, double, std::uint32_t, std::uint32_t) override {}
  void Text(double, double, const std::string&, std::uint32_t, double) override {}
};

class CurveDialogsTest : public nytest::HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    LoadModule();
    windows.modal_driver = [this](nyhost::Dialog& dlg) {
      if (script) script(dlg);
      if (!dlg.result()) dlg.UserClick(nyhost::kIdCancel);
    };
  }
  NyAccess& Db() { return *ZirIrodoDotDb(); }
  V Query(const std::string& sql) {
    V v;
    Db().GetSelData(v, sql);
    return v;
  }
  // A curve table of `rows` rows, angles 0, 5, ..., made with plain statements.
  void MakeCurve(const std::string& name, int rows) {
    ASSERT_EQ(Db().CreateTable(name, {{"角度", "int"}, {"光强A", "int"}, {"光强B", "int"}}), 1);
    for (int i = 0; i < rows; ++i)
      ASSERT_EQ(Db().ExecuteSQL(FormatSql(kInsertCurveRow, name, i * 5, 100 + i, 200 + i)), 1);
  }
  std::function<void(nyhost::Dialog&)> script;
};

TEST_F(CurveDialogsTest, EditorCreatesANewCurveFromTypedCells) {
  std::vector<std::string> headers, angles, intensities;
  script = [&](nyhost::Dialog& dlg) {
    for (int c = 0; c < 3; ++c) headers.push_back(dlg.GetCell(302, 0, c));
    for (int r = 1; r <= 19; ++r) {
      angles.push_back(dlg.GetCell(302, r, 0));
      intensities.push_back(dlg.GetCell(302, r, 1) + dlg.GetCell(302, r, 2));
    }
    ASSERT_TRUE(dlg.UserCellEdit(302, 1, 1, "300"));
    ASSERT_TRUE(dlg.UserCellEdit(302, 1, 2, "280"));
    ASSERT_TRUE(dlg.UserCellEdit(302, 2, 1, "295.8"));  // stored whole
    ASSERT_TRUE(dlg.UserCellEdit(302, 19, 2, " 7 "));
    dlg.UserClick(nyhost::kIdOk);
  };
  ASSERT_FALSE(Db().IsTableInDatabase("LED新灯配光曲线"));
  EXPECT_TRUE(EditCurveTable("LED新灯配光曲线"));
  EXPECT_EQ(headers, (V{"角度", "光强A-A", "光强B-B"}));
  V expected_angles;
  for (int a = 0; a <= 90; a += 5) expected_angles.push_back(std::to_string(a));
  EXPECT_EQ(angles, expected_angles);
  EXPECT_EQ(intensities, V(19, ""));
  EXPECT_TRUE(windows.message_log.empty());

  V v = Query(FormatSql(kSelectCurveRows, "LED新灯配光曲线"));
  ASSERT_EQ(v.size(), 57u);
  EXPECT_EQ(V(v.begin(), v.begin() + 6), (V{"0", "300", "280", "5", "295", "0"}));
  EXPECT_EQ(V(v.begin() + 30, v.begin() + 33), (V{"50", "0", "0"}));  // empty cells read 0
  EXPECT_EQ(V(v.end() - 3, v.end()), (V{"90", "0", "7"}));
}

TEST_F(CurveDialogsTest, EditorRefusesBadCellsAndWritesNothing) {
  struct Case {
    int row, col;
    const char* text;
    const char* message;
  } cases[] = {
      {3, 1, "-5", "[岚序软件] 第3行第2列单元格中的值 < 0!"},
      {4, 2, "abc", "[岚序软件] 第4行第3列单元格中的值不是数字!"},
      {1, 0, "x5", "[岚序软件] 第1行第1列单元格中的值不是数字!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    windows.message_log.clear();
    bool still_open = false;
    script = [&](nyhost::Dialog& dlg) {
      ASSERT_TRUE(dlg.UserCellEdit(302, 2, 1, "12"));
      ASSERT_TRUE(dlg.UserCellEdit(302, c.row, c.col, c.text));
      dlg.UserClick(nyhost::kIdOk);
      still_open = !dlg.result().has_value();
    };
    EXPECT_FALSE(EditCurveTable("坏曲线"));
    EXPECT_TRUE(still_open) << "a refused save keeps the editor open";
    EXPECT_EQ(windows.message_log, (V{c.message}));
    EXPECT_EQ(Db().IsTableInDatabase("坏曲线"), 0);
  }
}

TEST_F(CurveDialogsTest, EditorCancelWritesNothingAndOkUpdatesAnExistingCurve) {
  // A photometric file kept for the curve stays while the curve is unchanged.
  const std::string kept = Module().DataFolder + "photometry/荧光灯YG701-3配光曲线.ies";
  std::filesystem::create_directories(Module().DataFolder + "photometry");
  std::ofstream(kept) << "IESNA:LM-63-2002";
  script = [&](nyhost::Dialog& dlg) {
    ASSERT_TRUE(dlg.UserCellEdit(302, 2, 1, "1"));
    dlg.UserClick(nyhost::kIdCancel);
  };
  EXPECT_FALSE(EditCurveTable("荧光灯YG701-3配光曲线"));
  script = [&](nyhost::Dialog& dlg) { dlg.UserClick(nyhost::kIdOk); };
  EXPECT_TRUE(EditCurveTable("荧光灯YG701-3配光曲线"));
  EXPECT_TRUE(std::filesystem::exists(kept));
  script = [&](nyhost::Dialog& dlg) {
    EXPECT_EQ(dlg.GetCell(302, 2, 1), "232");  // loaded from the table, untouched by the cancel
    ASSERT_TRUE(dlg.UserCellEdit(302, 2, 1, "250"));
    dlg.UserClick(nyhost::kIdOk);
  };
  EXPECT_TRUE(EditCurveTable("荧光灯YG701-3配光曲线"));
  V v = Query(FormatSql(kSelectCurveRows, "荧光灯YG701-3配光曲线"));
  ASSERT_EQ(v.size(), 57u);
  EXPECT_EQ((V{v[3], v[4], v[5]}), (V{"5", "250", "228"}));
  EXPECT_EQ((V{v[6], v[7], v[8]}), (V{"10", "236", "222"}));
  EXPECT_FALSE(std::filesystem::exists(kept)) << "the file no longer describes the curve";
}

TEST_F(CurveDialogsTest, EditorOnAnEighteenRowCurveWarnsAndUpdatesMatchingAngles) {
  MakeCurve("短曲线", 18);
  V first_cells;
  script = [&](nyhost::Dialog& dlg) {
    first_cells = {dlg.GetCell(302, 1, 0), dlg.GetCell(302, 1, 1), dlg.GetCell(302, 19, 0)};
    for (int r = 1; r <= 19; ++r) ASSERT_TRUE(dlg.UserCellEdit(302, r, 1, "9"));
    dlg.UserClick(nyhost::kIdOk);
  };
  EXPECT_TRUE(EditCurveTable("短曲线"));
  EXPECT_EQ(windows.message_log, (V{"[岚序软件] 请检查数据库是否只有19行数据!"}));
  EXPECT_EQ(first_cells, (V{"0", "", "90"}));
  EXPECT_EQ(Query("SELECT count(*) FROM [短曲线]"), (V{"18"}));
  EXPECT_EQ(Query("SELECT count(*) FROM [短曲线] WHERE [光强A] = 9"), (V{"18"}));
  // Empty cells read 0, also on update.
  EXPECT_EQ(Query("SELECT [光强A],[光强B] FROM [短曲线] WHERE [角度] = 85"), (V{"9", "0"}));
}

TEST_F(CurveDialogsTest, PreviewLoadsNineteenRowsAndRefusesOthers) {
  PreviewCurve c;
  ASSERT_TRUE(LoadPreviewCurve("  荧光灯YG701-3配光曲线 ", c));
  ASSERT_EQ(c.a.size(), 19u);
  ASSERT_EQ(c.b.size(), 19u);
  EXPECT_DOUBLE_EQ(c.a[1].angle, 5);
  EXPECT_DOUBLE_EQ(c.a[1].intensity, 232);
  EXPECT_DOUBLE_EQ(c.b[1].intensity, 228);

  MakeCurve("长曲线", 20);
  PreviewCurve kept = c;
  EXPECT_FALSE(LoadPreviewCurve("长曲线", c));
  EXPECT_NE(output.text.find("<长曲线>数据错误,请在(灯具扩充)中修改!"), std::string::npos);
  EXPECT_EQ(c.a.size(), kept.a.size()) << "a refused curve loads nothing";
  // A damaged value is named by table, row and column.
  MakeCurve("坏曲线", 19);
  ASSERT_TRUE(Db().ExecuteSQL("UPDATE [坏曲线] SET [光强B] = 'nan' WHERE [角度] = 10"));
  EXPECT_FALSE(LoadPreviewCurve("坏曲线", c));
  EXPECT_NE(output.text.find("<坏曲线>第3行[光强B]的值\"nan\"不是合理的数字"), std::string::npos);
  EXPECT_EQ(c.a.size(), kept.a.size());
  EXPECT_FALSE(LoadPreviewCurve("", c));
  EXPECT_FALSE(LoadPreviewCurve("没有的表", c));
}

TEST_F(CurveDialogsTest, ChooserFiltersPreviewsAndReplaces) {
  RecordingPainter painter;
  int makers = 0, rows_all = 0, rows_kind = 0;
  script = [&](nyhost::Dialog& dlg) {
    EXPECT_EQ(dlg.GetText(354), "你正在:\n改变配光曲线");
    rows_all = dlg.GetCount(353);
    ASSERT_TRUE(dlg.UserChoose(304, "紧凑型荧光灯"));
    makers = dlg.GetCount(379);
    EXPECT_EQ(dlg.GetItemText(379, 0), "全部");
    rows_kind = dlg.GetCount(353);
    ASSERT_TRUE(dlg.UserChoose(353, "#1"));
    dlg.Paint(376, painter);
    dlg.UserClick(nyhost::kIdOk);
  };
  std::string curve;
  ASSERT_TRUE(ChooseSubstituteCurve("你正在:\n改变配光曲线", curve));
  EXPECT_EQ(rows_all, 10);
  EXPECT_EQ(makers, 2);  // 全部, 通用 (an empty manufacturer is no entry)
  EXPECT_EQ(rows_kind, 2);
  EXPECT_EQ(curve, "紧凑型荧光灯TD-100配光曲线");
  EXPECT_EQ(painter.red, 18);   // one segment between each two of the 19 points
  EXPECT_EQ(painter.blue, 18);
}

TEST_F(CurveDialogsTest, ChooserPreselectsTheCurrentCurvesKindAndManufacturer) {
  std::string kind, maker;
  int rows = 0;
  std::string curve = "LEDLED-P600配光曲线";
  script = [&](nyhost::Dialog& dlg) {
    kind = dlg.GetItemText(304, dlg.GetCurSel(304));
    maker = dlg.GetItemText(379, dlg.GetCurSel(379));
    rows = dlg.GetCount(353);
    dlg.SetCurSel(353, 0);
    dlg.controller()->OnDoubleClick(dlg, 353);  // activating a row chooses it
  };
  ASSERT_TRUE(ChooseSubstituteCurve("p", curve));
  EXPECT_EQ(kind, "LED");
  EXPECT_EQ(maker, "通用");
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(curve, "LEDLED-P600配光曲线");
}

TEST_F(CurveDialogsTest, ChooserCancelKeepsTheCurve) {
  std::string curve = "原曲线";
  EXPECT_FALSE(ChooseSubstituteCurve("p", curve));
  EXPECT_EQ(curve, "原曲线");
  // Replace without a selected row chooses nothing.
  script = [](nyhost::Dialog& dlg) { dlg.UserClick(nyhost::kIdOk); };
  EXPECT_FALSE(ChooseSubstituteCurve("p", curve));
  EXPECT_EQ(curve, "原曲线");
}

}  // namespace
