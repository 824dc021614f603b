// The desktop renders dialog models with real widgets, passes the person's actions to the
// controller, answers message boxes, and answers the host's input requests from the canvas and
// the command line.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "gui/dialog_widget.h"
#include "gui/grid_widget.h"
#include "gui/main_window.h"
#include "gui/pick.h"
#include "gui/snap.h"
#include "gui_fixture.h"
#include "host/host.h"
#include "pointcalc/room_fixture.h"

namespace {

using nyhost::Host;

using guitest::App;

// Fills the every-kind dialog's list, then records like any controller.
struct Recorder : guitest::Recorder {
  void OnInitDialog(nyhost::Dialog& d) override {
    d.AddString(40, "相对");
    d.AddString(40, "绝对");
    d.SetCurSel(40, 0);
  }
};

template <typename W>
W* Control(nygui::DialogWidget* w, int id) {
  return qobject_cast<W*>(w->ControlWidget(id));
}

struct DialogWidgets : ::testing::Test {
  Recorder rec_;
  guitest::Opened o_{guitest::EveryKind(), &rec_};
  nyhost::Dialog* dlg_ = o_.dlg;
  nygui::DialogWidget* w_ = o_.w;
};

TEST_F(DialogWidgets, EveryKindRendersWithCaptionsAndState) {
  EXPECT_TRUE(w_->isVisible());
  EXPECT_EQ(w_->windowTitle(), QStringLiteral("全部控件"));
  EXPECT_EQ(Control<QLabel>(w_, 10)->text(), QStringLiteral("房间名称"));
  EXPECT_EQ(Control<QPushButton>(w_, 11)->text(), QStringLiteral("水平照度"));
  EXPECT_FALSE(Control<QPushButton>(w_, 12)->icon().isNull());
  EXPECT_TRUE(Control<QLineEdit>(w_, 21)->isReadOnly());
  EXPECT_EQ(Control<QLineEdit>(w_, 21)->text(), QStringLiteral("0.70"));
  EXPECT_EQ(Control<QRadioButton>(w_, 32)->text(), QStringLiteral("线"));
  EXPECT_EQ(Control<QCheckBox>(w_, 33)->text(), QStringLiteral("标注"));
  EXPECT_EQ(Control<QGroupBox>(w_, 100)->title(), QStringLiteral("计算结果"));
  auto* combo = Control<QComboBox>(w_, 40);
  ASSERT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentText(), QStringLiteral("相对"));

  // Model changes reach the widgets without reaching the controller.
  rec_.events.clear();
  dlg_->Enable(11, false);
  dlg_->SetText(20, "会议室");
  dlg_->ShowControl(10, false);
  dlg_->SetToolTip(11, "计算水平照度");
  dlg_->SetCheck(31, 1);
  EXPECT_FALSE(Control<QPushButton>(w_, 11)->isEnabled());
  EXPECT_EQ(Control<QLineEdit>(w_, 20)->text(), QStringLiteral("会议室"));
  EXPECT_FALSE(Control<QLabel>(w_, 10)->isVisible());
  EXPECT_EQ(Control<QPushButton>(w_, 11)->toolTip(), QStringLiteral("计算水平照度"));
  EXPECT_TRUE(Control<QRadioButton>(w_, 31)->isChecked());
  EXPECT_TRUE(rec_.events.empty());

  // A verdict colour the module sets and later clears (a result that passes after one that
  // failed) goes back to the normal text colour.
  auto* field = Control<QLineEdit>(w_, 21);
  const QColor normal = field->palette().color(QPalette::Text);
  dlg_->SetColors(21, 0xFF0000, nyhost::kNoColor);
  EXPECT_EQ(field->palette().color(QPalette::Text), QColor(255, 0, 0));
  dlg_->SetColors(21, nyhost::kNoColor, nyhost::kNoColor);
  EXPECT_EQ(field->palette().color(QPalette::Text), normal);

  // The window hides and shows as the model says.
  dlg_->Hide();
  EXPECT_FALSE(w_->isVisible());
  dlg_->Show();
  EXPECT_TRUE(w_->isVisible());
}

TEST_F(DialogWidgets, UserActionsReachTheController) {
  QTest::mouseClick(Control<QPushButton>(w_, 11), Qt::LeftButton);
  EXPECT_TRUE(rec_.Has("click 11"));

  auto* edit = Control<QLineEdit>(w_, 20);
  edit->setFocus();
  QTest::keyClicks(edit, "12*20");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(dlg_->GetText(20), "12*20");
  EXPECT_TRUE(rec_.Has("edit 20 12*20"));
  EXPECT_TRUE(rec_.Has("key 13"));  // the edit is committed before the key reaches the dialog
  EXPECT_LT(std::find(rec_.events.begin(), rec_.events.end(), "edit 20 12*20"),
            std::find(rec_.events.begin(), rec_.events.end(), "key 13"));
  EXPECT_FALSE(dlg_->destroyed());

  // Radio buttons: the model keeps the group exclusive.
  QTest::mouseClick(Control<QRadioButton>(w_, 31), Qt::LeftButton);
  QTest::mouseClick(Control<QRadioButton>(w_, 32), Qt::LeftButton);
  EXPECT_EQ(dlg_->GetCheck(31), 0);
  EXPECT_EQ(dlg_->GetCheck(32), 1);
  EXPECT_FALSE(Control<QRadioButton>(w_, 31)->isChecked());
  QTest::mouseClick(Control<QCheckBox>(w_, 33), Qt::LeftButton);
  EXPECT_EQ(dlg_->GetCheck(33), 1);

  auto* combo = Control<QComboBox>(w_, 40);
  emit combo->activated(1);  // as when the person picks the second item
  EXPECT_EQ(dlg_->GetCurSel(40), 1);
  EXPECT_TRUE(rec_.Has("sel 40 绝对"));
}

// A main window over a small drawing: a line and a room outline.
class Desktop : public guitest::WindowTest {
 protected:
  void SetUp() override {
    auto d = guitest::LineDrawing({0, 0, 0}, {100, 0, 0});
    line_ = d->LiveIds().front();
    room_ = d->Add(nytest::ClosedOutline({{20, 20}, {80, 20}, {80, 60}, {20, 60}}));
    OpenWindow(std::move(d), 800, 600);
    window_->canvas()->ZoomExtents();
    QCoreApplication::processEvents();
  }
  void TearDown() override { CloseWindow(); }
  // Clicks at a world point on the canvas once the request is waiting.
  void ClickLater(nyhost::Point3 p, double dx_pixels = 0, int ms = 30) {
    auto* c = window_->canvas();
    guitest::ClickLater(c, (c->ToDevice(p) + QPointF(dx_pixels, 0)).toPoint(), ms);
  }
  void TypeLater(const QString& text, int ms = 30) {
    QTimer::singleShot(ms, [this, text] {
      auto* input = window_->command_line()->input();
      input->setText(text);
      QTest::keyClick(input, Qt::Key_Return);
    });
  }
  nyhost::EntityId line_ = 0, room_ = 0;
};

TEST_F(Desktop, PicksGoThroughTheCanvasToTheHost) {
  Host& host = Host::Get();
  nyhost::Point3 p;
  ClickLater({50, 40, 0});
  ASSERT_EQ(host.GetPoint(nullptr, "\n选择起点:", p), nyhost::kRtNorm);
  EXPECT_NEAR(p.x, 50, 0.5);
  EXPECT_NEAR(p.y, 40, 0.5);
  EXPECT_TRUE(window_->command_line()->Output().contains(QStringLiteral("选择起点:")));

  // Three pixels off a vertex snaps onto it.
  ClickLater({80, 60, 0}, 3);
  ASSERT_EQ(host.GetCorner({20, 20, 0}, "\n选择终点:", p), nyhost::kRtNorm);
  EXPECT_DOUBLE_EQ(p.x, 80);
  EXPECT_DOUBLE_EQ(p.y, 60);

  nyhost::EntityId id = 0;
  ClickLater({50, 0, 0});
  ASSERT_EQ(host.EntSel("\n选择对象:", id, p), nyhost::kRtNorm);
  EXPECT_EQ(id, line_);

  // Typed coordinates, Enter and Escape answer from the command line. A typed point is taken as
  // typed (never snapped); "@" points are relative to the last point, "@dist<angle" polar.
  struct Typed {
    const char* text;
    double x, y;
  } typed[] = {{"80.2,60.1", 80.2, 60.1}, {"12.5,7", 12.5, 7},  {"@30,40", 42.5, 47},
               {"@10<90", 42.5, 57},      {"@-2.5,-7", 40, 50}, {"@", 40, 50}};
  for (const auto& t : typed) {
    TypeLater(t.text);
    ASSERT_EQ(host.GetPoint(nullptr, "\n点:", p), nyhost::kRtNorm) << t.text;
    EXPECT_NEAR(p.x, t.x, 1e-12) << t.text;
    EXPECT_NEAR(p.y, t.y, 1e-12) << t.text;
  }
  TypeLater("");
  std::vector<nyhost::Point3> so_far{{0, 0, 0}, {10, 0, 0}};
  EXPECT_EQ(host.JigPoint("\n下一点:", so_far, p), nyhost::kRtNone);
  QTimer::singleShot(30,
                     [this] { QTest::keyClick(window_->command_line()->input(), Qt::Key_Escape); });
  EXPECT_EQ(host.GetPoint(nullptr, "\n点:", p), nyhost::kRtCan);
  TypeLater("办公室");
  std::string s;
  EXPECT_EQ(host.GetString("\n名称:", true, s), nyhost::kRtNorm);
  EXPECT_EQ(s, "办公室");
}

// The layer panel's 开 and 冻结 change the drawing (marked modified); such a layer is not picked.
TEST_F(Desktop, TheLayerPanelSwitchesLayersOffAndFrozen) {
  auto* table = window_->findChild<QTableWidget*>("layerTable");
  ASSERT_TRUE(table && table->rowCount() == 1);
  nyhost::Drawing& d = *Host::Get().drawing();
  d.MarkSaved();
  for (int col : {1, 2}) {
    const bool on = col == 1;  // 开 is checked for a shown layer, 冻结 for a frozen one
    table->item(0, col)->setCheckState(on ? Qt::Unchecked : Qt::Checked);
    EXPECT_FALSE(nygui::OnVisibleLayer(d, *d.Find(line_))) << col;
    EXPECT_TRUE(d.modified());
    EXPECT_EQ(nygui::PickEntity(d, {50, 0, 0}, 1), nyhost::kNullId);
    table->item(0, col)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    EXPECT_TRUE(nygui::OnVisibleLayer(d, *d.Find(line_))) << col;
  }
}

TEST_F(Desktop, WindowAndCrossingSelection) {
  Host& host = Host::Get();
  std::vector<nyhost::EntityId> ids;
  // Left to right around the room only: a window takes the room, not the line.
  ClickLater({10, 10, 0});
  ClickLater({90, 70, 0}, 0, 60);
  TypeLater("", 90);
  ASSERT_EQ(host.SelectObjects("\n选择对象:", nullptr, ids), nyhost::kRtNorm);
  EXPECT_EQ(ids, std::vector<nyhost::EntityId>{room_});

  // Right to left over the line's middle and the room's lower edge: crossing takes both.
  ids.clear();
  ClickLater({60, 30, 0});
  ClickLater({40, -5, 0}, 0, 60);
  TypeLater("", 90);
  ASSERT_EQ(host.SelectObjects("\n选择对象:", nullptr, ids), nyhost::kRtNorm);
  EXPECT_EQ(ids.size(), 2u);
}

TEST_F(Desktop, TypedCommandsRunAndANewCommandCancelsAWaitingOne) {
  Host& host = Host::Get();
  int runs = 0, picks = -1;
  host.AddBuiltin("GUITEST_COUNT", [&] { ++runs; });
  host.AddBuiltin("GUITEST_PICK", [&] {
    nyhost::Point3 p;
    picks = host.GetPoint(nullptr, "\n点:", p);
  });
  auto* input = window_->command_line()->input();
  input->setText("GUITEST_PICK");
  QTest::keyClick(input, Qt::Key_Return);
  // The pick waits; typing another command cancels it and runs the new one.
  TypeLater("GUITEST_COUNT", 50);
  ASSERT_TRUE(QTest::qWaitFor([&] { return runs == 1; }, 3000)) << runs;
  EXPECT_EQ(picks, nyhost::kRtCan);
  EXPECT_EQ(window_->command_line()->history().last(), QStringLiteral("GUITEST_COUNT"));
  // Enter on an empty line repeats the last command; Space ends a command name like Enter.
  QTest::keyClick(input, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return runs == 2; }, 3000)) << runs;
  QTest::keyClicks(input, "GUITEST_COUNT ");
  ASSERT_TRUE(QTest::qWaitFor([&] { return runs == 3; }, 3000)) << runs;
  EXPECT_EQ(window_->command_line()->Prompt(), QStringLiteral("命令:"));
}

// Adds an entity of `data` on `layer`.
nyhost::EntityId Add(nyhost::Drawing& d, nyhost::EntityData data, const char* layer = "0") {
  nyhost::Entity e;
  e.data = std::move(data);
  e.layer = layer;
  return d.Add(e);
}

TEST(Picking, NearestEntitySnapAndBoxes) {
  nyhost::Drawing d;
  const auto ia = Add(d, nyhost::Line{{0, 0, 0}, {10, 0, 0}});
  const auto ib = Add(d, nyhost::Circle{{20, 0, 0}, 5});
  d.EnsureLayer("OFF").off = true;
  Add(d, nyhost::Line{{0, 1, 0}, {10, 1, 0}}, "OFF");
  EXPECT_EQ(nygui::PickEntity(d, {5, 0.4, 0}, 1), ia);  // the line on the off layer is skipped
  EXPECT_EQ(nygui::PickEntity(d, {25.3, 0, 0}, 1), ib);
  EXPECT_EQ(nygui::PickEntity(d, {20, 0, 0}, 1), nyhost::kNullId);  // circle centre is far
  EXPECT_EQ(nygui::SelectInBox(d, {-1, -1, 0}, {11, 2, 0}, false),
            std::vector<nyhost::EntityId>{ia});
  EXPECT_EQ(nygui::SelectInBox(d, {16, -1, 0}, {12, 1, 0}, true),
            std::vector<nyhost::EntityId>{ib});
}

// Each mode finds its point and marks it with its own kind; a wall (a wide polyline centred 100
// off the room) offers its inner face corner, so a click at the room's corner stays there.
TEST(Picking, SnapModesAndWallFaces) {
  using namespace nygui;
  nyhost::Drawing d;
  auto add = [&](nyhost::EntityData data) { Add(d, std::move(data)); };
  nyhost::Polyline wall;
  wall.vertices = {{-100, -100}, {6100, -100}, {6100, 6100}, {-100, 6100}};
  wall.closed = true;
  wall.constant_width = 200;
  add(wall);
  add(nyhost::Line{{1000, 1000, 0}, {3400, 3400, 0}});
  add(nyhost::Line{{1000, 3000, 0}, {3400, 600, 0}});
  add(nyhost::Circle{{4000, 4000, 0}, 300});
  add(nyhost::BlockReference{"LAMP", {5000, 2000, 0}});
  const nyhost::Point3 from{2000, 5000, 0};
  struct Case {
    nyhost::Point3 at;
    unsigned modes;
    bool found;
    nyhost::Point3 want;
    SnapMode mode;
  } cases[] = {
      {{30, -20, 0}, kDefaultSnapModes, true, {0, 0, 0}, kSnapEndpoint},  // inner face corner
      {{-180, -210, 0}, kDefaultSnapModes, true, {-200, -200, 0}, kSnapEndpoint},  // outer
      {{-90, -120, 0}, kDefaultSnapModes, true, {-100, -100, 0}, kSnapEndpoint},   // centre line
      {{6010, 3050, 0}, kDefaultSnapModes, true, {6000, 3000, 0}, kSnapMidpoint},
      {{1990, 2030, 0}, kDefaultSnapModes, true, {2000, 2000, 0}, kSnapIntersection},
      {{4020, 3990, 0}, kDefaultSnapModes, true, {4000, 4000, 0}, kSnapCenter},
      {{5040, 2000, 0}, kDefaultSnapModes, true, {5000, 2000, 0}, kSnapInsertion},
      {{2030, 6010, 0}, kDefaultSnapModes, true, {2000, 6000, 0}, kSnapPerpendicular},
      {{2530, 2480, 0}, kSnapNearest, true, {2505, 2505, 0}, kSnapNearest},
      {{2530, 2480, 0}, kDefaultSnapModes, false, {}, kSnapEndpoint},
      {{30, -20, 0}, kSnapMidpoint, false, {}, kSnapEndpoint},
  };
  for (const auto& c : cases) {
    auto hit = FindSnap(d, c.at, 60, c.modes, &from);
    ASSERT_EQ(hit.has_value(), c.found) << c.at.x << "," << c.at.y;
    if (!hit) continue;
    EXPECT_NEAR(hit->point.x, c.want.x, 1e-9) << c.at.x << "," << c.at.y;
    EXPECT_NEAR(hit->point.y, c.want.y, 1e-9) << c.at.x << "," << c.at.y;
    EXPECT_EQ(hit->mode, c.mode) << c.at.x << "," << c.at.y;
  }
}

}  // namespace
