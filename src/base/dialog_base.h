// What the module's two modeless calculation dialogs share: window creation from their template,
// the open test, focus-and-restore, Enter/Escape swallowing, F1 help and command buttons.
#pragma once

#include <string>

#include "host/dialog.h"

class ModelessDialogBase : public nyhost::DialogController {
 public:
  explicit ModelessDialogBase(int template_id) : template_id_(template_id) {}
  ~ModelessDialogBase() override = default;

  // Creates and shows the window (parented to the host main window).
  bool Create();
  // "Open" means the object has a live window.
  bool IsOpen() const { return window_ != nullptr && !window_->destroyed(); }
  nyhost::Dialog* window() const { return window_; }
  void FocusAndRestore();
  void DestroyWindow();
  // Hides around host commands that pick in the drawing, shows again on every way out.
  void HideForPicking();
  void ShowAfterPicking();

  bool OnKey(nyhost::Dialog& dlg, int key) override;

 protected:
  // Gives the focus to the host, cancels its running command and types "name ".
  static void SendCommand(const std::string& name);
  virtual void ShowHelpTopic() {}

  nyhost::Dialog* window_ = nullptr;

 private:
  int template_id_;
};

// A number field read as the dialogs' data exchange reads it: an empty field reads 0; false for
// text that is no number (the value is then left alone). Whole numbers are cut towards zero;
// one that does not fit an int is no number either.
bool ReadRealField(const nyhost::Dialog& dlg, int id, double& out);
bool ReadIntField(const nyhost::Dialog& dlg, int id, int& out);
