#include "base/dialog_base.h"

#include <optional>

#include "host/host.h"
#include "resources/templates.h"
#include "support/ny_glb.h"
#include "support/ny_number.h"
#include "support/ny_str.h"

bool ModelessDialogBase::Create() {
  nyhost::DialogTemplate tpl = nyres::DialogTemplateOf(template_id_);
  if (tpl.id == 0) return false;
  window_ = nyhost::Host::Get().windows().CreateModeless(tpl, this);
  return window_ != nullptr;
}

void ModelessDialogBase::FocusAndRestore() {
  if (!IsOpen()) return;
  window_->Focus();
  window_->Restore();
}

void ModelessDialogBase::DestroyWindow() {
  if (IsOpen()) window_->Destroy();
}

void ModelessDialogBase::HideForPicking() {
  if (IsOpen()) window_->Hide();
}

void ModelessDialogBase::ShowAfterPicking() {
  if (IsOpen()) window_->Show();
}

bool ModelessDialogBase::OnKey(nyhost::Dialog&, int key) {
  if (key == nyhost::kKeyF1) {
    ShowHelpTopic();
    return false;
  }
  // Modeless dialogs swallow Enter and Escape so neither closes them.
  return key == nyhost::kKeyEnter || key == nyhost::kKeyEscape;
}

void ModelessDialogBase::SendCommand(const std::string& name) {
  NyGlb::CancelLastZwCadCommand();
  NyGlb::SendCommandToZwCad(name + " ", 1);
}

bool ReadRealField(const nyhost::Dialog& dlg, int id, double& out) {
  const std::string t = dlg.GetText(id);
  double v = 0;
  if (!t.empty() && !NyStr::IsDigit(v, t)) return false;
  out = v;
  return true;
}

bool ReadIntField(const nyhost::Dialog& dlg, int id, int& out) {
  double v = 0;
  if (!ReadRealField(dlg, id, v)) return false;
  const std::optional<int> whole = NyNumber::TruncToInt(v);
  if (!whole) return false;
  out = *whole;
  return true;
}
