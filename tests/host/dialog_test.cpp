#include <gtest/gtest.h>

#include "host/dialog.h"

namespace {

using nyhost::ControlKind;

struct Recorder : nyhost::DialogController {
  std::vector<std::string> events;
  bool swallow_keys = false;
  void OnClick(nyhost::Dialog& d, int id) override {
    events.push_back("click " + std::to_string(id));
    if (id == nyhost::kIdOk) d.EndDialog(nyhost::kIdOk);
  }
  void OnSelChange(nyhost::Dialog&, int id) override { events.push_back("sel " + std::to_string(id)); }
  void OnEditChange(nyhost::Dialog&, int id) override {
    events.push_back("edit " + std::to_string(id));
  }
  void OnKillFocus(nyhost::Dialog&, int id) override {
    events.push_back("focus " + std::to_string(id));
  }
  void OnCellEndEdit(nyhost::Dialog&, int id, int r, int c) override {
    events.push_back("cell " + std::to_string(id) + " " + std::to_string(r) + "," + std::to_string(c));
  }
  bool OnKey(nyhost::Dialog&, int key) override {
    events.push_back("key " + std::to_string(key));
    return swallow_keys;
  }
  void OnDestroy(nyhost::Dialog&) override { events.push_back("destroy"); }
};

nyhost::DialogTemplate Template() {
  auto ctl = [](int id, ControlKind k, const char* cap) {
    nyhost::ControlTemplate c;
    c.id = id;
    c.kind = k;
    c.caption = cap;
    return c;
  };
  nyhost::DialogTemplate t;
  t.id = 900;
  t.caption = "测试";
  auto r1 = ctl(10, ControlKind::kRadio, "相对");
  r1.group_start = true;
  auto r2 = ctl(11, ControlKind::kRadio, "绝对");
  auto r3 = ctl(12, ControlKind::kRadio, "另一组");
  r3.group_start = true;
  auto sorted = ctl(21, ControlKind::kDropList, "");
  sorted.sort = true;
  t.controls = {ctl(1, ControlKind::kButton, "确定"), ctl(2, ControlKind::kButton, "取消"),
                r1, r2, r3, ctl(20, ControlKind::kCombo, ""), sorted,
                ctl(30, ControlKind::kEdit, "初值"), ctl(40, ControlKind::kGrid, ""),
                ctl(50, ControlKind::kTree, ""), ctl(60, ControlKind::kCheck, "")};
  return t;
}

TEST(DialogModel, RadioGroupsCombosAndSortedLists) {
  nyhost::WindowSystem ws;
  Recorder rec;
  auto* d = ws.CreateModeless(Template(), &rec);
  EXPECT_TRUE(d->visible());
  EXPECT_EQ(d->GetText(30), "初值");
  d->SetCheck(12, 1);
  d->UserClick(10);
  d->UserClick(11);
  EXPECT_EQ(d->GetCheck(10), 0);
  EXPECT_EQ(d->GetCheck(11), 1);
  EXPECT_EQ(d->GetCheck(12), 1) << "another group is untouched";

  for (const char* s : {"金卤灯", "LED", "荧光灯"}) d->AddString(21, s);
  EXPECT_EQ(d->GetItemText(21, 0), "LED");
  EXPECT_TRUE(d->UserChoose(21, "荧光灯"));
  EXPECT_EQ(d->GetText(21), "荧光灯");
  EXPECT_FALSE(d->UserChoose(21, "不存在"));
  EXPECT_TRUE(d->UserChoose(21, "#0"));
  EXPECT_EQ(d->GetText(21), "LED");

  d->AddString(20, "30*15");
  EXPECT_TRUE(d->UserType(20, "30x40"));
  EXPECT_EQ(d->GetCurSel(20), -1) << "typed text that is no item selects nothing";
  EXPECT_EQ(rec.events.back(), "focus 20");
  d->Enable(30, false);
  EXPECT_FALSE(d->UserType(30, "x")) << "a disabled control takes no input";
  EXPECT_EQ(d->GetText(30), "初值");
}

TEST(DialogModel, GridEditsOnlyEditableCellsAndTreePaths) {
  nyhost::WindowSystem ws;
  Recorder rec;
  auto* d = ws.CreateModeless(Template(), &rec);
  auto& g = d->Grid(40);
  g.fixed_rows = 1;
  g.cells.assign(3, std::vector<nyhost::GridCell>(2));
  g.cells[2][1].kind = nyhost::CellKind::kReadOnly;
  d->GridChanged(40);
  EXPECT_FALSE(d->UserCellEdit(40, 0, 0, "header")) << "fixed rows are not edited";
  EXPECT_FALSE(d->UserCellEdit(40, 2, 1, "x"));
  EXPECT_TRUE(d->UserCellEdit(40, 1, 1, "2.8"));
  EXPECT_EQ(d->GetCell(40, 1, 1), "2.8");
  EXPECT_EQ(rec.events.back(), "cell 40 1,1");
  EXPECT_EQ(d->GetCell(40, 9, 9), "");

  int office = d->InsertItem(50, 0, "办公建筑");
  int room = d->InsertItem(50, office, "普通办公室");
  d->InsertItem(50, 0, "商业建筑");
  EXPECT_TRUE(d->UserTreeSelect(50, "办公建筑/普通办公室"));
  EXPECT_EQ(d->GetSelectedItem(50), room);
  EXPECT_EQ(d->GetParentItem(50, room), office);
  EXPECT_FALSE(d->UserTreeSelect(50, "办公建筑/不存在"));
  d->DeleteItem(50, office);
  EXPECT_EQ(d->GetSelectedItem(50), 0) << "deleting a parent drops its selected child";
  EXPECT_EQ(d->GetChildItems(50, 0).size(), 1u);
}

TEST(DialogModel, KeysAndModalResults) {
  nyhost::WindowSystem ws;
  Recorder rec;
  ws.modal_driver = [](nyhost::Dialog& d) { d.UserKey(nyhost::kKeyEnter); };
  EXPECT_EQ(ws.RunModal(Template(), rec), nyhost::kIdOk);
  EXPECT_EQ(rec.events.back(), "destroy");

  Recorder swallow;
  swallow.swallow_keys = true;
  ws.modal_driver = [](nyhost::Dialog& d) { d.UserKey(nyhost::kKeyEscape); };
  EXPECT_EQ(ws.RunModal(Template(), swallow), nyhost::kIdCancel) << "nothing ended it";
  EXPECT_EQ(swallow.events.front(), "key 27");
  EXPECT_TRUE(ws.Dialogs().empty());
}

TEST(DialogModel, MessageBoxesAnswerFromTheQueueThenTheDefaultButton) {
  nyhost::WindowSystem ws;
  ws.message_answers = {nyhost::kIdNo};
  EXPECT_EQ(ws.MessageBox("岚序软件", "是否?", nyhost::MbIcon::kQuestion, nyhost::MbButtons::kYesNo),
            nyhost::kIdNo);
  EXPECT_EQ(ws.MessageBox("岚序软件", "再问", nyhost::MbIcon::kQuestion, nyhost::MbButtons::kYesNo),
            nyhost::kIdYes);
  EXPECT_EQ(ws.message_log.front(), "[岚序软件] 是否?");
  ws.file_answers = {""};
  EXPECT_FALSE(ws.FileDialog(true, "", "", "").has_value()) << "an empty answer cancels";
}

}  // namespace
