#include "pointcalc/point_dialog.h"

#include <fmt/format.h>
#include <fmt/printf.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/module_state.h"
#include "office/xlsx_workbook.h"
#include "pointcalc/point_report.h"
#include "room_fixture.h"
#include "support/ny_ini_file.h"

namespace {

class PointDialog : public nytest::PointRoomFixture {
 protected:
  nyhost::Dialog& Window() { return *Open()->window(); }
};

TEST_F(PointDialog, DensityFieldAndSpin) {
  nyhost::Dialog& w = Window();
  CNYDrawIsolineDlg* dlg = Module().PointDialog;
  EXPECT_EQ(w.GetText(338), "50*75");
  w.UserType(338, "30×40");
  EXPECT_EQ(dlg->data().m_nCountX, 30);
  EXPECT_EQ(dlg->data().m_nCountY, 40);
  EXPECT_EQ(w.GetText(338), "30×40") << "kept as typed";
  w.UserType(338, "10*25");
  w.UserSpin(339, -1);
  EXPECT_EQ(w.GetText(338), "20*35");

  const std::pair<const char*, const char*> refused[] = {
      {"", "[岚序软件] 你输入的数据不合理!"},
      {"0", "[岚序软件] 你输入的数据不合理!"},
      {"1e9*1e9", "[岚序软件] 你输入的数据不合理!\n计算点不能超过4000000个。"}};
  for (const auto& [typed, message] : refused) {
    windows.message_log.clear();
    w.UserType(338, typed);
    EXPECT_EQ(windows.message_log, std::vector<std::string>{message}) << typed;
    EXPECT_EQ(w.GetText(338), "80");
    EXPECT_EQ(dlg->data().m_nCountX, 80);
  }
}

TEST_F(PointDialog, StandardsButtonTakesTheValuesOnOk) {
  nyhost::Dialog& w = Window();
  windows.modal_driver = [](nyhost::Dialog& d) {
    d.UserChoose(236, "办公建筑/普通办公室");
    d.UserClick(nyhost::kIdOk);
  };
  w.UserClick(210);
  CNYDrawIsolineDlg* dlg = Module().PointDialog;
  EXPECT_EQ(dlg->data().m_nStandLx, 300);
  EXPECT_DOUBLE_EQ(dlg->data().m_dStandLPD, 11);
  EXPECT_EQ(dlg->data().m_nUGR, 19);
  EXPECT_EQ(w.GetText(245), "300");
  EXPECT_EQ(w.GetText(233), "0.7");
  EXPECT_EQ(w.GetText(360), "11");
  EXPECT_EQ(w.GetText(372), "标准功率密度");

  windows.modal_driver = [](nyhost::Dialog& d) {
    d.UserChoose(236, "办公建筑/高档办公室");
    d.UserClick(nyhost::kIdCancel);
  };
  w.UserClick(210);
  EXPECT_EQ(dlg->data().m_nStandLx, 300) << "cancel keeps the standard";
}

TEST_F(PointDialog, SettingsSurviveClosingAndReopening) {
  nyhost::Dialog& w = Window();
  EXPECT_EQ(w.GetCheck(CNYDrawIsolineDlg::kPreciseCheck), 0) << "precise photometry is off at first";
  w.UserType(338, "30*15");
  w.UserCheck(CNYDrawIsolineDlg::kPreciseCheck, 1);
  const std::string ini = Module().SettingsFile;
  NyIniFile::WriteKey("照度标准—岚序软件", "m_dStandLPD", 11.0, ini);
  NyIniFile::WriteKey("照度标准—岚序软件", "m_nStandLx", 300, ini);
  w.UserClose();
  windows.Collect();
  EXPECT_EQ(Module().PointDialog, nullptr);
  EXPECT_EQ(NyIniFile::ReadKey("CNYDrawIsolineDlg", "m_sCalCount", std::string(), ini), "30*15");
  EXPECT_EQ(host().GetVarInt("PDMODE"), 35);
  nyhost::Dialog& again = Window();
  EXPECT_EQ(again.GetText(338), "30*15");
  EXPECT_EQ(again.GetCheck(CNYDrawIsolineDlg::kPreciseCheck), 1);
  EXPECT_TRUE(Module().PointDialog->data().m_bPrecise);
  EXPECT_EQ(again.GetText(360), "11");
  EXPECT_EQ(Module().PointDialog->data().m_nCountX, 30);
  EXPECT_EQ(Module().PointDialog->data().m_nStandLx, 300);
  NyIniFile::WriteKey("照度标准—岚序软件", "m_dStandLPD", std::string("inf"), ini);
  again.UserClose();
  EXPECT_EQ(Window().GetText(360), "0") << "an absurd limit in the file is no limit";
}

TEST_F(PointDialog, SecondRoomErasesTheFirstOutline) {
  nyhost::Dialog& w = *Room(nullptr)->window();
  auto first = Module().PointDialog->data().m_idOutline;
  ASSERT_NE(drawing().FindLive(first), nullptr);
  EXPECT_TRUE(w.visible()) << "shown again after picking";
  Pick(Module().PointDialog, nullptr, 3000, 3000);
  EXPECT_EQ(drawing().FindLive(first), nullptr);
  EXPECT_NE(drawing().FindLive(Module().PointDialog->data().m_idOutline), nullptr);
}

}  // namespace

// ---------------------------------------------------------------- point report

class PointReport : public nytest::PointRoomFixture {
 protected:
  // Three luminaires, horizontal values drawn as points; the report picks three of them.
  CNYDrawIsolineDlg* Calculated() {
    for (int i = 0; i < 3; ++i) nytest::AddLuminaire(drawing(), 1000 + 2000 * i, 2500 + 500 * i);
    CNYDrawIsolineDlg* dlg = Room("6*6");
    dlg->window()->UserClick(337);
    dlg->window()->UserClick(330);
    dlg->window()->UserClick(336);
    host().RunPendingCommands();
    return dlg;
  }
  // Picks the drawn points at `at` and runs the report into `file` (empty: cancel the dialog).
  void Report(const std::vector<std::pair<double, double>>& at, const std::string& file) {
    PickDrawnPoints(at);
    windows.file_answers.push_back(file);
    Module().PointDialog->window()->UserClick(351);
    host().RunPendingCommands();
  }
  int Labels() {
    int n = 0;
    for (auto id : drawing().LiveIds())
      if (auto* t = drawing().Find(id)->As<nyhost::Text>(); t && t->text.starts_with("P")) ++n;
    return n;
  }
};

TEST_F(PointReport, ColumnsHoldEachLuminairesShareAndAddUpToThePointValues) {
  CNYDrawIsolineDlg* dlg = Calculated();
  const std::vector<std::pair<double, double>> at = {{1000, 1000}, {3000, 3000}, {5000, 2000}};
  const std::string path = home->str() + "/r";
  Report(at, path);
  EXPECT_EQ(Labels(), 3);
  std::string error;
  auto book = nyoffice::OpenXlsx(path + ".xlsx", error);
  ASSERT_TRUE(book) << error << output.text;
  const char* columns[] = {"M", "N", "O"};
  for (int n = 0; n < 3; ++n) {
    EXPECT_EQ(book->CellText(std::string(columns[n]) + "1"), fmt::format("P{}点照度", n + 1));
    double sum = 0;
    for (int row = 3; row < 6; ++row) {
      const std::string v = book->CellText(columns[n] + std::to_string(row));
      EXPECT_EQ(v, fmt::sprintf("%.1f", std::atof(v.c_str()))) << "one decimal as text";
      sum += std::atof(v.c_str());
    }
    double expected = -1;
    for (const auto& p : dlg->data().m_resultPoints)
      if (p.x == at[n].first && p.y == at[n].second) expected = p.z;
    EXPECT_GT(expected, 0);
    EXPECT_NEAR(sum, expected, 0.16) << columns[n];
  }
  EXPECT_EQ(book->CellText("A3"), "1");
  EXPECT_EQ(book->CellText("B5"), "格栅荧光灯");
  EXPECT_EQ(book->CellText("A103"), "总计");
  EXPECT_EQ(book->CellText("A104"),
            fmt::sprintf("计算照度平均值： %s(lx)； 标准照度平均值： %d(lx)。",
                         dlg->data().m_sAverage, dlg->data().m_nStandLx));

  // Cancelling the save dialog takes the marks away again; English headers and names.
  Report(at, "");
  EXPECT_EQ(Labels(), 3);
  NyIniFile::WriteKey("语言设置", "材料表", 1, Module().ReportLanguageFile);
  windows.message_answers.push_back(nyhost::kIdYes);
  Report({at[0]}, path + ".xlsx");
  book = nyoffice::OpenXlsx(path + ".xlsx", error);
  ASSERT_TRUE(book) << error;
  EXPECT_EQ(book->CellText("M1"), "Illumination at P1 point");
  EXPECT_EQ(book->CellText("N1"), "");
  EXPECT_EQ(book->CellText("B3"), "Grille fluorescent troffer");
}

TEST_F(PointReport, TotalsRowAndColumnLetters) {
  const std::pair<int, std::string> letters[] = {{1, "A"},   {13, "M"},  {26, "Z"},
                                                 {27, "AA"}, {52, "AZ"}, {53, "BA"}};
  for (const auto& [col, name] : letters) EXPECT_EQ(NyExcel::ColumnName(col), name) << col;

  CNYDrawIsolineDlg* dlg = Calculated();
  const std::string tpl = Module().DataFolder + "逐点法照度计算书模板.xlsx";
  // Template totals row moved to row 20, or removed.
  const std::pair<int, std::string> cases[] = {{20, "A21"}, {0, "A199"}};
  for (const auto& [totals, sentence] : cases) {
    const std::string path = home->str() + "/t" + std::to_string(totals) + ".xlsx";
    std::filesystem::copy_file(tpl, path);
    NyExcel book;
    ASSERT_TRUE(book.Open(path));
    book.SetText(103, 1, "");
    if (totals) book.SetText(totals, 1, "总计");
    std::vector<ReportPoint> points(15, ReportPoint{{1000, 1000, 0}, {}});
    ASSERT_TRUE(FillPointReport(book, ComputePointReport(dlg->data(), points, false, {})));
    ASSERT_TRUE(book.Save());
    std::string error;
    auto saved = nyoffice::OpenXlsx(path, error);
    EXPECT_TRUE(saved->CellText(sentence).starts_with("计算照度平均值")) << sentence;
    EXPECT_EQ(saved->CellText("Z1"), "P14点照度");
    EXPECT_EQ(saved->CellText("AA1"), "P15点照度");
  }

  // A luminaire without its curve leaves its row empty; the others are written.
  PointDialogData data = dlg->data();
  data.m_records[1].curve_table = "没有的曲线";
  NyExcel book;
  std::filesystem::copy_file(tpl, home->str() + "/c.xlsx");
  ASSERT_TRUE(book.Open(home->str() + "/c.xlsx"));
  windows.message_log.clear();
  ASSERT_TRUE(FillPointReport(
      book, ComputePointReport(data, {ReportPoint{{1000, 1000, 0}, {}}}, false, {})));
  EXPECT_EQ(book.GetText(4, 1) + book.GetText(4, 13), "");
  EXPECT_EQ(book.GetText(5, 1), "3");
  ASSERT_EQ(windows.message_log.size(), 1u);
  EXPECT_NE(windows.message_log[0].find("没有找到配光曲线:没有的曲线"), std::string::npos);
}

TEST_F(PointReport, EveryWayItStops) {
  Calculated();
  const std::string path = home->str() + "/r.xlsx";
  const std::string tpl = Module().DataFolder + "逐点法照度计算书模板.xlsx";
  std::ofstream(path) << "old";
  const std::string pdf = home->str() + "/r.pdf";
  std::ofstream(pdf) << "old";
  const std::string lock = home->str() + "/.~lock.r.xlsx#";
  struct Case {
    int answer;   // to "是否覆盖已存在文件?"
    bool locked;  // LibreOffice holds the target
    bool template_gone;
    std::string message;
    int labels_left;  // of the one point picked
    std::string target = {};  // default: the workbook
  } cases[] = {
      {nyhost::kIdNo, false, false, "", 0},
      {nyhost::kIdYes, true, false,
       path + "文件当前处于打开编辑状态，不能被覆盖!\n如果需要继续操作,请先关闭该文件", 1},
      {nyhost::kIdYes, false, true, "没找到照度模板文件<" + tpl + ">!\n程序不可继续!", 0},
      // Without a front-end's renderer a PDF is refused and the old file stays.
      {nyhost::kIdYes, false, false,
       "计算书未能写入:\ncannot write " + pdf + ": this program has no PDF renderer", 1, pdf},
  };
  for (const auto& c : cases) {
    const int before = Labels();
    if (c.locked) std::ofstream(lock) << "x";
    if (c.template_gone) std::filesystem::remove(tpl);
    windows.message_answers = {c.answer};
    windows.message_log.clear();
    Report({{1000, 1000}}, c.target.empty() ? path : c.target);
    std::vector<std::string> log = {"[岚序软件] 是否覆盖已存在文件?"};
    if (!c.message.empty()) log.push_back("[岚序软件] " + c.message);
    EXPECT_EQ(windows.message_log, log) << c.message;
    EXPECT_EQ(Labels() - before, c.labels_left) << c.message;
    std::filesystem::remove(lock);
  }
  EXPECT_EQ(nytest::ReadAll(pdf), "old");
}
