// The window system of the desktop: dialogs become DialogWidget windows, modal dialogs run in a
// nested event loop, message boxes and file choosers are Qt's own.
#pragma once

#include <QPointer>
#include <QWidget>

#include "host/dialog.h"

namespace nygui {

class DialogWidget;

class QtWindowSystem : public nyhost::WindowSystem {
 public:
  explicit QtWindowSystem(QWidget* main_window = nullptr) : main_window_(main_window) {}
  void SetMainWindow(QWidget* w) { main_window_ = w; }

  // The window showing a dialog, or null.
  static DialogWidget* WidgetOf(const nyhost::Dialog& dlg);

  int MessageBox(const std::string& caption, const std::string& text, nyhost::MbIcon icon,
                 nyhost::MbButtons buttons) override;
  std::optional<std::string> FileDialog(bool save, const std::string& title,
                                        const std::string& initial,
                                        const std::string& filter) override;
  std::optional<std::string> FolderDialog(const std::string& title,
                                          const std::string& initial) override;
  int PopupMenu(const std::vector<std::string>& items) override;
  std::optional<int> ChooseColor(int initial) override;
  bool OpenDocument(const std::string& path_or_url) override;

  // The window a message box or chooser belongs to: the active one, unless that is a dialog
  // window whose model is gone (it is only waiting to be deleted), else the main window.
  QWidget* OwnerWindow() const;

  // "Excel (*.xls)|*.xls|All (*.*)|*.*||" -> "Excel (*.xls);;All (*.*)"; Qt filters pass through.
  static QString QtFilter(const std::string& filter);

 protected:
  std::unique_ptr<nyhost::DialogView> CreateView(nyhost::Dialog& dlg) override;
  void RunModalLoop(nyhost::Dialog& dlg) override;

 private:
  QWidget* ParentFor(const nyhost::Dialog* parent) const;
  QPointer<QWidget> main_window_;
};

}  // namespace nygui
