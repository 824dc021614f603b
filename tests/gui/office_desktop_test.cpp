// The example office through the desktop, driven by the script runner with real widget and canvas
// events: the point-method dialog must show what the command line's calc computes for the same
// room, density and standard.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>

#include "frame/module_entry.h"
#include "gui/dialog_widget.h"
#include "gui/grid_widget.h"
#include "gui/gui_script.h"
#include "gui/main_window.h"
#include "gui_fixture.h"
#include "host/host.h"
#include "test_support.h"

namespace {

using nyhost::Host;

const QString kPlan = QStringLiteral(NYLUXORA_TEST_EXAMPLES_DIR "/office.dxf");
const QString kStandard = QStringLiteral("办公建筑/普通办公室");
// The result fields of the dialog: average, max, min, uniformity, power density, and the
// standard's average, uniformity and power density.
const int kResultIds[] = {241, 242, 243, 232, 358, 245, 233, 360};

struct Field {
  QString text, tip;
};

// `nyluxora calc` prints each field as "[214:ID CAPTION] TEXT  {TOOLTIP}" (the caption may be
// absent).
std::map<int, Field> CalcOnTheCommandLine(const nytest::TempDir& home) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("NYLUXORA_SHARE", NYLUXORA_TEST_SHARE_DIR);
  p.setProcessEnvironment(env);
  p.start(NYLUXORA_TEST_BUILD_DIR "/bin/nyluxora",
          {"--data-dir", QString::fromStdString(home.str()), "calc", kPlan, "--rect",
           "0,0,6000,6000", "--density", "30*15", "--standard", kStandard});
  std::map<int, Field> fields;
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return fields;
  static const QRegularExpression line(R"(^\[214:(\d+)[^\]]*\] (.*?)(?:  \{(.*)\})?$)");
  for (const QString& l : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
    auto m = line.match(l);
    if (m.hasMatch()) fields[m.captured(1).toInt()] = {m.captured(2), m.captured(3)};
  }
  return fields;
}

class OfficeDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    guitest::App();
    setenv("NYLUXORA_HOME", home_.str().c_str(), 1);
    setenv("NYLUXORA_SHARE", NYLUXORA_TEST_SHARE_DIR, 1);
    Host& host = Host::Get();
    window_ = std::make_unique<nygui::MainWindow>();
    window_->Wire();
    // The module's entries are part of this program, resolved by name as the loader would.
    host.SetEntryResolver([](const std::string& name) {
      return reinterpret_cast<nyhost::CommandEntry>(dlsym(RTLD_DEFAULT, name.c_str()));
    });
    ExModuleLoad();
    window_->BuildCommandMenus();
    QString error;
    auto plan = nygui::ReadPlan(kPlan, &error);
    ASSERT_TRUE(plan) << error.toStdString();
    window_->AdoptPlan(std::move(plan), kPlan);
    window_->resize(1400, 900);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    // The whole plan, as it opens: the room's corners are clicked inside the walls' faces.
    window_->canvas()->ZoomExtents();
  }
  // Runs script lines through the widgets, calling `watch` every 10 ms meanwhile; false when a
  // step failed or it did not end.
  bool RunScript(const QStringList& lines, const std::function<void()>& watch = {}) {
    nygui::GuiScript script(window_.get(), lines, 30);
    bool finished = false, ok = false;
    QObject::connect(&script, &nygui::GuiScript::finished, [&](bool good) {
      finished = true;
      ok = good;
    });
    QTimer probe;
    if (watch) QObject::connect(&probe, &QTimer::timeout, watch);
    probe.start(10);
    script.Start();
    return QTest::qWaitFor([&] { return finished; }, 30000) && ok;
  }
  void TearDown() override {
    ExModuleUnload();
    Host::Get().windows().Collect();
    window_->Unwire();
    window_.reset();
    Host::Get().SetDrawing(nullptr);
    Host::Get().SetEntryResolver(nullptr);
    unsetenv("NYLUXORA_HOME");
  }
  nytest::TempDir home_;
  std::unique_ptr<nygui::MainWindow> window_;
};

TEST_F(OfficeDesktop, PointMethodShowsTheCommandLinesResults) {
  const QStringList lines = {
      "command ZIRIRODO_DOT",
      "wait 300",
      "click 214 335",  // the rectangle button: two corners on the canvas
      "point 0,0",
      "point 6000,6000",
      "set 214 338 30*15",
      "click 214 210",  // the standards dialog, modal
      "choose 207 236 " + kStandard,
      "click 207 1",
      "click 214 337",  // horizontal illuminance
  };
  // The point-method window hides while the corners are picked and comes back where it was.
  bool saw_wait = false, shown_while_waiting = false;
  QPoint placed(-1, -1);
  ASSERT_TRUE(RunScript(lines, [&] {
    nyhost::Dialog* d = Host::Get().windows().FindDialog(214);
    auto* w = d ? nygui::QtWindowSystem::WidgetOf(*d) : nullptr;
    if (!window_->ports()->waiting()) {
      if (w && w->isVisible() && !saw_wait) placed = w->pos();
      return;
    }
    saw_wait = true;
    if (w) shown_while_waiting |= w->isVisible();
  }));
  EXPECT_TRUE(saw_wait);
  EXPECT_FALSE(shown_while_waiting);

  nyhost::Dialog* dlg = Host::Get().windows().FindDialog(214);
  ASSERT_NE(dlg, nullptr);
  nygui::DialogWidget* w = nygui::QtWindowSystem::WidgetOf(*dlg);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->pos(), placed);
  EXPECT_EQ(window_->command_line()->Prompt(), QStringLiteral("命令:"));  // nothing runs now
  EXPECT_EQ(qobject_cast<QLineEdit*>(w->ControlWidget(338))->text(), QStringLiteral("30*15"));

  // The six grille luminaires of office one, and the frame's tip over the table.
  auto* grid = qobject_cast<nygui::GridWidget*>(w->ControlWidget(4512));
  ASSERT_NE(grid, nullptr);
  int luminaires = 0;
  for (int r = 1; r < grid->rowCount(); ++r)
    luminaires += grid->item(r, 0) && grid->item(r, 0)->text() == QStringLiteral("格栅荧光灯");
  EXPECT_EQ(luminaires, 6);
  EXPECT_EQ(grid->toolTip(), QStringLiteral("点击'灯具名称'在图中显示对应灯具"));

  std::map<int, Field> calc = CalcOnTheCommandLine(home_);
  ASSERT_EQ(calc.size(), 10u) << "the calc command did not run";
  for (int id : kResultIds) {
    QWidget* field = w->ControlWidget(id);
    ASSERT_NE(field, nullptr) << id;
    QString shown = qobject_cast<QLineEdit*>(field) ? qobject_cast<QLineEdit*>(field)->text()
                                                    : qobject_cast<QLabel*>(field)->text();
    EXPECT_EQ(shown, calc[id].text) << id;
    EXPECT_EQ(field->toolTip(), calc[id].tip) << id;
  }
  EXPECT_NE(calc[243].text, QStringLiteral("0"));  // a result, not the empty dialog

  // A rotation typed into the table turns that luminaire; undo turns it back, table included.
  nyhost::Drawing* d = Host::Get().drawing();
  auto rotations = [d] {
    std::map<nyhost::EntityId, double> r;
    for (const auto& e : d->entities())
      if (const auto* ref = e.As<nyhost::BlockReference>(); ref && !e.erased)
        r[e.id] = ref->rotation_deg;
    return r;
  };
  const auto before = rotations();
  const QString shown = grid->item(1, 3)->text();
  ASSERT_TRUE(RunScript({"cell 214 4512 1 3 30"}));
  int turned = 0;
  for (const auto& [id, angle] : rotations()) turned += std::abs(angle - before.at(id)) > 1e-9;
  EXPECT_EQ(turned, 1);
  // Ctrl+Z with the focus in the empty command line undoes the drawing, not the line.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QTest::keyClick(window_->command_line()->input(), Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return rotations() == before; }, 3000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid->item(1, 3)->text() == shown; }, 3000));

  // Undoing the room's outline empties the table and the results instead of keeping stale rows.
  window_->RunCommand("UNDO");
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return grid->rowCount() <= 1 || !grid->item(1, 0) || grid->item(1, 0)->text().isEmpty();
      },
      3000));
  EXPECT_TRUE(window_->command_line()->Output().contains(QStringLiteral("房间轮廓已不在图中")));
  EXPECT_EQ(qobject_cast<QLineEdit*>(w->ControlWidget(243))->text(), QStringLiteral("0.0"));

  // A luminaire clicked while nothing is asked shows its keyed texts; an edit there is one step.
  window_->canvas()->SimulateClick({5000, 1500, 0});
  auto* props = window_->findChild<QTableWidget*>("propertyTable");
  ASSERT_TRUE(props && props->rowCount() == 5 && props->item(0, 1));
  EXPECT_EQ(props->item(3, 1)->text(), QStringLiteral("15"));  // X轴旋转
  auto keyed_texts = [d] {
    std::string all;
    for (const auto& e : d->entities())
      if (e.As<nyhost::BlockReference>() && e.As<nyhost::BlockReference>()->position.x == 5000 &&
          e.As<nyhost::BlockReference>()->position.y == 1500)
        for (const auto& g : e.xdata)
          for (const auto& item : g.items) all += item.text + ";";
    return all;
  };
  const std::string keyed = keyed_texts();
  props->item(0, 1)->setText("3.1");
  EXPECT_NE(keyed_texts().find("设备高=3.1;"), std::string::npos) << keyed_texts();
  window_->RunCommand("UNDO");
  EXPECT_TRUE(QTest::qWaitFor([&] { return keyed_texts() == keyed; }, 3000)) << keyed_texts();
}

}  // namespace
