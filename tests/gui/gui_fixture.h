// What the desktop tests share: one QApplication for the program (offscreen), settings kept out
// of the user's own files, a controller that records what reaches it, a modeless dialog opened
// for one case, and a main window over a drawing.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
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

nyhost::ControlTemplate Ctl(int id, nyhost::ControlKind kind, const char* caption, int x, int y,
                            int w, int h);

// A dialog with a control of every kind; the spin arrows touch the read-only edit (21) on its
// right.
nyhost::DialogTemplate EveryKind();

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
  explicit Opened(const nyhost::DialogTemplate& tpl, nyhost::DialogController* c = nullptr);
  ~Opened();
  // Shows the window; false if it never became exposed.
  [[nodiscard]] bool Show();

  std::unique_ptr<nygui::QtWindowSystem> ws;
  Recorder rec;
  nyhost::Dialog* dlg = nullptr;
  nygui::DialogWidget* w = nullptr;
};

// Left-clicks `w` at `at` once `ms` milliseconds have passed (inside a modal loop, say).
void ClickLater(QWidget* w, QPoint at, int ms);

// Once `ms` milliseconds have passed, keeps the text of the modal message box into `*text` and
// clicks its `button` (a failing check if there is no box or no such button).
void AnswerBoxLater(QString* text, QMessageBox::StandardButton button, int ms = 50);

// A drawing of one line.
std::unique_ptr<nyhost::Drawing> LineDrawing(nyhost::Point3 from, nyhost::Point3 to);

// Cases on a main window wired to the host. Zooming and waiting are left to each fixture, as the
// order matters to some.
class WindowTest : public ::testing::Test {
 protected:
  // Hands `drawing` to the host and shows the window at that size.
  void OpenWindow(std::unique_ptr<nyhost::Drawing> drawing, int width, int height);
  // Unwires and closes the window; the host keeps its drawing.
  void CloseWindow();
  // Closes the window and takes the drawing from the host, so no later case sees it.
  void TearDown() override;

  std::unique_ptr<nygui::MainWindow> window_;
};

}  // namespace guitest
