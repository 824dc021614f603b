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
class QSettings;
class QToolBar;

namespace nygui {

class LayerPanel;
class PropertiesPanel;

// Reads a DXF plan; null and a message naming the file and the reason when it cannot.
std::unique_ptr<nyhost::Drawing> ReadPlan(const QString& path, QString* error);

// The desktop's own settings (recent files, window layout): in the --data-dir folder when one is
// given (NYLUXORA_HOME), else in the user's standard configuration place.
std::unique_ptr<QSettings> UserSettings();

// A DXF read or write message of the host in Chinese: "文件 F 第 N 行: ..." (unknown messages are
// kept as they are).
QString DxfMessageInChinese(const QString& message);

// The version line of --version and the About box.
QString VersionText();

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow();
  ~MainWindow() override;

  Canvas* canvas() const { return canvas_; }
  CommandLine* command_line() const { return command_line_; }
  GuiPorts* ports() const { return ports_.get(); }
  QtWindowSystem* windows() const { return windows_.get(); }

  // The window wired to the host (null when none is).
  static MainWindow* Active();
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
  // Save: to the plan's file, or asks for one (Save As) when it has none.
  bool Save();
  bool SaveAs();
  // Asks "save changes?" when the drawing was changed since it was read or saved. False when the
  // person cancelled (or saving failed): whatever was about to replace the drawing must not.
  bool MaybeSave();
  // Ends the window without asking (a script's quit).
  void CloseDiscarding();
  // Window size, place and docks as the person left them, fitted to the screen.
  void RestoreLayout();
  void UpdateTitle();
  // Types a command as if entered on the command line (cancelling one that waits for input).
  void RunCommand(const QString& name);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildMenus();
  void BuildEditMenu();
  void BuildViewMenu(QToolBar* bar);
  void BuildHelpMenu();
  void UpdateRecent();
  void AddRecent(const QString& path);
  void OpenChosen(const QString& path);
  bool Busy();
  void ToggleSnap();
  void ToggleOrtho();
  void UpdateToggles();
  void ShowAbout();
  void ExportPdf();
  void ZoomWindowPicked();
  static void AddViewCommands();
  void ShowPicked(nyhost::Point3 world);

  Canvas* canvas_;
  CommandLine* command_line_;
  std::unique_ptr<GuiPorts> ports_;
  std::unique_ptr<QtWindowSystem> windows_;
  QLabel* coords_;
  QLabel* snap_label_ = nullptr;
  QLabel* ortho_label_ = nullptr;
  LayerPanel* layers_ = nullptr;
  PropertiesPanel* properties_ = nullptr;
  int listener_ = 0;
  bool discard_ = false;
  QMenu* recent_menu_ = nullptr;
  QMenu* lighting_menu_ = nullptr;
  QToolBar* lighting_bar_ = nullptr;
};

}  // namespace nygui
