// Dialog windows: dialog units to pixels, control geometry, tooltips lent by hidden frames, trees,
// lists, spin arrows and the window following the model through hide and show.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>

#include "gui/dialog_widget.h"
#include "gui/grid_widget.h"
#include "gui/gui_script.h"
#include "gui/main_window.h"
#include "gui/qt_window_system.h"
#include "gui_fixture.h"
#include "host/host.h"
#include "resources/templates.h"

namespace {

using guitest::App;
using guitest::Ctl;
using guitest::Opened;
using nyhost::ControlKind;
using nyhost::Host;

TEST(DialogUnits, EdgesAreConvertedSoTouchingControlsTouch) {
  struct Case {
    double ux, uy;
    int x, y, w, h;
    QRect want;
  } cases[] = {
      {1.5, 1.75, 0, 0, 10, 10, QRect(0, 0, 15, 18)},  // 17.5 rounds up
      {1.5, 1.75, 1, 1, 1, 1, QRect(2, 2, 1, 2)},       // 1.5..3 across, 1.75..3.5 down
      {1.5, 1.75, 3, 2, 5, 4, QRect(5, 4, 7, 7)},       // 4.5..12, 3.5..10.5
      {2.0, 2.0, 4, 26, 482, 204, QRect(8, 52, 964, 408)},
      {1.75, 2.125, 7, 9, 0, 0, QRect(12, 19, 0, 0)},
  };
  for (const auto& c : cases) {
    nygui::DialogUnits u;
    u.x = c.ux, u.y = c.uy;
    EXPECT_EQ(u.ToPixels(c.x, c.y, c.w, c.h), c.want) << c.x << "," << c.y << " " << c.w << "x" << c.h;
  }
  // Any two controls side by side in dialog units share their edge in pixels.
  for (double unit : {1.25, 1.5, 1.625, 1.75, 2.125}) {
    nygui::DialogUnits u;
    u.x = u.y = unit;
    for (int x = 0; x < 40; ++x)
      for (int w = 1; w < 12; ++w) {
        QRect a = u.ToPixels(x, x, w, w), b = u.ToPixels(x + w, x + w, 5, 5);
        ASSERT_EQ(a.x() + a.width(), b.x()) << unit << " " << x << "+" << w;
        ASSERT_EQ(a.y() + a.height(), b.y()) << unit << " " << x << "+" << w;
      }
  }
}

TEST(DialogUnits, FollowTheFontsAverageLetterWidthAndHeight) {
  App();
  for (int points : {9, 12, 16}) {
    nyhost::DialogTemplate tpl;
    tpl.font_size = points;
    QFont f = nygui::DialogFont(tpl);
    EXPECT_EQ(f.pointSize(), points);
    nygui::DialogUnits u = nygui::DialogUnits::ForFont(f);
    QFontMetricsF fm(f);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_NEAR(u.x, fm.horizontalAdvance(letters) / 52.0 / 4.0, 1e-9);
    EXPECT_NEAR(u.y, fm.height() / 8.0, 1e-9);
  }
  nyhost::DialogTemplate unset;
  unset.font_size = 0;
  EXPECT_EQ(nygui::DialogFont(unset).pointSize(), 9);
}

TEST(DialogGeometry, EveryControlSitsWhereItsTemplateSays) {
  const nyhost::DialogTemplate t = guitest::EveryKind();
  Opened o(t);
  ASSERT_NE(o.w, nullptr);
  const nygui::DialogUnits& u = o.w->units();
  EXPECT_EQ(o.w->size(), QSize(qRound(300 * u.x), qRound(200 * u.y)));
  for (const auto& c : t.controls) {
    QWidget* widget = o.w->ControlWidget(c.id);
    ASSERT_NE(widget, nullptr) << c.id;
    QRect want = u.ToPixels(c.x, c.y, c.w, c.h);
    if (c.kind == ControlKind::kDropList) {
      // The closed box is one line high; the template's height includes its list.
      EXPECT_EQ(widget->geometry().topLeft(), want.topLeft());
      EXPECT_EQ(widget->width(), want.width());
      EXPECT_LT(widget->height(), want.height());
      EXPECT_EQ(widget->height(), widget->sizeHint().height());
    } else {
      EXPECT_EQ(widget->geometry(), want) << c.id;
    }
  }
  // The edit and its spin arrows touch without a gap or an overlap.
  EXPECT_EQ(o.w->ControlWidget(21)->geometry().right() + 1, o.w->ControlWidget(22)->x());
}

// Hidden frames lend their tooltip to the controls placed inside them.
nyhost::DialogTemplate Frames() {
  nyhost::DialogTemplate t;
  t.id = 902;
  t.width = 300;
  t.height = 200;
  t.controls = {
      Ctl(1, ControlKind::kStatic, "", 0, 0, 150, 100),     // hidden by the model: lends
      Ctl(11, ControlKind::kEdit, "", 10, 10, 40, 12),      // inside 1, no tip of its own
      Ctl(12, ControlKind::kEdit, "", 10, 30, 40, 12),      // inside 1, its own tip
      Ctl(13, ControlKind::kEdit, "", 140, 30, 40, 12),     // sticks out of 1
      Ctl(2, ControlKind::kStatic, "说明", 160, 0, 130, 40),  // visible, not covered: lends nothing
      Ctl(21, ControlKind::kEdit, "", 170, 10, 40, 12),
      Ctl(3, ControlKind::kStatic, "", 160, 50, 130, 60),   // the luminaire table's frame ...
      Ctl(31, ControlKind::kGrid, "", 160, 50, 130, 60),    // ... wholly covered by its grid
      Ctl(4, ControlKind::kStatic, "", 0, 110, 150, 80),    // hidden outer frame
      Ctl(5, ControlKind::kStatic, "", 10, 120, 100, 40),   // hidden inner frame
      Ctl(51, ControlKind::kEdit, "", 20, 130, 40, 12),     // inside both: the inner one lends
      Ctl(41, ControlKind::kEdit, "", 20, 170, 40, 12),     // inside the outer only
  };
  return t;
}

struct FrameController : guitest::Recorder {
  void OnInitDialog(nyhost::Dialog& d) override {
    d.ShowControl(1, false);
    d.ShowControl(4, false);
    d.ShowControl(5, false);
    d.SetToolTip(1, "框一");
    d.SetToolTip(12, "自己的");
    d.SetToolTip(2, "说明框");
    d.SetToolTip(3, "点击'灯具名称'在图中显示对应灯具");
    d.SetToolTip(4, "外框");
    d.SetToolTip(5, "内框");
    auto& g = d.Grid(31);
    g.cells.assign(2, std::vector<nyhost::GridCell>(2));
    g.col_widths = {40, 40};
    g.cells[0][0].text = "短";
    g.cells[0][1].text = "一个放不下这么多字的很长的单元格文字";
    d.GridChanged(31);
  }
};

TEST(DialogToolTips, HiddenFramesLendTheirTipAndHoveringShowsIt) {
  FrameController fc;
  Opened o(Frames(), &fc);
  auto tip = [&](int id) { return o.w->ControlWidget(id)->toolTip(); };
  struct Case {
    int id;
    QString want;
  } cases[] = {
      {11, QStringLiteral("框一")},
      {12, QStringLiteral("自己的")},  // its own tip wins
      {13, QString()},                 // not wholly inside
      {21, QString()},                 // the frame is visible and uncovered
      {31, QStringLiteral("点击'灯具名称'在图中显示对应灯具")},
      {51, QStringLiteral("内框")},  // the smallest hidden frame around it
      {41, QStringLiteral("外框")},
  };
  for (const auto& c : cases) EXPECT_EQ(tip(c.id), c.want) << c.id;

  // The tips follow the model: a new frame tip, an own tip given and taken back, a frame shown.
  o.dlg->SetToolTip(1, "新的框");
  EXPECT_EQ(tip(11), QStringLiteral("新的框"));
  o.dlg->SetToolTip(11, "编辑框");
  EXPECT_EQ(tip(11), QStringLiteral("编辑框"));
  o.dlg->SetToolTip(11, "");
  EXPECT_EQ(tip(11), QStringLiteral("新的框"));
  o.dlg->ShowControl(1, true);
  EXPECT_EQ(tip(11), QString());
  o.dlg->ShowControl(31, false);  // the grid hidden: its frame shows and lends no more
  EXPECT_EQ(tip(31), QString());
  o.dlg->ShowControl(31, true);
  EXPECT_EQ(tip(31), QStringLiteral("点击'灯具名称'在图中显示对应灯具"));
  o.dlg->ShowControl(1, false);
  o.dlg->SetToolTip(1, "框一");

  // Hovering shows the lent tip, and the title tips of cells too narrow for their text.
  ASSERT_TRUE(o.Show());
  auto hover = [](QWidget* target, QPoint at) {
    QHelpEvent e(QEvent::ToolTip, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &e);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  QWidget* edit = o.w->ControlWidget(11);
  EXPECT_EQ(hover(edit, edit->rect().center()), QStringLiteral("框一"));
  QToolTip::hideText();

  auto* grid = static_cast<nygui::GridWidget*>(o.w->ControlWidget(31));
  QRect short_cell = grid->visualRect(grid->model()->index(0, 0));
  QRect long_cell = grid->visualRect(grid->model()->index(0, 1));
  QRect empty_cell = grid->visualRect(grid->model()->index(1, 0));
  struct Hover {
    QPoint at;
    QString want;
  } hovers[] = {
      {short_cell.center(), QStringLiteral("点击'灯具名称'在图中显示对应灯具")},
      {long_cell.center(), QStringLiteral("一个放不下这么多字的很长的单元格文字")},
      {empty_cell.center(), QStringLiteral("点击'灯具名称'在图中显示对应灯具")},
  };
  for (const auto& c : hovers) {
    EXPECT_EQ(hover(grid->viewport(), c.at), c.want);
    QToolTip::hideText();
  }
}

nyhost::DialogTemplate TreeAndLists() {
  return {.id = 903,
          .width = 260,
          .height = 160,
          .controls = {Ctl(60, ControlKind::kTree, "", 4, 4, 120, 150),
                       Ctl(50, ControlKind::kList, "", 130, 30, 100, 50),
                       Ctl(40, ControlKind::kCombo, "", 150, 10, 80, 60),
                       Ctl(22, ControlKind::kSpin, "", 130, 90, 10, 20),    // upright: up and down
                       Ctl(23, ControlKind::kSpin, "", 150, 90, 24, 10)}};  // lying: right, left
}

struct TreeController : guitest::Recorder {
  void OnInitDialog(nyhost::Dialog& d) override {
    int office = d.InsertItem(60, 0, "办公建筑");
    d.InsertItem(60, office, "普通办公室");
    d.InsertItem(60, office, "会议室");
    int school = d.InsertItem(60, 0, "学校建筑");
    d.InsertItem(60, school, "教室");
    d.ExpandItem(60, office, true);
    for (const char* s : {"T5", "T8", "LED"}) d.AddString(50, s), d.AddString(40, s);
  }
};

QTreeWidgetItem* Item(QTreeWidget* tree, int top, int child = -1) {
  QTreeWidgetItem* t = tree->topLevelItem(top);
  return child < 0 ? t : t->child(child);
}

// The tree-and-lists dialog, shown.
struct TreeDialog : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(o.Show()); }
  TreeController tc;
  Opened o{TreeAndLists(), &tc};
};

TEST_F(TreeDialog, ClicksRightClicksAndOpeningReachTheModelWithoutRebuilding) {
  auto* tree = qobject_cast<QTreeWidget*>(o.w->ControlWidget(60));
  ASSERT_NE(tree, nullptr);
  QTreeWidgetItem* meeting = Item(tree, 0, 1);
  ASSERT_EQ(meeting->text(0), QStringLiteral("会议室"));
  EXPECT_TRUE(Item(tree, 0)->isExpanded());
  EXPECT_FALSE(Item(tree, 1)->isExpanded());

  // A real click selects in the model; the item the view still holds stays the same object.
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                    tree->visualItemRect(meeting).center());
  EXPECT_EQ(o.dlg->GetItemTextOf(60, o.dlg->GetSelectedItem(60)), "会议室");
  EXPECT_TRUE(tc.Has("sel 60 "));
  EXPECT_EQ(Item(tree, 0, 1), meeting);
  EXPECT_EQ(tree->currentItem(), meeting);

  // Right clicks name the item under the cursor, by its path; empty space names none.
  struct Case {
    QPoint at;
    std::string want;
  } cases[] = {
      {tree->visualItemRect(Item(tree, 0, 0)).center(), "rclick 60 普通办公室"},
      {tree->visualItemRect(Item(tree, 1)).center(), "rclick 60 学校建筑"},
      {QPoint(5, tree->viewport()->height() - 3), "rclick 60 <none>"},
  };
  for (const auto& c : cases) {
    tc.events.clear();
    emit tree->customContextMenuRequested(c.at);
    EXPECT_EQ(tc.events, std::vector<std::string>{c.want});
  }
  EXPECT_EQ(o.dlg->GetItemTextOf(60, o.dlg->GetSelectedItem(60)), "学校建筑");

  // Opening and closing by the person is kept by the model, so a rebuild keeps it.
  Item(tree, 1)->setExpanded(true);
  int school = o.dlg->FindTreeItem(60, 0, "学校建筑");
  EXPECT_TRUE(o.dlg->Control(60)->tree.at(school).expanded);
  Item(tree, 0)->setExpanded(false);
  int office = o.dlg->FindTreeItem(60, 0, "办公建筑");
  EXPECT_FALSE(o.dlg->Control(60)->tree.at(office).expanded);
  o.dlg->InsertItem(60, school, "实验室");  // new items: the tree is built again
  ASSERT_EQ(Item(tree, 1)->childCount(), 2);
  EXPECT_EQ(Item(tree, 1, 1)->text(0), QStringLiteral("实验室"));
  EXPECT_TRUE(Item(tree, 1)->isExpanded());
  EXPECT_FALSE(Item(tree, 0)->isExpanded());
  o.dlg->SelectItem(60, 0);
  EXPECT_EQ(tree->currentItem(), nullptr);
}

TEST_F(TreeDialog, ScriptChoicesGoThroughTheWidgets) {
  struct Case {
    int id;
    QString item;
    bool ok;
    std::string event;
  } cases[] = {
      {60, QStringLiteral("学校建筑/教室"), true, "sel 60 "},  // opens the closed parent
      {60, QStringLiteral("学校建筑/食堂"), false, ""},
      {50, QStringLiteral("LED"), true, "sel 50 LED"},
      {40, QStringLiteral("T8"), true, "sel 40 T8"},
      {40, QStringLiteral("#0"), true, "sel 40 T5"},
      {40, QStringLiteral("#7"), false, ""},
  };
  for (const auto& c : cases) {
    tc.events.clear();
    EXPECT_EQ(nygui::ChooseThroughWidget(o.w->ControlWidget(c.id), c.item), c.ok) << c.id;
    if (c.ok) EXPECT_EQ(tc.events, std::vector<std::string>{c.event}) << c.id;
    else EXPECT_TRUE(tc.events.empty());
  }
  EXPECT_EQ(o.dlg->GetItemTextOf(60, o.dlg->GetSelectedItem(60)), "教室");
  EXPECT_EQ(o.dlg->GetCurSel(50), 2);
  EXPECT_EQ(o.dlg->GetCurSel(40), 0);
  EXPECT_FALSE(nygui::ChooseThroughWidget(o.w->ControlWidget(22), "T5"));  // not a chooser
}

TEST_F(TreeDialog, SpinArrowsListsAndTypedComboText) {
  struct Case {
    int id;
    Qt::ArrowType first, second;
  } spins[] = {{22, Qt::UpArrow, Qt::DownArrow}, {23, Qt::RightArrow, Qt::LeftArrow}};
  for (const auto& s : spins) {
    auto buttons = o.w->ControlWidget(s.id)->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->arrowType(), s.first);
    EXPECT_EQ(buttons[1]->arrowType(), s.second);
    tc.events.clear();
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    std::string id = std::to_string(s.id);
    EXPECT_EQ(tc.events, (std::vector<std::string>{"spin " + id + " 1", "spin " + id + " -1",
                                                    "spin " + id + " -1"}));
  }
  // A disabled spin control takes no steps.
  o.dlg->Enable(22, false);
  tc.events.clear();
  QTest::mouseClick(o.w->ControlWidget(22)->findChildren<QToolButton*>()[0], Qt::LeftButton);
  EXPECT_TRUE(tc.events.empty());

  // A list: a click chooses, a double click reaches the controller; the model's choice shows.
  auto* list = qobject_cast<QListWidget*>(o.w->ControlWidget(50));
  ASSERT_EQ(list->count(), 3);
  QRect t8 = list->visualItemRect(list->item(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, t8.center());
  EXPECT_EQ(o.dlg->GetCurSel(50), 1);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, t8.center());
  EXPECT_TRUE(tc.Has("dblclick 50"));
  o.dlg->SetCurSel(50, 2);
  EXPECT_EQ(list->currentRow(), 2);
  o.dlg->AddString(50, "荧光灯");
  EXPECT_EQ(list->count(), 4);

  // An editable combo: typed text reaches the model when the field is left, once.
  auto* combo = qobject_cast<QComboBox*>(o.w->ControlWidget(40));
  ASSERT_TRUE(combo->isEditable());
  combo->setFocus();
  combo->lineEdit()->selectAll();
  tc.events.clear();
  QTest::keyClicks(combo->lineEdit(), "T12");
  EXPECT_TRUE(tc.events.empty());  // nothing while typing
  o.w->ControlWidget(50)->setFocus();
  emit combo->lineEdit()->editingFinished();
  EXPECT_EQ(o.dlg->GetText(40), "T12");
  EXPECT_EQ(std::count(tc.events.begin(), tc.events.end(), "edit 40 T12"), 1);
}

TEST(MessageBoxes, AWindowWaitingToBeDeletedOwnsNoBox) {
  // A modal dialog has just ended: its window is hidden and only waits to be deleted, which
  // happens as soon as the next event loop runs, while the window system may still report it
  // as the active window. A message box owned by it would be deleted with it.
  App();
  nygui::MainWindow main;
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  nygui::QtWindowSystem& ws = *main.windows();
  const nyhost::DialogTemplate t{
      .id = 905,
      .width = 100,
      .height = 40,
      .controls = {Ctl(nyhost::kIdOk, ControlKind::kButton, "确定", 4, 4, 40, 14)}};
  const std::pair<QMessageBox::StandardButton, int> answers[] = {
      {QMessageBox::Yes, nyhost::kIdYes}, {QMessageBox::No, nyhost::kIdNo}, {QMessageBox::Yes, nyhost::kIdYes}};
  for (auto [button, id] : answers) {
    guitest::Recorder rec;
    QPointer<nygui::DialogWidget> ended;
    QTimer::singleShot(20, [&] {
      nyhost::Dialog* d = ws.FindDialog(905);
      ended = nygui::QtWindowSystem::WidgetOf(*d);
      qobject_cast<QPushButton*>(ended->ControlWidget(nyhost::kIdOk))->click();
    });
    ASSERT_EQ(ws.RunModal(t, rec), nyhost::kIdOk);
    ASSERT_TRUE(ended);  // not yet deleted
    EXPECT_EQ(ended->model(), nullptr);
    QApplication::setActiveWindow(ended);  // the late activation of the window system
    EXPECT_EQ(ws.OwnerWindow(), &main);
    QString shown;
    guitest::AnswerBoxLater(&shown, button, 30);
    EXPECT_EQ(ws.MessageBox("岚序软件", "保存设置?", nyhost::MbIcon::kQuestion, nyhost::MbButtons::kYesNo),
              id);
    EXPECT_EQ(shown, QStringLiteral("保存设置?"));
    EXPECT_FALSE(ended);  // deleted meanwhile, without taking the box along
  }
  ASSERT_EQ(ws.message_log.size(), 3u);
  EXPECT_EQ(ws.message_log[0], "[岚序软件] 保存设置?");
  EXPECT_EQ(nygui::QtWindowSystem::QtFilter("Excel (*.xls)|*.xls|All|*.*||"),
            QStringLiteral("Excel (*.xls);;All (*.*)"));
}

}  // namespace
