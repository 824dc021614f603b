// A dialog model rendered with real widgets. The model (nyhost::Dialog) holds every control's
// state; this window shows it, sends the person's actions to the model's User* methods and
// follows the model's changes without feeding them back.
#pragma once

#include <QDialog>
#include <QPointer>
#include <map>

#include "host/dialog.h"

namespace nygui {

// Dialog units to pixels for a template's font.
struct DialogUnits {
  double x = 1.5, y = 1.75;  // pixels per horizontal / vertical dialog unit
  static DialogUnits ForFont(const QFont& font);
  QRect ToPixels(int x0, int y0, int w, int h) const;
};

QFont DialogFont(const nyhost::DialogTemplate& tpl);

// The rectangle moved (and shrunk if need be) to lie on the available part of its screen.
QRect FitOnScreen(const QRect& r);

class DialogWidget : public QDialog {
  Q_OBJECT
 public:
  DialogWidget(nyhost::Dialog& dlg, QWidget* parent);
  ~DialogWidget() override;

  nyhost::Dialog* model() const { return dlg_; }
  // The widget of a control id, or null.
  QWidget* ControlWidget(int id) const;
  const DialogUnits& units() const { return units_; }

  // Model to widgets.
  void SyncControl(int id);
  void SyncWindow();
  void RepaintControl(int id);
  // The model is gone; the window only waits to be deleted.
  void Detach();

  // The tooltip a control shows: its own, else that of the smallest hidden static control whose
  // rectangle holds it (a hidden frame lends its tooltip to the controls placed over it).
  QString ToolTipOf(int id) const;

  // The person's actions (also used by the script runner and tests).
  void UserEdited(int id, const QString& text, bool leaving);
  void AfterUser();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void reject() override {}  // Escape goes through the model
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  QWidget* Make(const nyhost::ControlState& c);
  void CommitFocusedEdit();
  bool HiddenFrame(const nyhost::ControlState& frame) const;
  void RefreshToolTips();

  nyhost::Dialog* dlg_;
  DialogUnits units_;
  std::map<int, QWidget*> widgets_;
  std::map<int, bool> dirty_;  // edits typed into but not yet committed
  bool syncing_ = false;
  bool placed_ = false;
};

// What the model is attached to: forwards its notifications to the window.
class QtDialogView : public nyhost::DialogView {
 public:
  explicit QtDialogView(DialogWidget* w) : w_(w) {}
  ~QtDialogView() override;
  void ControlChanged(int id) override;
  void WindowChanged() override;
  void Repaint(int id) override;
  DialogWidget* widget() const { return w_; }

 private:
  QPointer<DialogWidget> w_;
};

}  // namespace nygui
