#include <gtest/gtest.h>

#include "base/module_state.h"
#include "pointcalc/point_dialog.h"
#include "room_fixture.h"
#include "support/ny_ini_file.h"

namespace {

class PointDialog : public nytest::HostFixture {
 protected:
  nyhost::Dialog& Open() {
    if (!module_loaded) LoadModule();
    Type("ZIRIRODO_DOT ");
    return *Module().PointDialog->window();
  }
};

TEST_F(PointDialog, DensityFieldAndSpin) {
  nyhost::Dialog& w = Open();
  CNYDrawIsolineDlg* dlg = Module().PointDialog;
  EXPECT_EQ(w.GetText(338), "50*75");
  struct Case {
    const char* typed;
    int x, y;
  } cases[] = {{"30", 30, 30}, {"30x40", 30, 40}, {"30X40", 30, 40}, {"30*40", 30, 40},
               {"30×40", 30, 40}};
  for (const auto& c : cases) {
    w.UserType(338, c.typed);
    EXPECT_EQ(dlg->data().m_nCountX, c.x) << c.typed;
    EXPECT_EQ(dlg->data().m_nCountY, c.y) << c.typed;
    EXPECT_EQ(w.GetText(338), c.typed);
  }
  w.UserType(338, "10*25");
  w.UserSpin(339, 1);
  EXPECT_EQ(w.GetText(338), "10*15");
  w.UserType(338, "10*25");
  w.UserSpin(339, -1);
  EXPECT_EQ(w.GetText(338), "20*35");
  w.UserType(338, "30");
  w.UserSpin(339, 1);
  EXPECT_EQ(w.GetText(338), "20") << "one-number form stays one number";

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

TEST_F(PointDialog, ButtonsSendTheirCommands) {
  nyhost::Dialog& w = Open();
  struct Case {
    int id;
    std::vector<std::string> queued;
  } cases[] = {
      {335, {"REDRAW", "NYZIRIRODO_DOT_RECT"}},
      {334, {"REDRAW", "NYZIRIRODO_DOT_POLYGON"}},
      {333, {"REDRAW", "ZIRIRODO_LIGHTOFF"}},
      {336, {"DRAW_LIGHT"}},
      {351, {"NYZIRIRODO_DOT_JSS"}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(host().pending_commands(), 0u);
    w.UserClick(c.id);
    EXPECT_EQ(host().pending_commands(), c.queued.size()) << c.id;
    host().RunPendingCommands();
    input.answers.clear();
  }
  Module().PointDialog->data().m_nCalType = 2;
  output.text.clear();
  w.UserClick(351);
  EXPECT_EQ(output.text, "\n眩光计算暂时不提供计算书!");
  EXPECT_EQ(host().pending_commands(), 0u);
}

TEST_F(PointDialog, EnterAndEscapeDoNotCloseIt) {
  nyhost::Dialog& w = Open();
  w.UserKey(nyhost::kKeyEscape);
  w.UserKey(nyhost::kKeyEnter);
  EXPECT_FALSE(w.destroyed());
  EXPECT_EQ(host().pending_commands(), 0u) << "Enter triggers no button";
}

TEST_F(PointDialog, StandardsButtonTakesTheValuesOnOk) {
  nyhost::Dialog& w = Open();
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
  nyhost::Dialog& w = Open();
  w.UserType(338, "30*15");
  const std::string ini = Module().SettingsFile;
  NyIniFile::WriteKey("照度标准—岚序软件", "m_dStandLPD", 11.0, ini);
  NyIniFile::WriteKey("照度标准—岚序软件", "m_nStandLx", 300, ini);
  w.UserClose();
  windows.Collect();
  EXPECT_EQ(Module().PointDialog, nullptr);
  EXPECT_EQ(NyIniFile::ReadKey("CNYDrawIsolineDlg", "m_sCalCount", std::string(), ini), "30*15");
  EXPECT_EQ(host().GetVarInt("PDMODE"), 35);
  nyhost::Dialog& again = Open();
  EXPECT_EQ(again.GetText(338), "30*15");
  EXPECT_EQ(again.GetText(360), "11");
  EXPECT_EQ(Module().PointDialog->data().m_nCountX, 30);
  EXPECT_EQ(Module().PointDialog->data().m_nStandLx, 300);
  NyIniFile::WriteKey("照度标准—岚序软件", "m_dStandLPD", std::string("inf"), ini);
  again.UserClose();
  EXPECT_EQ(Open().GetText(360), "0") << "an absurd limit in the file is no limit";
}

TEST_F(PointDialog, SecondRoomErasesTheFirstOutline) {
  nyhost::Dialog& w = Open();
  input.Point(0, 0);
  input.Point(6000, 3000);
  w.UserClick(335);
  host().RunPendingCommands();
  auto first = Module().PointDialog->data().m_idOutline;
  ASSERT_NE(drawing().FindLive(first), nullptr);
  EXPECT_TRUE(w.visible()) << "shown again after picking";
  input.Point(0, 0);
  input.Point(3000, 3000);
  w.UserClick(335);
  host().RunPendingCommands();
  EXPECT_EQ(drawing().FindLive(first), nullptr);
  EXPECT_NE(drawing().FindLive(Module().PointDialog->data().m_idOutline), nullptr);
}

}  // namespace
