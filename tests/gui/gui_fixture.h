// What the desktop tests share: one QApplication for the program (offscreen), settings kept out
// of the user's own files, and a controller that records what reaches it.
#pragma once

#include <QApplication>
#include <QStandardPaths>
#include <algorithm>
#include <string>
#include <vector>

#include "host/dialog.h"

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

// Records the handlers the dialog model runs, as "click 11", "sel 40 绝对", ...
struct Recorder : nyhost::DialogController {
  std::vector<std::string> events;
  bool swallow_keys = true;  // modeless dialogs swallow Enter so it does not press OK

  void OnClick(nyhost::Dialog& d, int id) override;
  void OnDoubleClick(nyhost::Dialog& d, int id) override;
  void OnEditChange(nyhost::Dialog& d, int id) override;
  void OnKillFocus(nyhost::Dialog& d, int id) override;
  void OnSelChange(nyhost::Dialog& d, int id) override;
  void OnSpin(nyhost::Dialog& d, int id, int delta) override;
  void OnCellClick(nyhost::Dialog& d, int id, int row, int col) override;
  void OnCellEndEdit(nyhost::Dialog& d, int id, int row, int col) override;
  void OnTreeRightClick(nyhost::Dialog& d, int id, int item) override;
  bool OnKey(nyhost::Dialog& d, int key) override;

  bool Has(const std::string& e) const {
    return std::find(events.begin(), events.end(), e) != events.end();
  }
};

}  // namespace guitest
