// What the desktop tests share: one QApplication for the program (offscreen), settings kept out
// of the user's own files, a controller that records what reaches it, a modeless dialog opened
// for one case, and a main window over a drawing.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/dialog_widget.h"
#include "gui/main_window.h"
#include "gui/qt_window_system.h"
#include "host/dialog.h"
#include "host/host.h"

namespace guitest {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "gui_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    QStandardPaths::setTestModeEnabled(true);  // recent files go to a test folder
    return new QApplication(argc, argv);
  }();
  return *app;
}

inline nyhost::ControlTemplate Ctl(int id, nyhost::ControlKind kind, const char* caption, int x,
                                   int y, int w, int h) {
  nyhost::ControlTemplate c;
  c.id = id, c.kind = kind, c.caption = caption, c.x = x, c.y = y, c.w = w, c.h = h;
  return c;
}

// A dialog with a control of every kind; the spin arrows touch the read-only edit (21) on its
// right.
inline nyhost::DialogTemplate EveryKind() {
  using K = nyhost::ControlKind;
  nyhost::DialogTemplate t{.id = 900, .caption = "全部控件", .width = 300, .height = 200};
  auto radio1 = Ctl(31, K::kRadio, "点", 10, 40, 30, 10);
  radio1.group_start = true;
  auto ro = Ctl(21, K::kEdit, "0.70", 70, 20, 40, 12);
  ro.read_only = true;
  auto bmp = Ctl(12, K::kBitmapButton, "", 120, 4, 20, 18);
  bmp.bitmap = "RECWALL";
  t.controls = {Ctl(100, K::kGroup, "计算结果", 2, 2, 296, 190),
                Ctl(10, K::kStatic, "房间名称", 10, 6, 40, 10),
                Ctl(11, K::kButton, "水平照度", 60, 4, 50, 14),
                bmp,
                Ctl(20, K::kEdit, "", 10, 20, 50, 12),
                ro,
                Ctl(22, K::kSpin, "", 110, 20, 8, 12),
                radio1,
                Ctl(32, K::kRadio, "线", 45, 40, 30, 10),
                Ctl(33, K::kCheck, "标注", 80, 40, 40, 10),
                Ctl(40, K::kDropList, "", 130, 40, 60, 60),
                Ctl(50, K::kPicture, "", 200, 4, 60, 40),
                Ctl(60, K::kTree, "", 10, 60, 80, 60),
                Ctl(70, K::kGrid, "", 100, 60, 150, 60),
                Ctl(80, K::kList, "", 200, 130, 60, 30),
                Ctl(nyhost::kIdOk, K::kButton, "确定", 10, 170, 50, 14)};
  return t;
}

// Records the handlers the dialog model runs, as "click 11", "sel 40 绝对", ...
struct Recorder : nyhost::DialogController {
  std::vector<std::string> events;
  bool swallow_keys = true;  // modeless dialogs swallow Enter so it does not press OK

  static std::string S(int n) { return std::to_string(n); }
  void OnClick(nyhost::Dialog& d, int id) override {
    events.push_back("click " + S(id));
    if (id == nyhost::kIdOk) d.EndDialog(nyhost::kIdOk);
  }
  void OnDoubleClick(nyhost::Dialog&, int id) override { events.push_back("dblclick " + S(id)); }
  void OnEditChange(nyhost::Dialog& d, int id) override {
    events.push_back("edit " + S(id) + " " + d.GetText(id));
  }
  void OnKillFocus(nyhost::Dialog&, int id) override { events.push_back("leave " + S(id)); }
  void OnSelChange(nyhost::Dialog& d, int id) override {
    events.push_back("sel " + S(id) + " " + d.GetText(id));
  }
  void OnSpin(nyhost::Dialog&, int id, int delta) override {
    events.push_back("spin " + S(id) + " " + S(delta));
  }
  void OnCellClick(nyhost::Dialog&, int id, int row, int col) override {
    events.push_back("cellclick " + S(id) + " " + S(row) + "," + S(col));
  }
  void OnCellEndEdit(nyhost::Dialog& d, int id, int row, int col) override {
    events.push_back("cell " + S(id) + " " + d.GetCell(id, row, col));
  }
  void OnTreeRightClick(nyhost::Dialog& d, int id, int item) override {
    events.push_back("rclick " + S(id) + " " + (item ? d.GetItemTextOf(id, item) : "<none>"));
  }
  bool OnKey(nyhost::Dialog&, int key) override {
    events.push_back("key " + S(key));
    return swallow_keys;
  }
  bool Has(const std::string& e) const {
    return std::find(events.begin(), events.end(), e) != events.end();
  }
};

// A modeless dialog of its own window system, with `rec` as controller unless one is given;
// destroyed, and its window collected, when the case ends.
struct Opened {
  explicit Opened(const nyhost::DialogTemplate& tpl, nyhost::DialogController* c = nullptr) {
    App();
    ws = std::make_unique<nygui::QtWindowSystem>();
    dlg = ws->CreateModeless(tpl, c ? c : &rec);
    w = nygui::QtWindowSystem::WidgetOf(*dlg);
  }
  ~Opened() {
    dlg->Destroy();
    ws->Collect();
    QCoreApplication::processEvents();
  }
  // Shows the window; false if it never became exposed.
  [[nodiscard]] bool Show() {
    w->show();
    return QTest::qWaitForWindowExposed(w);
  }

  std::unique_ptr<nygui::QtWindowSystem> ws;
  Recorder rec;
  nyhost::Dialog* dlg = nullptr;
  nygui::DialogWidget* w = nullptr;
};

// Left-clicks `w` at `at` once `ms` milliseconds have passed (inside a modal loop, say).
inline void ClickLater(QWidget* w, QPoint at, int ms) {
  QTimer::singleShot(ms, w, [w, at] { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at); });
}

// Once `ms` milliseconds have passed, keeps the text of the modal message box into `*text` and
// clicks its `button` (a failing check if there is no box or no such button).
inline void AnswerBoxLater(QString* text, QMessageBox::StandardButton button, int ms = 50) {
  QTimer::singleShot(ms, [text, button] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QAbstractButton* b = box ? box->button(button) : nullptr;
    ASSERT_NE(b, nullptr) << "no message box with that button";
    *text = box->text();
    b->click();
  });
}

// A drawing of one line.
inline std::unique_ptr<nyhost::Drawing> LineDrawing(nyhost::Point3 from, nyhost::Point3 to) {
  auto d = std::make_unique<nyhost::Drawing>();
  nyhost::Entity line;
  line.data = nyhost::Line{from, to};
  d->Add(line);
  return d;
}

// Cases on a main window wired to the host. Zooming and waiting are left to each fixture, as the
// order matters to some.
class WindowTest : public ::testing::Test {
 protected:
  // Hands `drawing` to the host and shows the window at that size.
  void OpenWindow(std::unique_ptr<nyhost::Drawing> drawing, int width, int height) {
    App();
    window_ = std::make_unique<nygui::MainWindow>();
    window_->Wire();
    nyhost::Host::Get().SetDrawing(std::move(drawing));
    window_->resize(width, height);
    window_->show();
  }
  // Unwires and closes the window; the host keeps its drawing.
  void CloseWindow() {
    window_->Unwire();
    window_.reset();
  }
  // Closes the window and takes the drawing from the host, so no later case sees it.
  void TearDown() override {
    CloseWindow();
    nyhost::Host::Get().SetDrawing(nullptr);
  }

  std::unique_ptr<nygui::MainWindow> window_;
};

}  // namespace guitest
