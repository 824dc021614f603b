#include <gtest/gtest.h>


#include "base/module_state.h"
#include "pointcalc/point_dialog.h"
#include "support/ny_ini_file.h"
#include "test_support.h"

namespace {

class Module : public nytest::HostFixture {};

TEST_F(Module, LoadWelcomesAndRegistersThirteenCommandsInTableOrder) {
  LoadModule();
  EXPECT_EQ(output.text, "\n欢迎使用岚序软件!\n");
  std::vector<std::string> names;
  for (const auto& c : host().Commands())
    if (c.group == "NYZirIrodo") names.push_back(c.name + "=" + c.entry_name);
  EXPECT_EQ(names, (std::vector<std::string>{
                       "DrawRectOnLight=DrawRectOnLight", "DRAW_LIGHT=DRAW_LIGHT",
                       "ZIRIRODO_CALH_PERDOT=ZIRIRODO_CALH_PERDOT",
                       "NYZirIrodo_LYXS=NYZirIrodo_LYXS",
                       "NYZirIrodo_LYXS_RECT=NYZirIrodo_LYXS_RECT",
                       "NYZirIrodo_LYXS_POLYGON=NYZirIrodo_LYXS_POLYGON",
                       "ZIRIRODO_DOT=ZirIrodo_DOT", "ZIRIRODO_LIGHTOFF=ZIRIRODO_LIGHTOFF",
                       "ZIRIRODO_LIGHTON=NYZirIrodo_DOT_LIGHTON",
                       "NYZirIrodo_DOT_RECT=NYZirIrodo_DOT_RECT",
                       "NYZirIrodo_DOT_POLYGON=NYZirIrodo_DOT_POLYGON",
                       "NYZirIrodo_DOT_JSS=NYZirIrodo_DOT_JSS",
                       "NYZirIrodo_DOT_CalUGRPt=NYZirIrodo_DOT_CalUGRPt"}));
  const ModuleState& s = ::Module();
  EXPECT_EQ(s.RootFolder.back(), '/');
  EXPECT_EQ(s.DataFolder, s.RootFolder + "data/");
  EXPECT_EQ(s.ColorEffectFile, s.DataFolder + "LXSetColor.syl");
  EXPECT_EQ(s.ReportLanguageFile, s.DataFolder + "材料表语言设置.txt");
  // The test program is the module file here, so the settings file takes its base name.
  EXPECT_EQ(s.SettingsFile, s.DataFolder + "frame_test.ini");
  UnloadModule();
  EXPECT_EQ(host().FindCommand("ZIRIRODO_DOT"), nullptr);
}

TEST_F(Module, SettingsFileFollowsTheModuleFileBaseNameUpToItsLastDot) {
  ModuleState s;
  InitModuleFolders(s, "/opt/x/lib/照明.v2.so");
  EXPECT_EQ(s.SettingsFile, s.DataFolder + "照明.v2.ini");
}

TEST_F(Module, CommandsNeedingAClosedDialogPrintTheirMessage) {
  LoadModule();
  struct Case {
    const char* command;
    const char* printed;
  } cases[] = {
      {"DrawRectOnLight", "对话框已关闭!"},        {"DRAW_LIGHT", "对话框已关闭!"},
      {"ZIRIRODO_CALH_PERDOT", "对话框已关闭!"},   {"NYZirIrodo_LYXS_RECT", "对话框已关闭!"},
      {"NYZirIrodo_LYXS_POLYGON", "对话框已关闭!"}, {"NYZirIrodo_DOT_RECT", "对话框已关闭!"},
      {"NYZirIrodo_DOT_POLYGON", "对话框已关闭!"}, {"ZIRIRODO_LIGHTOFF", "\n对话框已关闭!"},
      {"ZIRIRODO_LIGHTON", "\n对话框已关闭!"},     {"NYZirIrodo_DOT_JSS", "\n对话框已关闭!"},
      {"NYZirIrodo_DOT_CalUGRPt", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    output.text.clear();
    Type(std::string(c.command) + " ");
    EXPECT_EQ(output.text, c.printed);
  }
  // The same after the dialog was opened and closed again.
  Type("ZIRIRODO_DOT ");
  windows.FindDialog(214)->UserClose();
  windows.Collect();
  output.text.clear();
  Type("DRAW_LIGHT ZIRIRODO_LIGHTOFF ZIRIRODO_LIGHTON ");
  EXPECT_EQ(output.text, "对话框已关闭!\n对话框已关闭!\n对话框已关闭!");
}

TEST_F(Module, OpeningTwiceKeepsOneDialogRestoresItAndKeysDoNotCloseIt) {
  LoadModule();
  Type("ZIRIRODO_DOT ");
  nyhost::Dialog* first = windows.FindDialog(214);
  ASSERT_NE(first, nullptr);
  first->Minimize();
  first->Hide();
  Type("ZIRIRODO_DOT ");
  EXPECT_EQ(windows.FindDialog(214), first);
  EXPECT_EQ(windows.Dialogs().size(), 1u);
  EXPECT_TRUE(first->visible());
  EXPECT_FALSE(first->minimized());
  EXPECT_TRUE(first->focused());
  EXPECT_EQ(::Module().PointDialog->window(), first);
  // Keys do not close the modeless dialog; help without an opener does nothing.
  for (int key : {nyhost::kKeyEnter, nyhost::kKeyEscape, nyhost::kKeyF1}) first->UserKey(key);
  EXPECT_FALSE(first->destroyed());
  EXPECT_EQ(host().pending_commands(), 0u) << "Enter triggers no button";
}

TEST_F(Module, NothingOpensWithoutADrawing) {
  LoadModule();
  host().SetDrawing(nullptr);
  Type("ZIRIRODO_DOT NYZirIrodo_LYXS ");
  EXPECT_TRUE(windows.Dialogs().empty());
  EXPECT_EQ(::Module().PointDialog, nullptr);
}

TEST_F(Module, ButtonsCancelTheRunningCommandAndTypeTheirCommands) {
  LoadModule();
  Type("ZIRIRODO_DOT ");
  nyhost::Dialog* d = windows.FindDialog(214);
  struct Case {
    int control;
    std::vector<std::string> sent;
  } cases[] = {
      {335, {"redraw", "NYZirIrodo_DOT_RECT"}}, {334, {"redraw", "NYZirIrodo_DOT_POLYGON"}},
      {333, {"redraw", "ZIRIRODO_LIGHTOFF"}},   {323, {"redraw", "ZIRIRODO_LIGHTON"}},
      {336, {"DRAW_LIGHT"}},                    {353, {"ZIRIRODO_CALH_PERDOT"}},
      {351, {"NYZirIrodo_DOT_JSS"}},            {367, {"NYZirIrodo_DOT_CalUGRPt"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control);
    d->UserClick(c.control);
    EXPECT_EQ(host().PendingCommandNames(), c.sent);
    host().RunPendingCommands();
  }
}

TEST_F(Module, UnloadWithBothDialogsOpenSavesBothAndFreesThem) {
  LoadModule();
  Type("ZIRIRODO_DOT NYZirIrodo_LYXS ");
  windows.FindDialog(214)->MoveTo(120, 80);
  windows.FindDialog(215)->MoveTo(300, 40);
  std::string settings = ::Module().SettingsFile;
  UnloadModule();
  EXPECT_TRUE(windows.Dialogs().empty());
  EXPECT_EQ(NyIniFile::ReadKey("CNYDrawIsolineDlg", "WindowLeft", 0, settings), 120);
  EXPECT_EQ(NyIniFile::ReadKey("CZirIrodoDlg", "WindowTop", 0, settings), 40);
  // Loading again restores the position.
  LoadModule();
  Type("ZIRIRODO_DOT ");
  EXPECT_EQ(windows.FindDialog(214)->left(), 120);
}

}  // namespace
