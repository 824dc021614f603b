// The desktop's main window: canvas, command-line dock, menus and toolbar with the module's
// commands, file open/save with recent files, status bar with coordinates and progress.
#pragma once

#include <QMainWindow>
#include <memory>

#include "gui/canvas.h"
#include "gui/command_line.h"
#include "gui/gui_ports.h"
#include "gui/qt_window_system.h"

class QLabel;
class QMenu;
class QToolBar;

namespace nygui {

// Reads a DXF plan; null and a message naming the file and the reason when it cannot.
std::unique_ptr<nyhost::Drawing> ReadPlan(const QString& path, QString* error);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow();
  ~MainWindow() override;

  Canvas* canvas() const { return canvas_; }
  CommandLine* command_line() const { return command_line_; }
  GuiPorts* ports() const { return ports_.get(); }
  QtWindowSystem* windows() const { return windows_.get(); }

  // Makes the ports and the window system the host's.
  void Wire();
  void Unwire();
  // Fills the lighting menu and toolbar from the host's command table (after the module loaded).
  void BuildCommandMenus();
  // Reads and shows a plan; a message box tells why when it cannot.
  bool OpenPlan(const QString& path);
  // Makes an already read plan the host's drawing and shows it.
  void AdoptPlan(std::unique_ptr<nyhost::Drawing> drawing, const QString& path);
  bool SavePlan(const QString& path);
  // Types a command as if entered on the command line (cancelling one that waits for input).
  void RunCommand(const QString& name);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildMenus();
  void UpdateRecent();
  void AddRecent(const QString& path);
  void UpdateTitle();
  bool Busy();

  Canvas* canvas_;
  CommandLine* command_line_;
  std::unique_ptr<GuiPorts> ports_;
  std::unique_ptr<QtWindowSystem> windows_;
  QLabel* coords_;
  QMenu* recent_menu_ = nullptr;
  QMenu* lighting_menu_ = nullptr;
  QToolBar* lighting_bar_ = nullptr;
};

}  // namespace nygui
